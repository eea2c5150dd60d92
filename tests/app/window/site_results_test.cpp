// SPDX-License-Identifier: GPL-3.0-or-later
// The window's site results: the Vs-depth chart of the starting and the
// fitted model with the depth the data constrain, the results panel with VsZ,
// Vs30 and the classes, and the starting model a measured curve suggests.
#include <QFile>
#include <QLegendMarker>
#include <QMenu>
#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "curve_function_engine.h"
#include "window_fixture.h"

namespace dispfit {

namespace {

// 10 m of 200 m/s over a half-space of 400 m/s. By hand:
//   Vs5 = Vs10 = 200 m/s (inside the top layer)
//   Vs20 = 20 / (10/200 + 10/400) = 20 / 0.075 = 266.7 m/s
//   Vs30 = 30 / (10/200 + 20/400) = 30 / 0.1   = 300.0 m/s:
//   Eurocode 8 ground type C (180-360), NEHRP class D (180-360).
const std::vector<LayerTexts> kTwoLayers{{"10", "200", "1.8"}, {"0", "400", "2"}};

// Four measured points at 10, 20, 30 and 40 Hz, each +/- 5 m/s; wavelengths
// 120/40 = 3, 150/30 = 5, 180/20 = 9 and 200/10 = 20 m, so the data constrain
// 20 / 2 = 10 m.
const char* const kFourPoints =
    "f (Hz), c (m/s), sigma (m/s)\n10, 200, 5\n20, 180, 5\n30, 150, 5\n40, 120, 5\n";

// Single-precision model values: a few ulps of a few hundred m/s or tens of m.
constexpr double kFloatTolerance = 1e-3;

bool writeFile(const QString& path, const std::string& text) {
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return false;
  return file.write(text.data(), static_cast<qint64>(text.size())) ==
         static_cast<qint64>(text.size());
}

// Answers the layer-count question with the counts queued; an empty queue
// answers as a cancelled dialog. Records what it was offered.
class ScriptedLayerCountChooser : public LayerCountChooser {
 public:
  std::optional<int> layerCount(QWidget*, int suggested, int lowest, int highest) override {
    offered = {suggested, lowest, highest};
    ++asked;
    if (answers.empty()) return std::nullopt;
    const int answer = answers.front();
    answers.erase(answers.begin());
    return answer;
  }
  std::vector<int> answers;
  std::vector<int> offered;
  int asked = 0;
};

std::vector<QPointF> pointsOf(const QLineSeries& series) {
  const QList<QPointF> points = series.points();
  return {points.begin(), points.end()};
}

void expectPointsNear(const std::vector<QPointF>& actual, const std::vector<QPointF>& expected) {
  ASSERT_EQ(actual.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_NEAR(actual[i].x(), expected[i].x(), kFloatTolerance);
    EXPECT_NEAR(actual[i].y(), expected[i].y(), kFloatTolerance);
  }
}

int occurrences(const QString& text, const QString& part) {
  return static_cast<int>(text.count(part));
}

class SiteResults : public WindowTest {
 protected:
  SiteResults() { form.setLayerCountChooser(layerCounts); }

  void openCurve(const char* name, const std::string& text) {
    const QString path = workDir.filePath(QString::fromUtf8(name));
    ASSERT_TRUE(writeFile(path, text));
    files.answers.push_back(path);
    form.OpenCurveAction->trigger();
    ASSERT_TRUE(form.measuredCurve());
  }

  ScriptedLayerCountChooser layerCounts;
};

TEST_F(SiteResults, BeforeAnyComputeTheChartAndThePanelAreEmpty) {
  EXPECT_TRUE(pointsOf(*form.VsChart.StartingSeries).empty());
  EXPECT_TRUE(pointsOf(*form.VsChart.FittedSeries).empty());
  EXPECT_TRUE(pointsOf(*form.VsChart.ConstrainedSeries).empty());
  EXPECT_FALSE(form.VsChart.ConstrainedLabel->isVisible());
  EXPECT_TRUE(form.ResultsPanel.text().isEmpty());
  EXPECT_FALSE(form.siteSummary());
  EXPECT_FALSE(form.SuggestModelAction->isEnabled());
  // Depth grows downward, Vs across the top.
  EXPECT_TRUE(form.VsChart.DepthAxis->isReverse());
  EXPECT_EQ(form.VsChart.VsAxis->alignment(), Qt::AlignTop);
  EXPECT_EQ(form.VsChart.DepthAxis->alignment(), Qt::AlignLeft);
  // Tab still moves from the chart to the layer count, then the table.
  EXPECT_FALSE(form.VsChart.focusPolicy() & Qt::TabFocus);
  EXPECT_FALSE(form.ResultsPanel.focusPolicy() & Qt::TabFocus);
}

TEST_F(SiteResults, ComputeWithoutACurveShowsTheTableModelAndItsVs30) {
  form.show();  // legend markers count as visible only in a shown chart
  engine.curve.assign(30, 190.0f);
  typeModel(kTwoLayers);
  form.Button1.click();

  // Chart depth 1.5 x the interface at 10 m = 15 m; the Vs axis ends at the
  // first multiple of 50 above 1.1 x 400 = 440 m/s.
  expectPointsNear(pointsOf(*form.VsChart.StartingSeries),
                   {{200, 0}, {200, 10}, {400, 10}, {400, 15}});
  EXPECT_TRUE(pointsOf(*form.VsChart.FittedSeries).empty());
  EXPECT_TRUE(pointsOf(*form.VsChart.ConstrainedSeries).empty());
  EXPECT_FALSE(form.VsChart.ConstrainedLabel->isVisible());
  // The legend names the one profile drawn.
  EXPECT_EQ(form.VsChart.Legend->labels(), QStringList{"初始模型"});
  EXPECT_DOUBLE_EQ(form.VsChart.DepthAxis->max(), 15.0);
  EXPECT_DOUBLE_EQ(form.VsChart.VsAxis->min(), 0.0);
  EXPECT_DOUBLE_EQ(form.VsChart.VsAxis->max(), 450.0);

  ASSERT_TRUE(form.siteSummary());
  ASSERT_TRUE(form.siteSummary()->vs30);
  EXPECT_NEAR(*form.siteSummary()->vs30, 300.0, kFloatTolerance);
  const QString panel = form.ResultsPanel.text();
  EXPECT_TRUE(panel.startsWith("当前模型\n")) << panel.toStdString();  // no curve, no misfit
  for (const char* shown :
       {"Vs5 = 200.0 m/s", "Vs10 = 200.0 m/s", "Vs20 = 266.7 m/s", "Vs30 = 300.0 m/s",
        "Eurocode 8 地基类型 C", "NEHRP 场地类别 D", "E、S1、S2 与 NEHRP F 类不能仅凭 Vs30 判定"}) {
    SCOPED_TRACE(shown);
    EXPECT_TRUE(panel.contains(QString::fromUtf8(shown))) << panel.toStdString();
  }
  EXPECT_FALSE(panel.contains("外推"));
  // The same figures in English once the language is switched.
  chooseLanguage(WindowLanguage::English);
  const QString english = form.ResultsPanel.text();
  EXPECT_TRUE(english.startsWith("Table model\n")) << english.toStdString();
  for (const char* shown : {"Vs5 = 200.0 m/s, Vs10 = 200.0 m/s", "Vs30 = 300.0 m/s",
                            "Eurocode 8 ground type C, NEHRP site class D",
                            "NEHRP class F cannot be told from Vs30 alone"}) {
    SCOPED_TRACE(shown);
    EXPECT_TRUE(english.contains(QString::fromUtf8(shown))) << english.toStdString();
  }
  EXPECT_TRUE(messages.messages.empty());
}

TEST_F(SiteResults, AveragesBelowTheConstrainedDepthAreMarkedExtrapolated) {
  struct Row {
    const char* name;
    std::string curve;
    double constrained;    // m, half the longest wavelength
    bool extrapolated[4];  // Vs5, Vs10, Vs20, Vs30
  };
  const Row rows[] = {
      // 200 m/s at 10 Hz: 20 m / 2 = 10 m; Vs10 reaches exactly that deep.
      {"10 m", kFourPoints, 10.0, {false, false, true, true}},
      // 59.8 m/s at 1 Hz: 59.8 m / 2 = 29.9 m, just short of Vs30.
      {"29.9 m", "f, c\n40, 120\n30, 150\n1, 59.8\n", 29.9, {false, false, false, true}},
      // 60 m/s at 1 Hz: 30 m, as deep as Vs30 reaches.
      {"30 m", "f, c\n40, 120\n30, 150\n1, 60\n", 30.0, {false, false, false, false}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    openCurve("curve.csv", row.curve);
    engine.curve.assign(4, 150.0f);
    typeModel(kTwoLayers);
    form.Button1.click();
    ASSERT_TRUE(form.siteSummary());
    ASSERT_EQ(form.siteSummary()->averages.size(), 4u);
    int flagged = 0;
    for (int i = 0; i < 4; ++i) {
      EXPECT_EQ(form.siteSummary()->averages[i].extrapolated, row.extrapolated[i]) << i;
      flagged += row.extrapolated[i] ? 1 : 0;
    }
    const QString panel = form.ResultsPanel.text();
    EXPECT_EQ(occurrences(panel, "（外推）"), flagged) << panel.toStdString();
    EXPECT_EQ(panel.contains("外推："), flagged > 0) << panel.toStdString();
    EXPECT_TRUE(panel.contains(QStringLiteral("数据约束深度 %1 m").arg(row.constrained, 0, 'f', 1)))
        << panel.toStdString();
    // The dashed line across the whole Vs axis at the constrained depth.
    const std::vector<QPointF> line = pointsOf(*form.VsChart.ConstrainedSeries);
    ASSERT_EQ(line.size(), 2u);
    EXPECT_NEAR(line[0].y(), row.constrained, kFloatTolerance);
    EXPECT_NEAR(line[1].y(), row.constrained, kFloatTolerance);
    EXPECT_DOUBLE_EQ(line[0].x(), form.VsChart.VsAxis->min());
    EXPECT_DOUBLE_EQ(line[1].x(), form.VsChart.VsAxis->max());
    EXPECT_TRUE(form.VsChart.ConstrainedLabel->isVisible());
    EXPECT_EQ(form.VsChart.ConstrainedLabel->text(),
              QStringLiteral("数据约束深度 %1 m").arg(row.constrained, 0, 'f', 1));
    // The chart reaches 1.5 x the deeper of the interface (10 m) and the data.
    EXPECT_NEAR(form.VsChart.DepthAxis->max(), 1.5 * std::max(10.0, row.constrained),
                kFloatTolerance);
  }
}

TEST_F(SiteResults, ComputeWithACurveNamesTheMisfitInThePanel) {
  openCurve("site.csv", kFourPoints);
  // Off by 3, 0, 10 and 0 m/s: RMS = sqrt((9 + 100) / 4) = 5.2 m/s.
  engine.curve = {123.0f, 150.0f, 190.0f, 200.0f};
  typeModel(kTwoLayers);
  form.Button1.click();
  const QString panel = form.ResultsPanel.text();
  EXPECT_TRUE(panel.startsWith("当前模型：拟合差（未加权 RMS）5.2 m/s\n")) << panel.toStdString();
  chooseLanguage(WindowLanguage::English);
  EXPECT_TRUE(form.ResultsPanel.text().startsWith("Table model: misfit (unweighted RMS) 5.2 m/s\n"))
      << form.ResultsPanel.text().toStdString();
}

TEST_F(SiteResults, NewCurveClearsTheProfilesAndThePanel) {
  openCurve("site.csv", kFourPoints);
  engine.curve.assign(4, 150.0f);
  typeModel(kTwoLayers);
  form.Button1.click();
  ASSERT_FALSE(pointsOf(*form.VsChart.StartingSeries).empty());

  openCurve("other.csv", "f, c\n40, 120\n30, 150\n5, 300\n");
  EXPECT_TRUE(pointsOf(*form.VsChart.StartingSeries).empty());
  EXPECT_TRUE(form.ResultsPanel.text().isEmpty());
  EXPECT_FALSE(form.siteSummary());
  // Only the new curve's reach is drawn: 300 / 5 / 2 = 30 m.
  const std::vector<QPointF> line = pointsOf(*form.VsChart.ConstrainedSeries);
  ASSERT_EQ(line.size(), 2u);
  EXPECT_NEAR(line[0].y(), 30.0, kFloatTolerance);
}

TEST_F(SiteResults, SuggestFillsTheTableWithAModelWorkedByHand) {
  openCurve("site.csv", kFourPoints);
  ASSERT_TRUE(form.SuggestModelAction->isEnabled());
  layerCounts.answers = {4};
  form.SuggestModelAction->trigger();
  EXPECT_EQ(layerCounts.offered, (std::vector<int>{4, 1, 20}));

  // Interfaces between 3/3 = 1 m and 20/2 = 10 m, geometric: 1, sqrt(10) =
  // 3.1623 and 10 m. Vs = 1.1 c(2 d), c linear in ln(lambda) between points:
  //   layer 1, d = 0.5 m: lambda 1 m, below 3 m, held at 120 -> 132
  //   layer 2, d = 2.0811 m: lambda 4.1623 m between 3 m (120) and 5 m (150):
  //     t = ln(4.1623/3) / ln(5/3) = 0.64098, c = 139.229 -> 153.154
  //   layer 3, d = 6.5811 m: lambda 13.162 m between 9 m (180) and 20 m (200):
  //     t = ln(13.162/9) / ln(20/9) = 0.47605, c = 189.521 -> 208.473
  //   half-space, top 10 m: lambda 20 m, c = 200 -> 220
  // The half-space's thickness repeats the layer above it. The table gets
  // them to 0.1 m and 1 m/s: 1, 2.2, 6.8, 6.8 m and 132, 153, 208, 220 m/s.
  const std::vector<LayerTexts> expected{
      {"1", "132", "1.9"}, {"2.2", "153", "1.9"}, {"6.8", "208", "1.9"}, {"6.8", "220", "1.9"}};
  EXPECT_EQ(form.tableRows(), expected);
  EXPECT_EQ(form.LUpDown.position(), 4);
  ASSERT_EQ(form.layerCount, 4);
  const float vs[] = {132.0f, 153.0f, 208.0f, 220.0f};
  for (int i = 0; i < 4; ++i) EXPECT_EQ(form.vs[i], vs[i]);  // the window holds what it shows
  // The chart shows it as the starting model, down to 1.5 x 10 m.
  const std::vector<QPointF> profile = pointsOf(*form.VsChart.StartingSeries);
  ASSERT_EQ(profile.size(), 8u);
  EXPECT_NEAR(profile.front().x(), 132.0, kFloatTolerance);
  EXPECT_NEAR(profile[5].y(), 1.0 + 2.2 + 6.8, 1e-5);  // the sum of three floats
  EXPECT_NEAR(profile.back().x(), 220.0, kFloatTolerance);
  EXPECT_NEAR(profile.back().y(), 15.0, kFloatTolerance);
  EXPECT_TRUE(form.StatusLine.text().contains("4 层初始模型"));
  EXPECT_TRUE(messages.messages.empty());

  // Edited before inverting: the table is the user's again.
  form.Model.setCell(2, 1, QStringLiteral("140"));
  form.Button1.click();
  EXPECT_EQ(form.vs[0], 140.0f);
}

TEST_F(SiteResults, SuggestAsksNothingWithoutACurveAndACancelChangesNothing) {
  form.SuggestModelClick();
  EXPECT_EQ(layerCounts.asked, 0);

  openCurve("site.csv", kFourPoints);
  typeModel(kTwoLayers);
  form.SuggestModelAction->trigger();  // no answer queued: cancelled
  EXPECT_EQ(layerCounts.asked, 1);
  EXPECT_EQ(form.tableRows(), kTwoLayers);
  EXPECT_TRUE(pointsOf(*form.VsChart.StartingSeries).empty());
}

TEST_F(SiteResults, InversionWithoutACurveLeavesTheChartAndPanelAsTheyWere) {
  engine.curve.assign(30, 150.0f);
  typeModel(kTwoLayers);
  form.Button1.click();
  const std::vector<QPointF> before = pointsOf(*form.VsChart.StartingSeries);
  const QString panel = form.ResultsPanel.text();
  form.Button2.click();
  EXPECT_EQ(pointsOf(*form.VsChart.StartingSeries), before);
  EXPECT_TRUE(pointsOf(*form.VsChart.FittedSeries).empty());
  EXPECT_EQ(form.ResultsPanel.text(), panel);
}

// One layer whose phase velocity is 0.9 Vs at every frequency, the measured
// curve a flat 180 m/s: the fit finds Vs = 180 / 0.9 = 200 m/s, so Vs30 =
// 200 m/s, ground type C and class D. The longest wavelength, 180 / 10 = 18 m,
// constrains 9 m.
class FittedSiteResults : public ::testing::Test {
 protected:
  static void flatCurve(ForwardCall& call) {
    for (int j = 0; j < call.freqCount; ++j) call.phaseVelocity[j] = 0.9f * call.vs[0];
  }

  QTemporaryDir workDir;
  RecordingPresenter messages;
  CurveFunctionEngine engine{flatCurve};
  NoPrinterSource printers;
  ScriptedFileChooser files;
  TForm1 form{messages, engine, printers, files};
};

TEST_F(FittedSiteResults, InversionDrawsBothProfilesAndTheFittedModelsResults) {
  const QString path = workDir.filePath("flat.csv");
  ASSERT_TRUE(writeFile(path, "f, c, sigma\n10, 180, 2\n20, 180, 2\n30, 180, 2\n40, 180, 2\n"));
  files.answers.push_back(path);
  form.show();  // legend markers count as visible only in a shown chart
  form.OpenCurveAction->trigger();
  form.Button2.click();                     // from the start-up model, 150 m/s
  ASSERT_EQ(messages.messages.size(), 1u);  // the report

  // A lone half-space over a constrained 9 m: the chart reaches 13.5 m.
  expectPointsNear(pointsOf(*form.VsChart.StartingSeries), {{150, 0}, {150, 13.5}});
  const std::vector<QPointF> fitted = pointsOf(*form.VsChart.FittedSeries);
  ASSERT_EQ(fitted.size(), 2u);
  EXPECT_NEAR(fitted[0].x(), 200.0, 0.5);  // 0.5 m/s puts 0.9 Vs within 0.45 m/s of 180
  EXPECT_NEAR(fitted[1].y(), 13.5, kFloatTolerance);
  EXPECT_EQ(form.VsChart.Legend->labels(), (QStringList{"初始模型", "拟合模型"}));

  ASSERT_TRUE(form.siteSummary() && form.siteSummary()->vs30);
  EXPECT_NEAR(*form.siteSummary()->vs30, 200.0, 0.5);
  EXPECT_EQ(form.siteSummary()->groundType, GroundType::C);
  EXPECT_EQ(form.siteSummary()->nehrpClass, NehrpClass::D);
  const QString panel = form.ResultsPanel.text();
  EXPECT_TRUE(panel.startsWith("拟合模型：拟合差（未加权 RMS）")) << panel.toStdString();
  EXPECT_TRUE(panel.contains("m/s\n")) << panel.toStdString();
  // Vs10, Vs20 and Vs30 reach below 9 m.
  EXPECT_EQ(occurrences(panel, "（外推）"), 3) << panel.toStdString();
}

}  // namespace

}  // namespace dispfit
