// SPDX-License-Identifier: GPL-3.0-or-later
#include "search/background_search.h"

#include <exception>
#include <utility>

namespace dispfit {

BackgroundSearch::BackgroundSearch(SearchJob job, ProgressCallback progress,
                                   FinishedCallback finished)
    : progress_(std::move(progress)), finished_(std::move(finished)) {
  thread_ = std::thread([this, job = std::move(job)] { run(job); });
}

BackgroundSearch::~BackgroundSearch() {
  dropped_.store(true);
  cancel();
  wait();
}

void BackgroundSearch::cancel() {
  cancel_.store(true);
}

bool BackgroundSearch::cancelRequested() const {
  return cancel_.load();
}

void BackgroundSearch::wait() {
  if (thread_.joinable()) thread_.join();
}

std::optional<SearchSummary> BackgroundSearch::takeSummary() {
  const std::lock_guard lock(mutex_);
  std::optional<SearchSummary> taken = std::move(summary_);
  summary_.reset();
  return taken;
}

std::string BackgroundSearch::failure() const {
  const std::lock_guard lock(mutex_);
  return failure_;
}

void BackgroundSearch::run(const SearchJob& job) {
  std::optional<SearchSummary> summary;
  std::string failure;
  try {
    const CurveMisfit curve(job.points, job.forward);
    failure = curve.fault().empty() ? searchSpaceFault(job.space) : curve.fault();
    if (failure.empty()) {
      const SearchEnsemble ensemble =
          runGlobalSearch(job.space, curve, job.settings, job.rule, progress_, &cancel_);
      if (!dropped_.load()) {
        summary = summarizeSearch(ensemble, job.space, curve, job.rule, job.settings.models,
                                  job.constrainedDepth);
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
