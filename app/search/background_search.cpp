// SPDX-License-Identifier: GPL-3.0-or-later
#include "search/background_search.h"

#include <utility>

namespace dispfit {

namespace {

RunOutcome<SearchSummary> searchOutcome(const SearchJob& job,
                                        const BackgroundSearch::ProgressCallback& progress,
                                        const RunFlags& flags) {
  RunOutcome<SearchSummary> outcome;
  const CurveMisfit curve(job.points, job.forward);
  outcome.failure = curve.fault().empty() ? searchSpaceFault(job.space) : curve.fault();
  if (!outcome.failure.empty()) return outcome;
  const SearchEnsemble ensemble =
      runGlobalSearch(job.space, curve, job.settings, job.rule, progress, &flags.cancel);
  if (!flags.dropped.load()) {
    outcome.summary = summarizeSearch(ensemble, job.space, curve, job.rule, job.settings.models,
                                      job.constrainedDepth);
  }
  return outcome;
}

}  // namespace

BackgroundSearch::BackgroundSearch(SearchJob job, ProgressCallback progress,
                                   FinishedCallback finished)
    : run_([job = std::move(job), progress = std::move(progress)](
               const RunFlags& flags) { return searchOutcome(job, progress, flags); },
           std::move(finished)) {}

}  // namespace dispfit
