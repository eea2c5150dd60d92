// SPDX-License-Identifier: GPL-3.0-or-later
// The search space: what is refused, and the models the unit cube maps to.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "search/search_space.h"

namespace {

using namespace dispfit;

LayerRanges plain() {
  return {{100.0, 500.0}, {1.0, 10.0}, 1.9, std::nullopt, std::nullopt};
}

SearchSpace threeLayers() {
  SearchSpace s;
  s.layers.assign(3, plain());
  return s;
}

TEST(SearchSpace, RefusesWhatNoModelCanBe) {
  struct Row {
    const char* name;
    void (*spoil)(SearchSpace&);
    const char* says;  // a part of the message
  };
  const Row rows[] = {
      {"no layer", [](SearchSpace& s) { s.layers.clear(); }, "0 layers"},
      {"21 layers", [](SearchSpace& s) { s.layers.assign(21, plain()); }, "21 layers"},
      {"Vs low above high",
       [](SearchSpace& s) {
         s.layers[1].vs = {600.0, 500.0};
       },
       "layer 2: the Vs range: the low end lies above"},
      {"Vs not positive", [](SearchSpace& s) { s.layers[0].vs.low = 0.0; }, "must be positive"},
      {"Vs at the engine's ceiling", [](SearchSpace& s) { s.layers[2].vs.high = 10000.0; },
       "half-space (layer 3): the Vs range must stay below 10000"},
      {"thickness low above high",
       [](SearchSpace& s) {
         s.layers[0].thickness = {5.0, 2.0};
       },
       "the thickness range: the low end"},
      {"thickness negative", [](SearchSpace& s) { s.layers[1].thickness.low = -1.0; },
       "the thickness range must be positive"},
      // 1e300 / 1e-300 overflows: no log scale spans it.
      {"thickness over 600 orders of magnitude",
       [](SearchSpace& s) {
         s.layers[0].thickness = {1e-300, 1e300};
       },
       "the thickness range spans too many orders"},
      // 5 / 1.1e-319 (a subnormal) overflows likewise.
      {"Vs from a subnormal number",
       [](SearchSpace& s) {
         s.layers[1].vs = {1.1e-319, 5.0};
       },
       "the Vs range spans too many orders"},
      {"density zero", [](SearchSpace& s) { s.layers[0].density = 0.0; }, "the density"},
      // 700 < sqrt(2) x 500 = 707.1
      {"fixed Vp below sqrt(2) Vs", [](SearchSpace& s) { s.layers[0].vp = 700.0; },
       "below sqrt(2) times"},
      {"Poisson's ratio 0.5",
       [](SearchSpace& s) {
         s.layers[0].poisson = Range{0.3, 0.5};
       },
       "Poisson's ratio must lie"},
      {"Poisson's ratio negative",
       [](SearchSpace& s) {
         s.layers[0].poisson = Range{-0.1, 0.3};
       },
       "Poisson's ratio must lie"},
      {"Poisson's ratio low above high",
       [](SearchSpace& s) {
         s.layers[0].poisson = Range{0.4, 0.3};
       },
       "the low end"},
      {"water table at 0", [](SearchSpace& s) { s.waterTable = 0.0; }, "water table"},
      {"no non-decreasing Vs",
       [](SearchSpace& s) {
         s.increasing = true;
         s.layers[0].vs = {400.0, 500.0};
         s.layers[1].vs = {100.0, 300.0};
       },
       "layer 2: its Vs range lies wholly below"},
  };
  EXPECT_EQ(searchSpaceFault(threeLayers()), "");
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    SearchSpace s = threeLayers();
    row.spoil(s);
    const std::string fault = searchSpaceFault(s);
    EXPECT_NE(fault.find(row.says), std::string::npos) << fault;
  }
  // Limits that are still allowed: a fixed Vp of exactly sqrt(2) x 500 m/s
  // and up (rounded up here), Poisson's ratio from 0, a range of one value.
  SearchSpace edge = threeLayers();
  edge.layers[0].vp = 707.2;
  edge.layers[1].poisson = Range{0.0, 0.499};
  edge.layers[2].vs = {300.0, 300.0};
  EXPECT_EQ(searchSpaceFault(edge), "");
}

TEST(SearchSpace, PVelocityFollowsItsRule) {
  // Vp / Vs = sqrt((2 - 2 nu) / (1 - 2 nu)): nu = 1/4 gives sqrt(3), nu = 1/3
  // gives 2, nu = 0 gives sqrt(2).
  EXPECT_NEAR(pVelocityFromPoisson(100.0, 0.25), 100.0 * std::sqrt(3.0), 1e-9);
  EXPECT_NEAR(pVelocityFromPoisson(100.0, 1.0 / 3.0), 200.0, 1e-9);
  EXPECT_NEAR(pVelocityFromPoisson(100.0, 0.0), 100.0 * std::sqrt(2.0), 1e-9);

  SearchSpace s = threeLayers();
  s.layers[0].vp = 800.0;                   // fixed
  s.layers[1].poisson = Range{0.25, 0.25};  // Vp = sqrt(3) Vs
  s.waterTable = 3.0;                       // layer 2's top at 3.16 m lies below it
  const ParameterMap map(s);
  // Vs 1, 2, 3; h 1, 2; nu of layer 2.
  ASSERT_EQ(map.dimension(), 6u);
  EXPECT_EQ(map.parameterName(0), "vs1 (m/s)");
  EXPECT_EQ(map.parameterName(4), "h2 (m)");
  EXPECT_EQ(map.parameterName(5), "nu2");
  // Velocities and thicknesses on a log scale: Vs over 100..500 m/s at u = 0,
  // 0.5, 1 is 100, sqrt(100 x 500) = 223.607, 500; thickness over 1..10 m at
  // u = 0.5 is sqrt(10) = 3.1623 m.
  const double unit[] = {0.0, 0.5, 1.0, 0.5, 0.5, 0.0};
  TrialModel m;
  map.model(unit, m);
  EXPECT_NEAR(m.vs[0], 100.0, 1e-9);
  EXPECT_NEAR(m.vs[1], std::sqrt(50000.0), 1e-9);
  EXPECT_NEAR(m.vs[2], 500.0, 1e-9);
  EXPECT_NEAR(m.thickness[0], std::sqrt(10.0), 1e-12);
  EXPECT_NEAR(m.thickness[1], std::sqrt(10.0), 1e-12);
  EXPECT_EQ(m.thickness[2], 0.0);
  EXPECT_DOUBLE_EQ(m.vp[0], 800.0);  // above the water table: as fixed
  // Below the water table: sqrt(3) x 223.6 = 387.3 raised to 1500; the
  // half-space's 3 x 500 = 1500 stays.
  EXPECT_DOUBLE_EQ(m.vp[1], 1500.0);
  EXPECT_DOUBLE_EQ(m.vp[2], 1500.0);
  s.waterTable = 3.5;  // now the second layer's top lies above it
  const ParameterMap dry(s);
  dry.model(unit, m);
  EXPECT_NEAR(m.vp[1], std::sqrt(3.0) * std::sqrt(50000.0), 1e-9);
  // Poisson's ratio is scaled linearly: 0.1 to 0.3 at u = 0.25 is 0.15.
  s.layers[1].poisson = Range{0.1, 0.3};
  const ParameterMap linear(s);
  const double quarter[] = {0.0, 0.5, 1.0, 0.5, 0.5, 0.25};
  EXPECT_NEAR(linear.valueAt(quarter, 5), 0.15, 1e-15);
}

TEST(SearchSpace, NonDecreasingRuleHoldsForDrawsAndWalkIntervals) {
  SearchSpace s = threeLayers();
  s.increasing = true;
  s.layers[2].vs = {200.0, 400.0};
  const ParameterMap map(s);
  // On the log scales: u = 0.9 and 0.1 over 100..500 m/s are 100 x 5^0.9 =
  // 425.7 and 100 x 5^0.1 = 117.5; u = 0.9 over the half-space's 200..400 is
  // 200 x 2^0.9 = 373.2. Sorted 117.5, 373.2, 425.7; the last is clamped to
  // the half-space's top of 400.
  double unit[] = {0.9, 0.1, 0.9, 0.5, 0.5};
  map.makeFeasible(unit);
  TrialModel m;
  map.model(unit, m);
  EXPECT_NEAR(m.vs[0], 100.0 * std::pow(5.0, 0.1), 1e-9);
  EXPECT_NEAR(m.vs[1], 200.0 * std::pow(2.0, 0.9), 1e-9);
  EXPECT_NEAR(m.vs[2], 400.0, 1e-9);
  // Layer 2 between its neighbours, 117.5 and 400 m/s: u from 0.1 to
  // log(4) / log(5) = 0.8614 of its range.
  const Range between = map.feasibleInterval(unit, 1);
  EXPECT_NEAR(between.low, 0.1, 1e-12);
  EXPECT_NEAR(between.high, std::log(4.0) / std::log(5.0), 1e-12);
  // A thickness is free.
  const Range free = map.feasibleInterval(unit, 3);
  EXPECT_EQ(free.low, 0.0);
  EXPECT_EQ(free.high, 1.0);
}

}  // namespace
