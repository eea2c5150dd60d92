// SPDX-License-Identifier: GPL-3.0-or-later
// The survey's groups and its images on several threads: the same result
// bit for bit as on one, every group's progress told once. CI runs it under
// ThreadSanitizer (label threads), which also watches FFTW's planner lock.
#include <gtest/gtest.h>

#include <vector>

#include "layered_site.h"
#include "shots/masw_survey.h"

namespace dispfit_test {
namespace {

// Small records on a coarse grid: the sanitizer multiplies the cost.
std::vector<dispfit::ShotGather> smallSurvey() {
  std::vector<dispfit::ShotGather> gathers;
  std::uint64_t seed = 1;
  for (const double offset : {5.0, 10.0, 15.0, 20.0}) {
    for (int copy = 0; copy < 2; ++copy) {
      dispfit::SyntheticShot shot = siteShot(offset, 0.05, seed++);
      shot.sampleCount = 500;
      const dispfit::ModalCurve modes[] = {siteFundamental()};
      gathers.push_back(dispfit::syntheticRecord(shot, modes));
    }
  }
  return gathers;
}

dispfit::SurveyRequest coarseRequest() {
  dispfit::SurveyRequest request;
  request.image.grid.frequency = {8.0, 40.0, 1.0};
  request.image.grid.velocity = {80.0, 600.0, 4.0};
  request.statistics.leastOffsets = 3;
  request.statistics.sigmaFloor = 2.0;
  return request;
}

TEST(MaswSurvey, GroupsBySourceAndRefusesOneSourceOnTwoArrays) {
  std::vector<dispfit::ShotGather> gathers = smallSurvey();
  std::vector<dispfit::SourceGroup> groups;
  std::string error;
  ASSERT_TRUE(dispfit::groupBySource(gathers, groups, error)) << error;
  ASSERT_EQ(groups.size(), 4u);
  EXPECT_EQ(groups.front().sourcePosition, -20.0);  // ascending positions
  EXPECT_EQ(groups.front().records, (std::vector<std::size_t>{6, 7}));
  EXPECT_EQ(groups.back().sourceOffset, 5.0);
  gathers[1].receiverPositions[3] += 0.5;
  gathers[1].name = "moved.sg2";
  gathers[0].name = "first.sg2";
  EXPECT_FALSE(dispfit::groupBySource(gathers, groups, error));
  EXPECT_EQ(error.rfind("moved.sg2: its source stands where first.sg2's does", 0), 0u) << error;
}

TEST(MaswSurvey, TwoThreadsGiveTheResultOfOne) {
  const std::vector<dispfit::ShotGather> gathers = smallSurvey();
  std::vector<dispfit::SourceGroup> groups;
  std::string error;
  ASSERT_TRUE(dispfit::groupBySource(gathers, groups, error)) << error;
  const dispfit::SurveyResult one = dispfit::analyseSurvey(gathers, groups, coarseRequest(), 1);
  std::vector<std::size_t> told;
  const dispfit::SurveyResult two = dispfit::analyseSurvey(
      gathers, groups, coarseRequest(), 2, [&](std::size_t done, std::size_t total) {
        EXPECT_EQ(total, 4u);
        told.push_back(done);
      });
  EXPECT_EQ(told, (std::vector<std::size_t>{1, 2, 3, 4}));
  ASSERT_EQ(one.offsets.size(), two.offsets.size());
  for (std::size_t g = 0; g < one.offsets.size(); ++g) {
    EXPECT_EQ(one.offsets[g].image.power, two.offsets[g].image.power);
    ASSERT_EQ(one.offsets[g].picks.size(), two.offsets[g].picks.size());
  }
  ASSERT_FALSE(one.curve.empty());
  ASSERT_EQ(one.curve.size(), two.curve.size());
  for (std::size_t n = 0; n < one.curve.size(); ++n) {
    EXPECT_EQ(one.curve[n].velocity, two.curve[n].velocity);
    EXPECT_EQ(one.curve[n].sigma, two.curve[n].sigma);
  }
}

}  // namespace
}  // namespace dispfit_test
