// SPDX-License-Identifier: GPL-3.0-or-later
// Work on a thread of its own: its summary is handed over once, a throw
// ends it with the message as its failure, and an owner that lets go while
// the work runs cancels it, tells it no summary is wanted and waits for it.
// Run under ThreadSanitizer in CI, where an unguarded hand-over shows as a
// race.
#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <string>

#include "core/background_run.h"

namespace {

using dispfit::BackgroundRun;
using dispfit::RunFlags;
using dispfit::RunOutcome;

// A one-way latch the two threads meet at.
class Latch {
 public:
  void open() {
    const std::lock_guard lock(mutex_);
    open_ = true;
    changed_.notify_all();
  }
  void wait() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return open_; });
  }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  bool open_ = false;
};

TEST(BackgroundRun, HandsOverTheSummaryOnceAfterTheFinishedCall) {
  Latch finished;
  std::atomic<int> finishedCalls{0};
  BackgroundRun<std::string> run(
      [](const RunFlags&) {
        return RunOutcome<std::string>{std::string("profile"), {}};
      },
      [&] {
        ++finishedCalls;
        finished.open();
      });
  finished.wait();
  run.wait();
  EXPECT_EQ(finishedCalls.load(), 1);
  EXPECT_EQ(run.failure(), "");
  EXPECT_EQ(run.takeSummary(), std::optional<std::string>("profile"));
  EXPECT_EQ(run.takeSummary(), std::nullopt) << "the summary is moved out the first time";
}

TEST(BackgroundRun, AThrowEndsTheRunWithItsMessageAndNoSummary) {
  BackgroundRun<int> run(
      [](const RunFlags&) -> RunOutcome<int> { throw std::runtime_error("the model is refused"); },
      {});
  run.wait();
  EXPECT_EQ(run.failure(), "the model is refused");
  EXPECT_EQ(run.takeSummary(), std::nullopt);
}

TEST(BackgroundRun, CancelReachesTheWorkWhichKeepsWhatItHas) {
  Latch started;
  BackgroundRun<int> run(
      [&](const RunFlags& flags) {
        started.open();
        int rounds = 0;
        while (!flags.cancel.load()) ++rounds;
        return RunOutcome<int>{flags.dropped.load() ? std::nullopt : std::optional<int>(rounds),
                               {}};
      },
      {});
  started.wait();
  EXPECT_FALSE(run.cancelRequested());
  run.cancel();
  EXPECT_TRUE(run.cancelRequested());
  run.wait();
  EXPECT_TRUE(run.takeSummary().has_value()) << "a cancel from the owner still wants the summary";
}

TEST(BackgroundRun, LettingGoWhileTheWorkRunsCancelsItAndWaits) {
  Latch started;
  std::atomic<bool> sawDropped{false};
  std::atomic<bool> ended{false};
  {
    BackgroundRun<int> run(
        [&](const RunFlags& flags) {
          started.open();
          while (!flags.cancel.load()) {
          }
          sawDropped = flags.dropped.load();
          ended = true;
          return RunOutcome<int>{};
        },
        {});
    started.wait();
  }
  EXPECT_TRUE(ended.load()) << "the owner's end waits for the work";
  EXPECT_TRUE(sawDropped.load()) << "the work learns that nobody takes its summary";
}

}  // namespace
