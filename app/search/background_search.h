// SPDX-License-Identifier: GPL-3.0-or-later
// A global search on a thread of its own, and all that thread shares with the
// thread that started it: the cancel flag, and the summary handed over at the
// end. Nothing else crosses between them; the callbacks run on the search's
// thread and must pass what they hear on by their own safe means (a queued
// call into the window, say).
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/background_run.h"
#include "search/global_search.h"
#include "search/search_space.h"
#include "search/search_summary.h"
#include "site/measured_curve.h"

namespace dispfit {

// Everything a search needs, copied to its thread.
struct SearchJob {
  SearchSpace space;
  std::vector<MeasuredPoint> points;  // the curve fitted
  SearchSettings settings;
  AcceptanceRule rule;
  swcore::ForwardRuleSettings forward;  // how each model's curve is taken
  double constrainedDepth = 0.0;        // m, for the summary's flags and profile
};

class BackgroundSearch {
 public:
  // After each iteration, on the search's thread.
  using ProgressCallback = std::function<void(const SearchProgress&)>;
  // Once, on the search's thread, after the summary (or the failure) is
  // stored and nothing more will be reported.
  using FinishedCallback = std::function<void()>;

  // Starts the search at once.
  BackgroundSearch(SearchJob job, ProgressCallback progress, FinishedCallback finished);
  // Cancels a search still running and waits for its thread; a search
  // cancelled this way is not summed up, as nobody will take the summary.
  ~BackgroundSearch() = default;
  BackgroundSearch(const BackgroundSearch&) = delete;
  BackgroundSearch& operator=(const BackgroundSearch&) = delete;

  // From any thread: stops the search before its next iteration; the models
  // of the iterations completed are kept and summed up.
  void cancel() { run_.cancel(); }
  bool cancelRequested() const { return run_.cancelRequested(); }

  // Waits for the thread to end (at once after the finished callback).
  void wait() { run_.wait(); }

  // Once finished: the summary, moved out (none the second time), or none
  // with failure() saying why the search could not run.
  std::optional<SearchSummary> takeSummary() { return run_.takeSummary(); }
  std::string failure() const { return run_.failure(); }

 private:
  BackgroundRun<SearchSummary> run_;
};

}  // namespace dispfit
