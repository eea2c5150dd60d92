// SPDX-License-Identifier: GPL-3.0-or-later
#include "sampling/background_posterior.h"

#include <chrono>
#include <cmath>
#include <limits>
#include <utility>

#include "sampling/curve_likelihood.h"
#include "sampling/search_starts.h"

namespace dispfit {

namespace {

RunOutcome<PosteriorSummary> posteriorOutcome(const PosteriorJob& job,
                                              const BackgroundPosterior::ProgressCallback& progress,
                                              const RunFlags& flags) {
  RunOutcome<PosteriorSummary> outcome;
  const CurveLikelihood likelihood(job.points);
  outcome.failure =
      likelihood.fault().empty() ? modelPriorFault(job.space, job.counts) : likelihood.fault();
  if (!outcome.failure.empty()) return outcome;
  const ModelPrior prior(job.space, job.counts);
  if (progress) progress({{}, true, std::numeric_limits<double>::quiet_NaN()});
  const auto chains = static_cast<std::size_t>(std::max(job.settings.chains, 1) +
                                               std::max(job.settings.heatedChains, 0));
  const StartSearchSettings startSearch{job.startModels, job.settings.seed, job.settings.threads,
                                        job.forward};
  const std::vector<SampledModel> starts =
      searchStarts(prior, job.points, chains, startSearch, &flags.cancel);
  if (starts.empty()) {
    outcome.failure = flags.cancel.load()
                          ? "cancelled before the first sample"
                          : "no model of the ranges has a curve at every measured frequency";
    return outcome;
  }
  const auto began = std::chrono::steady_clock::now();
  const auto report = [&](const SamplerProgress& p) {
    if (!progress) return;
    const double elapsed =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
    const double left = p.steps > 0 ? elapsed * static_cast<double>(p.totalSteps - p.steps) /
                                          static_cast<double>(p.steps)
                                    : std::numeric_limits<double>::quiet_NaN();
    progress({p, false, left});
  };
  const SamplerRun run =
      runParallelTempering({&prior, &likelihood}, ruleForward(job.points, job.forward),
                           job.settings, starts, report, &flags.cancel);
  if (run.sampleCount() == 0) {
    outcome.failure = !run.failure.empty() ? run.failure
                      : run.cancelled      ? "cancelled while burning in: no sample was kept yet"
                                           : "no sample was kept";
  } else if (!flags.dropped.load()) {
    const std::unique_ptr<ForwardCurve> forward = ruleForward(job.points, job.forward)();
    outcome.summary = summarizePosterior(run, prior, likelihood, *forward, job.constrainedDepth);
    outcome.summary->forward = job.forward;
    outcome.summary->recordedModes =
        recordedModeCheckFor(run, prior, likelihood, job.points, job.forward);
  }
  return outcome;
}

}  // namespace

BackgroundPosterior::BackgroundPosterior(PosteriorJob job, ProgressCallback progress,
                                         FinishedCallback finished)
    : run_([job = std::move(job), progress = std::move(progress)](
               const RunFlags& flags) { return posteriorOutcome(job, progress, flags); },
           std::move(finished)) {}

}  // namespace dispfit
