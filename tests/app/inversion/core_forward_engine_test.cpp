// SPDX-License-Identifier: GPL-3.0-or-later
// The inversion's forward runs through the curve core: with Vp = 3 Vs they
// give the library's FORWARD curve, a P-velocity rule changes the curve as
// the physics has it, and the inversion through them recovers a model whose
// Vp the rule gives.
#include "inversion/core_forward_engine.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "core/engine_binding.h"
#include "inversion/window_inversion.h"
#include "recording_presenter.h"

namespace dispfit {
namespace {

// 3 m of 150 m/s and 5 m of 260 m/s over 420 m/s: a normally dispersive
// site, whose fundamental mode FORWARD follows without a jump.
ForwardCall threeLayers() {
  ForwardCall call;
  call.layerCount = 3;
  const float thickness[] = {3.0f, 5.0f, 0.0f};
  const float vs[] = {150.0f, 260.0f, 420.0f};
  for (int i = 0; i < 3; ++i) {
    call.thickness[i] = thickness[i];
    call.vs[i] = vs[i];
    call.density[i] = 1.9f;
  }
  call.freqCount = 12;
  for (int i = 0; i < call.freqCount; ++i) call.freq[i] = 60.0f - 5.0f * static_cast<float>(i);
  return call;
}

// FORWARD searches in 5 m/s steps and refines in single precision; the core
// in double precision to its own tolerance: 0.05 m/s covers both, far below
// any picked velocity's spread.
constexpr float kAgreement = 0.05f;

TEST(CoreForwardEngine, WithVpThreeVsItGivesTheLibrarysCurve) {
  RecordingPresenter messages;
  EngineBinding library(messages);
  CoreForwardEngine core(VpRule{}, messages);
  ForwardCall byLibrary = threeLayers();
  ForwardCall byCore = threeLayers();
  ASSERT_TRUE(library.run(byLibrary));
  ASSERT_TRUE(core.run(byCore));
  for (int i = 0; i < byCore.freqCount; ++i) {
    SCOPED_TRACE(byCore.freq[i]);
    EXPECT_NEAR(byCore.phaseVelocity[i], byLibrary.phaseVelocity[i], kAgreement);
  }
  EXPECT_TRUE(messages.messages.empty());
}

// A lower Vp (Poisson's ratio 0.25, Vp = sqrt(3) Vs, against 3 Vs) lowers
// the Rayleigh velocity of a half-space from 0.94731 Vs to 0.91940 Vs: the
// roots x = (c / Vs)^2 of (2 - x)^2 = 4 sqrt(1 - x) sqrt(1 - x Vs^2 / Vp^2),
// found by bisection by hand.
TEST(CoreForwardEngine, APoissonsRatioGivesTheRayleighVelocityOfItsVp) {
  RecordingPresenter messages;
  ForwardCall call;
  call.layerCount = 1;
  call.vs[0] = 300.0f;
  call.density[0] = 2.0f;
  call.freqCount = 1;
  call.freq[0] = 20.0f;
  CoreForwardEngine threeVs(VpRule{}, messages);
  ASSERT_TRUE(threeVs.run(call));
  EXPECT_NEAR(call.phaseVelocity[0], 0.94731 * 300.0, 0.05);
  CoreForwardEngine poisson(VpRule{std::nullopt, 0.25, std::nullopt}, messages);
  ASSERT_TRUE(poisson.run(call));
  EXPECT_NEAR(call.phaseVelocity[0], 0.91940 * 300.0, 0.05);
}

TEST(CoreForwardEngine, TheWaterTableRaisesVpOfTheLayersBelowIt) {
  RecordingPresenter messages;
  const CoreForwardEngine engine(VpRule{std::nullopt, 0.3, 3.0}, messages);
  // Tops 0, 3 and 8 m: the first lies above the water table, the others at
  // or below it. Vp = 1.8708 Vs at nu = 0.3.
  const std::vector<double> vp = engine.pVelocities({3, 5, 0}, {150, 260, 900});
  ASSERT_EQ(vp.size(), 3u);
  EXPECT_NEAR(vp[0], 150 * std::sqrt(1.4 / 0.4), 1e-9);
  EXPECT_EQ(vp[1], 1500.0);
  EXPECT_NEAR(vp[2], 900 * std::sqrt(1.4 / 0.4), 1e-9);  // above water's already
}

// A curve of Vp = 2 Vs (Poisson's ratio 1/3) is fitted back to its model
// when the inversion computes with that ratio.
TEST(CoreForwardEngine, TheInversionRecoversAModelOfItsOwnRule) {
  RecordingPresenter messages;
  const VpRule rule{std::nullopt, 1.0 / 3.0, std::nullopt};
  CoreForwardEngine engine(rule, messages);
  ForwardCall truth = threeLayers();
  truth.freqCount = 30;
  for (int i = 0; i < truth.freqCount; ++i) truth.freq[i] = 80.0f - 2.5f * static_cast<float>(i);
  ASSERT_TRUE(engine.run(truth));

  int32_t layers = 3;
  float vs[20] = {170.0f, 240.0f, 450.0f};
  float thickness[20] = {2.5f, 4.0f, 1.0f};
  const float density[20] = {1.9f, 1.9f, 1.9f};
  const InversionWindowData window{layers,          vs,         thickness,          density,
                                   truth.freqCount, truth.freq, truth.phaseVelocity};
  InversionLimits limits;
  limits.thicknessUpper = 10.0f;
  limits.maxIterations = 60;
  const WindowInversionOutcome outcome = invertWindowCurve(window, engine, {}, limits);
  ASSERT_TRUE(outcome.succeeded) << outcome.text;
  // 2 m/s and 0.2 m: the fit's misfit tolerance of 0.001 m/s leaves the
  // parameters this close on a 30-point curve of a smooth site.
  EXPECT_NEAR(vs[0], 150.0f, 2.0f);
  EXPECT_NEAR(vs[1], 260.0f, 2.0f);
  EXPECT_NEAR(vs[2], 420.0f, 2.0f);
  EXPECT_NEAR(thickness[0], 3.0f, 0.2f);
  EXPECT_NEAR(thickness[1], 5.0f, 0.2f);
}

}  // namespace
}  // namespace dispfit
