// SPDX-License-Identifier: GPL-3.0-or-later
// A search on its own thread: what it hands over equals the same search run
// on the calling thread, a cancel keeps the iterations done, and a refused
// job or a search dropped while it runs ends cleanly. Run under
// ThreadSanitizer in CI, where an unguarded hand-over shows as a race.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

#include "search/background_search.h"
#include "synthetic_curve.h"

namespace {

using namespace dispfit;

#ifdef DISPFIT_SANITIZED_BUILD
constexpr std::int64_t kModels = 520;
#else
constexpr std::int64_t kModels = 1000;
#endif

SearchJob syntheticJob() {
  SearchJob job;
  job.space.layers.assign(3, LayerRanges{{80.0, 1000.0}, {1.0, 15.0}, 1.9, {}, {}});
  job.points = dispfit_test::syntheticCurve();
  job.forward = dispfit_test::kSyntheticRule;
  job.settings.models = kModels;
  job.settings.seed = 5;
  job.settings.threads = 2;
  job.constrainedDepth = 50.0;
  return job;
}

// What the search's thread reports, read by the test's thread only after
// the finished call has been seen under the lock.
class Listener {
 public:
  BackgroundSearch::ProgressCallback progress() {
    return [this](const SearchProgress& p) {
      const std::lock_guard lock(mutex_);
      reports_.push_back(p);
    };
  }
  BackgroundSearch::FinishedCallback finished() {
    return [this] {
      const std::lock_guard lock(mutex_);
      ++finishedCalls_;
      reportsAtFinish_ = reports_.size();
      done_.notify_all();
    };
  }
  void waitForFinish() {
    std::unique_lock lock(mutex_);
    done_.wait(lock, [this] { return finishedCalls_ > 0; });
  }
  std::vector<SearchProgress> reports() {
    const std::lock_guard lock(mutex_);
    return reports_;
  }
  int finishedCalls() {
    const std::lock_guard lock(mutex_);
    return finishedCalls_;
  }
  std::size_t reportsAtFinish() {
    const std::lock_guard lock(mutex_);
    return reportsAtFinish_;
  }

 private:
  std::mutex mutex_;
  std::condition_variable done_;
  std::vector<SearchProgress> reports_;
  int finishedCalls_ = 0;
  std::size_t reportsAtFinish_ = 0;
};

TEST(BackgroundSearchThreads, HandsOverWhatTheCallingThreadWouldHaveFound) {
  const SearchJob job = syntheticJob();
  // The second method: the same search on this thread, summed up here.
  const CurveMisfit curve(job.points, job.forward);
  const SearchEnsemble direct = runGlobalSearch(job.space, curve, job.settings, job.rule, {});
  const std::vector<bool> accepted = acceptedModels(direct, job.rule);
  const auto acceptedCount = std::count(accepted.begin(), accepted.end(), true);

  Listener listener;
  BackgroundSearch search(job, listener.progress(), listener.finished());
  listener.waitForFinish();
  search.wait();
  EXPECT_EQ(search.failure(), "");
  std::optional<SearchSummary> summary = search.takeSummary();
  ASSERT_TRUE(summary.has_value());
  EXPECT_FALSE(summary->cancelled);
  EXPECT_EQ(summary->drawn, kModels);
  EXPECT_EQ(summary->forward.rule, job.forward.rule);  // the rule the report names
  EXPECT_EQ(summary->bestMisfit, direct.misfits[direct.best()]);
  EXPECT_EQ(static_cast<long>(summary->accepted.size()), acceptedCount);

  const std::vector<SearchProgress> reports = listener.reports();
  ASSERT_FALSE(reports.empty());
  EXPECT_EQ(listener.finishedCalls(), 1);
  EXPECT_EQ(listener.reportsAtFinish(), reports.size());  // nothing reported after the end
  EXPECT_EQ(reports.back().done, kModels);
  EXPECT_EQ(reports.back().accepted, acceptedCount);
  for (std::size_t i = 1; i < reports.size(); ++i) EXPECT_GT(reports[i].done, reports[i - 1].done);

  // The hand-over happens once.
  EXPECT_FALSE(search.takeSummary().has_value());
}

TEST(BackgroundSearchThreads, CancelFromTheFirstReportKeepsItsModels) {
  // The first iteration draws the 200 uniform models; cancelled from within
  // its report, the search stops before the second.
  Listener listener;
  std::atomic<BackgroundSearch*> self{nullptr};
  std::atomic<bool> cancelledOnce{false};
  const BackgroundSearch::ProgressCallback record = listener.progress();
  BackgroundSearch search(
      syntheticJob(),
      [&](const SearchProgress& p) {
        record(p);
        // The constructor may not have returned yet on the test's thread.
        while (self.load() == nullptr) std::this_thread::yield();
        if (!cancelledOnce.exchange(true)) self.load()->cancel();
      },
      listener.finished());
  self.store(&search);
  listener.waitForFinish();
  search.wait();
  EXPECT_TRUE(search.cancelRequested());
  const std::optional<SearchSummary> summary = search.takeSummary();
  ASSERT_TRUE(summary.has_value());
  EXPECT_TRUE(summary->cancelled);
  EXPECT_EQ(summary->drawn, SearchSettings{}.initialModels);
  EXPECT_EQ(summary->budget, kModels);
  EXPECT_EQ(listener.reports().size(), 1u);
}

TEST(BackgroundSearchThreads, RefusedJobEndsWithItsReasonAndNoSummary) {
  struct Row {
    const char* name;
    void (*spoil)(SearchJob&);
  } const rows[] = {
      {"no point", [](SearchJob& j) { j.points.clear(); }},
      {"upside-down range",
       [](SearchJob& j) {
         j.space.layers[0].vs = {500.0, 100.0};
       }},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    SearchJob job = syntheticJob();
    row.spoil(job);
    Listener listener;
    BackgroundSearch search(job, listener.progress(), listener.finished());
    listener.waitForFinish();
    search.wait();
    EXPECT_NE(search.failure(), "");
    EXPECT_FALSE(search.takeSummary().has_value());
    EXPECT_TRUE(listener.reports().empty());
  }
}

TEST(BackgroundSearchThreads, DroppedWhileRunningCancelsAndWaits) {
  SearchJob job = syntheticJob();
  job.settings.models = 1000000;  // far more than the test waits for
  Listener listener;
  {
    BackgroundSearch search(job, listener.progress(), listener.finished());
    while (listener.reports().empty()) std::this_thread::yield();
  }  // the destructor cancels and joins
  EXPECT_EQ(listener.finishedCalls(), 1);
  EXPECT_LT(listener.reports().back().done, 1000000);
}

}  // namespace
