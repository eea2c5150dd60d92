// SPDX-License-Identifier: GPL-3.0-or-later
// The window's global search on a synthetic field curve: the settings asked
// through a stand-in, the search on its own thread with the commands off and
// a progress dialog, its cancel, refusals, and what it draws and sums up.
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFontMetrics>
#include <QImage>
#include <QPushButton>
#include <QTest>
#include <cmath>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "search/ensemble_statistics.h"
#include "search/global_search.h"
#include "search/synthetic_curve.h"
#include "site/model_file_text.h"
#include "site/starting_model.h"
#include "window/global_search_dialog.h"
#include "window/site_results_panel.h"
#include "window_fixture.h"

namespace dispfit {

namespace {

// Answers the search dialog with the requests queued; an empty queue
// answers as a cancelled dialog. Records what it was offered.
class ScriptedSearchRequestChooser : public SearchRequestChooser {
 public:
  std::optional<SearchRequest> searchRequest(QWidget*, const SearchRequest& shown) override {
    offered = shown;
    ++asked;
    if (answers.empty()) return std::nullopt;
    SearchRequest answer = answers.front();
    answers.erase(answers.begin());
    return answer;
  }
  std::vector<SearchRequest> answers;
  std::optional<SearchRequest> offered;
  int asked = 0;
};

// The search tests' synthetic 3-layer curve with its +-3 % band, as a file.
std::string syntheticCurveText() {
  std::string text = "f (Hz), c (m/s), low (m/s), high (m/s)\n";
  for (const MeasuredPoint& p : dispfit_test::syntheticCurve()) {
    char line[160];
    std::snprintf(line, sizeof line, "%.17g, %.17g, %.17g, %.17g\n", p.frequency, p.velocity,
                  p.band->low, p.band->high);
    text += line;
  }
  return text;
}

SearchRequest smallRequest(std::int64_t models) {
  SearchRequest request;
  request.layers = 3;
  request.vs = {80.0, 1000.0};
  request.thickness = {1.0, 15.0};
  request.models = models;
  request.seed = 3;
  // A normalised misfit of 3 (residuals near 9 % RMS): loose enough that a
  // budget of a few hundred models accepts some, so that there is an
  // ensemble to draw.
  request.acceptance.threshold = 3.0;
  return request;
}

// A search of up to a few thousand models on this machine ends within
// seconds; two minutes leaves room for a loaded sanitizer build.
constexpr int kSearchTimeoutMs = 120000;

class GlobalSearchWindow : public WindowTest {
 protected:
  GlobalSearchWindow() { form.setSearchRequestChooser(requests); }

  void openSyntheticCurve() {
    const QString path = workDir.filePath(QStringLiteral("synthetic.csv"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    const std::string text = syntheticCurveText();
    file.write(text.data(), static_cast<qint64>(text.size()));
    file.close();
    ASSERT_TRUE(form.openMeasuredCurve(path));
  }

  // Lets the window's thread take the search's queued calls until it ends.
  bool waitForSearchEnd() {
    const QDeadlineTimer deadline(kSearchTimeoutMs);
    while (form.globalSearchRunning() && !deadline.hasExpired()) QTest::qWait(5);
    return !form.globalSearchRunning();
  }

  // Exports the second result offered (the search's or the posterior's,
  // after the table's model) into a new folder `name` of the work folder,
  // as the export dialog's choice would; its path, empty where it failed.
  QString exportSecondResult(ScriptedExportResultChooser& results, const QString& name) {
    form.setExportResultChooser(results);
    results.answers.push_back(1);
    const QString folder = workDir.filePath(name);
    if (!QDir(workDir.path()).mkdir(name) || !form.exportResults(folder)) return {};
    return folder;
  }

  ScriptedSearchRequestChooser requests;
};

QString readText(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

std::vector<double> yValues(const QXYSeries& series) {
  std::vector<double> values;
  for (const QPointF& p : series.points()) values.push_back(p.y());
  return values;
}

TEST_F(GlobalSearchWindow, RunsToTheEndAndDrawsTheAcceptedEnsemble) {
  EXPECT_FALSE(form.GlobalSearchAction->isEnabled());  // no measured curve yet
  openSyntheticCurve();
  EXPECT_TRUE(form.GlobalSearchAction->isEnabled());
  EXPECT_FALSE(form.ApplyBestAction->isEnabled());

  constexpr std::int64_t kModels = 600;
  requests.answers.push_back(smallRequest(kModels));
  form.GlobalSearchAction->trigger();
  ASSERT_EQ(requests.asked, 1);
  EXPECT_EQ(requests.offered->layers, form.layerCount);  // the table's count offered
  ASSERT_TRUE(form.globalSearchRunning());
  // While it runs the other commands wait, and the progress shows.
  EXPECT_FALSE(form.Button2.isEnabled());
  EXPECT_FALSE(form.GlobalSearchAction->isEnabled());
  ASSERT_TRUE(form.SearchProgressDialog);
  EXPECT_TRUE(form.SearchProgressDialog->isVisible());
  EXPECT_EQ(form.SearchProgressDialog->maximum(), kModels);

  ASSERT_TRUE(waitForSearchEnd());
  EXPECT_TRUE(form.Button2.isEnabled());
  EXPECT_TRUE(form.GlobalSearchAction->isEnabled());
  EXPECT_FALSE(form.SearchProgressDialog);
  ASSERT_TRUE(form.searchSummary());
  const SearchSummary& summary = *form.searchSummary();
  EXPECT_FALSE(summary.cancelled);
  EXPECT_EQ(summary.drawn, kModels);
  ASSERT_FALSE(summary.accepted.empty());

  // The same search again on this thread, accepted models taken and averaged
  // here: the seed fixes the ensemble for any thread count, so the panel's
  // Vs30 median must be this one's.
  const SearchRequest request = smallRequest(kModels);
  const SearchSpace space = searchSpaceOf(request);
  const CurveMisfit curve(form.measuredCurve()->inverted);
  const SearchEnsemble ensemble =
      runGlobalSearch(space, curve, searchSettingsOf(request, 1), request.acceptance, {});
  const std::vector<bool> accepted = acceptedModels(ensemble, request.acceptance);
  const ParameterMap map(space);
  std::vector<TrialModel> models;
  for (std::size_t i = 0; i < ensemble.size(); ++i) {
    if (accepted[i]) map.model(ensemble.coordinatesOf(i), models.emplace_back());
  }
  ASSERT_EQ(models.size(), summary.accepted.size());
  const std::vector<AverageSpread> spreads =
      averageSpreads(models, constrainedDepth(form.measuredCurve()->points));
  ASSERT_EQ(spreads.size(), 4u);
  ASSERT_EQ(spreads.back().depth, 30.0);
  const QString panel = form.ResultsPanel.text();
  const QString vs30 = QStringLiteral("Vs30 中值 %1 m/s，10%–90% %2–%3")
                           .arg(spreads.back().vs.median, 0, 'f', 1)
                           .arg(spreads.back().vs.p10, 0, 'f', 1)
                           .arg(spreads.back().vs.p90, 0, 'f', 1);
  EXPECT_TRUE(panel.contains(vs30)) << panel.toStdString();
  EXPECT_TRUE(panel.startsWith(
      QStringLiteral("全局搜索：接受 %1/%2，最佳归一化拟合差 ").arg(models.size()).arg(kModels)))
      << panel.toStdString();
  EXPECT_FALSE(panel.contains(QStringLiteral("已取消")));

  // The Vs chart: one line per accepted model up to the cap, the better ones
  // more opaque, and the percentile lines in order at every depth.
  const std::size_t drawn = std::min(models.size(), kMostProfilesDrawn);
  ASSERT_EQ(form.VsChart.EnsembleSeries.size(), drawn);
  EXPECT_GE(form.VsChart.EnsembleSeries.front()->pen().color().alpha(),
            form.VsChart.EnsembleSeries.back()->pen().color().alpha());
  const std::vector<double> p10 = yValues(*form.VsChart.P10Series);
  ASSERT_FALSE(p10.empty());
  const QList<QPointF> low = form.VsChart.P10Series->points();
  const QList<QPointF> median = form.VsChart.MedianSeries->points();
  const QList<QPointF> high = form.VsChart.P90Series->points();
  ASSERT_EQ(median.size(), low.size());
  ASSERT_EQ(high.size(), low.size());
  for (qsizetype i = 0; i < low.size(); ++i) {
    SCOPED_TRACE(low[i].y());
    EXPECT_LE(low[i].x(), median[i].x());
    EXPECT_LE(median[i].x(), high[i].x());
  }
  EXPECT_FALSE(form.VsChart.BestSeries->points().isEmpty());

  // The dispersion chart: the accepted curves' band at the fitted points, low
  // under high, and the best model's curve.
  EXPECT_TRUE(form.EnvelopeSeries->isVisible());
  const std::vector<double> upper = yValues(*form.EnvelopeSeries->upperSeries());
  const std::vector<double> lower = yValues(*form.EnvelopeSeries->lowerSeries());
  ASSERT_EQ(upper.size(), form.measuredCurve()->inverted.size());
  ASSERT_EQ(lower.size(), upper.size());
  for (std::size_t i = 0; i < upper.size(); ++i) EXPECT_LE(lower[i], upper[i]);
  EXPECT_TRUE(form.BestCurveSeries->isVisible());
  EXPECT_EQ(form.BestCurveSeries->count(), static_cast<int>(upper.size()));
}

TEST_F(GlobalSearchWindow, CancelAfterTheFirstReportKeepsWhatWasFound) {
  openSyntheticCurve();
  typeModel({{"2", "200", "1.8"}, {"4", "300", "1.9"}, {"0", "600", "2.0"}});
  const std::vector<LayerTexts> table = form.tableRows();
  constexpr std::int64_t kModels = 1000000;  // far more than are drawn before the cancel
  SearchRequest request = smallRequest(kModels);
  // Looser still: the cancel may come after the first 200 uniform draws
  // alone, and some of those must be accepted for an ensemble to draw.
  request.acceptance.threshold = 20.0;
  requests.answers.push_back(request);
  form.GlobalSearchAction->trigger();
  ASSERT_TRUE(form.SearchProgressDialog);
  const QDeadlineTimer deadline(kSearchTimeoutMs);
  while (form.SearchProgressDialog->value() <= 0 && !deadline.hasExpired()) QTest::qWait(1);
  ASSERT_GT(form.SearchProgressDialog->value(), 0);
  // The progress names the misfit of a banded curve and counts what it has.
  const QString progress = form.SearchProgressDialog->labelText();
  EXPECT_TRUE(progress.contains(QStringLiteral("最佳归一化拟合差"))) << progress.toStdString();
  EXPECT_TRUE(progress.contains(QStringLiteral("/ %1 个模型").arg(kModels)))
      << progress.toStdString();
  QPushButton* const cancel = form.SearchProgressDialog->findChild<QPushButton*>();
  ASSERT_TRUE(cancel);
  EXPECT_EQ(cancel->text(), QStringLiteral("取消"));
  cancel->click();
  ASSERT_TRUE(waitForSearchEnd());

  ASSERT_TRUE(form.searchSummary());
  const SearchSummary& summary = *form.searchSummary();
  EXPECT_TRUE(summary.cancelled);
  EXPECT_GT(summary.drawn, 0);
  EXPECT_LT(summary.drawn, kModels);
  EXPECT_FALSE(summary.accepted.empty());
  EXPECT_FALSE(form.VsChart.EnsembleSeries.empty());
  EXPECT_TRUE(form.ResultsPanel.text().startsWith(QStringLiteral("全局搜索已取消：")));
  EXPECT_TRUE(form.Button2.isEnabled());
  EXPECT_EQ(form.tableRows(), table);
}

TEST_F(GlobalSearchWindow, RefusedOrCancelledSettingsStartNothing) {
  openSyntheticCurve();
  struct Row {
    const char* name;
    std::optional<SearchRequest> answer;
    bool box;
  };
  SearchRequest upsideDown = smallRequest(100);
  upsideDown.vs = {500.0, 200.0};
  SearchRequest tooLowVp = smallRequest(100);
  tooLowVp.vpRule = PVelocityRule::Fixed;
  tooLowVp.fixedVp = 1000.0;  // below sqrt(2) * 1000 m/s
  const Row rows[] = {{"Vs range upside down", upsideDown, true},
                      {"fixed Vp too low", tooLowVp, true},
                      {"dialog cancelled", std::nullopt, false}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    messages.messages.clear();
    if (row.answer) requests.answers.push_back(*row.answer);
    form.GlobalSearchAction->trigger();
    EXPECT_FALSE(form.globalSearchRunning());
    EXPECT_FALSE(form.SearchProgressDialog);
    EXPECT_FALSE(form.searchSummary());
    EXPECT_TRUE(form.Button2.isEnabled());
    ASSERT_EQ(messages.messages.size(), row.box ? 1u : 0u);
    if (row.box) {
      EXPECT_EQ(messages.messages[0].icon, MessageIcon::Warning);
    }
  }
}

TEST_F(GlobalSearchWindow, BestModelGoesToTheTableAndANewCurveClearsTheSearch) {
  openSyntheticCurve();
  requests.answers.push_back(smallRequest(400));
  form.GlobalSearchAction->trigger();
  ASSERT_TRUE(waitForSearchEnd());
  ASSERT_TRUE(form.searchSummary() && form.searchSummary()->best);
  const TrialModel best = *form.searchSummary()->best;
  ASSERT_TRUE(form.ApplyBestAction->isEnabled());
  const QString panel = form.ResultsPanel.text();
  form.ApplyBestAction->trigger();
  EXPECT_EQ(form.ResultsPanel.text(), panel);  // still the search's figures
  ASSERT_EQ(form.layerCount, 3);
  const std::vector<LayerTexts> rows = form.tableRows();
  ASSERT_EQ(rows.size(), 3u);
  for (std::size_t i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    // The table keeps single precision, as every model it holds.
    EXPECT_EQ(std::stof(rows[i].vs), static_cast<float>(best.vs[i]));
    EXPECT_EQ(form.vs[i], static_cast<float>(best.vs[i]));
    if (i < 2) {
      EXPECT_EQ(std::stof(rows[i].thickness), static_cast<float>(best.thickness[i]));
    }
  }

  openSyntheticCurve();
  EXPECT_FALSE(form.searchSummary());
  EXPECT_TRUE(form.VsChart.EnsembleSeries.empty());
  EXPECT_TRUE(form.VsChart.MedianSeries->points().isEmpty());
  EXPECT_FALSE(form.EnvelopeSeries->isVisible());
  EXPECT_FALSE(form.ApplyBestAction->isEnabled());
}

TEST_F(GlobalSearchWindow, EachLayersOwnRangesHoldEveryAcceptedModel) {
  // Narrow ranges of each layer's own, none of them the uniform fields':
  // every accepted model must lie inside its own layer's ranges, which a
  // search over the uniform 80 .. 1000 m/s would not keep.
  openSyntheticCurve();
  SearchRequest request = smallRequest(400);
  request.acceptance.threshold = 20.0;  // loose: some models accepted in any case
  request.layerRanges = {{{150.0, 250.0}, {1.0, 3.0}, 1.8, std::nullopt, Range{0.3, 0.4}},
                         {{250.0, 450.0}, {4.0, 8.0}, 1.9, std::nullopt, std::nullopt},
                         {{450.0, 700.0}, {0.0, 0.0}, 2.0, 1800.0, std::nullopt}};
  requests.answers.push_back(request);
  form.GlobalSearchAction->trigger();
  ASSERT_TRUE(waitForSearchEnd());
  ASSERT_TRUE(form.searchSummary());
  const std::vector<TrialModel>& accepted = form.searchSummary()->accepted;
  ASSERT_FALSE(accepted.empty());
  // The log scale's exp and log: a few units in the last place past an end.
  const auto inside = [](double value, Range range) {
    return value >= range.low * (1.0 - 1e-12) && value <= range.high * (1.0 + 1e-12);
  };
  for (std::size_t m = 0; m < accepted.size(); ++m) {
    SCOPED_TRACE(m);
    const TrialModel& model = accepted[m];
    ASSERT_EQ(model.vs.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
      SCOPED_TRACE(i);
      const LayerRanges& layer = request.layerRanges[i];
      EXPECT_TRUE(inside(model.vs[i], layer.vs)) << model.vs[i];
      if (i < 2) {
        EXPECT_TRUE(inside(model.thickness[i], layer.thickness)) << model.thickness[i];
      }
      EXPECT_EQ(model.density[i], layer.density);
    }
    // Layer 1: Poisson's ratio 0.3 .. 0.4, so Vp / Vs between
    // sqrt(1.4 / 0.4) = 1.8708 and sqrt(1.2 / 0.2) = 2.4495; layer 2 the
    // form's 3 Vs; layer 3 its own fixed 1800 m/s.
    const double ratio = model.vp[0] / model.vs[0];
    EXPECT_TRUE(inside(ratio, {1.8708, 2.4495})) << ratio;  // printed digits cover the rounding
    EXPECT_NEAR(model.vp[1], 3.0 * model.vs[1], 1e-9 * model.vp[1]);
    EXPECT_EQ(model.vp[2], 1800.0);
  }
}

TEST(GlobalSearchDialog, ShowsTheRequestOfferedAndGivesBackWhatItShows) {
  // Every field set away from its default, so that two fields swapped or one
  // not read would show.
  SearchRequest offered;
  offered.layers = 7;
  offered.vs = {95.5, 870.0};
  offered.thickness = {0.5, 12.25};
  offered.vpRule = PVelocityRule::PoissonRange;
  offered.fixedVp = 1650.0;
  offered.poisson = {0.3, 0.42};
  offered.waterTable = 3.5;
  offered.density = 2.05;
  offered.increasing = true;
  offered.models = 25000;
  offered.seed = 42;
  offered.acceptance = {1.5, 1.25};
  ScriptedFileChooser files;
  RecordingPresenter messages;
  GlobalSearchDialog dialog(offered, files, messages);
  const SearchRequest shown = dialog.request();
  EXPECT_EQ(shown.layers, 7);
  EXPECT_EQ(shown.vs, (Range{95.5, 870.0}));
  EXPECT_EQ(shown.thickness, (Range{0.5, 12.25}));
  EXPECT_EQ(shown.vpRule, PVelocityRule::PoissonRange);
  EXPECT_EQ(shown.fixedVp, 1650.0);
  EXPECT_EQ(shown.poisson, (Range{0.3, 0.42}));
  EXPECT_EQ(shown.waterTable, 3.5);
  EXPECT_EQ(shown.density, 2.05);
  EXPECT_TRUE(shown.increasing);
  EXPECT_EQ(shown.models, 25000);
  EXPECT_EQ(shown.seed, 42u);
  EXPECT_EQ(shown.acceptance.threshold, 1.5);
  EXPECT_EQ(shown.acceptance.factor, 1.25);
  // Only the chosen rule's fields take input.
  EXPECT_FALSE(dialog.FixedVp.isEnabled());
  EXPECT_TRUE(dialog.PoissonLow.isEnabled());
  EXPECT_TRUE(dialog.WaterTable.isEnabled());

  // Defaults restored: the library's, the layer count kept; no water table.
  dialog.Buttons.button(QDialogButtonBox::RestoreDefaults)->click();
  const SearchRequest defaults = dialog.request();
  EXPECT_EQ(defaults.layers, 7);
  EXPECT_EQ(defaults.vs, (Range{80.0, 1000.0}));
  EXPECT_EQ(defaults.thickness, (Range{1.0, 15.0}));
  EXPECT_EQ(defaults.vpRule, PVelocityRule::ThreeTimesVs);
  EXPECT_FALSE(defaults.waterTable);
  EXPECT_EQ(defaults.density, 1.9);
  EXPECT_FALSE(defaults.increasing);
  EXPECT_EQ(defaults.models, 10000);
  EXPECT_EQ(defaults.seed, 1u);
  EXPECT_FALSE(dialog.PoissonLow.isEnabled());
  EXPECT_FALSE(dialog.WaterTable.isEnabled());
}

TEST_F(GlobalSearchWindow, AWindowClosedWhileSearchingCancelsAndWaits) {
  const QString path = workDir.filePath(QStringLiteral("synthetic.csv"));
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  const std::string text = syntheticCurveText();
  file.write(text.data(), static_cast<qint64>(text.size()));
  file.close();
  {
    TForm1 other{messages, engine, printers, files};
    ASSERT_TRUE(other.openMeasuredCurve(path));
    ASSERT_TRUE(other.startGlobalSearch(smallRequest(1000000)));
    QTest::qWait(20);
    EXPECT_TRUE(other.globalSearchRunning());
  }  // the window goes while its search runs: cancelled and joined, nothing left behind
  QTest::qWait(20);  // any queued report for the gone window is dropped
  EXPECT_TRUE(messages.messages.empty());
}

SearchRequest smallPosterior(std::int64_t samples) {
  SearchRequest request;
  request.method = SearchMethod::Posterior;
  request.layers = 3;
  request.vs = {80.0, 1000.0};
  request.thickness = {1.0, 15.0};
  request.samples = samples;
  request.seed = 3;
  // Under the lowest root, ten times quicker than the default rule: the
  // window's handling is the same, and the rule's own test asks for it.
  request.posteriorObserved = false;
  return request;
}

TEST_F(GlobalSearchWindow, PosteriorDrawsCredibleBandsPredictiveBandAndClassProbabilities) {
  openSyntheticCurve();
  requests.answers.push_back(smallPosterior(4000));
  form.GlobalSearchAction->trigger();
  ASSERT_TRUE(form.globalSearchRunning());
  EXPECT_FALSE(form.Button2.isEnabled());
  ASSERT_TRUE(form.SearchProgressDialog);
  EXPECT_EQ(form.SearchProgressDialog->windowTitle(), QStringLiteral("后验分布"));
  ASSERT_TRUE(waitForSearchEnd());
  EXPECT_FALSE(form.SearchProgressDialog);
  EXPECT_TRUE(form.Button2.isEnabled());
  ASSERT_TRUE(form.posteriorSummary());
  EXPECT_FALSE(form.searchSummary());
  const PosteriorSummary& s = *form.posteriorSummary();
  // 4000 samples of 8 chains; the synthetic model's Vs30 (3 m of 150, 6 m
  // of 300 over 600 m/s) is 400 m/s, which a +-3 % curve leaves inside the
  // 5-95 % interval.
  EXPECT_EQ(s.samples, 4000);
  EXPECT_LT(s.averages.back().vs.p5, 400.0 * 1.01);
  EXPECT_GT(s.averages.back().vs.p95, 400.0 * 0.99);
  // The Vs chart: both bands over the profile's rows, the median, the MAP.
  const auto rows = static_cast<qsizetype>(s.profile.size());
  EXPECT_EQ(form.VsChart.OuterBand->upperSeries()->count(), rows);
  EXPECT_EQ(form.VsChart.InnerBand->lowerSeries()->count(), rows);
  EXPECT_GT(form.VsChart.MedianSeries->count(), 0);
  EXPECT_EQ(form.VsChart.P10Series->count(), 0);  // no best-fit percentiles
  EXPECT_GT(form.VsChart.BestSeries->count(), 0);
  // The dispersion chart: the samples' curves' band at every fitted point.
  EXPECT_TRUE(form.PredictiveSeries->isVisible());
  EXPECT_EQ(form.PredictiveSeries->upperSeries()->count(), 30);
  EXPECT_TRUE(form.DispersionLegend->labels().contains(QStringLiteral("样本曲线中值")));
  EXPECT_TRUE(form.DispersionLegend->labels().contains(QStringLiteral("样本曲线 10%–90%")));
  // Under it, the residuals of the samples' median curve at every point,
  // inside a few sigma of a curve the true model made.
  ASSERT_FALSE(form.Residuals.ResidualSeries.empty());
  const QLineSeries* medianResiduals = form.Residuals.ResidualSeries.back();
  EXPECT_EQ(medianResiduals->pen(), form.PredictiveMedianSeries->pen());
  ASSERT_EQ(medianResiduals->count(), 30);
  for (const QPointF& residual : medianResiduals->points()) EXPECT_LT(std::abs(residual.y()), 3.0);
  // The panel: the heading and Vs30's credible interval.
  const QString panel = form.ResultsPanel.text();
  EXPECT_TRUE(panel.startsWith(QStringLiteral("后验分布：4000 个样本"))) << panel.toStdString();
  EXPECT_TRUE(panel.contains(QStringLiteral("Vs30 中值 "))) << panel.toStdString();
  EXPECT_TRUE(panel.contains(QStringLiteral("ASCE 7-22"))) << panel.toStdString();
  // The posterior's window: every class of the three schemes.
  ASSERT_NE(form.posteriorWindow(), nullptr);
  EXPECT_TRUE(form.posteriorWindow()->isVisible());
  EXPECT_EQ(form.posteriorWindow()->Classes.rowCount(), 4 + 5 + 8);
  EXPECT_FALSE(form.posteriorWindow()->Histogram.Bars->upperSeries()->points().isEmpty());
  // Sampled under the lowest root, the samples are checked against the
  // surface-observed rule, and the window says with how many it departs.
  ASSERT_TRUE(s.recordedModes);
  EXPECT_GT(s.recordedModes->checked, 0u);
  EXPECT_TRUE(form.posteriorWindow()->Convergence.text().contains(
      QStringLiteral("正演规则检查：%1/%2 个样本")
          .arg(s.recordedModes->departing)
          .arg(s.recordedModes->checked)))
      << form.posteriorWindow()->Convergence.text().toStdString();
  // The export offers the posterior beside the table's model and writes its
  // tables, each naming the result and its settings.
  ScriptedExportResultChooser results;
  const QString folder = exportSecondResult(results, QStringLiteral("posterior"));
  ASSERT_FALSE(folder.isEmpty());
  ASSERT_EQ(results.offered.size(), 2);
  for (const char* name :
       {"dispfit_posterior_profile.csv", "dispfit_posterior_summary.csv",
        "dispfit_posterior_classes.csv", "dispfit_posterior_predictive.csv",
        "dispfit_dispersion.png", "dispfit_vs_depth.png", "dispfit_report.pdf"}) {
    EXPECT_TRUE(QFile::exists(folder + "/" + QString::fromUtf8(name))) << name;
  }
  const QString classes = readText(folder + "/dispfit_posterior_classes.csv");
  EXPECT_TRUE(classes.startsWith("# Result: posterior\n")) << classes.toStdString();
  EXPECT_TRUE(classes.contains("# Settings: posterior of 3 layers, 4000 samples"))
      << classes.toStdString();
  EXPECT_TRUE(classes.contains("\nsystem, class, vs30 range, probability"))
      << classes.toStdString();
  // 应用最佳模型: the maximum a posteriori model into the table.
  ASSERT_TRUE(form.ApplyBestAction->isEnabled());
  form.ApplyBestAction->trigger();
  EXPECT_EQ(form.layerCount, 3);
  EXPECT_NEAR(form.vs[0], s.maximumPosterior.vs[0], 1e-3 * s.maximumPosterior.vs[0]);
  // A best-fit search afterwards takes the posterior's place.
  requests.answers.push_back(smallRequest(300));
  form.GlobalSearchAction->trigger();
  ASSERT_TRUE(waitForSearchEnd());
  EXPECT_FALSE(form.posteriorSummary());
  EXPECT_EQ(form.VsChart.OuterBand->upperSeries()->count(), 0);
  EXPECT_FALSE(form.PredictiveSeries->isVisible());
  EXPECT_TRUE(form.ResultsPanel.text().contains(QStringLiteral("离散度不是不确定度")));
}

// Under the surface-observed rule, the dialog's default, the window, the
// panel and the export name that rule, nothing is put to the lowest root's
// check, and the calibration quoted is the rule's own: its run of 3 layers
// for 3, of 2 to 6 layers for 4.
TEST_F(GlobalSearchWindow, APosteriorUnderTheSurfaceObservedRuleQuotesItsOwnCalibration) {
  openSyntheticCurve();
  SearchRequest request = smallPosterior(2000);
  request.posteriorObserved = true;
  requests.answers.push_back(request);
  form.GlobalSearchAction->trigger();
  ASSERT_TRUE(waitForSearchEnd());
  ASSERT_TRUE(form.posteriorSummary());
  const PosteriorSummary& s = *form.posteriorSummary();
  EXPECT_EQ(s.forward.rule, swcore::ForwardRule::surfaceObserved);
  EXPECT_DOUBLE_EQ(s.forward.fraction, request.forward.fraction);
  EXPECT_FALSE(s.recordedModes);
  const QString text = form.posteriorWindow()->Convergence.text();
  for (const QString& line : {QStringLiteral("正演：地表可观测基阶（响应 ≥ 10%）"),
                              QStringLiteral("地表可观测规则下实测校准（"),
                              QStringLiteral("个 3 层的合成场地，曲线为其地表可观测基阶")}) {
    EXPECT_TRUE(text.contains(line)) << line.toStdString() << "\n" << text.toStdString();
  }
  EXPECT_FALSE(text.contains(QStringLiteral("正演规则检查"))) << text.toStdString();
  EXPECT_TRUE(form.ResultsPanel.toolTip().contains(QStringLiteral("地表可观测规则下实测校准")));

  ScriptedExportResultChooser results;
  const QString folder = exportSecondResult(results, QStringLiteral("observed"));
  ASSERT_FALSE(folder.isEmpty());
  const QString classes = readText(folder + "/dispfit_posterior_classes.csv");
  EXPECT_TRUE(classes.contains("forward rule: surface-observed fundamental"))
      << classes.toStdString();

  // A fixed count of four layers was not measured under that rule: the
  // window quotes the nearest run, of 2 to 6 layers, and says so.
  request.layers = 4;
  request.samples = 1000;
  requests.answers.push_back(request);
  form.GlobalSearchAction->trigger();
  ASSERT_TRUE(waitForSearchEnd());
  ASSERT_TRUE(form.posteriorSummary());
  const QString four = form.posteriorWindow()->Convergence.text();
  EXPECT_TRUE(four.contains(QStringLiteral("个 2–6 层的合成场地，曲线为其地表可观测基阶")))
      << four.toStdString();
  EXPECT_TRUE(four.contains(QStringLiteral("，4 层未实测"))) << four.toStdString();
}

// The panel's heading mark under the surface-observed rule, on summaries set
// by hand: its runs of 3 and of 2 to 6 layers hold within 8 points, so no
// count is marked short, and every count quotes one of them.
TEST(PosteriorPanelMark, NamesTheCalibrationOfTheRuleSampled) {
  PosteriorSummary s;
  s.samples = 1000;
  s.convergence.converged = true;
  s.forward = {swcore::ForwardRule::surfaceObserved};
  const auto headingFor = [&s](LayerCountRange counts) {
    s.counts = counts;
    SiteResultsPanel panel;
    panel.showPosteriorSummary(s, [] { return QStringLiteral("后验"); });
    return panel.text().section(QLatin1Char('\n'), 0, 0);
  };
  EXPECT_EQ(headingFor({4, 4}), QStringLiteral("后验"));
  EXPECT_EQ(headingFor({3, 3}), QStringLiteral("后验"));
  EXPECT_EQ(headingFor({2, 6}), QStringLiteral("后验"));
}

TEST_F(GlobalSearchWindow, CancelledPosteriorKeepsItsSamplesMarkedNotConverged) {
  openSyntheticCurve();
  // 40,000 samples of 8 chains after a burn-in of 20,000: 2,500 steps a
  // chain burn in, then 5,000 keep a sample each.
  requests.answers.push_back(smallPosterior(40000));
  form.GlobalSearchAction->trigger();
  ASSERT_TRUE(form.globalSearchRunning());
  // Let it keep some samples, then cancel as the dialog's button does.
  const QDeadlineTimer started(kSearchTimeoutMs);
  while (form.SearchProgressDialog && form.SearchProgressDialog->value() < 2600 &&
         !started.hasExpired()) {
    QTest::qWait(5);
  }
  ASSERT_TRUE(form.SearchProgressDialog);
  QPushButton* const cancel = form.SearchProgressDialog->findChild<QPushButton*>();
  ASSERT_TRUE(cancel);
  cancel->click();
  ASSERT_TRUE(waitForSearchEnd());
  ASSERT_TRUE(form.posteriorSummary());
  EXPECT_TRUE(form.posteriorSummary()->cancelled);
  EXPECT_FALSE(form.posteriorSummary()->convergence.converged);
  EXPECT_GT(form.posteriorSummary()->samples, 0);
  EXPECT_LT(form.posteriorSummary()->samples, 40000);
  EXPECT_TRUE(form.ResultsPanel.text().contains(QStringLiteral("（未收敛，区间不可信）")))
      << form.ResultsPanel.text().toStdString();
  EXPECT_TRUE(form.posteriorWindow()->Convergence.text().contains(QStringLiteral("未收敛")));
}

// The posterior's texts are made again on a change of language: the
// window, its histogram, the bands' legend, the panel and the status line,
// those that describe the run included; and back again.
// Whether the histogram's vertical axis title, drawn along the plot area's
// height, is shown whole: Qt Charts elides a longer one.
bool shareTitleFits(Vs30HistogramChart& histogram) {
  QApplication::processEvents();  // the chart lays itself out
  const QValueAxis& axis = *histogram.ShareAxis;
  const int titleLength = QFontMetrics(axis.titleFont()).horizontalAdvance(axis.titleText());
  return titleLength <= histogram.chart->plotArea().height();
}

TEST_F(GlobalSearchWindow, PosteriorTextsFollowTheLanguage) {
  openSyntheticCurve();
  SearchRequest request = smallPosterior(4000);
  request.fewestLayers = 2;  // the count sampled: the layer counts' line shows
  requests.answers.push_back(request);
  form.GlobalSearchAction->trigger();
  ASSERT_TRUE(waitForSearchEnd());
  ASSERT_TRUE(form.posteriorSummary());
  const bool converged = form.posteriorSummary()->convergence.converged;
  PosteriorResultsWindow* const window = form.posteriorWindow();
  ASSERT_NE(window, nullptr);
  const QString chineseConvergence = window->Convergence.text();
  const QString chinesePanel = form.ResultsPanel.text();

  chooseLanguage(WindowLanguage::English);
  EXPECT_EQ(window->windowTitle(), "Posterior");
  EXPECT_EQ(window->Classes.horizontalHeaderItem(0)->text(), "Scheme");
  EXPECT_EQ(window->Classes.horizontalHeaderItem(3)->text(), "Probability");
  EXPECT_TRUE(
      window->Convergence.text().startsWith("4000 samples, 8 chains at temperature 1\n"
                                            "Forward rule: lowest root (fundamental mode)\n"
                                            "R̂: Vs30 "))
      << window->Convergence.text().toStdString();
  // What the intervals are and what they held where measured: the count is
  // sampled here, so the calibration of 2 to 6 layers.
  EXPECT_TRUE(window->Convergence.text().contains("conditional on the ranges holding the site"))
      << window->Convergence.text().toStdString();
  EXPECT_TRUE(window->Convergence.text().contains(
      "Measured calibration (100 synthetic sites of 2 to 6 layers"))
      << window->Convergence.text().toStdString();
  EXPECT_TRUE(window->Convergence.text().contains("\nForward-rule check: "))
      << window->Convergence.text().toStdString();
  // The curve gives sigma: the best fit is tested against it.
  EXPECT_TRUE(window->Convergence.text().contains("\nFit check: the best fit's Q "))
      << window->Convergence.text().toStdString();
  EXPECT_TRUE(window->LayerCounts.text().startsWith("Layer count probabilities:  2: "))
      << window->LayerCounts.text().toStdString();
  EXPECT_EQ(window->Histogram.chart->title(), "Posterior Vs30 histogram");
  EXPECT_EQ(window->Histogram.ShareAxis->titleText(), "Sample share");
  window->show();
  EXPECT_TRUE(shareTitleFits(window->Histogram));
  EXPECT_EQ(form.VsChart.OuterBand->name(), "5–95 % credible");
  EXPECT_EQ(form.VsChart.InnerBand->name(), "10–90 % credible");
  const QString panel = form.ResultsPanel.text();
  EXPECT_TRUE(panel.startsWith("Posterior: 4000 samples, R̂ ")) << panel.toStdString();
  EXPECT_TRUE(panel.contains("\nVs30 median ")) << panel.toStdString();
  EXPECT_TRUE(panel.contains("\nLikeliest classes (probability): EC8 ")) << panel.toStdString();
  const bool warned = form.posteriorSummary()->recordedModes->warns();
  ASSERT_TRUE(form.posteriorSummary()->fit);
  const bool misfit = form.posteriorSummary()->fit->warns();
  EXPECT_EQ(form.StatusLine.text(),
            !converged ? "The posterior has not converged: raise the samples."
            : misfit   ? "Posterior done: no model fits the curve within its σ; see the Posterior "
                         "window."
            : warned   ? "Posterior done: some samples fit through modes a surface array would not "
                         "record; see the Posterior window."
                       : "Posterior finished.");
  for (const QString& text : {window->Convergence.text(), window->LayerCounts.text(), panel}) {
    for (const QChar c : text) {
      EXPECT_FALSE(c.unicode() >= 0x3000 && c.unicode() <= 0x9FFF) << text.toStdString();
    }
  }

  chooseLanguage(WindowLanguage::Chinese);
  EXPECT_EQ(window->windowTitle(), "后验分布");
  EXPECT_EQ(window->Classes.horizontalHeaderItem(0)->text(), "体系");
  EXPECT_EQ(window->Convergence.text(), chineseConvergence);
  EXPECT_EQ(form.ResultsPanel.text(), chinesePanel);
  EXPECT_EQ(form.VsChart.OuterBand->name(), "5%–95%");
  EXPECT_TRUE(shareTitleFits(window->Histogram));
}

TEST_F(GlobalSearchWindow, PosteriorRequestWithAFaultIsRefused) {
  openSyntheticCurve();
  SearchRequest bad = smallPosterior(1000);
  bad.fewestLayers = 5;  // above the 3 layers
  EXPECT_FALSE(form.startGlobalSearch(bad));
  EXPECT_FALSE(form.globalSearchRunning());
  ASSERT_FALSE(messages.messages.empty());
  EXPECT_NE(messages.messages.back().text.find("后验分布无法开始"), std::string::npos);
}

}  // namespace

}  // namespace dispfit

namespace dispfit {
namespace {

// After a search the window holds two results; the export asks which, and
// every file it writes speaks of that one alone and names it.
TEST_F(GlobalSearchWindow, TheExportWritesTheResultChosenAndNamesItInEveryFile) {
  openSyntheticCurve();
  requests.answers.push_back(smallRequest(400));
  form.GlobalSearchAction->trigger();
  ASSERT_TRUE(waitForSearchEnd());
  ASSERT_TRUE(form.searchSummary() && form.searchSummary()->best);
  ScriptedExportResultChooser results;
  form.setExportResultChooser(results);

  results.answers.push_back(1);  // the search
  const QString folder = workDir.filePath(QStringLiteral("search"));
  ASSERT_TRUE(QDir(workDir.path()).mkdir(QStringLiteral("search")));
  ASSERT_TRUE(form.exportResults(folder));
  ASSERT_EQ(results.offered.size(), 2);
  EXPECT_EQ(QDir(folder).entryList(QDir::Files, QDir::Name),
            (QStringList{"dispfit_best.csv", "dispfit_dispersion.png", "dispfit_dispersion.svg",
                         "dispfit_measured.surf96", "dispfit_measured.target",
                         "dispfit_profile.csv", "dispfit_report.pdf", "dispfit_vs30.txt",
                         "dispfit_vs_depth.png", "dispfit_vs_depth.svg"}));
  const QString best = readText(folder + "/dispfit_best.csv");
  EXPECT_TRUE(best.startsWith("# Result: best-fit search\n")) << best.toStdString();
  EXPECT_TRUE(best.contains("# Misfit: normalised misfit")) << best.toStdString();
  // The table reads back as a model, its comment lines passed over.
  const ModelOpening opened = readModelText(best.toStdString(), "best.csv", 20);
  ASSERT_TRUE(opened.rows) << opened.error;
  EXPECT_EQ(opened.rows->size(), 3u);
  EXPECT_TRUE(readText(folder + "/dispfit_vs30.txt").contains("accepted models"));
  EXPECT_TRUE(QImage(folder + "/dispfit_vs_depth.png")
                  .text(QStringLiteral("Description"))
                  .startsWith("Result: best-fit search"));
  EXPECT_TRUE(readText(folder + "/dispfit_dispersion.svg").contains("best-fit search"));

  // The local result alone, chosen next: the table's model, no search file.
  results.answers.push_back(0);
  const QString local = workDir.filePath(QStringLiteral("local"));
  ASSERT_TRUE(QDir(workDir.path()).mkdir(QStringLiteral("local")));
  ASSERT_TRUE(form.exportResults(local));
  EXPECT_TRUE(QFile::exists(local + "/dispfit_curve.csv"));
  EXPECT_FALSE(QFile::exists(local + "/dispfit_best.csv"));
  EXPECT_TRUE(readText(local + "/dispfit_model.csv").startsWith("# Result: table model\n"));

  // A cancelled choice writes nothing.
  const QString none = workDir.filePath(QStringLiteral("none"));
  ASSERT_TRUE(QDir(workDir.path()).mkdir(QStringLiteral("none")));
  EXPECT_FALSE(form.exportResults(none));
  EXPECT_TRUE(QDir(none).entryList(QDir::Files).isEmpty());
}

}  // namespace
}  // namespace dispfit
