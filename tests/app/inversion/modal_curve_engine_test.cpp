// SPDX-License-Identifier: GPL-3.0-or-later
// The forward engine of curves whose points name their mode: each point
// given the zero of its own mode, checked against the independent
// determinant, and a model recovered by the local inversion from points of
// two modes.
#include "inversion/modal_curve_engine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "core/forward_model.h"
#include "inversion/window_inversion.h"
#include "layered_determinant.h"

namespace dispfit {

namespace {

// A call holding a model (m, m/s, g/cm3) and its frequencies (Hz).
ForwardCall callOf(const std::vector<float>& thickness, const std::vector<float>& vs,
                   const std::vector<float>& density, const std::vector<float>& hz) {
  ForwardCall call;
  call.layerCount = static_cast<int32_t>(vs.size());
  std::copy(thickness.begin(), thickness.end(), call.thickness);
  std::copy(vs.begin(), vs.end(), call.vs);
  std::copy(density.begin(), density.end(), call.density);
  call.freqCount = static_cast<int32_t>(hz.size());
  std::copy(hz.begin(), hz.end(), call.freq);
  return call;
}

// The zeros of the independent Rayleigh determinant of 5 m of 200 m/s over
// a 400 m/s half-space (Vp = 3 Vs, 1.9 g/cm3) at `hz`, m/s, lowest first.
std::vector<double> determinantZeros(double hz) {
  const dispfit_test::LayeredDeterminant determinant({{0.005, 0.2, 0.6, 1.9}, {0.0, 0.4, 1.2, 1.9}},
                                                     2.0 * std::numbers::pi * hz);
  // Steps of 5e-5 km/s: a tenth of the gap between the modes at 30 Hz.
  std::vector<double> zeros = determinant.zeros(0.1, 0.39999, 6000);
  for (double& zero : zeros) zero *= 1000.0;
  return zeros;
}

TEST(ModalCurveEngine, EachPointIsGivenTheZeroOfItsMode) {
  // At 30 Hz the model carries modes 0 and 1 (near 196.7 and 346.4 m/s); at
  // 3 Hz only mode 0, mode 1 starting above 11 Hz.
  const std::vector<double> at30 = determinantZeros(30.0);
  const std::vector<double> at3 = determinantZeros(3.0);
  ASSERT_EQ(at30.size(), 2u);
  ASSERT_EQ(at3.size(), 1u);

  struct Case {
    const char* name;
    std::vector<MeasuredPoint> points;  // frequency, velocity, band, line, mode
    std::vector<double> expected;       // m/s
  };
  const Case cases[] = {
      {"two modes of one frequency, in the points' order",
       {{30.0, 1.0, {}, 1, 0}, {30.0, 1.0, {}, 2, 1}, {3.0, 1.0, {}, 3, 0}},
       {at30[0], at30[1], at3[0]}},
      {"the same points the other way round",
       {{30.0, 1.0, {}, 1, 1}, {30.0, 1.0, {}, 2, 0}, {3.0, 1.0, {}, 3, 0}},
       {at30[1], at30[0], at3[0]}},
      // A point without a mode takes the fundamental; a mode the model does
      // not carry there takes the half-space S velocity, where it begins.
      {"no mode named, and a mode below its cut-off",
       {{30.0, 1.0, {}, 1, 1}, {3.0, 1.0, {}, 2, std::nullopt}, {3.0, 1.0, {}, 3, 1}},
       {at30[1], at3[0], 400.0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::optional<ModalCurveEngine> engine = modalEngineFor(c.points);
    ASSERT_TRUE(engine);
    std::vector<float> hz;
    for (const MeasuredPoint& point : c.points) hz.push_back(static_cast<float>(point.frequency));
    ForwardCall call = callOf({5.0f, 0.0f}, {200.0f, 400.0f}, {1.9f, 1.9f}, hz);
    ASSERT_TRUE(engine->run(call));
    for (std::size_t j = 0; j < c.expected.size(); ++j) {
      // 1e-3 m/s: the core's 1e-5 m/s and the bisection's, under the single
      // precision of the call's buffer (2e-5 m/s at 350 m/s).
      EXPECT_NEAR(call.phaseVelocity[j], c.expected[j], 1e-3) << "point " << j;
    }
  }
  // A curve that names no mode is FORWARD's, not this engine's.
  const std::vector<MeasuredPoint> plain{{30.0, 1.0, {}, 1}, {3.0, 1.0, {}, 2}};
  EXPECT_FALSE(modalEngineFor(plain));
}

// The window's arrays of a model and the points' frequencies and velocities.
struct Arrays {
  int32_t layerCount = 3;
  float vs[20] = {};
  float thickness[20] = {};
  float density[20] = {};
  float freq[100] = {};
  float vr[100] = {};
  int32_t freqCount = 0;
  InversionWindowData data() { return {layerCount, vs, thickness, density, freqCount, freq, vr}; }
};

TEST(ModalCurveEngine, LocalInversionFitsEachPointAgainstItsMode) {
  // 2.5 m of 180 m/s over 4.5 m of 300 m/s over 500 m/s: the fundamental
  // at 10 frequencies from 60 to 8 Hz and mode 1 at 6 from 60 to 17 Hz,
  // where it exists (dispfit-curve --modes 2 gives it down to 15 Hz).
  const std::vector<float> hz0{60, 50, 40, 30, 25, 20, 15, 12, 10, 8};
  const std::vector<float> hz1{60, 50, 40, 30, 25, 17};
  std::vector<MeasuredPoint> points;
  for (const float f : hz0) points.push_back({f, 1.0, {}, 0, 0});
  for (const float f : hz1) points.push_back({f, 1.0, {}, 0, 1});
  std::optional<ModalCurveEngine> engine = modalEngineFor(points);
  ASSERT_TRUE(engine);
  const std::vector<float> truthH{2.5f, 4.5f, 1.0f};
  const std::vector<float> truthVs{180.0f, 300.0f, 500.0f};
  const std::vector<float> density{1.9f, 1.9f, 2.0f};
  std::vector<float> hz = hz0;
  hz.insert(hz.end(), hz1.begin(), hz1.end());
  ForwardCall truth = callOf(truthH, truthVs, density, hz);
  ASSERT_TRUE(engine->run(truth));
  // Mode 1 at 60 Hz lies well above the fundamental there (274 against 174
  // m/s): a point fitted by the wrong mode would be far off.
  ASSERT_GT(truth.phaseVelocity[hz0.size()], 1.5f * truth.phaseVelocity[0]);

  // The start 20 % off in thickness and about 15 % in velocity.
  Arrays fitted;
  const float startH[] = {2.0f, 3.6f, 1.0f};
  const float startVs[] = {210.0f, 260.0f, 560.0f};
  std::copy(std::begin(startH), std::end(startH), fitted.thickness);
  std::copy(std::begin(startVs), std::end(startVs), fitted.vs);
  std::copy(density.begin(), density.end(), fitted.density);
  fitted.freqCount = static_cast<int32_t>(hz.size());
  std::copy(hz.begin(), hz.end(), fitted.freq);
  std::copy(truth.phaseVelocity, truth.phaseVelocity + hz.size(), fitted.vr);
  const WindowInversionOutcome outcome = invertWindowCurve(fitted.data(), *engine, {});
  ASSERT_TRUE(outcome.succeeded) << outcome.text;
  for (int j = 0; j < 3; ++j) {
    SCOPED_TRACE(j);
    // As the fundamental's recovery from its own curve (inversion_engine_test).
    EXPECT_NEAR(fitted.vs[j] / truthVs[static_cast<std::size_t>(j)], 1.0, 0.002);
    if (j < 2) {
      EXPECT_NEAR(fitted.thickness[j] / truthH[static_cast<std::size_t>(j)], 1.0, 0.01);
    }
  }
}

}  // namespace

}  // namespace dispfit
