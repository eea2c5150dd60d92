// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/result_charts.h"

#include <QColor>
#include <QCoreApplication>
#include <QGraphicsLayout>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QLogValueAxis>
#include <QPen>
#include <QScatterSeries>
#include <QValueAxis>
#include <algorithm>
#include <cmath>
#include <limits>

#include "window/window_style.h"

namespace dispfit {

namespace {

// The chart's size on which the picture and the report draw it: the
// dispersion chart in the proportions of the window's, the Vs chart taller
// than wide for its depth. Both are as wide, so that pictures of one width
// show their fonts and lines at one size.
constexpr int kDispersionWidth = 800;
constexpr int kDispersionHeight = 500;
constexpr int kProfileWidth = 800;
constexpr int kProfileHeight = 900;

// The names of the results and their series (site/local_fit_result.h,
// search/search_result.h) with the texts the window shows for them.
struct ShownName {
  const char* name;
  const char* text;
};
constexpr ShownName kShownNames[] = {
    {"local fit", QT_TRANSLATE_NOOP("ResultCharts", "局部反演")},
    {"table model", QT_TRANSLATE_NOOP("ResultCharts", "表格模型")},
    {"best-fit search", QT_TRANSLATE_NOOP("ResultCharts", "全局搜索最佳拟合")},
    {"measured", QT_TRANSLATE_NOOP("ResultCharts", "实测曲线")},
    {"band", QT_TRANSLATE_NOOP("ResultCharts", "误差带")},
    {"computed", QT_TRANSLATE_NOOP("ResultCharts", "计算曲线")},
    {"fitted", QT_TRANSLATE_NOOP("ResultCharts", "拟合曲线")},
    {"fitted model", QT_TRANSLATE_NOOP("ResultCharts", "拟合模型")},
    {"accepted curves' envelope", QT_TRANSLATE_NOOP("ResultCharts", "接受模型曲线的包络")},
    {"best model", QT_TRANSLATE_NOOP("ResultCharts", "最佳模型")},
    {"10% / 90%", QT_TRANSLATE_NOOP("ResultCharts", "10%/90%")},
    {"median", QT_TRANSLATE_NOOP("ResultCharts", "中值")},
};

struct Extent {
  double low = std::numeric_limits<double>::infinity();
  double high = -std::numeric_limits<double>::infinity();

  void take(double value) {
    if (!std::isfinite(value)) return;
    low = std::min(low, value);
    high = std::max(high, value);
  }
  bool empty() const { return !(low <= high); }
};

QAbstractSeries* seriesOf(const ChartLine& line) {
  const QColor colour(static_cast<QRgb>(0xFF000000u | line.rgb));
  QXYSeries* series = nullptr;
  if (line.style == LineStyle::Markers) {
    auto* scatter = new QScatterSeries;  // owned by the chart it joins
    scatter->setMarkerSize(7.0);
    scatter->setColor(colour);
    scatter->setBorderColor(colour);
    series = scatter;
  } else {
    auto* curve = new QLineSeries;  // owned by the chart it joins
    QPen pen(colour, 2.0);
    if (line.style == LineStyle::Dashed) pen.setStyle(Qt::DashLine);
    curve->setPen(pen);
    series = curve;
  }
  series->setName(shownName(line.name));
  for (const auto& [x, y] : line.points) series->append(QPointF(x, y));
  return series;
}

std::unique_ptr<QChartView> viewOf(QChart* chart, int width, int height) {
  auto view = std::make_unique<QChartView>(chart);
  view->setRenderHint(QPainter::Antialiasing);
  view->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  view->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  view->resize(width, height);
  // Laid out as if shown, without a window on the screen: a chart lays out
  // its plot, axes and legend only for a view that is shown.
  view->setAttribute(Qt::WA_DontShowOnScreen, true);
  view->show();
  QCoreApplication::sendPostedEvents();
  chart->resize(view->viewport()->size());
  if (chart->layout() != nullptr) chart->layout()->activate();
  return view;
}

// Hides all but the first of the legend's entries that share a name (the two
// ends of a band).
void oneLegendEntryPerName(QChart& chart) {
  QStringList seen;
  for (QAbstractSeries* series : chart.series()) {
    const QList<QLegendMarker*> markers = chart.legend()->markers(series);
    if (markers.isEmpty()) continue;
    markers.front()->setVisible(!seen.contains(series->name()));
    seen.append(series->name());
  }
}

}  // namespace

QString shownName(const std::string& name) {
  for (const ShownName& known : kShownNames) {
    if (name == known.name) return QCoreApplication::translate("ResultCharts", known.text);
  }
  return QString::fromStdString(name);
}

std::unique_ptr<QChartView> dispersionChart(const ResultCharts& charts, bool logFrequency,
                                            const QString& title) {
  auto* chart = new QChart;  // owned by its view
  chart->setTitle(title);
  Extent frequency, velocity;
  for (const ChartLine& line : charts.dispersion) {
    for (const auto& [f, c] : line.points) {
      frequency.take(f);
      velocity.take(c);
    }
  }
  if (frequency.empty()) frequency = {1.0, 100.0};
  if (velocity.empty()) velocity = {0.0, 1000.0};
  QAbstractAxis* x = nullptr;
  if (logFrequency && frequency.low > 0.0) {
    auto* axis = new QLogValueAxis;  // owned by the chart
    axis->setBase(10.0);
    axis->setRange(frequency.low / 1.1, frequency.high * 1.1);
    axis->setLabelFormat(QStringLiteral("%g"));
    x = axis;
  } else {
    auto* axis = new QValueAxis;  // owned by the chart
    setRangeWithTicks(*axis, 0.0, frequency.high * 1.05);
    axis->setLabelFormat(QStringLiteral("%g"));
    x = axis;
  }
  x->setTitleText(QCoreApplication::translate("ResultCharts", "频率 (Hz)"));
  auto* y = new QValueAxis;  // owned by the chart
  // 50 m/s below and above, as the window's velocity axis leaves.
  setRangeWithTicks(*y, std::max(0.0, std::floor((velocity.low - 50.0) / 50.0) * 50.0),
                    std::ceil((velocity.high + 50.0) / 50.0) * 50.0);
  y->setLabelFormat(QStringLiteral("%g"));
  y->setTitleText(QCoreApplication::translate("ResultCharts", "相速度 (m/s)"));
  chart->addAxis(x, Qt::AlignBottom);
  chart->addAxis(y, Qt::AlignLeft);
  for (const ChartLine& line : charts.dispersion) {
    QAbstractSeries* series = seriesOf(line);
    chart->addSeries(series);
    series->attachAxis(x);
    series->attachAxis(y);
  }
  oneLegendEntryPerName(*chart);
  return viewOf(chart, kDispersionWidth, kDispersionHeight);
}

std::unique_ptr<QChartView> profileChart(const ResultCharts& charts, const QString& title) {
  auto* chart = new QChart;  // owned by its view
  chart->setTitle(title);
  Extent vs;
  for (const ChartLine& line : charts.profile) {
    for (const auto& point : line.points) vs.take(point.first);
  }
  if (vs.empty()) vs = {0.0, 1000.0};
  auto* x = new QValueAxis;  // owned by the chart
  setRangeWithTicks(*x, 0.0, std::ceil(vs.high * 1.1 / 50.0) * 50.0);
  x->setLabelFormat(QStringLiteral("%g"));
  x->setTitleText(QCoreApplication::translate("ResultCharts", "横波速度 Vs (m/s)"));
  auto* y = new QValueAxis;  // owned by the chart
  setRangeWithTicks(*y, 0.0, charts.profileDepth > 0.0 ? charts.profileDepth : 30.0);
  y->setReverse(true);  // depth downwards
  y->setLabelFormat(QStringLiteral("%g"));
  y->setTitleText(QCoreApplication::translate("ResultCharts", "深度 (m)"));
  chart->addAxis(x, Qt::AlignTop);
  chart->addAxis(y, Qt::AlignLeft);
  for (const ChartLine& line : charts.profile) {
    QAbstractSeries* series = seriesOf(line);
    chart->addSeries(series);
    series->attachAxis(x);
    series->attachAxis(y);
  }
  oneLegendEntryPerName(*chart);
  return viewOf(chart, kProfileWidth, kProfileHeight);
}

}  // namespace dispfit
