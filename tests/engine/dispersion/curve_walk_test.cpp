// SPDX-License-Identifier: GPL-3.0-or-later
// Following a curve: the order of the frequencies, the first start, and the
// search of one curve point on functions whose zeros are known by hand.
#include "dispersion/curve_walk.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "test_models.h"

namespace {

using swcore::CurveWalk;
using swcore::FrequencyOrder;
using swcore::searchCurvePoint;

std::vector<int> indices(const FrequencyOrder& order) {
  return {order.begin(), order.end()};
}

TEST(FrequencyOrder, HighestFirstEqualOnesAsGivenTheRestLeftOut) {
  const double inf = std::numeric_limits<double>::infinity();
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const std::vector<double> hertz{5, 0, 20, nan, 20, 10, -1, inf, -0.0};
  EXPECT_EQ(indices(FrequencyOrder(hertz)), (std::vector<int>{2, 4, 5, 0}));
  EXPECT_EQ(indices(FrequencyOrder(std::vector<double>{})), std::vector<int>{});
  const std::vector<double> descending{150, 20, 10, 5};
  EXPECT_EQ(indices(FrequencyOrder(descending)), (std::vector<int>{0, 1, 2, 3}));
}

TEST(CurveWalk, FirstStartLiesBelowTheSlowestLayerWhichMayBeBuried) {
  struct Row {
    const char* name;
    dispfit_test::Model model;
    double slowest;  // km/s
    bool buried;
  };
  const std::vector<Row> rows{
      {"rising", {{0.005, 0.01, 0}, {0.15, 0.25, 0.4}, {1.8, 1.9, 2.0}}, 0.15, false},
      {"equal top layers", {{0.005, 0.01, 0}, {0.2, 0.2, 0.4}, {1.8, 1.9, 2.0}}, 0.2, false},
      {"low-velocity layer under the slowest top",
       {{0.005, 0.01, 0.01, 0}, {0.15, 0.3, 0.2, 0.4}, {1.8, 1.9, 1.9, 2.0}},
       0.15,
       false},
      {"stiff crust", {{0.004, 0.012, 0}, {0.4, 0.18, 0.7}, {1.9, 1.8, 2.0}}, 0.18, true},
      {"slowest half-space", {{0.005, 0.01, 0}, {0.2, 0.45, 0.15}, {1.8, 2.0, 1.9}}, 0.15, true},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const swcore::EngineState state = dispfit_test::stateFor(row.model, 1.0);
    const CurveWalk walk = swcore::curveWalkFor(state, 1e-8);
    EXPECT_EQ(walk.firstStart, row.slowest * static_cast<double>(0.8f));
    EXPECT_EQ(walk.halfSpaceShear, row.model.vs.back());
    EXPECT_EQ(walk.slowestLayerBuried, row.buried);
  }
}

// One curve point on polynomials with zeros placed by hand: first start
// 0.1 km/s, half-space S velocity 1 km/s (no poles), coarse steps there.
TEST(CurveWalk, PointIsSearchedFromTheFirstStartWhenTheFollowedModeMissesIt) {
  struct Row {
    const char* name;
    double (*f)(double);
    double start;
    bool buried;
    double expected;       // the zero, or NaN for none
    double expectedStart;  // of the search kept
  };
  const double none = std::numeric_limits<double>::quiet_NaN();
  const std::vector<Row> rows{
      // An odd count of zeros (0.2) between 0.1 and 0.3: f changes sign.
      {"zero below the start, slowest layer buried", [](double x) { return (x - 0.2) * (x - 0.6); },
       0.3, true, 0.2, 0.1},
      // With the slowest layer on top there is no check: the zero above the
      // start is kept.
      {"zero below the start, slowest layer on top", [](double x) { return (x - 0.2) * (x - 0.6); },
       0.3, false, 0.6, 0.3},
      // The followed search finds 1.2, above the half-space: searched again.
      {"found above the half-space", [](double x) { return (x - 0.2) * (x - 1.2); }, 0.3, false,
       0.2, 0.1},
      // Nothing above the start: searched again from the first start.
      {"nothing above the start", [](double x) { return (x - 0.2) * (x + 1.0); }, 0.3, false, 0.2,
       0.1},
      // From the first start itself, a zero above the half-space is all there is.
      {"only a zero above the half-space", [](double x) { return x - 1.2; }, 0.1, true, 1.2, 0.1},
      {"no zero at all", [](double x) { return 1.0 + x; }, 0.3, true, none, 0.3},
  };
  const CurveWalk base{0.1, 1.0, 1e-10, false};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    CurveWalk walk = base;
    walk.slowestLayerBuried = row.buried;
    double result = none;
    const swcore::SearchStart used = searchCurvePoint(row.f, {}, walk, row.start, result);
    if (std::isnan(row.expected)) {
      EXPECT_TRUE(std::isnan(result)) << "the result cell is left untouched";
    } else {
      EXPECT_NEAR(result, row.expected, 1e-9);
    }
    EXPECT_EQ(used.velocity, row.expectedStart);
    EXPECT_EQ(used.step, 0.005);
  }
}

}  // namespace
