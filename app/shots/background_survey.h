// SPDX-License-Identifier: GPL-3.0-or-later
// A survey analysed on a thread of its own, so that the shot-records window
// stays live while its images are computed: the records placed by the
// settings (placed_records.h), then their images, picks and curve
// (masw_survey.h). The thread shares with the one that started it only the
// cancel flag and the outcome handed over at the end; the records are
// shared read-only.
#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "shots/masw_settings.h"
#include "shots/placed_records.h"

namespace dispfit {

struct SurveyJob {
  std::shared_ptr<const std::vector<ShotRecord>> records;
  MaswSettings settings;  // valid (maswSettingFaults)
  unsigned threads = 1;   // images computed at once
};

struct SurveyOutcome {
  PlacedRecords placed;
  SurveyResult survey;
  std::string error;  // why the records could not be placed; empty when they were
};

class BackgroundSurvey {
 public:
  // Once, on the survey's thread, after the outcome is stored; not once the
  // thread has seen a cancel, but a cancel that comes as it finishes may
  // still find it called.
  using FinishedCallback = std::function<void()>;

  // Starts the analysis at once.
  BackgroundSurvey(SurveyJob job, FinishedCallback finished);
  // Cancels an analysis still running and waits for its thread, which ends
  // after the image it is computing.
  ~BackgroundSurvey();
  BackgroundSurvey(const BackgroundSurvey&) = delete;
  BackgroundSurvey& operator=(const BackgroundSurvey&) = delete;

  // From any thread: no further image is begun, and no outcome is stored
  // once the thread sees it.
  void cancel();

  // Waits for the thread to end (at once after the finished callback).
  void wait();

  // Once finished: the outcome, moved out (none the second time, and none
  // after a cancel).
  std::optional<SurveyOutcome> takeOutcome();

 private:
  void run(const SurveyJob& job);

  FinishedCallback finished_;
  std::atomic<bool> cancel_{false};
  std::mutex mutex_;  // guards outcome_
  std::optional<SurveyOutcome> outcome_;
  std::thread thread_;  // declared last: started once every member above exists
};

}  // namespace dispfit
