// SPDX-License-Identifier: GPL-3.0-or-later
// The inversion on the real engine library: sensitivities that obey the
// scaling law of elastic waves, recovery of known three-layer models from
// their own curves, and a solve that stops at the first failed engine run
// of the stand-in libraries.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <iostream>
#include <vector>

#include "core/engine_binding.h"
#include "core/forward_model.h"
#include "counting_engine.h"
#include "inversion/window_inversion.h"
#include "recording_presenter.h"

namespace dispfit {

namespace {

constexpr int kFreqCount = 30;

struct Layer {
  float thickness;
  float vs;
  float density;
};

// The window's arrays holding a model and its fixed frequency list.
struct Window {
  explicit Window(const std::vector<Layer>& layers) {
    layerCount = static_cast<int32_t>(layers.size());
    for (size_t j = 0; j < layers.size(); ++j) {
      thickness[j] = layers[j].thickness;
      vs[j] = layers[j].vs;
      density[j] = layers[j].density;
    }
    for (int i = 0; i < kFreqCount; ++i) freq[i] = 150.0f - 5.0f * static_cast<float>(i);
  }
  InversionWindowData data() { return {layerCount, vs, thickness, density, kFreqCount, freq, vr}; }

  int32_t layerCount = 0;
  float vs[20] = {};
  float thickness[20] = {};
  float density[20] = {};
  float freq[100] = {};
  float vr[100] = {};
};

// The curve of a model, computed by the engine the way the forward run does.
std::vector<float> engineCurve(ForwardEngine& engine, const std::vector<Layer>& layers) {
  Window window(layers);
  ForwardModel model(engine, kFreqCount, window.freq, window.layerCount, window.vs,
                     window.thickness, window.density, false);
  EXPECT_TRUE(model.runForward());
  return {model.vrCalc, model.vrCalc + kFreqCount};
}

class RealEngine : public ::testing::Test {
 protected:
  RecordingPresenter messages_;
  EngineBinding binding_{messages_};
  CountingEngine engine_{binding_};
};

TEST_F(RealEngine, SensitivitiesObeyTheScalingLawAndRestoreTheModel) {
  // At a fixed frequency the phase velocity depends on the model only
  // through vs_j and f h_j / vs_j, so scaling every velocity and every
  // thickness by the same factor scales c by it: c is homogeneous of degree
  // one in (vs, h), and Euler's theorem gives
  // sum_j vs_j dc/dvs_j + sum_j h_j dc/dh_j = c at every frequency.
  const std::vector<Layer> layers = {{2.0f, 150.0f, 1.8f}, {4.0f, 300.0f, 1.9f}, {0, 500.0f, 2.0f}};
  Window window(layers);
  ForwardModel model(engine_, kFreqCount, window.freq, 3, window.vs, window.thickness,
                     window.density, false);
  const std::vector<float> weights(kFreqCount, 1.0f);
  ASSERT_TRUE(model.runForward());
  const ForwardModel before = model;
  engine_.runs = 0;
  ASSERT_TRUE(model.computeSensitivity(weights.data()));
  EXPECT_EQ(engine_.runs, 4 * 3 - 1);
  EXPECT_TRUE(messages_.messages.empty());

  EXPECT_EQ(std::memcmp(model.vs, before.vs, sizeof model.vs), 0);
  EXPECT_EQ(std::memcmp(model.thickness, before.thickness, sizeof model.thickness), 0);
  EXPECT_EQ(std::memcmp(model.vrCalc, before.vrCalc, sizeof model.vrCalc), 0);

  for (int i = 0; i < kFreqCount; ++i) {
    double euler = 0.0;
    for (int j = 0; j < 3; ++j) {
      EXPECT_GE(model.sensitivity[i][j], -1e-3f) << "faster layers never slow the wave";
      euler += static_cast<double>(model.vs[j]) * model.sensitivity[i][j];
      euler += static_cast<double>(model.thickness[j]) * model.sensitivity[i][3 + j];
    }
    EXPECT_NEAR(euler, model.vrCalc[i], 2e-3 * model.vrCalc[i]) << "frequency " << model.freq[i];
    // A thicker slow top layer slows the wave; the half-space's column is 0.
    EXPECT_LE(model.sensitivity[i][3], 1e-3f);
    EXPECT_EQ(model.sensitivity[i][5], 0.0f);
  }
  // High frequencies see the top layer, low ones the half-space.
  EXPECT_GT(model.sensitivity[0][0], 0.8f);
  EXPECT_GT(model.sensitivity[kFreqCount - 1][2], model.sensitivity[kFreqCount - 1][0]);
}

struct RecoveryCase {
  std::vector<Layer> truth;
  std::vector<Layer> start;
};

TEST_F(RealEngine, ThreeLayerModelsAreRecoveredFromTheirOwnCurves) {
  const RecoveryCase cases[] = {
      {{{2.0f, 150.0f, 1.8f}, {4.0f, 300.0f, 1.9f}, {1.0f, 500.0f, 2.0f}},
       {{2.5f, 180.0f, 1.8f}, {3.0f, 260.0f, 1.9f}, {1.0f, 450.0f, 2.0f}}},
      {{{1.5f, 120.0f, 1.7f}, {3.0f, 250.0f, 1.9f}, {1.0f, 400.0f, 2.1f}},
       {{1.0f, 150.0f, 1.7f}, {2.5f, 200.0f, 1.9f}, {1.0f, 350.0f, 2.1f}}},
      {{{3.0f, 200.0f, 1.9f}, {2.0f, 350.0f, 2.0f}, {1.0f, 600.0f, 2.2f}},
       {{2.2f, 240.0f, 1.9f}, {2.8f, 300.0f, 2.0f}, {1.0f, 650.0f, 2.2f}}},
  };
  for (const RecoveryCase& c : cases) {
    const std::vector<float> observed = engineCurve(engine_, c.truth);
    Window window(c.start);
    std::copy(observed.begin(), observed.end(), window.vr);

    ForwardModel start(engine_, kFreqCount, window.freq, 3, window.vs, window.thickness,
                       window.density, false);
    ASSERT_TRUE(start.runForward());
    std::copy(observed.begin(), observed.end(), start.vrObs);
    const std::vector<float> weights(kFreqCount, 1.0f);
    const float startMisfit = start.misfit(weights.data());

    engine_.runs = 0;
    const WindowInversionOutcome outcome = invertWindowCurve(window.data(), engine_, {});
    ASSERT_TRUE(outcome.succeeded) << outcome.text;
    EXPECT_NE(outcome.text.find("迭代次数："), std::string::npos);
    EXPECT_TRUE(messages_.messages.empty());

    // The fitted model's own curve, computed afresh.
    std::vector<Layer> fitted;
    for (int j = 0; j < 3; ++j) fitted.push_back({window.thickness[j], window.vs[j], 0.0f});
    for (int j = 0; j < 3; ++j) fitted[j].density = c.truth[j].density;
    ForwardModel check(engine_, kFreqCount, window.freq, 3, window.vs, window.thickness,
                       window.density, false);
    ASSERT_TRUE(check.runForward());
    std::copy(observed.begin(), observed.end(), check.vrObs);
    const float finalMisfit = check.misfit(weights.data());
    EXPECT_LT(finalMisfit, 1e-3f * startMisfit);

    double worstVelocity = 0.0;
    double worstThickness = 0.0;
    for (int j = 0; j < 3; ++j) {
      worstVelocity = std::max(worstVelocity, std::fabs(window.vs[j] / c.truth[j].vs - 1.0));
      if (j < 2) {
        worstThickness =
            std::max(worstThickness, std::fabs(window.thickness[j] / c.truth[j].thickness - 1.0));
      }
    }
    EXPECT_LT(worstVelocity, 0.002);
    EXPECT_LT(worstThickness, 0.01);
    std::cout << "recovery: start misfit " << startMisfit << ", final misfit " << finalMisfit
              << ", worst velocity error " << 100.0 * worstVelocity << " %, worst thickness error "
              << 100.0 * worstThickness << " %, engine runs " << engine_.runs << "\n"
              << outcome.text;
  }
}

struct FailingLibrary {
  const char* file;
  const char* box;
};

class FailingEngine : public ::testing::TestWithParam<FailingLibrary> {};

TEST_P(FailingEngine, FirstFailedRunEndsTheSolveWithOneBoxAndOneDialog) {
  RecordingPresenter messages;
  EngineBinding binding(messages, GetParam().file);
  Window window({{2.0f, 180.0f, 1.8f}, {1.0f, 400.0f, 2.0f}});
  for (int i = 0; i < kFreqCount; ++i) window.vr[i] = 200.0f;
  const Window before = window;

  const WindowInversionOutcome outcome = invertWindowCurve(window.data(), binding, {});
  presentInversionOutcome(outcome, messages);

  ASSERT_EQ(messages.messages.size(), 2u);
  EXPECT_EQ(messages.messages[0].kind, RecordedMessage::Kind::Box);
  EXPECT_EQ(messages.messages[0].text, GetParam().box);
  EXPECT_EQ(messages.messages[0].icon, MessageIcon::Information);
  EXPECT_EQ(messages.messages[1].kind, RecordedMessage::Kind::Plain);
  EXPECT_EQ(messages.messages[1].text, "正演计算失败，反演已中止.");
  EXPECT_FALSE(outcome.succeeded);
  EXPECT_EQ(window.layerCount, 2);
  EXPECT_EQ(std::memcmp(window.vs, before.vs, sizeof window.vs), 0);
  EXPECT_EQ(std::memcmp(window.thickness, before.thickness, sizeof window.thickness), 0);
}

INSTANTIATE_TEST_SUITE_P(
    StandInLibraries, FailingEngine,
    ::testing::Values(FailingLibrary{"libno_such_engine.so", EngineBinding::kLoadFailed},
                      FailingLibrary{"libfake_engine_no_forward.so", EngineBinding::kNoForward},
                      FailingLibrary{"libfake_engine_segv.so", EngineBinding::kCallFailed},
                      FailingLibrary{"libfake_engine_throw.so", EngineBinding::kCallFailed},
                      FailingLibrary{"libfake_engine_nan.so", EngineBinding::kCallFailed}));

}  // namespace

}  // namespace dispfit
