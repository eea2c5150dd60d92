// SPDX-License-Identifier: GPL-3.0-or-later
#include "site/time_averaged_velocity.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "site/site_class.h"
#include "site/site_summary.h"

namespace dispfit {

namespace {

// Three layers over a half-space: 2 m at 100 m/s, 3 m at 200 m/s, 10 m at
// 400 m/s, then 800 m/s from 15 m down. Vertical S travel times by hand:
//   top 5 m:  2/100 + 3/200                     = 0.035   s
//   top 10 m: 0.035 + 5/400                     = 0.0475  s
//   top 20 m: 0.035 + 10/400 + 5/800            = 0.06625 s
//   top 30 m: 0.035 + 10/400 + 15/800           = 0.07875 s
const std::vector<float> kThickness{2.0f, 3.0f, 10.0f, 10.0f};
const std::vector<float> kVs{100.0f, 200.0f, 400.0f, 800.0f};

// Sums of four terms in double: a few ulps of 1e2 m/s.
constexpr double kSumTolerance = 1e-9;

TEST(TimeAveragedVelocity, MatchesTravelTimesWorkedByHand) {
  struct Row {
    double depth;
    double expected;
  };
  const Row rows[] = {
      {5.0, 5.0 / 0.035},      // 142.857 m/s
      {10.0, 10.0 / 0.0475},   // 210.526 m/s
      {20.0, 20.0 / 0.06625},  // 301.887 m/s
      {30.0, 30.0 / 0.07875},  // 380.952 m/s
      {1.0, 100.0},            // inside the top layer
      {2.0, 100.0},            // exactly at the first interface
      {15.0, 15.0 / 0.06},     // at the last interface: 0.035 + 10/400
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.depth);
    const std::optional<double> average = timeAveragedVelocity(kThickness, kVs, row.depth);
    ASSERT_TRUE(average.has_value());
    EXPECT_NEAR(*average, row.expected, kSumTolerance * row.expected);
  }
}

TEST(TimeAveragedVelocity, TheHalfSpaceContinuesBelowTheLastInterfaceWhateverItsThickness) {
  // The half-space's thickness cell (here 0.5 m) is not used.
  const std::vector<float> thickness{10.0f, 0.5f};
  const std::vector<float> vs{200.0f, 600.0f};
  // 30 / (10/200 + 20/600) = 30 / (1/20 + 1/30) = 30 * 12 = 360 m/s.
  EXPECT_NEAR(*timeAveragedVelocity(thickness, vs, 30.0), 360.0, 360.0 * kSumTolerance);
  const std::vector<float> halfSpace{0.0f};
  const std::vector<float> uniform{250.0f};
  EXPECT_NEAR(*timeAveragedVelocity(halfSpace, uniform, 30.0), 250.0, 250.0 * kSumTolerance);
}

TEST(TimeAveragedVelocity, HasNoValueWithoutLayersOrForANonPositiveVelocityItReaches) {
  const std::vector<float> thickness{10.0f, 1.0f};
  const std::vector<float> zeroBelow{200.0f, 0.0f};
  EXPECT_FALSE(timeAveragedVelocity(std::span<const float>(), {}, 30.0).has_value());
  EXPECT_FALSE(timeAveragedVelocity(thickness, zeroBelow, 30.0).has_value());
  // The half-space is not reached within 5 m, so its velocity does not matter.
  EXPECT_NEAR(*timeAveragedVelocity(thickness, zeroBelow, 5.0), 200.0, 200.0 * kSumTolerance);
}

TEST(SiteClass, EveryBoundaryFallsOnItsDocumentedSide) {
  constexpr double kInfinity = std::numeric_limits<double>::infinity();
  const auto above = [](double v) { return std::nextafter(v, kInfinity); };
  const auto below = [](double v) { return std::nextafter(v, 0.0); };
  struct Row {
    double vs30;
    GroundType groundType;
    NehrpClass nehrpClass;
  };
  const Row rows[] = {
      {2000.0, GroundType::A, NehrpClass::A}, {above(1500.0), GroundType::A, NehrpClass::A},
      {1500.0, GroundType::A, NehrpClass::B}, {above(800.0), GroundType::A, NehrpClass::B},
      {800.0, GroundType::B, NehrpClass::B},  {above(760.0), GroundType::B, NehrpClass::B},
      {760.0, GroundType::B, NehrpClass::C},  {above(360.0), GroundType::B, NehrpClass::C},
      {360.0, GroundType::C, NehrpClass::D},  {above(180.0), GroundType::C, NehrpClass::D},
      {180.0, GroundType::C, NehrpClass::D},  {below(180.0), GroundType::D, NehrpClass::E},
      {90.0, GroundType::D, NehrpClass::E},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.vs30);
    EXPECT_EQ(eurocode8GroundType(row.vs30), row.groundType);
    EXPECT_EQ(nehrpSiteClass(row.vs30), row.nehrpClass);
  }
  EXPECT_EQ(className(GroundType::C), "C");
  EXPECT_EQ(className(NehrpClass::E), "E");
}

TEST(SiteClass, Asce722BoundsAreTheTablesFeetPerSecondAndFallOnTheSofterSide) {
  constexpr double kInfinity = std::numeric_limits<double>::infinity();
  constexpr double kMetresPerFoot = 0.3048;
  const auto above = [](double v) { return std::nextafter(v, kInfinity); };
  // Table 20.2-1 of ASCE 7-22 in ft/s: each class "lower < Vs30 <= upper".
  struct Row {
    double feetPerSecond;
    Asce722Class atBound;     // Vs30 on the bound: the softer class
    Asce722Class aboveBound;  // just above it: the stiffer one
    const char* names;        // of the two, as the reports print them
  };
  const Row rows[] = {
      {5000.0, Asce722Class::B, Asce722Class::A, "B A"},
      {3000.0, Asce722Class::BC, Asce722Class::B, "BC B"},
      {2100.0, Asce722Class::C, Asce722Class::BC, "C BC"},
      {1450.0, Asce722Class::CD, Asce722Class::C, "CD C"},
      {1000.0, Asce722Class::D, Asce722Class::CD, "D CD"},
      {700.0, Asce722Class::DE, Asce722Class::D, "DE D"},
      {500.0, Asce722Class::E, Asce722Class::DE, "E DE"},
  };
  ASSERT_EQ(std::size(rows), kAsce722Bounds.size());
  for (std::size_t i = 0; i < std::size(rows); ++i) {
    const Row& row = rows[i];
    // The bound as the code holds it: the table's value in ft/s times
    // 0.3048, to the nearest decimal the product prints as.
    const double bound = kAsce722Bounds[i];
    SCOPED_TRACE(bound);
    EXPECT_NEAR(bound, row.feetPerSecond * kMetresPerFoot, 1e-9);
    EXPECT_EQ(asce722SiteClass(bound), row.atBound);
    EXPECT_EQ(asce722SiteClass(above(bound)), row.aboveBound);
    EXPECT_EQ(className(row.atBound) + " " + className(row.aboveBound), row.names);
  }
  EXPECT_EQ(asce722SiteClass(100.0), Asce722Class::E);
  EXPECT_EQ(asce722SiteClass(3000.0), Asce722Class::A);
  EXPECT_EQ(classRange(Asce722Class::A), "above 1524 m/s");
  EXPECT_EQ(classRange(Asce722Class::CD), "304.8 to 441.96 m/s");
  EXPECT_EQ(classRange(Asce722Class::E), "up to 152.4 m/s");
}

TEST(SiteClass, BoundsOfEverySchemeAscendWithSharedOnesJoined) {
  const std::vector<ClassBound> bounds = classBounds();
  // EC8's 3, NEHRP's 4 and ASCE 7-22's 7, two of them (180 and 360) shared.
  ASSERT_EQ(bounds.size(), 3u + 4u + 7u - 2u);
  for (std::size_t i = 1; i < bounds.size(); ++i) EXPECT_LT(bounds[i - 1].vs30, bounds[i].vs30);
  EXPECT_EQ(bounds.front().vs30, 152.4);
  EXPECT_EQ(bounds.front().label, "ASCE 7-22 DE/E");
  const auto at = [&](double v) {
    for (const ClassBound& b : bounds) {
      if (b.vs30 == v) return b.label;
    }
    return std::string();
  };
  EXPECT_EQ(at(180.0), "EC8 C/D, NEHRP D/E");
  EXPECT_EQ(at(360.0), "EC8 B/C, NEHRP C/D");
  EXPECT_EQ(at(304.8), "ASCE 7-22 CD/D");
  EXPECT_EQ(at(1500.0), "NEHRP A/B");
  // Each bound separates the classes it names: just above it the stiffer.
  EXPECT_EQ(nehrpSiteClass(std::nextafter(760.0, 1e9)), NehrpClass::B);
  EXPECT_EQ(at(760.0), "NEHRP B/C");
}

TEST(SiteSummary, FlagsTheAveragesReachingBelowTheConstrainedDepth) {
  // Data down to 24 m: Vs5, Vs10 and Vs20 rest on them, Vs30 does not.
  const SiteSummary summary = summarizeSite(kThickness, kVs, 24.0);
  ASSERT_EQ(summary.averages.size(), 4u);
  const bool expectedFlags[] = {false, false, false, true};
  for (std::size_t i = 0; i < 4; ++i) {
    SCOPED_TRACE(summary.averages[i].depth);
    EXPECT_EQ(summary.averages[i].extrapolated, expectedFlags[i]);
  }
  ASSERT_TRUE(summary.vs30.has_value());
  EXPECT_NEAR(*summary.vs30, 30.0 / 0.07875, 1e-6);
  EXPECT_TRUE(summary.vs30Extrapolated);
  EXPECT_EQ(summary.groundType, GroundType::B);  // 381 m/s: 360..800
  EXPECT_EQ(summary.nehrpClass, NehrpClass::C);  // 360..760

  // Data constraining exactly 30 m reach Vs30; no curve flags nothing.
  EXPECT_FALSE(summarizeSite(kThickness, kVs, 30.0).vs30Extrapolated);
  const SiteSummary unconstrained = summarizeSite(kThickness, kVs, std::nullopt);
  EXPECT_FALSE(unconstrained.vs30Extrapolated);
  for (const DepthAverage& average : unconstrained.averages) EXPECT_FALSE(average.extrapolated);
}

}  // namespace

}  // namespace dispfit
