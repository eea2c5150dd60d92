// SPDX-License-Identifier: GPL-3.0-or-later
// The window's look shared by its charts and labels: the font, the colours
// of the curves and the ticks of the axes.
#pragma once

#include <QCategoryAxis>
#include <QColor>
#include <QFont>
#include <QValueAxis>
#include <cmath>

#include "core/axis_ticks.h"

namespace dispfit {

inline QFont windowFont(int pixelSize) {
  QFont font(QStringLiteral("WenQuanYi Micro Hei"));
  font.setPixelSize(pixelSize);
  return font;
}

// The colours after Okabe and Ito's palette for readers with a colour vision
// deficiency (B. Wong, 2011, "Points of view: Color blindness", Nature
// Methods 8, 441), beside the described red of the computed curve; each
// pair that could still be confused differs in line style or width too.
inline const QColor kCurveColour = Qt::red;             // the computed curve, the starting model
inline const QColor kMeasuredColour(0x00, 0x72, 0xB2);  // blue
inline const QColor kBandColour(0x56, 0xB4, 0xE9,
                                0x60);                // sky blue, translucent: curves show through
inline const QColor kFittedColour(0x00, 0x9E, 0x73);  // bluish green, drawn wider than red
// The Love modes of the table's model: reddish purple, dash-dotted, apart
// from the red dashed Rayleigh modes.
inline const QColor kLoveColour(0xCC, 0x79, 0xA7);
// A global search: its accepted profiles (their opacity set by misfit), the
// median (black, solid) and the 10th and 90th percentiles (reddish purple,
// dashed) over them and its best model (orange); the accepted curves' band
// in orange with an outline, apart from the measured band's sky blue.
inline const QColor kEnsembleColour(0x80, 0x80, 0x80);
inline const QColor kMedianColour(0x00, 0x00, 0x00);
inline const QColor kPercentileColour(0xCC, 0x79, 0xA7);
inline const QColor kBestModelColour(0xE6, 0x9F, 0x00);
inline const QColor kEnvelopeColour(0xE6, 0x9F, 0x00, 0x48);
// The depth the data constrain: a dash-dot line, its label in the same grey.
inline const QColor kConstrainedColour(0x55, 0x55, 0x55);
// A posterior's credible bands in the palette's blue: the 5-95 % one lighter
// than the 10-90 % one drawn over it, both translucent so the lines show
// through.
inline const QColor kCredibleOuterColour(0x00, 0x72, 0xB2, 0x38);
inline const QColor kCredibleInnerColour(0x00, 0x72, 0xB2, 0x60);
// The half-space row's cells in the model tables: a faint earth tone that
// keeps black text legible.
inline const QColor kHalfSpaceTint(0xF3, 0xEC, 0xDE);

// Ticks at round values, counted from zero, about five intervals per axis
// and at least four labelled inside it.
inline void setRangeWithTicks(QValueAxis& axis, double minimum, double maximum) {
  axis.setRange(minimum, maximum);
  axis.setTickType(QValueAxis::TicksDynamic);
  axis.setTickAnchor(0.0);
  axis.setTickInterval(linearTicks(minimum, maximum).interval);
}

// A logarithmic axis over [minimum, maximum] (both > 0) of a chart whose
// points lie at the common logarithms of their values: the range in
// logarithms, a label and a grid line at each of logarithmicTicks.
inline void setLogarithmicRange(QCategoryAxis& axis, double minimum, double maximum) {
  if (!(minimum > 0.0) || !(maximum > minimum)) return;
  axis.setRange(std::log10(minimum), std::log10(maximum));
  QStringList labels;
  const std::vector<double> ticks = logarithmicTicks(minimum, maximum);
  for (const double tick : ticks) labels.append(QString::number(tick, 'g', 6));
  if (labels == axis.categoriesLabels()) return;
  for (const QString& label : axis.categoriesLabels()) axis.remove(label);
  axis.setStartValue(std::log10(minimum));
  for (std::size_t i = 0; i < ticks.size(); ++i) axis.append(labels[i], std::log10(ticks[i]));
}

}  // namespace dispfit
