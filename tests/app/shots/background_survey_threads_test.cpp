// SPDX-License-Identifier: GPL-3.0-or-later
// A survey analysed on its own thread, as the shot-records window runs it:
// the outcome the same as the analysis on the caller's thread, a record that
// cannot be placed named, a cancel that stops it between images. CI runs it
// under ThreadSanitizer (label threads).
#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <vector>

#include "layered_site.h"
#include "shots/background_survey.h"

namespace dispfit_test {
namespace {

// A gather as a file would give it: each trace with its interval and
// positions.
dispfit::ShotRecord recordOf(const dispfit::ShotGather& gather, const std::string& name) {
  dispfit::ShotRecord record;
  record.name = name;
  record.format = "SEG-2";
  for (std::size_t j = 0; j < gather.traces.size(); ++j) {
    dispfit::RecordTrace trace;
    trace.samples = gather.traces[j];
    trace.sampleInterval = gather.sampleInterval;
    trace.receiverPosition = gather.receiverPositions[j];
    trace.sourcePosition = gather.sourcePosition;
    record.traces.push_back(std::move(trace));
  }
  return record;
}

// Small records on a coarse grid: the sanitizer multiplies the cost.
std::shared_ptr<const std::vector<dispfit::ShotRecord>> smallRecords() {
  auto records = std::make_shared<std::vector<dispfit::ShotRecord>>();
  std::uint64_t seed = 1;
  for (const double offset : {5.0, 10.0, 20.0}) {
    dispfit::SyntheticShot shot = siteShot(offset, 0.05, seed++);
    shot.sampleCount = 500;
    const dispfit::ModalCurve modes[] = {siteFundamental()};
    records->push_back(
        recordOf(dispfit::syntheticRecord(shot, modes), "shot" + std::to_string(seed) + ".sg2"));
  }
  return records;
}

dispfit::MaswSettings coarseSettings() {
  dispfit::MaswSettings settings = dispfit::defaultMaswSettings();
  settings.request.image.grid.frequency = {8.0, 40.0, 1.0};
  settings.request.image.grid.velocity = {80.0, 600.0, 4.0};
  return dispfit::completedSettings(settings);
}

// Runs the job and waits for its finished callback.
class Finished {
 public:
  void notify() {
    const std::lock_guard lock(mutex_);
    ++calls_;
    changed_.notify_all();
  }
  int waitForCall() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return calls_ > 0; });
    return calls_;
  }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  int calls_ = 0;
};

TEST(BackgroundSurvey, GivesWhatTheAnalysisOnTheCallersThreadGives) {
  const auto records = smallRecords();
  const dispfit::MaswSettings settings = coarseSettings();
  dispfit::PlacedRecords placed;
  std::string error;
  ASSERT_TRUE(dispfit::placeRecords(*records, settings, placed, error)) << error;
  const dispfit::SurveyResult expected =
      dispfit::analyseSurvey(placed.gathers, placed.groups, settings.request, 1);

  Finished finished;
  dispfit::BackgroundSurvey survey({records, settings, 2}, [&] { finished.notify(); });
  EXPECT_EQ(finished.waitForCall(), 1);
  survey.wait();
  std::optional<dispfit::SurveyOutcome> outcome = survey.takeOutcome();
  ASSERT_TRUE(outcome);
  EXPECT_EQ(outcome->error, "");
  EXPECT_EQ(outcome->placed.gathers.size(), 3u);
  ASSERT_EQ(outcome->survey.offsets.size(), expected.offsets.size());
  for (std::size_t n = 0; n < expected.offsets.size(); ++n) {
    EXPECT_EQ(outcome->survey.offsets[n].image.power, expected.offsets[n].image.power);
    EXPECT_EQ(outcome->survey.offsets[n].picks.size(), expected.offsets[n].picks.size());
  }
  EXPECT_EQ(outcome->survey.curve.size(), expected.curve.size());
  EXPECT_FALSE(survey.takeOutcome());  // handed over once
}

TEST(BackgroundSurvey, NamesARecordThatCannotBePlaced) {
  auto records = std::make_shared<std::vector<dispfit::ShotRecord>>(*smallRecords());
  for (dispfit::RecordTrace& trace : records->back().traces) trace.sourcePosition.reset();
  Finished finished;
  dispfit::BackgroundSurvey survey({records, coarseSettings(), 1}, [&] { finished.notify(); });
  finished.waitForCall();
  survey.wait();
  const std::optional<dispfit::SurveyOutcome> outcome = survey.takeOutcome();
  ASSERT_TRUE(outcome);
  EXPECT_NE(outcome->error.find("shot4.sg2: trace 1: "), std::string::npos) << outcome->error;
  EXPECT_TRUE(outcome->survey.offsets.empty());
}

TEST(BackgroundSurvey, ACancelStopsBetweenImagesAndTheDestructorWaits) {
  const auto records = smallRecords();
  const dispfit::MaswSettings settings = coarseSettings();
  // A cancel seen before the first group: no image is made, no curve.
  dispfit::PlacedRecords placed;
  std::string error;
  ASSERT_TRUE(dispfit::placeRecords(*records, settings, placed, error)) << error;
  const std::atomic<bool> cancelled{true};
  const dispfit::SurveyResult stopped =
      dispfit::analyseSurvey(placed.gathers, placed.groups, settings.request, 2, {}, &cancelled);
  ASSERT_EQ(stopped.offsets.size(), 3u);
  for (const dispfit::OffsetResult& offset : stopped.offsets)
    EXPECT_TRUE(offset.image.power.empty());
  EXPECT_TRUE(stopped.curve.empty());
  // A survey dropped while it runs: the destructor cancels and joins, and
  // whatever the thread did by then it did through its own members only.
  std::atomic<int> calls{0};
  {
    dispfit::BackgroundSurvey survey({records, settings, 2}, [&] { ++calls; });
    survey.cancel();
  }
  EXPECT_LE(calls.load(), 1);
}

}  // namespace
}  // namespace dispfit_test
