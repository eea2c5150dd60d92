// SPDX-License-Identifier: GPL-3.0-or-later
// A global search on a thread of its own, and all that thread shares with the
// thread that started it: the cancel flag, and the summary handed over at the
// end. Nothing else crosses between them; the callbacks run on the search's
// thread and must pass what they hear on by their own safe means (a queued
// call into the window, say).
#pragma once

#include <atomic>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

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
  ~BackgroundSearch();
  BackgroundSearch(const BackgroundSearch&) = delete;
  BackgroundSearch& operator=(const BackgroundSearch&) = delete;

  // From any thread: stops the search before its next iteration; the models
  // of the iterations completed are kept and summed up.
  void cancel();
  bool cancelRequested() const;

  // Waits for the thread to end (at once after the finished callback).
  void wait();

  // Once finished: the summary, moved out (none the second time), or none
  // with failure() saying why the search could not run.
  std::optional<SearchSummary> takeSummary();
  std::string failure() const;

 private:
  void run(const SearchJob& job);

  ProgressCallback progress_;
  FinishedCallback finished_;
  std::atomic<bool> cancel_{false};
  std::atomic<bool> dropped_{false};  // set by the destructor
  mutable std::mutex mutex_;          // guards summary_ and failure_
  std::optional<SearchSummary> summary_;
  std::string failure_;
  std::thread thread_;  // declared last: started once every member above exists
};

}  // namespace dispfit
