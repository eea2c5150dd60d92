// SPDX-License-Identifier: GPL-3.0-or-later
// The window's look shared by its charts and labels: the font, the colours
// of the curves and the ticks of the axes.
#pragma once

#include <QColor>
#include <QFont>
#include <QValueAxis>

#include "core/axis_ticks.h"

namespace dispfit {

inline QFont windowFont(int pixelSize) {
  QFont font(QStringLiteral("WenQuanYi Micro Hei"));
  font.setPixelSize(pixelSize);
  return font;
}

inline const QColor kCurveColour = Qt::red;
inline const QColor kMeasuredColour(0x1F, 0x4E, 0x9A);
inline const QColor kBandColour(0x1F, 0x4E, 0x9A, 0x55);  // translucent, so the curves show through
inline const QColor kFittedColour(0x0A, 0x8A, 0x3C);
// The Love modes of the table's model, apart from the red Rayleigh modes.
inline const QColor kLoveColour(0x7B, 0x3F, 0x9E);
// A global search: its accepted profiles (their opacity set by misfit), the
// percentile lines over them and its best model; the accepted curves' band.
inline const QColor kEnsembleColour(0x5A, 0x6A, 0x7E);
inline const QColor kPercentileColour(0x10, 0x20, 0x40);
inline const QColor kBestModelColour(0xD0, 0x6A, 0x00);
inline const QColor kEnvelopeColour(0xD0, 0x6A, 0x00, 0x40);
// The half-space row's cells in the model tables: a faint earth tone that
// keeps black text legible.
inline const QColor kHalfSpaceTint(0xF3, 0xEC, 0xDE);

// Ticks at round values, counted from zero, about five intervals per axis.
inline void setRangeWithTicks(QValueAxis& axis, double minimum, double maximum) {
  axis.setRange(minimum, maximum);
  axis.setTickType(QValueAxis::TicksDynamic);
  axis.setTickAnchor(0.0);
  axis.setTickInterval(roundTickInterval(maximum - minimum));
}

}  // namespace dispfit
