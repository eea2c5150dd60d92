// SPDX-License-Identifier: GPL-3.0-or-later
// The residual chart under the dispersion chart: at each measured point the
// residual of the curves fitted to it, (measured - computed) / sigma, or in
// m/s for a curve without a band (site/curve_residuals.h), over the same
// horizontal axis as the chart above, with a line at zero and, normalised,
// the band's edges at -1 and +1 dashed. Each curve in the colour it has
// above: the computed curve, the local fit, the best model of a search.
#pragma once

#include <QCategoryAxis>
#include <QChartView>
#include <QLineSeries>
#include <QList>
#include <QPen>
#include <QValueAxis>
#include <vector>

#include "site/curve_residuals.h"

namespace dispfit {

class ResidualChart : public QChartView {
  Q_OBJECT

 public:
  // The residuals of one curve, at the dispersion chart's abscissa.
  struct Line {
    QPen pen;
    QList<QPointF> points;  // x as the chart above places it, y the residual
  };

  explicit ResidualChart(QWidget* parent = nullptr);

  void setFonts(const QFont& axisTitles, const QFont& labels);

  // Draws the lines, on a residual axis that spans them symmetrically about
  // zero; no line leaves the zero line alone.
  void showResiduals(ResidualScale scale, const std::vector<Line>& lines);

  // Takes the horizontal axis of the chart above, unchanged: its range and
  // direction, linear or logarithmic.
  void matchAbscissa(const QValueAxis& linear, QCategoryAxis& logarithmic, bool useLog);

  QChart* chart = nullptr;  // owned by the view
  QValueAxis* BottomAxis = nullptr;
  QCategoryAxis* LogBottomAxis = nullptr;  // hidden unless the chart above is logarithmic
  QValueAxis* ResidualAxis = nullptr;
  QLineSeries* ZeroLine = nullptr;
  QLineSeries* UpperEdge = nullptr;  // +1 and -1 for normalised residuals
  QLineSeries* LowerEdge = nullptr;
  std::vector<QLineSeries*> ResidualSeries;  // one per line shown

 protected:
  void changeEvent(QEvent* event) override;

 private:
  void retranslate();
  void attach(QLineSeries& series);

  ResidualScale scale_ = ResidualScale::MetresPerSecond;
};

// Gives the chart whose axis labels take less room at a side the wider
// margin there, the other the margin given, so that both plots start and
// end at the same x and each residual lies under its point; the two charts'
// views must lie at the same x and be as wide.
void alignPlots(QChart& first, QChart& second, int leftMargin, int rightMargin);

}  // namespace dispfit
