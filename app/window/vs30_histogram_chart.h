// SPDX-License-Identifier: GPL-3.0-or-later
// The histogram of a posterior's Vs30: the samples' share in each bin as
// bars, and the site-class bounds that fall within its range as dashed
// vertical lines, each labelled with the classes it separates.
#pragma once

#include <QAreaSeries>
#include <QChartView>
#include <QGraphicsSimpleTextItem>
#include <QLineSeries>
#include <QValueAxis>
#include <vector>

#include "sampling/posterior_summary.h"
#include "site/site_class.h"

namespace dispfit {

class Vs30HistogramChart : public QChartView {
  Q_OBJECT

 public:
  explicit Vs30HistogramChart(QWidget* parent = nullptr);

  // Draws the bins (none: an empty chart).
  void showHistogram(const std::vector<HistogramBin>& bins);

  // The class bounds drawn, in the order drawn.
  const std::vector<ClassBound>& boundsDrawn() const { return bounds_; }

  QChart* chart = nullptr;      // owned by the view
  QAreaSeries* Bars = nullptr;  // owned by chart
  QValueAxis* Vs30Axis = nullptr;
  QValueAxis* ShareAxis = nullptr;

 protected:
  void changeEvent(QEvent* event) override;

 private:
  void retranslate();
  void placeLabels();

  std::vector<ClassBound> bounds_;
  std::vector<QLineSeries*> boundSeries_;              // owned by chart
  std::vector<QGraphicsSimpleTextItem*> boundLabels_;  // owned by chart
};

}  // namespace dispfit
