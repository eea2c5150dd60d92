// SPDX-License-Identifier: GPL-3.0-or-later
#include "inversion/dispersion_evaluation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "files/free_format_reader.h"
#include "inversion/model_limits.h"
#include "inversion_fixtures.h"
#include "stream_sink.h"
#include "swcore.h"

namespace swcore {
namespace {

using dispfit_test::dataSetState;
using dispfit_test::Model;
using dispfit_test::referencePhaseVelocity;
using dispfit_test::twoLayersOverHalfSpace;

// Two layers over a half-space at four frequencies from high to low.
const std::vector<double> kExampleHertz{150, 20, 10, 5};

std::vector<double> curveOf(const EngineState& state) {
  return {state.velocity, state.velocity + state.M};
}

TEST(DispersionEvaluation, ConstantsAreTheSinglePrecisionValues) {
  EXPECT_EQ(kPeriodOffset, static_cast<double>(1e-4f));
  EXPECT_EQ(kTwicePeriodOffset, static_cast<double>(2e-4f));
}

TEST(DispersionEvaluation, ForwardModeComputesThePhaseCurveAndLeavesTheArgumentAlone) {
  const Model model = twoLayersOverHalfSpace();
  auto state = dataSetState(model, kExampleHertz);
  state->NF = 2;
  std::vector<double> untouched{-1.0, -2.0};
  std::ostringstream printed;
  RecordWriter console(streamSink(printed));
  ASSERT_TRUE(DISRAY(*state, untouched, console));
  EXPECT_EQ(untouched, (std::vector<double>{-1.0, -2.0}));

  // Independent roots of the boundary-condition determinant, searched upward
  // from 0.8 x the top S velocity.
  for (std::size_t j = 0; j < kExampleHertz.size(); ++j) {
    const double expected = referencePhaseVelocity(model, kExampleHertz[j], 0.12);
    EXPECT_NEAR(state->velocity[j], expected, 2e-5) << kExampleHertz[j] << " Hz";
    EXPECT_EQ(state->phaseCopy[j], state->velocity[j]);
  }
  // The P velocities and densities are refreshed from the S velocities and RHOIN.
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(state->pVelocity[i], 3.0 * model.vs[static_cast<std::size_t>(i)]);
    EXPECT_EQ(state->density[i], model.density[static_cast<std::size_t>(i)]);
  }

  // Two records: the layer table (h, vs, vp, rho per layer) and (T, c) per datum.
  std::istringstream in(printed.str());
  FreeFormatReader reader(in, "console");
  std::vector<double> table;
  ASSERT_TRUE(reader.readReals(12, table)) << reader.error();
  std::vector<double> expectedTable;
  for (std::size_t i = 0; i < 3; ++i) {
    expectedTable.insert(expectedTable.end(),
                         {model.thickness[i], model.vs[i], 3.0 * model.vs[i], model.density[i]});
  }
  EXPECT_EQ(table, expectedTable);
  std::vector<double> curve;
  ASSERT_TRUE(reader.readReals(8, curve)) << reader.error();
  for (std::size_t j = 0; j < 4; ++j) {
    EXPECT_DOUBLE_EQ(curve[2 * j], 1.0 / kExampleHertz[j]);
    EXPECT_EQ(curve[2 * j + 1], state->velocity[j]);
  }
  std::vector<double> more;
  EXPECT_FALSE(reader.readReals(1, more)) << "nothing else is printed";
}

TEST(DispersionEvaluation, RepeatedCallsGiveTheSameCurveAndKeepTheFrequencies) {
  auto state = dataSetState(twoLayersOverHalfSpace(), kExampleHertz);
  std::ostringstream printed;
  RecordWriter console(streamSink(printed));
  ASSERT_TRUE(DISRAY(*state, {}, console));
  const std::vector<double> first = curveOf(*state);
  ASSERT_TRUE(DISRAY(*state, {}, console));
  EXPECT_EQ(curveOf(*state), first);
  for (std::size_t j = 0; j < kExampleHertz.size(); ++j) {
    EXPECT_EQ(state->FREQ[j], kExampleHertz[j]);
  }
}

TEST(DispersionEvaluation, StepFollowsTheStartAndTheNextSearchStartsTenStepsBelow) {
  {  // Start 0.12 km/s lies 0.05 km/s or more below the half-space's 0.4: coarse step.
    auto state = dataSetState(twoLayersOverHalfSpace(), {150});
    std::ostringstream printed;
    RecordWriter console(streamSink(printed));
    ASSERT_TRUE(DISRAY(*state, {}, console));
    EXPECT_DOUBLE_EQ(state->startVelocity, state->velocity[0] - 10 * 0.005);
  }
  {  // A half-space alone: start 0.12 within 0.05 of 0.15, fine step.
    auto state = dataSetState(Model{{0.0}, {0.15}, {1.8}}, {30});
    std::ostringstream printed;
    RecordWriter console(streamSink(printed));
    ASSERT_TRUE(DISRAY(*state, {}, console));
    EXPECT_NEAR(state->velocity[0], 0.15 * dispfit_test::halfSpaceRayleighRatio(), 1e-6);
    EXPECT_DOUBLE_EQ(state->startVelocity, state->velocity[0] - 10 * 0.001);
  }
}

// 4 m of 400 m/s over 12 m of 180 m/s over a 700 m/s half-space. Its
// fundamental mode peaks near 14 Hz (232.8 m/s) and falls to 221.1 m/s at
// 8 Hz before it rises toward the half-space.
Model stiffCrust() {
  return {{0.004, 0.012, 0.0}, {0.4, 0.18, 0.7}, {1.9, 1.8, 2.0}};
}

// The lowest zero of the independent determinant, searched upward from
// 0.1 km/s, far below any layer's Rayleigh velocity.
double lowestZero(const Model& model, double hertz) {
  return referencePhaseVelocity(model, hertz, 0.1);
}

TEST(DispersionEvaluation, CurveFallingBetweenTwoDataIsFollowedDown) {
  // From 14 Hz to 8 Hz the stiff crust's curve falls by more than two coarse
  // steps: a search from just below the 14 Hz root would bracket a higher
  // mode (570 m/s). The restart ten steps below, and the check for a zero
  // below the start, reach the fundamental.
  const Model model = stiffCrust();
  auto state = dataSetState(model, {14, 8});
  std::ostringstream printed;
  RecordWriter console(streamSink(printed));
  ASSERT_TRUE(DISRAY(*state, {}, console));
  const double c14 = lowestZero(model, 14);
  const double c8 = lowestZero(model, 8);
  ASSERT_GT(c14 - c8, 2 * 0.005) << "the case must need more than two steps";
  ASSERT_LT(c14 - c8, 10 * 0.005);
  EXPECT_NEAR(state->velocity[0], c14, 2e-5);
  EXPECT_NEAR(state->velocity[1], c8, 2e-5);
}

// Data as they are usually picked, from low to high frequency: they are
// searched from the highest down whatever their order, and every datum gets
// the fundamental mode, below the half-space's S velocity; the top layer is
// not the slowest, so the search starts below the soft layer.
TEST(DispersionEvaluation, AnyOrderOfTheDataGivesTheFundamentalModeOfTheDescendingOrder) {
  const Model model = stiffCrust();
  const std::vector<double> ascending{5, 8, 10, 15, 20, 30, 40, 50};
  const std::vector<double> descending(ascending.rbegin(), ascending.rend());
  const std::vector<double> shuffled{15, 50, 5, 30, 8, 40, 10, 20};
  std::ostringstream printed;
  RecordWriter console(streamSink(printed));
  auto down = dataSetState(model, descending);
  ASSERT_TRUE(DISRAY(*down, {}, console));
  for (const std::vector<double>& hertz : {ascending, shuffled}) {
    auto state = dataSetState(model, hertz);
    ASSERT_TRUE(DISRAY(*state, {}, console));
    for (std::size_t j = 0; j < hertz.size(); ++j) {
      SCOPED_TRACE(std::to_string(hertz[j]) + " Hz");
      const auto k = static_cast<std::size_t>(
          std::find(descending.begin(), descending.end(), hertz[j]) - descending.begin());
      EXPECT_EQ(state->velocity[j], down->velocity[k]);
      EXPECT_NEAR(state->velocity[j], lowestZero(model, hertz[j]), 2e-5);
      EXPECT_LT(state->velocity[j], 0.7);
    }
  }
}

TEST(DispersionEvaluation, DatumWithFrequencyNotPositiveAndFiniteKeepsItsSlotAndDisturbsNoOther) {
  const Model model = stiffCrust();
  std::ostringstream printed;
  RecordWriter console(streamSink(printed));
  auto clean = dataSetState(model, {5, 10, 20});
  ASSERT_TRUE(DISRAY(*clean, {}, console));
  auto mixed = dataSetState(model, {5, 0, 10, -20, 20, std::nan("")});
  for (int j = 0; j < 6; ++j) {
    mixed->velocity[j] = 0.777;
  }
  ASSERT_TRUE(DISRAY(*mixed, {}, console));
  EXPECT_EQ(mixed->velocity[0], clean->velocity[0]);
  EXPECT_EQ(mixed->velocity[2], clean->velocity[1]);
  EXPECT_EQ(mixed->velocity[4], clean->velocity[2]);
  for (const int j : {1, 3, 5}) {
    EXPECT_EQ(mixed->velocity[j], 0.777) << "datum " << j;
  }
}

TEST(DispersionEvaluation, DatumWithoutRootKeepsItsPreviousValue) {
  // S velocity 12 km/s: the Rayleigh root lies above the 10 km/s ceiling.
  auto state = dataSetState(Model{{0.0}, {12.0}, {2.0}}, {5, 4});
  state->velocity[0] = 0.777;
  state->velocity[1] = 0.888;
  std::ostringstream printed;
  RecordWriter console(streamSink(printed));
  ASSERT_TRUE(DISRAY(*state, {}, console));
  EXPECT_EQ(state->velocity[0], 0.777);
  EXPECT_EQ(state->velocity[1], 0.888);
  EXPECT_EQ(state->phaseCopy[1], 0.888);
  EXPECT_DOUBLE_EQ(state->startVelocity, 0.888 - 10 * 0.005);
}

// Group velocity against U = c / (1 - (f/c) dc/df) with dc/df taken by a
// central difference of independent phase velocities.
TEST(DispersionEvaluation, GroupVelocityMatchesTheDerivativeOfThePhaseCurve) {
  const Model model = twoLayersOverHalfSpace();
  const std::vector<double> hertz{60, 30, 20, 15, 10, 7, 5};
  auto state = dataSetState(model, hertz);
  state->KPG = 1;
  std::ostringstream printed;
  RecordWriter console(streamSink(printed));
  ASSERT_TRUE(DISRAY(*state, {}, console));
  for (std::size_t j = 0; j < hertz.size(); ++j) {
    const double f = hertz[j];
    const double df = 0.01 * f;
    const double c = referencePhaseVelocity(model, f, 0.12);
    const double dcdf = (referencePhaseVelocity(model, f + df, 0.12) -
                         referencePhaseVelocity(model, f - df, 0.12)) /
                        (2.0 * df);
    const double group = c / (1.0 - (f / c) * dcdf);
    SCOPED_TRACE(std::to_string(f) + " Hz");
    EXPECT_NEAR(state->phaseCopy[j], c, 2e-5) << "the phase copy is kept";
    EXPECT_EQ(state->groupCopy[j], state->velocity[j]);
    EXPECT_NEAR(state->velocity[j], group, 2e-3 * group);
    EXPECT_LT(state->velocity[j], c) << "normal dispersion: U < c";
  }
  // The next search started ten steps below the group velocity; the last
  // datum shows it.
  const double lastStep = 0.005;
  EXPECT_DOUBLE_EQ(state->startVelocity, state->velocity[hertz.size() - 1] - 10 * lastStep);
  // The printed curve is the phase copy.
  std::istringstream in(printed.str());
  FreeFormatReader reader(in, "console");
  std::vector<double> values;
  ASSERT_TRUE(reader.readReals(12, values));
  ASSERT_TRUE(reader.readReals(2 * hertz.size(), values));
  EXPECT_EQ(values[1], state->phaseCopy[0]);
}

TEST(DispersionEvaluation, InversionModeAdjustsTheParametersAndPrintsTheModel) {
  const Model model = twoLayersOverHalfSpace();
  auto state = dataSetState(model, {20});
  state->KK = 1;
  state->PRTSW = 2;
  state->HL = 1e-4;
  state->HU = 0.012;  // depth 0.015 km is above: the 10 m layer is thinned
  state->BL = 0.01;
  state->BU = 5.0;
  state->IFIX[5] = 1;  // the half-space thickness is fixed
  state->NF = 5;
  std::vector<double> x{0.15, 0.005, 0.25, 0.010, 0.4};
  std::ostringstream printed;
  RecordWriter console(streamSink(printed));
  ASSERT_TRUE(DISRAY(*state, x, console));
  // 15 passes of 0.2 m bring the depth from 15 m to 12 m, then one more below 12 m.
  EXPECT_LT(x[3], 0.010 - 15.5 * kThicknessNudge);
  EXPECT_GT(x[3], 0.010 - 16.5 * kThicknessNudge);
  EXPECT_EQ(state->thickness[1], x[3]);

  std::istringstream in(printed.str());
  FreeFormatReader reader(in, "console");
  std::vector<double> par;
  ASSERT_TRUE(reader.readReals(6, par));
  EXPECT_EQ(par, (std::vector<double>{0.15, 0.005, 0.25, 0.010, 0.4, 0.0})) << "PAR as unpacked";
  std::vector<double> depth;
  std::vector<double> thick;
  std::vector<double> vs;
  std::vector<double> vp;
  std::vector<double> rho;
  ASSERT_TRUE(reader.readReals(1, depth));
  ASSERT_TRUE(reader.readReals(3, thick));
  ASSERT_TRUE(reader.readReals(3, vs));
  ASSERT_TRUE(reader.readReals(3, vp));
  ASSERT_TRUE(reader.readReals(3, rho));
  EXPECT_NEAR(depth[0], 1000.0 * (0.005 + x[3]), 1e-9);
  EXPECT_NEAR(thick[1], 1000.0 * x[3], 1e-9);
  EXPECT_NEAR(vs[2], 400.0, 1e-9);
  EXPECT_NEAR(vp[2], 1200.0, 1e-9);
  EXPECT_EQ(rho, model.density);
  std::vector<double> more;
  EXPECT_FALSE(reader.readReals(1, more)) << "no forward-mode records in inversion mode";

  // Without PRTSW only the PAR record is printed.
  printed.str("");
  state->PRTSW = 0;
  ASSERT_TRUE(DISRAY(*state, x, console));
  const std::string text = printed.str();
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 1);
}

}  // namespace
}  // namespace swcore

namespace swcore {
namespace {

// The exported entry works on the library's one state and prints to the
// standard output.
TEST(DispersionEvaluationExport, WorksOnTheSharedStateAndPrintsToStandardOutput) {
  const Model model{{0.0}, {0.25}, {2.0}};
  const auto prepared = dataSetState(model, {25, 12});
  engineState = *prepared;
  engineState.NF = 1;
  double x = -3.0;
  testing::internal::CaptureStdout();
  ::DISRAY(&x);
  const std::string printed = testing::internal::GetCapturedStdout();
  EXPECT_EQ(x, -3.0);
  EXPECT_NEAR(engineState.velocity[0], 0.25 * dispfit_test::halfSpaceRayleighRatio(), 1e-6);
  EXPECT_NEAR(engineState.velocity[1], engineState.velocity[0], 1e-6);
  EXPECT_EQ(printed.substr(0, 14), "0 0.25 0.75 2\n") << printed;
  EXPECT_EQ(std::count(printed.begin(), printed.end(), '\n'), 2);
  engineState = EngineState{};
}

}  // namespace
}  // namespace swcore
