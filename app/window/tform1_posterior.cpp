// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's posterior (后验分布, chosen in the global search's
// dialog): the sampler on a thread of its own with a progress dialog that
// shows the samples, R-hat so far and the time left, and a cancel that keeps
// what was sampled; then the credible bands in the Vs chart, the samples'
// curves' band on the dispersion chart, the credible VsZ and likeliest
// classes in the results panel, and the histogram and every class's
// probability in a window of its own.
//
// The sampler's thread touches no widget: its reports reach the window's
// thread as queued calls, and the summary is taken once its end has been
// reported the same way.
#include <QMetaObject>
#include <cmath>
#include <thread>
#include <utility>

#include "core/number_text.h"
#include "sampling/posterior_request.h"
#include "window/tform1.h"

namespace dispfit {

namespace {

// Each chain's steps, burn-in included: the progress bar's range.
int totalSteps(const SamplerSettings& settings) {
  const auto chains = static_cast<std::int64_t>(std::max(settings.chains, 1));
  const std::int64_t steps =
      (settings.burnIn + chains - 1) / chains + (settings.samples + chains - 1) / chains;
  return static_cast<int>(std::min<std::int64_t>(steps, std::numeric_limits<int>::max()));
}

QString secondsText(double seconds) {
  return std::isfinite(seconds) ? QString::number(static_cast<long long>(std::ceil(seconds)))
                                : QStringLiteral("?");
}

}  // namespace

bool TForm1::startPosterior(const SearchRequest& request) {
  searchRequest_ = request;
  const std::string fault = searchRequestFault(request);
  if (!fault.empty()) {
    messages_.showBox(tr("后验分布无法开始：%1").arg(QString::fromStdString(fault)).toStdString(),
                      kMessageCaption, MessageIcon::Warning);
    return false;
  }
  PosteriorJob job = posteriorJobOf(request, measured_->inverted,
                                    static_cast<int>(std::thread::hardware_concurrency()),
                                    curveConstrainedDepth().value_or(0.0));
  setCommandsEnabled(false);
  openProgressDialog(tr("后验分布"), totalSteps(job.settings));
  showPosteriorProgress({{}, true, 0.0});
  SearchProgressDialog->show();
  // The callbacks run on the sampler's thread; each only queues a call to
  // this window's thread, which Qt drops if the window is gone by then.
  posterior_ = std::make_unique<BackgroundPosterior>(
      std::move(job),
      [this](const PosteriorRunProgress& progress) {
        QMetaObject::invokeMethod(
            this, [this, progress] { showPosteriorProgress(progress); }, Qt::QueuedConnection);
      },
      [this] {
        QMetaObject::invokeMethod(
            this, [this] { finishPosterior(); }, Qt::QueuedConnection);
      });
  showStatus([] { return StatusText{tr("后验分布抽样中……"), {}}; });
  return true;
}

void TForm1::showPosteriorProgress(const PosteriorRunProgress& progress) {
  if (!SearchProgressDialog) return;
  if (progress.searchingStarts) {
    SearchProgressDialog->setLabelText(tr("正在用最佳拟合搜索寻找各链的起点……"));
    return;
  }
  const SamplerProgress& p = progress.sampler;
  SearchProgressDialog->setValue(static_cast<int>(p.steps));
  const QString rhat =
      std::isfinite(p.rhat) ? QString::fromStdString(fixedText(p.rhat, 3)) : tr("未知");
  if (p.burningIn) {
    SearchProgressDialog->setLabelText(tr("预热：每条链 %1 / %2 步\n剩余约 %3 s")
                                           .arg(p.steps)
                                           .arg(p.totalSteps)
                                           .arg(secondsText(progress.secondsLeft)));
  } else {
    SearchProgressDialog->setLabelText(tr("已抽取 %1 / %2 个样本\nR̂ %3\n剩余约 %4 s")
                                           .arg(p.kept)
                                           .arg(p.totalKept)
                                           .arg(rhat, secondsText(progress.secondsLeft)));
  }
}

void TForm1::finishPosterior() {
  if (!posterior_) return;
  posterior_->wait();  // its thread has nothing left to do
  std::optional<PosteriorSummary> summary = posterior_->takeSummary();
  const std::string failure = posterior_->failure();
  posterior_.reset();
  SearchProgressDialog.reset();
  setCommandsEnabled(true);
  if (!summary) {
    messages_.showBox(tr("后验分布失败：%1").arg(QString::fromStdString(failure)).toStdString(),
                      kMessageCaption, MessageIcon::Warning);
    return;
  }
  // The best-fit search's results give way to the posterior's.
  if (searchSummary_) {
    searchSummary_.reset();
    VsChart.showEnsemble({});
    drawSearchCurves();
  }
  posteriorSummary_ = std::move(summary);
  enableSearchCommands(true);
  showPosteriorResults();
}

void TForm1::showPosteriorResults() {
  const PosteriorSummary& s = *posteriorSummary_;
  VsChart.showCredibleBands({s.profile, s.maximumPosterior});
  drawVsProfiles();
  drawPosteriorCurves();
  if (measured_) fitAxesToMeasuredCurve();
  const double worst = std::max(s.convergence.rhatVs30, s.convergence.rhatLogLikelihood);
  const auto samples = static_cast<qlonglong>(s.samples);
  const bool converged = s.convergence.converged;
  siteSummary_.reset();
  ResultsPanel.showPosteriorSummary(s, [samples, worst, converged] {
    const QString rhat =
        std::isfinite(worst) ? QString::fromStdString(fixedText(worst, 3)) : tr("未知");
    return tr("后验分布：%1 个样本，R̂ %2").arg(samples).arg(rhat) +
           (converged ? QString() : tr("（未收敛，区间不可信）"));
  });
  if (!PosteriorWindow) PosteriorWindow = std::make_unique<PosteriorResultsWindow>(this);
  PosteriorWindow->showSummary(s);
  PosteriorWindow->show();
  const bool unrecorded = s.recordedModes && s.recordedModes->warns();
  const bool misfit = s.fit && s.fit->warns();
  showStatus([converged, unrecorded, misfit] {
    if (!converged) return StatusText{tr("后验分布未收敛：请增加样本数。"), {}};
    if (misfit) {
      return StatusText{tr("后验分布完成：没有模型在 σ 内拟合曲线，见“后验分布”窗口。"), {}};
    }
    return StatusText{unrecorded
                          ? tr("后验分布完成：部分样本靠地表记录不到的模态拟合，见“后验分布”窗口。")
                          : tr("后验分布完成。"),
                      {}};
  });
}

void TForm1::drawPosteriorCurves() {
  QList<QPointF> upper, lower, median;
  if (posteriorSummary_) {
    for (const PredictiveRow& row : posteriorSummary_->predictive) {
      upper.append(QPointF(abscissa(row.frequency, row.p90), row.p90));
      lower.append(QPointF(abscissa(row.frequency, row.p10), row.p10));
      median.append(QPointF(abscissa(row.frequency, row.p50), row.p50));
    }
  }
  PredictiveSeries->upperSeries()->replace(upper);
  PredictiveSeries->lowerSeries()->replace(lower);
  PredictiveSeries->setVisible(!upper.isEmpty());
  PredictiveMedianSeries->replace(median);
  PredictiveMedianSeries->setVisible(!median.isEmpty());
  drawResiduals();
  updateDispersionLegend();
}

void TForm1::clearPosteriorResults() {
  if (!posteriorSummary_) return;
  posteriorSummary_.reset();
  VsChart.showCredibleBands({});
  drawPosteriorCurves();
  if (PosteriorWindow) PosteriorWindow->hide();
  ApplyBestAction->setEnabled(false);
}

}  // namespace dispfit
