// SPDX-License-Identifier: GPL-3.0-or-later
// Editing picks by hand on a synthetic record's image: one pick a frequency,
// on the grid's frequencies, flagged against the limits; a band re-picked
// finds the ridge inside it and leaves the picks outside alone.
#include <gtest/gtest.h>

#include <cmath>

#include "layered_site.h"
#include "shots/pick_editing.h"

namespace dispfit_test {
namespace {

dispfit::OffsetResult siteOffset() {
  const dispfit::ModalCurve modes[] = {siteFundamental()};
  const std::vector<dispfit::ShotGather> gathers = {
      dispfit::syntheticRecord(siteShot(10.0), modes)};
  std::vector<dispfit::SourceGroup> groups;
  std::string error;
  dispfit::groupBySource(gathers, groups, error);
  dispfit::SurveyRequest request;
  request.image.grid.frequency = {5.0, 60.0, 0.5};
  request.image.grid.velocity = {80.0, 800.0, 1.0};
  return dispfit::analyseSurvey(gathers, groups, request, 1).offsets.at(0);
}

TEST(PickEditing, AddsOnTheNearestFrequencyAndReplacesThePickThere) {
  dispfit::OffsetResult offset = siteOffset();
  offset.picks.clear();
  EXPECT_EQ(dispfit::addPick(offset, 20.2, 180.0), 0u);
  ASSERT_EQ(offset.picks.size(), 1u);
  EXPECT_EQ(offset.picks[0].frequency, 20.0);
  EXPECT_EQ(offset.picks[0].velocity, 180.0);
  EXPECT_TRUE(offset.picks[0].insideLimits);  // 9 m between 4 and 46 m
  dispfit::addPick(offset, 19.9, 175.0);      // the same frequency: replaced
  ASSERT_EQ(offset.picks.size(), 1u);
  EXPECT_EQ(offset.picks[0].velocity, 175.0);
  EXPECT_EQ(dispfit::addPick(offset, 10.0, 900.0), 0u);  // clamped to 800 m/s, sorted first
  EXPECT_EQ(offset.picks[0].velocity, 800.0);
  EXPECT_FALSE(offset.picks[0].insideLimits);  // 80 m: longer than the array
}

TEST(PickEditing, MovesAndDeletes) {
  dispfit::OffsetResult offset = siteOffset();
  offset.picks.clear();
  dispfit::addPick(offset, 20.0, 180.0);
  dispfit::addPick(offset, 30.0, 160.0);
  const std::optional<std::size_t> moved = dispfit::movePick(offset, 0, 35.0, 150.0);
  ASSERT_TRUE(moved);
  EXPECT_EQ(*moved, 1u);
  EXPECT_EQ(offset.picks[1].frequency, 35.0);
  EXPECT_FALSE(dispfit::movePick(offset, 7, 35.0, 150.0));
  dispfit::deletePick(offset, 0);
  ASSERT_EQ(offset.picks.size(), 1u);
  EXPECT_EQ(offset.picks[0].frequency, 35.0);
}

TEST(PickEditing, ABandRepicksTheRidgeInsideItAndKeepsThePicksOutside) {
  dispfit::OffsetResult offset = siteOffset();
  offset.picks.clear();
  dispfit::addPick(offset, 20.0, 700.0);  // a wrong pick inside the band
  dispfit::addPick(offset, 50.0, 400.0);  // one outside it
  dispfit::repickInBand(offset, {25.0, 15.0, 120.0, 400.0}, {});
  const dispfit::ModalCurve truth = siteFundamental();
  std::size_t inBand = 0;
  for (const dispfit::Pick& pick : offset.picks) {
    if (pick.frequency == 50.0) {
      EXPECT_EQ(pick.velocity, 400.0);
      continue;
    }
    EXPECT_GE(pick.frequency, 15.0);
    EXPECT_LE(pick.frequency, 25.0);
    const double c = dispfit::modalVelocityAt(truth, pick.frequency);
    EXPECT_NEAR(pick.velocity, c, 0.01 * c);
    ++inBand;
  }
  EXPECT_EQ(inBand, 21u);  // 15 to 25 Hz by 0.5 Hz
}

}  // namespace
}  // namespace dispfit_test
