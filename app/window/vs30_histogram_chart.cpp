// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/vs30_histogram_chart.h"

#include <QEvent>
#include <QLegend>
#include <QPen>
#include <algorithm>
#include <memory>

#include "core/number_text.h"
#include "window/window_style.h"

namespace dispfit {

namespace {

// The axis reaches this share of the histogram's width beyond each end, so
// that a bound just outside the samples still shows.
constexpr double kMargin = 0.15;

}  // namespace

Vs30HistogramChart::Vs30HistogramChart(QWidget* parent) : QChartView(parent) {
  setRenderHint(QPainter::Antialiasing);
  setMinimumSize(420, 240);
  auto owned = std::make_unique<QChart>();
  chart = owned.get();
  chart->legend()->hide();
  chart->setBackgroundRoundness(0);
  auto vs30 = std::make_unique<QValueAxis>();
  Vs30Axis = vs30.get();
  Vs30Axis->setTitleText(QStringLiteral("Vs30 (m/s)"));
  Vs30Axis->setLabelFormat(QStringLiteral("%g"));
  chart->addAxis(vs30.release(), Qt::AlignBottom);
  auto share = std::make_unique<QValueAxis>();
  ShareAxis = share.get();
  ShareAxis->setLabelFormat(QStringLiteral("%.2f"));
  chart->addAxis(share.release(), Qt::AlignLeft);
  auto bars = std::make_unique<QAreaSeries>(std::make_unique<QLineSeries>().release(),
                                            std::make_unique<QLineSeries>().release());
  Bars = bars.get();
  Bars->setBrush(kCredibleInnerColour);
  Bars->setPen(QPen(kPercentileColour, 1.0));
  chart->addSeries(bars.release());
  Bars->attachAxis(Vs30Axis);
  Bars->attachAxis(ShareAxis);
  connect(chart, &QChart::plotAreaChanged, this, [this] { placeLabels(); });
  setChart(owned.release());
  retranslate();
}

void Vs30HistogramChart::changeEvent(QEvent* event) {
  if (event->type() == QEvent::LanguageChange) retranslate();
  QChartView::changeEvent(event);
}

void Vs30HistogramChart::retranslate() {
  chart->setTitle(tr("Vs30 后验直方图"));
  ShareAxis->setTitleText(tr("样本比例"));
}

void Vs30HistogramChart::showHistogram(const std::vector<HistogramBin>& bins) {
  for (QLineSeries* series : boundSeries_) {
    chart->removeSeries(series);
    std::unique_ptr<QLineSeries> removed(series);  // removeSeries hands ownership back
  }
  boundSeries_.clear();
  for (QGraphicsSimpleTextItem* label : boundLabels_) {
    std::unique_ptr<QGraphicsSimpleTextItem> removed(label);  // deleting it leaves the chart
  }
  boundLabels_.clear();
  bounds_.clear();
  QList<QPointF> upper;
  QList<QPointF> lower;
  std::int64_t total = 0;
  for (const HistogramBin& bin : bins) total += bin.count;
  double tallest = 0.0;
  for (const HistogramBin& bin : bins) {
    const double share =
        total > 0 ? static_cast<double>(bin.count) / static_cast<double>(total) : 0.0;
    tallest = std::max(tallest, share);
    upper << QPointF(bin.low, share) << QPointF(bin.high, share);
    lower << QPointF(bin.low, 0.0) << QPointF(bin.high, 0.0);
  }
  Bars->upperSeries()->replace(upper);
  Bars->lowerSeries()->replace(lower);
  if (bins.empty()) return;
  const double low = bins.front().low;
  const double high = bins.back().high;
  const double pad = std::max(kMargin * (high - low), 1.0);
  setRangeWithTicks(*Vs30Axis, low - pad, high + pad);
  ShareAxis->setRange(0.0, 1.15 * std::max(tallest, 1e-3));
  for (const ClassBound& bound : classBounds()) {
    if (bound.vs30 < low - pad || bound.vs30 > high + pad) continue;
    bounds_.push_back(bound);
    auto line = std::make_unique<QLineSeries>();
    line->setPen(QPen(kMeasuredColour, 1.0, Qt::DashLine));
    line->append(bound.vs30, 0.0);
    line->append(bound.vs30, ShareAxis->max());
    boundSeries_.push_back(line.get());
    chart->addSeries(line.get());
    line.release()->attachAxis(Vs30Axis);
    boundSeries_.back()->attachAxis(ShareAxis);
    auto label = std::make_unique<QGraphicsSimpleTextItem>(
        QString::fromStdString(bound.label + " " + exactText(bound.vs30)), chart);
    label->setBrush(kMeasuredColour);
    boundLabels_.push_back(label.release());  // the chart deletes its children
  }
  placeLabels();
}

void Vs30HistogramChart::placeLabels() {
  // Each label stands beside the top of its line, a line lower than the one
  // before so that close bounds do not overwrite each other.
  for (std::size_t i = 0; i < boundLabels_.size(); ++i) {
    const QPointF top = chart->mapToPosition(QPointF(bounds_[i].vs30, ShareAxis->max()));
    boundLabels_[i]->setPos(top + QPointF(3.0, 2.0 + 14.0 * static_cast<double>(i % 4)));
  }
}

}  // namespace dispfit
