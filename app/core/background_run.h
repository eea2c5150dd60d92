// SPDX-License-Identifier: GPL-3.0-or-later
// A piece of work on a thread of its own, and all that thread shares with the
// thread that started it: the cancel flag, whether the owner has let go (so
// that nobody will take a summary), and the summary or the failure handed
// over at the end. Nothing else crosses between them; whatever the work
// reports on the way runs on its thread and must pass what it hears on by
// its own safe means (a queued call into the window, say).
#pragma once

#include <atomic>
#include <exception>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <utility>

namespace dispfit {

// What a run ends with: its summary, or none and why.
template <class Summary>
struct RunOutcome {
  std::optional<Summary> summary;
  std::string failure;
};

// What the work reads of its run, from its own thread.
struct RunFlags {
  const std::atomic<bool>& cancel;   // stop at the next point the work can
  const std::atomic<bool>& dropped;  // the owner has gone: no summary is wanted
};

template <class Summary>
class BackgroundRun {
 public:
  using Work = std::function<RunOutcome<Summary>(const RunFlags&)>;
  // Once, on the run's thread, after the outcome is stored and nothing more
  // will be reported.
  using FinishedCallback = std::function<void()>;

  // Starts the work at once. An exception it throws ends it with the
  // exception's message as the failure.
  BackgroundRun(Work work, FinishedCallback finished) : finished_(std::move(finished)) {
    thread_ = std::thread([this, work = std::move(work)] { run(work); });
  }
  // Cancels work still going and waits for its thread.
  ~BackgroundRun() {
    dropped_.store(true);
    cancel();
    wait();
  }
  BackgroundRun(const BackgroundRun&) = delete;
  BackgroundRun& operator=(const BackgroundRun&) = delete;

  // From any thread.
  void cancel() { cancel_.store(true); }
  bool cancelRequested() const { return cancel_.load(); }

  // Waits for the thread to end (at once after the finished callback); not
  // from the run's own thread.
  void wait() {
    if (thread_.joinable()) thread_.join();
  }

  // Once finished: the summary, moved out (none the second time), or none
  // with failure() saying why.
  std::optional<Summary> takeSummary() {
    const std::lock_guard lock(mutex_);
    std::optional<Summary> taken = std::move(summary_);
    summary_.reset();
    return taken;
  }
  std::string failure() const {
    const std::lock_guard lock(mutex_);
    return failure_;
  }

 private:
  void run(const Work& work) {
    RunOutcome<Summary> outcome;
    try {
      outcome = work(RunFlags{cancel_, dropped_});
    } catch (const std::exception& error) {
      outcome = {std::nullopt, error.what()};
    }
    {
      const std::lock_guard lock(mutex_);
      summary_ = std::move(outcome.summary);
      failure_ = std::move(outcome.failure);
    }
    if (finished_) finished_();
  }

  FinishedCallback finished_;
  std::atomic<bool> cancel_{false};
  std::atomic<bool> dropped_{false};  // set by the destructor
  mutable std::mutex mutex_;          // guards summary_ and failure_
  std::optional<Summary> summary_;
  std::string failure_;
  std::thread thread_;  // declared last: started once every member above exists
};

}  // namespace dispfit
