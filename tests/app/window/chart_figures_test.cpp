// SPDX-License-Identifier: GPL-3.0-or-later
// The charts as figures to publish: a legend that wraps and never cuts a
// label, the dispersion chart's legend once there is more than one curve,
// four labelled round ticks on every axis, the percentile lines apart from
// one another, the constrained depth's label clear of the profiles and a
// depth axis that reaches below every profile drawn.
#include <QFile>
#include <QFontMetricsF>
#include <QtTest/QTest>
#include <cmath>
#include <set>

#include "site/depth_profile.h"
#include "window/chart_legend.h"
#include "window/vs_profile_chart.h"
#include "window/window_style.h"
#include "window_fixture.h"

namespace dispfit {

namespace {

// How many multiples of the axis's tick interval lie inside its range: the
// ticks it labels.
int labelledTicks(const QValueAxis& axis) {
  const double interval = axis.tickInterval();
  return static_cast<int>(std::floor(axis.max() / interval + 1e-9) -
                          std::ceil(axis.min() / interval - 1e-9)) +
         1;
}

// Every entry inside the chart, as wide as its mark and its whole label,
// no two overlapping.
void expectLegendWhole(const ChartLegend& legend, const QChart& chart) {
  const QFontMetricsF metrics(QFont{});
  const std::vector<QRectF> places = legend.entryPlaces();
  ASSERT_EQ(places.size(), legend.entries().size());
  for (std::size_t i = 0; i < places.size(); ++i) {
    SCOPED_TRACE(legend.entries()[i].label.toStdString());
    EXPECT_TRUE(QRectF(QPointF(0, 0), chart.size()).contains(places[i]));
    for (std::size_t j = 0; j < i; ++j) EXPECT_FALSE(places[i].intersects(places[j]));
  }
}

TEST(ChartLegendLayout, EntriesWrapOntoNewLinesAndKeepTheirWholeLabels) {
  QChart chart;
  chart.resize(600, 300);
  const int margin = chart.margins().bottom();
  ChartLegend legend(chart);
  EXPECT_FALSE(chart.legend()->isVisible());
  const QStringList labels{"Starting model", "Fitted model",         "Accepted models",
                           "Median",         "10th/90th percentile", "Best model"};
  std::vector<LegendEntry> entries;
  for (const QString& label : labels) entries.push_back({label, LegendMark::Line, QPen(), {}});
  legend.setEntries(entries);
  EXPECT_EQ(legend.labels(), labels);
  const auto lines = [&legend] {
    std::set<double> tops;
    for (const QRectF& place : legend.entryPlaces()) tops.insert(place.top());
    return tops.size();
  };
  const std::size_t wide = lines();
  expectLegendWhole(legend, chart);
  EXPECT_GT(chart.margins().bottom(), margin);  // room made under the plot
  // At a third of the width the same entries take more lines, none cut.
  chart.resize(200, 300);
  EXPECT_GT(lines(), wide);
  expectLegendWhole(legend, chart);
  const QFontMetricsF metrics(QFont{});
  for (qsizetype i = 0; i < labels.size(); ++i) {
    EXPECT_GE(legend.entryPlaces()[static_cast<std::size_t>(i)].width(),
              metrics.horizontalAdvance(labels[i]));
  }
  // No entry: no legend, the chart's margin as it was.
  legend.setEntries({});
  EXPECT_FALSE(legend.isVisible());
  EXPECT_EQ(chart.margins().bottom(), margin);
}

// A chart too low for lines under its plot takes the entries in a column at
// its right edge, where the plot keeps its width; tall enough, or too
// narrow for a column, it keeps them under the plot.
TEST(ChartLegendLayout, StandsBesideThePlotOfALowChartThatAllowsIt) {
  QChart chart;
  const int margin = chart.margins().bottom();
  ChartLegend legend(chart);
  std::vector<LegendEntry> entries;
  for (const char* label : {"Computed curve", "Measured points", "Band", "Fitted curve"}) {
    entries.push_back({label, LegendMark::Line, QPen(), {}});
  }
  legend.setEntries(entries);
  const auto columns = [&legend] {
    std::set<double> lefts;
    for (const QRectF& place : legend.entryPlaces()) lefts.insert(place.left());
    return lefts.size();
  };
  // Not allowed: under the plot at any height.
  chart.resize(360, 140);
  EXPECT_FALSE(legend.isBeside());
  EXPECT_GT(chart.margins().bottom(), margin);

  legend.allowBeside(135.0, 150.0);
  EXPECT_TRUE(legend.isBeside());
  EXPECT_EQ(columns(), 1u);
  EXPECT_EQ(chart.margins().bottom(), margin);  // the height back to the plot
  expectLegendWhole(legend, chart);
  const QFontMetricsF metrics(QFont{});
  double widest = 0.0;
  for (const LegendEntry& entry : entries) {
    widest = std::max(widest, metrics.horizontalAdvance(entry.label));
  }
  EXPECT_GE(legend.besideWidth(), widest);
  for (const QRectF& place : legend.entryPlaces()) {
    EXPECT_GE(place.left(), chart.size().width() - legend.besideWidth() - 1.0);
  }

  chart.resize(360, 400);  // tall: lines under the plot
  EXPECT_FALSE(legend.isBeside());
  EXPECT_EQ(legend.besideWidth(), 0.0);
  EXPECT_GT(chart.margins().bottom(), margin);
  expectLegendWhole(legend, chart);
  chart.resize(220, 140);  // low but narrow: no plot would be left beside a column
  EXPECT_FALSE(legend.isBeside());
  expectLegendWhole(legend, chart);
}

using DispersionChartFigure = WindowTest;

TEST_F(DispersionChartFigure, HasALegendOnceAMeasuredCurveIsDrawnAndEveryAxisFourTicks) {
  // The described chart of the window's own curve: no legend.
  engine.curve.assign(30, 142.0961f);
  form.Button1.click();
  EXPECT_TRUE(form.DispersionLegend->entries().empty());
  EXPECT_FALSE(form.chart->legend()->isVisible());
  for (const QValueAxis* axis : {form.BottomAxis, form.LeftAxis}) {
    EXPECT_GE(labelledTicks(*axis), 4) << axis->min() << " to " << axis->max();
  }

  const QString path = workDir.filePath("site.csv");
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("f, c, sigma\n10, 200, 5\n20, 180, 5\n30, 150, 5\n40, 120, 5\n");
  file.close();
  ASSERT_TRUE(form.openMeasuredCurve(path));
  EXPECT_EQ(form.DispersionLegend->labels(), (QStringList{"实测点", "误差带"}));
  engine.curve = {123.0f, 150.0f, 190.0f, 200.0f};
  form.Button1.click();
  EXPECT_EQ(form.DispersionLegend->labels(), (QStringList{"计算曲线", "实测点", "误差带"}));
  chooseLanguage(WindowLanguage::English);
  EXPECT_EQ(form.DispersionLegend->labels(),
            (QStringList{"Computed curve", "Measured points", "Band"}));
  form.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
  form.resize(form.minimumSizeHint());
  QCoreApplication::processEvents();
  expectLegendWhole(*form.DispersionLegend, *form.chart);
  for (const QValueAxis* axis :
       {form.BottomAxis, form.LeftAxis, form.VsChart.VsAxis, form.VsChart.DepthAxis}) {
    EXPECT_GE(labelledTicks(*axis), 4) << axis->min() << " to " << axis->max();
  }
}

// The residuals under the chart: hidden for the described curve, then the
// computed curve's at each measured point, normalised by its band.
TEST_F(DispersionChartFigure, TheResidualChartShowsEachCurvesResidualsUnderThePoints) {
  engine.curve.assign(30, 142.0961f);
  form.Button1.click();
  EXPECT_TRUE(form.Residuals.isHidden());
  const int describedHeight = form.height();

  const QString path = workDir.filePath("site.csv");
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("f, c, sigma\n10, 200, 5\n20, 180, 5\n30, 150, 5\n40, 120, 5\n");
  file.close();
  ASSERT_TRUE(form.openMeasuredCurve(path));
  EXPECT_FALSE(form.Residuals.isHidden());
  EXPECT_GT(form.height(), describedHeight);           // the window made room for it
  EXPECT_TRUE(form.Residuals.ResidualSeries.empty());  // nothing computed yet
  // At 40, 30, 20, 10 Hz: (120 - 123) / 5 = -0.6, 0, (180 - 190) / 5 = -2,
  // (200 - 200) / 5 = 0.
  engine.curve = {123.0f, 150.0f, 190.0f, 200.0f};
  form.Button1.click();
  ASSERT_EQ(form.Residuals.ResidualSeries.size(), 1u);
  const QList<QPointF> r = form.Residuals.ResidualSeries[0]->points();
  ASSERT_EQ(r.size(), 4);
  const double expected[] = {-0.6, 0.0, -2.0, 0.0};
  for (int i = 0; i < 4; ++i) {
    EXPECT_NEAR(r[i].x(), form.MeasuredSeries->points()[i].x(), 1e-9);  // under its point
    EXPECT_NEAR(r[i].y(), expected[i], 1e-5);
  }
  EXPECT_EQ(form.Residuals.ResidualSeries[0]->pen(), form.Series1->pen());
  // -2 at most: 1.15 x 2 = 2.3 gives an axis of -4 to 4, with the band's
  // edges at -1 and +1.
  EXPECT_DOUBLE_EQ(form.Residuals.ResidualAxis->max(), 4.0);
  EXPECT_DOUBLE_EQ(form.Residuals.ResidualAxis->min(), -4.0);
  EXPECT_EQ(form.Residuals.UpperEdge->points().front().y(), 1.0);
  EXPECT_EQ(form.Residuals.ResidualAxis->titleText(), "残差/σ");
  chooseLanguage(WindowLanguage::English);
  EXPECT_EQ(form.Residuals.ResidualAxis->titleText(), "residual/σ");
  // The same horizontal axis as the chart above, on either scale.
  EXPECT_EQ(form.Residuals.BottomAxis->min(), form.BottomAxis->min());
  EXPECT_EQ(form.Residuals.BottomAxis->max(), form.BottomAxis->max());
  EXPECT_TRUE(form.Residuals.BottomAxis->isReverse());
  form.LogFrequencyAction->setChecked(true);
  EXPECT_TRUE(form.Residuals.LogBottomAxis->isVisible());
  EXPECT_NEAR(form.Residuals.ResidualSeries[0]->points()[0].x(), std::log10(40.0), 1e-9);
  EXPECT_EQ(form.Residuals.LogBottomAxis->categoriesLabels(),
            form.LogBottomAxis->categoriesLabels());
}

// An ensemble of two accepted models whose deepest interface, 48 m, lies
// below 1.5 times the constrained 20 m.
EnsembleProfiles deepEnsemble() {
  EnsembleProfiles ensemble;
  ensemble.models = {{{5, 43, 0}, {150, 300, 500}, {450, 900, 1500}, {1.9, 1.9, 1.9}},
                     {{4, 10, 0}, {160, 280, 480}, {480, 840, 1440}, {1.9, 1.9, 1.9}}};
  ensemble.misfits = {0.4, 0.8};
  for (int r = 0; r <= 300; ++r) {
    const double z = 0.1 * r;
    ensemble.rows.push_back({z, {150 + 3 * z, 160 + 3 * z, 170 + 3 * z}});
  }
  ensemble.best = ensemble.models.front();
  ensemble.depth = 30.0;
  return ensemble;
}

TEST(VsChartFigure, PercentileLinesDifferAndTheDepthAxisCoversEveryProfile) {
  VsProfileChart chart;
  chart.resize(320, 300);
  chart.showProfiles(ParsedLayers{{2, 0}, {150, 400}, {1.8, 2}}, std::nullopt, 20.0);
  chart.showEnsemble(deepEnsemble());
  // The median apart from the 10th and 90th percentiles in colour and in
  // style, and both apart from the best model.
  EXPECT_NE(chart.MedianSeries->pen().color(), chart.P10Series->pen().color());
  EXPECT_NE(chart.MedianSeries->pen().style(), chart.P10Series->pen().style());
  EXPECT_EQ(chart.P10Series->pen(), chart.P90Series->pen());
  EXPECT_NE(chart.BestSeries->pen().color(), chart.MedianSeries->pen().color());
  // 5 + 43 = 48 m: the chart reaches 1.5 x 48 = 72 m, below it.
  EXPECT_DOUBLE_EQ(chart.DepthAxis->max(), 72.0);
  for (const QLineSeries* series : chart.EnsembleSeries) {
    EXPECT_GE(chart.DepthAxis->max(), series->points().back().y());
  }
  EXPECT_EQ(chart.Legend->labels(),
            (QStringList{"初始模型", "接受模型", "中值", "10%/90%", "最佳模型"}));
}

TEST(VsChartFigure, TheConstrainedDepthsLabelCoversNoProfile) {
  VsProfileChart chart;
  chart.resize(480, 360);
  chart.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&chart));
  // A half-space of 150 m/s would sit where the label used to go, at the
  // left end of the line: now it goes where no line runs.
  for (const double slowest : {40.0, 150.0, 500.0}) {
    SCOPED_TRACE(slowest);
    chart.showProfiles(ParsedLayers{{5, 0}, {static_cast<float>(slowest), 600}, {1.8, 2}},
                       std::nullopt, 20.0);
    chart.showEnsemble(deepEnsemble());
    QCoreApplication::processEvents();
    const QRectF label =
        chart.ConstrainedLabel->mapRectToScene(chart.ConstrainedLabel->boundingRect());
    const QPointF topLeft = chart.chart->mapToValue(label.topLeft(), chart.ConstrainedSeries);
    const QPointF bottomRight =
        chart.chart->mapToValue(label.bottomRight(), chart.ConstrainedSeries);
    std::vector<std::vector<ProfilePoint>> lines;
    for (const QAbstractSeries* drawn : chart.chart->series()) {
      const auto* series = qobject_cast<const QLineSeries*>(drawn);
      if (series == nullptr || series == chart.ConstrainedSeries) continue;
      std::vector<ProfilePoint>& line = lines.emplace_back();
      for (const QPointF& p : series->points()) line.push_back({p.x(), p.y()});
    }
    // Depth grows downward: the label's top is the smaller depth.
    const VsStretch free =
        widestFreeStretch(lines, std::min(topLeft.y(), bottomRight.y()),
                          std::max(topLeft.y(), bottomRight.y()), topLeft.x(), bottomRight.x());
    EXPECT_NEAR(free.low, topLeft.x(), 1e-6);
    EXPECT_NEAR(free.high, bottomRight.x(), 1e-6);
    EXPECT_TRUE(chart.rect().contains(label.toRect()));
  }
}

}  // namespace

}  // namespace dispfit
