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

using dispfit::PickEdit;

dispfit::SurveyRequest siteRequest() {
  dispfit::SurveyRequest request;
  request.image.grid.frequency = {5.0, 60.0, 0.5};
  request.image.grid.velocity = {80.0, 800.0, 1.0};
  return request;
}

dispfit::SurveyResult siteSurvey(const dispfit::SurveyRequest& request,
                                 std::vector<double> offsets = {10.0}) {
  const dispfit::ModalCurve modes[] = {siteFundamental()};
  std::vector<dispfit::ShotGather> gathers;
  for (const double offset : offsets)
    gathers.push_back(dispfit::syntheticRecord(siteShot(offset), modes));
  std::vector<dispfit::SourceGroup> groups;
  std::string error;
  dispfit::groupBySource(gathers, groups, error);
  return dispfit::analyseSurvey(gathers, groups, request, 1);
}

dispfit::OffsetResult siteOffset() {
  return siteSurvey(siteRequest()).offsets.at(0);
}

std::optional<double> velocityAt(const dispfit::OffsetResult& offset, double frequency) {
  for (const dispfit::Pick& pick : offset.picks) {
    if (pick.frequency == frequency) return pick.velocity;
  }
  return std::nullopt;
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

TEST(PickEditing, KeepsEachEditOnceWithTheLatestAtAFrequency) {
  dispfit::OffsetResult offset = siteOffset();
  dispfit::addPick(offset, 20.0, 300.0);
  dispfit::movePick(offset, dispfit::addPick(offset, 30.0, 250.0), 32.0, 240.0);
  dispfit::addPick(offset, 30.0, 260.0);  // the removal at 30 Hz is overridden
  ASSERT_EQ(offset.edits.size(), 3u);
  EXPECT_EQ(offset.edits[0].frequency, 20.0);
  EXPECT_EQ(offset.edits[1].frequency, 32.0);
  EXPECT_EQ(offset.edits[2].kind, PickEdit::Kind::placed);
  EXPECT_EQ(offset.edits[2].velocity, 260.0);
  // A band over 25 to 35 Hz overrides the edits inside it; the one at 20 Hz stays.
  dispfit::repickInBand(offset, {35.0, 25.0, 120.0, 400.0}, {});
  ASSERT_EQ(offset.edits.size(), 2u);
  EXPECT_EQ(offset.edits[0].frequency, 20.0);
  EXPECT_EQ(offset.edits[1].kind, PickEdit::Kind::band);
  dispfit::repickOffset(offset, {});
  EXPECT_TRUE(offset.edits.empty());
}

TEST(PickEditing, EditsMadeAgainOnTheSameImageGiveTheSamePicks) {
  dispfit::OffsetResult offset = siteOffset();
  const std::vector<dispfit::Pick> automatic = offset.picks;
  dispfit::addPick(offset, 20.0, 700.0);
  dispfit::deletePick(offset, 0);
  dispfit::repickInBand(offset, {40.0, 45.0, 120.0, 300.0}, {});
  dispfit::addPick(offset, 42.0, 600.0);
  const std::vector<dispfit::Pick> edited = offset.picks;
  const std::vector<PickEdit> edits = offset.edits;
  const dispfit::EditsCarried carried = dispfit::repickKeepingEdits(offset, {});
  EXPECT_EQ(carried.kept, edits.size());
  EXPECT_EQ(carried.dropped, 0u);
  ASSERT_EQ(offset.picks.size(), edited.size());
  for (std::size_t n = 0; n < edited.size(); ++n) {
    EXPECT_EQ(offset.picks[n].frequency, edited[n].frequency);
    EXPECT_EQ(offset.picks[n].velocity, edited[n].velocity);
  }
  EXPECT_EQ(offset.edits.size(), edits.size());
  EXPECT_NE(automatic.size(), 0u);
}

TEST(PickEditing, ANewImageKeepsTheEditsOnItsFrequenciesAndVelocities) {
  dispfit::SurveyRequest request = siteRequest();
  dispfit::SurveyResult before = siteSurvey(request, {10.0, 20.0});
  dispfit::OffsetResult& first = before.offsets[0];   // the source 20 m before the array
  dispfit::OffsetResult& second = before.offsets[1];  // 10 m before it
  dispfit::addPick(first, 20.0, 300.0);
  dispfit::addPick(first, 20.5, 300.0);  // not on a grid of whole hertz
  dispfit::addPick(first, 30.0, 790.0);  // above the new image's velocities
  dispfit::deletePick(second, dispfit::addPick(second, 25.0, 200.0));
  dispfit::deletePick(second, dispfit::addPick(second, 25.5, 200.0));  // not on whole hertz
  dispfit::repickInBand(second, {40.0, 45.0, 120.0, 300.0}, {});
  // The same records on whole hertz from 6 Hz and up to 700 m/s, through
  // the beamformer.
  request.image.grid.frequency = {6.0, 60.0, 1.0};
  request.image.grid.velocity = {80.0, 700.0, 1.0};
  request.image.transform = dispfit::ImageTransform::beamformer;
  dispfit::SurveyResult after = siteSurvey(request, {10.0, 20.0});
  ASSERT_TRUE(velocityAt(after.offsets[1], 25.0));  // the ridge, picked anew
  const dispfit::EditsCarried carried = dispfit::carryEdits(before, after, request.picking);
  EXPECT_EQ(carried.kept, 3u);
  EXPECT_EQ(carried.dropped, 3u);
  EXPECT_EQ(dispfit::editCount(after), 3u);
  EXPECT_EQ(velocityAt(after.offsets[0], 20.0), 300.0);
  EXPECT_NE(velocityAt(after.offsets[0], 30.0), 790.0);
  EXPECT_FALSE(velocityAt(after.offsets[1], 25.0));  // removed again
  ASSERT_FALSE(after.offsets[1].edits.empty());
  EXPECT_EQ(after.offsets[1].edits.back().kind, PickEdit::Kind::band);
  // Offsets of other records lose their edits.
  dispfit::SurveyResult elsewhere = siteSurvey(request, {5.0});
  EXPECT_EQ(dispfit::carryEdits(before, elsewhere, request.picking).dropped, 6u);
  EXPECT_EQ(dispfit::editCount(elsewhere), 0u);
}

}  // namespace
}  // namespace dispfit_test
