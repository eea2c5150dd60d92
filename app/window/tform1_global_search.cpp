// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's global search: the command and its settings, the search
// on a thread of its own with a progress dialog and its cancel button, and
// what it found drawn in both charts and summed up in the results panel.
//
// The search's thread touches no widget: its reports reach the window's
// thread as queued calls, and the summary is taken from the search once its
// end has been reported the same way.
#include <QMenu>
#include <QMetaObject>
#include <QPen>
#include <cmath>
#include <limits>
#include <memory>
#include <thread>
#include <utility>

#include "core/number_text.h"
#include "search/background_search.h"
#include "site/starting_model.h"
#include "window/tform1.h"
#include "window/window_style.h"

namespace dispfit {

namespace {

// How the window names the misfit of each kind.
QString shownMisfitName(MisfitKind kind) {
  return kind == MisfitKind::Normalised ? TForm1::tr("归一化拟合差") : TForm1::tr("拟合差 (m/s)");
}

// The misfit to two decimals; "无" until a model has a curve.
QString misfitText(double misfit) {
  return std::isfinite(misfit) ? QString::fromStdString(figureText(misfit, Figure::Misfit))
                               : TForm1::tr("无");
}

ParsedLayers editableLayers(const TrialModel& model) {
  return ParsedLayers{{model.thickness.begin(), model.thickness.end()},
                      {model.vs.begin(), model.vs.end()},
                      {model.density.begin(), model.density.end()}};
}

}  // namespace

TForm1::~TForm1() = default;  // search_ cancels and joins first

void TForm1::buildSearchActions(QMenu& menu) {
  menu.addSeparator();
  GlobalSearchAction = menu.addAction(QString());  // the texts come with retranslate()
  GlobalSearchAction->setEnabled(false);
  ApplyBestAction = menu.addAction(QString());
  ApplyBestAction->setEnabled(false);
}

void TForm1::buildSearchSeries() {
  auto predictiveUpper = std::make_unique<QLineSeries>();
  auto predictiveLower = std::make_unique<QLineSeries>();
  auto predictive =
      std::make_unique<QAreaSeries>(predictiveUpper.release(), predictiveLower.release());
  PredictiveSeries = predictive.get();
  PredictiveSeries->setBrush(kCredibleInnerColour);
  PredictiveSeries->setPen(Qt::NoPen);
  auto predictiveMedian = std::make_unique<QLineSeries>();
  PredictiveMedianSeries = predictiveMedian.get();
  PredictiveMedianSeries->setPen(QPen(kPercentileColour, 1.5));
  for (QAbstractSeries* series :
       std::initializer_list<QAbstractSeries*>{predictive.release(), predictiveMedian.release()}) {
    chart->addSeries(series);
    series->attachAxis(BottomAxis);
    series->attachAxis(LeftAxis);
    series->setVisible(false);  // until a posterior has samples
  }
  auto upper = std::make_unique<QLineSeries>();
  auto lower = std::make_unique<QLineSeries>();
  auto envelope = std::make_unique<QAreaSeries>(upper.release(), lower.release());
  EnvelopeSeries = envelope.get();
  EnvelopeSeries->setBrush(kEnvelopeColour);
  EnvelopeSeries->setPen(QPen(kBestModelColour, 0.8));
  auto best = std::make_unique<QLineSeries>();
  BestCurveSeries = best.get();
  BestCurveSeries->setPen(QPen(kBestModelColour, 1.5, Qt::DashLine));
  for (QAbstractSeries* series :
       std::initializer_list<QAbstractSeries*>{envelope.release(), best.release()}) {
    chart->addSeries(series);
    series->attachAxis(BottomAxis);
    series->attachAxis(LeftAxis);
    series->setVisible(false);  // until a search has found something
  }
}

void TForm1::enableSearchCommands(bool enabled) {
  GlobalSearchAction->setEnabled(enabled && measured_.has_value() && !globalSearchRunning());
  ApplyBestAction->setEnabled(enabled && ((searchSummary_ && searchSummary_->best.has_value()) ||
                                          posteriorSummary_.has_value()));
}

void TForm1::GlobalSearchClick() {
  if (!measured_ || globalSearchRunning()) return;
  SearchRequest offered = searchRequest_;
  offered.layers = layerCount;  // the table's count
  const std::optional<SearchRequest> request = searchRequests_->searchRequest(this, offered);
  if (request) startGlobalSearch(*request);
}

void TForm1::openProgressDialog(const QString& title, int steps) {
  auto dialog = std::make_unique<QProgressDialog>(this);
  dialog->setWindowTitle(title);
  dialog->setCancelButtonText(tr("取消"));
  dialog->setRange(0, steps);
  dialog->setAutoClose(false);
  dialog->setAutoReset(false);
  dialog->setWindowModality(Qt::NonModal);  // the window keeps repainting and moving
  dialog->setMinimumWidth(360);
  SearchProgressDialog = std::move(dialog);
  connect(SearchProgressDialog.get(), &QProgressDialog::canceled, this,
          [this] { cancelGlobalSearch(); });
}

bool TForm1::startGlobalSearch(const SearchRequest& request) {
  if (!measured_ || globalSearchRunning()) return false;
  if (request.method == SearchMethod::Posterior) return startPosterior(request);
  searchRequest_ = request;
  const std::string fault = searchRequestFault(request);
  if (!fault.empty()) {
    // The fault comes from the search's checks, in English.
    messages_.showBox(tr("全局搜索无法开始：%1").arg(QString::fromStdString(fault)).toStdString(),
                      kMessageCaption, MessageIcon::Warning);
    return false;
  }
  SearchJob job;
  job.space = searchSpaceOf(request);
  job.points = measured_->inverted;
  job.settings = searchSettingsOf(request, static_cast<int>(std::thread::hardware_concurrency()));
  job.rule = request.acceptance;
  job.forward = request.forward;
  job.constrainedDepth = curveConstrainedDepth().value_or(0.0);
  const MisfitKind kind = CurveMisfit(job.points, job.forward).kind();

  setCommandsEnabled(false);
  openProgressDialog(tr("全局搜索"), static_cast<int>(request.models));
  showSearchProgress({0, request.models, std::numeric_limits<double>::infinity(), 0});
  SearchProgressDialog->show();
  progressKind_ = kind;

  // The callbacks run on the search's thread; each only queues a call to
  // this window's thread, which Qt drops if the window is gone by then.
  search_ = std::make_unique<BackgroundSearch>(
      std::move(job),
      [this](const SearchProgress& progress) {
        QMetaObject::invokeMethod(
            this, [this, progress] { showSearchProgress(progress); }, Qt::QueuedConnection);
      },
      [this] {
        QMetaObject::invokeMethod(
            this, [this] { finishGlobalSearch(); }, Qt::QueuedConnection);
      });
  showStatus([] { return StatusText{tr("全局搜索进行中……"), {}}; });
  return true;
}

void TForm1::showSearchProgress(const SearchProgress& progress) {
  if (!SearchProgressDialog) return;
  SearchProgressDialog->setValue(static_cast<int>(progress.done));
  SearchProgressDialog->setLabelText(
      tr("已完成 %1 / %2 个模型\n最佳%3：%4\n已接受 %5 个模型")
          .arg(progress.done)
          .arg(progress.total)
          .arg(shownMisfitName(progressKind_), misfitText(progress.bestMisfit))
          .arg(progress.accepted));
}

void TForm1::cancelGlobalSearch() {
  if (posterior_) {
    posterior_->cancel();
    if (SearchProgressDialog) {
      SearchProgressDialog->setLabelText(tr("正在取消，保留已抽取的样本……"));
    }
    return;
  }
  if (!search_) return;
  search_->cancel();
  if (SearchProgressDialog) {
    SearchProgressDialog->setLabelText(tr("正在取消，保留已找到的模型……"));
  }
}

void TForm1::finishGlobalSearch() {
  if (!search_) return;
  search_->wait();  // its thread has nothing left to do
  std::optional<SearchSummary> summary = search_->takeSummary();
  const std::string failure = search_->failure();
  search_.reset();
  SearchProgressDialog.reset();
  setCommandsEnabled(true);
  if (!summary) {
    messages_.showBox(tr("全局搜索失败：%1").arg(QString::fromStdString(failure)).toStdString(),
                      kMessageCaption, MessageIcon::Warning);
    return;
  }
  clearPosteriorResults();
  searchSummary_ = std::move(summary);
  enableSearchCommands(true);
  showSearchResults();
}

void TForm1::showSearchResults() {
  const SearchSummary& s = *searchSummary_;
  EnsembleProfiles ensemble{s.accepted, s.acceptedMisfits, s.profile, s.best, s.chartDepth};
  VsChart.showEnsemble(ensemble);
  drawVsProfiles();
  drawSearchCurves();
  if (measured_) fitAxesToMeasuredCurve();

  const QString misfit =
      misfitText(s.best ? s.bestMisfit : std::numeric_limits<double>::infinity());
  const bool cancelled = s.cancelled;
  const auto accepted = static_cast<qulonglong>(s.accepted.size());
  const auto drawn = static_cast<qulonglong>(s.drawn);
  const MisfitKind kind = s.kind;
  const swcore::ForwardRuleSettings forward = s.forward;
  siteSummary_.reset();
  ResultsPanel.showEnsembleSummary(s.averages, curveConstrainedDepth(),
                                   [cancelled, accepted, drawn, kind, misfit, forward] {
                                     return (cancelled ? tr("全局搜索已取消") : tr("全局搜索")) +
                                            tr("：接受 %1/%2，最佳%3 %4")
                                                .arg(accepted)
                                                .arg(drawn)
                                                .arg(shownMisfitName(kind), misfit) +
                                            QLatin1Char('\n') + forwardRuleLine(forward);
                                   });
  showStatus([cancelled, drawn] {
    return StatusText{cancelled ? tr("全局搜索已取消：显示已找到的 %1 个模型。").arg(drawn)
                                : tr("全局搜索完成。"),
                      {}};
  });
}

void TForm1::drawSearchCurves() {
  QList<QPointF> upper, lower, best;
  if (searchSummary_) {
    for (const EnvelopePoint& p : searchSummary_->envelope) {
      upper.append(QPointF(abscissa(p.frequency, p.high), p.high));
      lower.append(QPointF(abscissa(p.frequency, p.low), p.low));
    }
    const std::vector<double>& curve = searchSummary_->bestCurve;
    if (measured_ && curve.size() == measured_->inverted.size()) {
      for (std::size_t i = 0; i < curve.size(); ++i) {
        if (!std::isfinite(curve[i])) continue;
        best.append(QPointF(abscissa(measured_->inverted[i].frequency, curve[i]), curve[i]));
      }
    }
  }
  EnvelopeSeries->upperSeries()->replace(upper);
  EnvelopeSeries->lowerSeries()->replace(lower);
  EnvelopeSeries->setVisible(!upper.isEmpty());
  BestCurveSeries->replace(best);
  BestCurveSeries->setVisible(!best.isEmpty());
  updateDispersionLegend();
}

void TForm1::clearSearchResults() {
  clearPosteriorResults();
  if (!searchSummary_) return;
  searchSummary_.reset();
  VsChart.showEnsemble({});
  drawSearchCurves();
  drawResiduals();
  ApplyBestAction->setEnabled(false);
}

void TForm1::ApplyBestClick() {
  if (posteriorSummary_) {
    const ParsedLayers model = editableLayers(posteriorSummary_->maximumPosterior);
    applyModelToTable(model);
    showStartingProfile(model);
    showStatus([] {
      return StatusText{tr("最大后验模型已写入模型表（按 Vp = 3 Vs 计算）。"), {}};
    });
    return;
  }
  if (!searchSummary_ || !searchSummary_->best) return;
  const ParsedLayers model = editableLayers(*searchSummary_->best);
  applyModelToTable(model);
  // The panel keeps the search's figures; the Vs chart adds the table's model.
  showStartingProfile(model);
  showStatus([] { return StatusText{tr("最佳模型已写入模型表（按 Vp = 3 Vs 计算）。"), {}}; });
}

}  // namespace dispfit
