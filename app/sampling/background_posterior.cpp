// SPDX-License-Identifier: GPL-3.0-or-later
#include "sampling/background_posterior.h"

#include <chrono>
#include <cmath>
#include <exception>
#include <limits>
#include <utility>

#include "sampling/curve_likelihood.h"
#include "sampling/search_starts.h"

namespace dispfit {

BackgroundPosterior::BackgroundPosterior(PosteriorJob job, ProgressCallback progress,
                                         FinishedCallback finished)
    : progress_(std::move(progress)), finished_(std::move(finished)) {
  thread_ = std::thread([this, job = std::move(job)] { run(job); });
}

BackgroundPosterior::~BackgroundPosterior() {
  dropped_.store(true);
  cancel();
  wait();
}

void BackgroundPosterior::cancel() {
  cancel_.store(true);
}

bool BackgroundPosterior::cancelRequested() const {
  return cancel_.load();
}

void BackgroundPosterior::wait() {
  if (thread_.joinable()) thread_.join();
}

std::optional<PosteriorSummary> BackgroundPosterior::takeSummary() {
  const std::lock_guard lock(mutex_);
  std::optional<PosteriorSummary> taken = std::move(summary_);
  summary_.reset();
  return taken;
}

std::string BackgroundPosterior::failure() const {
  const std::lock_guard lock(mutex_);
  return failure_;
}

void BackgroundPosterior::run(const PosteriorJob& job) {
  std::optional<PosteriorSummary> summary;
  std::string failure;
  try {
    const CurveLikelihood likelihood(job.points);
    failure =
        likelihood.fault().empty() ? modelPriorFault(job.space, job.counts) : likelihood.fault();
    if (failure.empty()) {
      const ModelPrior prior(job.space, job.counts);
      if (progress_) progress_({{}, true, std::numeric_limits<double>::quiet_NaN()});
      const auto chains = static_cast<std::size_t>(std::max(job.settings.chains, 1) +
                                                   std::max(job.settings.heatedChains, 0));
      const StartSearchSettings startSearch{job.startModels, job.settings.seed,
                                            job.settings.threads, job.forward};
      const std::vector<SampledModel> starts =
          searchStarts(prior, job.points, chains, startSearch, &cancel_);
      if (starts.empty()) {
        failure = cancel_.load() ? "cancelled before the first sample"
                                 : "no model of the ranges has a curve at every measured frequency";
      } else {
        const auto began = std::chrono::steady_clock::now();
        const auto report = [&](const SamplerProgress& p) {
          if (!progress_) return;
          const double elapsed =
              std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
          const double left = p.steps > 0 ? elapsed * static_cast<double>(p.totalSteps - p.steps) /
                                                static_cast<double>(p.steps)
                                          : std::numeric_limits<double>::quiet_NaN();
          progress_({p, false, left});
        };
        const SamplerRun run =
            runParallelTempering({&prior, &likelihood}, ruleForward(job.points, job.forward),
                                 job.settings, starts, report, &cancel_);
        if (run.sampleCount() == 0) {
          failure = !run.failure.empty() ? run.failure
                    : run.cancelled      ? "cancelled while burning in: no sample was kept yet"
                                         : "no sample was kept";
        } else if (!dropped_.load()) {
          const std::unique_ptr<ForwardCurve> forward = ruleForward(job.points, job.forward)();
          summary = summarizePosterior(run, prior, likelihood, *forward, job.constrainedDepth);
        }
      }
    }
  } catch (const std::exception& error) {
    failure = error.what();
  }
  {
    const std::lock_guard lock(mutex_);
    summary_ = std::move(summary);
    failure_ = std::move(failure);
  }
  if (finished_) finished_();
}

}  // namespace dispfit
