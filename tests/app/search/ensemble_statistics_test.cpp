// SPDX-License-Identifier: GPL-3.0-or-later
// Percentiles, profiles and VsZ spreads against small ensembles worked by
// hand.
#include <gtest/gtest.h>

#include <vector>

#include "search/ensemble_statistics.h"
#include "search/ensemble_tables.h"

namespace {

using namespace dispfit;

TrialModel twoLayers(double h, double vs1, double vs2) {
  return {{h, 0.0}, {vs1, vs2}, {3 * vs1, 3 * vs2}, {1.9, 1.9}};
}

TEST(EnsembleStatistics, PercentilesInterpolateBetweenOrderStatistics) {
  // Sorted 10, 20, 30, 40, 50: r = p (n - 1) = 4 p.
  const std::vector<double> values{40.0, 10.0, 50.0, 30.0, 20.0};
  struct Row {
    double p;
    double expected;
  };
  const Row rows[] = {
      {0.0, 10.0},  {1.0, 50.0}, {0.5, 30.0}, {0.1, 14.0},  // r = 0.4: 10 + 0.4 x 10
      {0.9, 46.0},                                          // r = 3.6: 40 + 0.6 x 10
      {0.25, 20.0},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE("p = " + std::to_string(row.p));
    EXPECT_NEAR(*percentile(values, row.p), row.expected, 1e-12);
  }
  EXPECT_EQ(*percentile(std::vector<double>{7.0}, 0.9), 7.0);
  EXPECT_FALSE(percentile(std::vector<double>{}, 0.5));
}

TEST(EnsembleStatistics, ProfileTakesEachDepthsLayer) {
  // Interfaces at 0.2, 0.25 and 0.3 m; at 0.2 m the first model is already
  // in its half-space (an interface belongs to the layer below).
  const std::vector<TrialModel> models{twoLayers(0.2, 100.0, 400.0), twoLayers(0.25, 200.0, 500.0),
                                       twoLayers(0.3, 300.0, 600.0)};
  const std::vector<ProfileRow> rows = vsProfile(models, 0.3);
  ASSERT_EQ(rows.size(), 4u);  // 0, 0.1, 0.2, 0.3 m
  EXPECT_EQ(rows[3].depth, 0.3);
  // At 0.1 m: 100, 200, 300 -> p10 120, median 200, p90 280.
  EXPECT_NEAR(rows[1].vs.p10, 120.0, 1e-9);
  EXPECT_NEAR(rows[1].vs.median, 200.0, 1e-9);
  EXPECT_NEAR(rows[1].vs.p90, 280.0, 1e-9);
  // At 0.2 m: 400, 200, 300 -> sorted 200, 300, 400.
  EXPECT_NEAR(rows[2].vs.median, 300.0, 1e-9);
  EXPECT_NEAR(rows[2].vs.p10, 220.0, 1e-9);
  // At 0.3 m: 400, 500, 600.
  EXPECT_NEAR(rows[3].vs.median, 500.0, 1e-9);
  EXPECT_TRUE(vsProfile({}, 10.0).empty());

  const std::string table = profileTable(rows);
  EXPECT_EQ(table.substr(0, table.find('\n')),
            "depth (m), vs p10 (m/s), vs p50 (m/s), vs p90 (m/s)");
  EXPECT_NE(table.find("\n0.1, 120, 200, 280\n"), std::string::npos) << table;
}

TEST(EnsembleStatistics, AverageSpreadsWithClasses) {
  // Vs30 of 10 m of 150 over 300 m/s: 30 / (10/150 + 20/300) = 225 m/s;
  // of a 400 m/s half-space alone: 400; of 10 m of 900 over 1000: 30 /
  // (10/900 + 20/1000) = 964.3. Sorted 225, 400, 964.3: median 400 (C / C),
  // p10 = 225 + 0.2 x 175 = 260 (C / D), p90 = 400 + 0.8 x 564.3 = 851.4
  // (A / B).
  const std::vector<TrialModel> models{twoLayers(10.0, 150.0, 300.0), twoLayers(10.0, 400.0, 400.0),
                                       twoLayers(10.0, 900.0, 1000.0)};
  const std::vector<AverageSpread> spreads = averageSpreads(models, 20.0);
  ASSERT_EQ(spreads.size(), 4u);
  const AverageSpread& vs30 = spreads[3];
  EXPECT_EQ(vs30.depth, 30.0);
  EXPECT_TRUE(vs30.extrapolated);
  EXPECT_FALSE(spreads[2].extrapolated);  // 20 m, the constrained depth itself
  EXPECT_NEAR(vs30.vs.median, 400.0, 1e-9);
  EXPECT_NEAR(vs30.vs.p10, 260.0, 1e-9);
  EXPECT_NEAR(vs30.vs.p90, 400.0 + 0.8 * (30.0 / (10.0 / 900.0 + 20.0 / 1000.0) - 400.0), 1e-6);
  EXPECT_EQ(vs30.groundTypes[0], GroundType::C);
  EXPECT_EQ(vs30.nehrpClasses[0], NehrpClass::D);
  EXPECT_EQ(vs30.groundTypes[1], GroundType::B);  // 400: Eurocode 8 B is 360 to 800
  EXPECT_EQ(vs30.nehrpClasses[1], NehrpClass::C);
  EXPECT_EQ(vs30.groundTypes[2], GroundType::A);
  EXPECT_EQ(vs30.nehrpClasses[2], NehrpClass::B);
  // Vs5: every model's top layer alone: 150, 400, 900.
  EXPECT_NEAR(spreads[0].vs.median, 400.0, 1e-3);
}

}  // namespace
