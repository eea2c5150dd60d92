// SPDX-License-Identifier: GPL-3.0-or-later
// The invert command's logic on the window's arrays: what goes in, what
// comes back on success and failure, and how the outcome is shown.
#include "inversion/window_inversion.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <utility>
#include <vector>

#include "core/engine_binding.h"
#include "curve_function_engine.h"
#include "recording_presenter.h"

namespace dispfit {

namespace {

// The window's data after start-up: one layer 2 m, 150 m/s, 1.8 g/cm3 and
// a flat curve of 136.5 m/s at 150, 145, ..., 5 Hz.
struct Window {
  Window() {
    vs[0] = 150.0f;
    thickness[0] = 2.0f;
    density[0] = 1.8f;
    for (int i = 0; i < 30; ++i) {
      freq[i] = 150.0f - 5.0f * static_cast<float>(i);
      vr[i] = 136.5f;
    }
  }
  InversionWindowData data() { return {layerCount, vs, thickness, density, 30, freq, vr}; }

  int32_t layerCount = 1;
  float vs[20] = {};
  float thickness[20] = {};
  float density[20] = {};
  float freq[100] = {};
  float vr[100] = {};
};

void flatCurve(ForwardCall& call) {
  for (int i = 0; i < call.freqCount; ++i) call.phaseVelocity[i] = 0.91f * call.vs[0];
}

// A two-layer stand-in: high frequencies see the top layer, low ones the
// half-space, with a penetration depth that grows as the frequency falls.
void twoLayerCurve(ForwardCall& call) {
  for (int i = 0; i < call.freqCount; ++i) {
    const double w = 1.0 - std::exp(-call.freq[i] * call.thickness[0] / 100.0);
    call.phaseVelocity[i] =
        static_cast<float>(0.92 * (w * call.vs[0] + (1.0 - w) * call.vs[1 % call.layerCount]));
  }
}

TEST(WindowInversion, PressRightAfterAForwardRunReportsAPerfectFit) {
  Window window;
  CurveFunctionEngine engine(flatCurve);  // 0.91 x 150 = 136.5, the window's curve
  int pumps = 0;
  const WindowInversionOutcome outcome =
      invertWindowCurve(window.data(), engine, [&pumps] { ++pumps; });
  ASSERT_TRUE(outcome.succeeded);
  EXPECT_EQ(outcome.text,
            "\t反演结果\n\n拟合情况：\n迭代次数：1\n拟 合 差：0.00E+00\n\n模型参数：\n"
            "#      H       Vs\n1   2.0   150.0\n");
  EXPECT_EQ(pumps, 0);
  EXPECT_EQ(window.layerCount, 1);
  EXPECT_EQ(window.vs[0], 150.0f);
  EXPECT_EQ(window.thickness[0], 2.0f);
}

TEST(WindowInversion, ClampedStartIsWrittenBackIntoTheWindow) {
  Window window;
  window.vs[0] = 1500.0f;
  window.thickness[0] = 0.0f;
  // The window's curve is what the clamped model gives.
  for (int i = 0; i < 30; ++i) window.vr[i] = static_cast<float>(0.91f * 525.0f);
  CurveFunctionEngine engine(flatCurve);
  const WindowInversionOutcome outcome = invertWindowCurve(window.data(), engine, {});
  ASSERT_TRUE(outcome.succeeded);
  EXPECT_EQ(window.vs[0], 525.0f);
  EXPECT_EQ(window.thickness[0], 2.55f);
  EXPECT_NE(outcome.text.find("1   2.5   525.0\n"), std::string::npos) << outcome.text;
}

TEST(WindowInversion, FittedModelReplacesVelocitiesAndThicknessesOnly) {
  Window window;
  window.layerCount = 2;
  window.vs[0] = 180.0f;
  window.vs[1] = 450.0f;
  window.thickness[0] = 2.0f;
  window.thickness[1] = 0.0f;
  window.density[1] = 2.1f;
  // The curve of the model 3 m / 200 m/s over 380 m/s.
  ForwardCall truth;
  truth.layerCount = 2;
  truth.vs[0] = 200.0f;
  truth.vs[1] = 380.0f;
  truth.thickness[0] = 3.0f;
  truth.freqCount = 30;
  std::copy_n(window.freq, 30, truth.freq);
  twoLayerCurve(truth);
  std::copy_n(truth.phaseVelocity, 30, window.vr);
  const std::array<float, 100> curveBefore = std::to_array(window.vr);

  CurveFunctionEngine engine(twoLayerCurve);
  const WindowInversionOutcome outcome = invertWindowCurve(window.data(), engine, {});
  ASSERT_TRUE(outcome.succeeded) << outcome.text;
  EXPECT_NEAR(window.vs[0], 200.0f, 1.0f);
  EXPECT_NEAR(window.vs[1], 380.0f, 1.0f);
  EXPECT_NEAR(window.thickness[0], 3.0f, 0.05f);
  // The half-space thickness was clamped from 0 into the bounds and kept.
  EXPECT_EQ(window.thickness[1], 2.55f);
  EXPECT_EQ(window.density[0], 1.8f);
  EXPECT_EQ(window.density[1], 2.1f);
  EXPECT_EQ(std::to_array(window.vr), curveBefore);
}

TEST(WindowInversion, FailureLeavesTheWindowAsItWasAndTrimsTheMessage) {
  Window window;
  window.layerCount = 2;
  window.vs[1] = 300.0f;
  window.thickness[1] = 1.0f;
  window.density[1] = 2.0f;
  const Window before = window;
  CurveFunctionEngine engine(twoLayerCurve);
  engine.failFromRun = 4;  // inside the first sensitivity matrix
  const WindowInversionOutcome outcome = invertWindowCurve(window.data(), engine, {});
  EXPECT_FALSE(outcome.succeeded);
  EXPECT_EQ(outcome.text, "正演计算失败，反演已中止.");
  EXPECT_EQ(engine.runs, 4);
  EXPECT_EQ(window.layerCount, before.layerCount);
  EXPECT_EQ(std::to_array(window.vs), std::to_array(before.vs));
  EXPECT_EQ(std::to_array(window.thickness), std::to_array(before.thickness));
}

// Observed velocities whose squared residuals overflow single precision
// (3e38 squared, 1e30 squared): the misfit is infinite. A result that is not
// a finite number is a failure, and the window keeps its model.
TEST(WindowInversion, ResultThatIsNotFiniteIsAFailure) {
  struct Case {
    const char* name;
    float observed;
    int data;  // how many of the 30 data carry it, from the first
  };
  for (const Case& c :
       {Case{"every datum 3e38 m/s", 3e38f, 30}, Case{"one datum 1e30 m/s", 1e30f, 1}}) {
    SCOPED_TRACE(c.name);
    Window window;
    std::fill_n(window.vr, c.data, c.observed);
    const Window before = window;
    CurveFunctionEngine engine(flatCurve);
    const WindowInversionOutcome outcome = invertWindowCurve(window.data(), engine, {});
    EXPECT_FALSE(outcome.succeeded);
    EXPECT_EQ(outcome.text, kNonFiniteInversionResult);
    EXPECT_EQ(window.layerCount, before.layerCount);
    EXPECT_EQ(std::to_array(window.vs), std::to_array(before.vs));
    EXPECT_EQ(std::to_array(window.thickness), std::to_array(before.thickness));
  }
}

// Without data the first misfit is 0, which the solve would take for a
// perfect fit: the inversion is refused before any engine run.
TEST(WindowInversion, ACurveWithoutDataIsRefused) {
  Window window;
  const Window before = window;
  CurveFunctionEngine engine(flatCurve);
  InversionWindowData data = window.data();
  data.freqCount = 0;
  const WindowInversionOutcome outcome = invertWindowCurve(data, engine, {});
  EXPECT_FALSE(outcome.succeeded);
  EXPECT_EQ(outcome.text, "没有频散数据，无法反演.");
  EXPECT_EQ(engine.runs, 0);
  EXPECT_EQ(std::to_array(window.vs), std::to_array(before.vs));
  EXPECT_EQ(std::to_array(window.thickness), std::to_array(before.thickness));
}

TEST(WindowInversion, IterationLimitIsReportedAsASuccessWithCount31) {
  Window window;
  window.layerCount = 2;
  window.vs[0] = 800.0f;
  window.vs[1] = 790.0f;
  window.thickness[0] = 4.3f;
  window.thickness[1] = 1.0f;
  for (int i = 0; i < 30; ++i) window.vr[i] = 103.0f;
  // Exponential in both velocities and the top thickness: each step gains
  // about 20 m/s and 0.12 m, too little to fit within 30 iterations.
  CurveFunctionEngine engine([](ForwardCall& call) {
    const double e0 = std::exp((call.vs[0] - 100.0) / 20.0);
    const double e1 = std::exp((call.vs[1] - 100.0) / 20.0);
    const double eh = std::exp((call.thickness[0] - 0.1) / 0.12);
    for (int i = 0; i < call.freqCount; ++i) {
      const double w = call.freq[i] / 150.0;
      call.phaseVelocity[i] =
          static_cast<float>(100.0 + w * e0 + (1.0 - w) * e1 + w * (1.0 - w) * eh);
    }
  });
  const WindowInversionOutcome outcome = invertWindowCurve(window.data(), engine, {});
  ASSERT_TRUE(outcome.succeeded) << outcome.text;
  EXPECT_NE(outcome.text.find("迭代次数：31\n"), std::string::npos) << outcome.text;
  EXPECT_EQ(outcome.text.find("超限"), std::string::npos);
  EXPECT_LT(window.vs[0], 300.0f);
}

TEST(WindowInversion, OutcomeIsShownAsReportBoxOrPlainDialog) {
  RecordingPresenter presenter;
  presentInversionOutcome({true, "report"}, presenter);
  presentInversionOutcome({false, "Initial model not appropriate."}, presenter);
  ASSERT_EQ(presenter.messages.size(), 2u);
  EXPECT_EQ(presenter.messages[0].kind, RecordedMessage::Kind::Box);
  EXPECT_EQ(presenter.messages[0].text, "report");
  EXPECT_EQ(presenter.messages[0].caption, "Sondrix提示...");
  EXPECT_EQ(presenter.messages[0].icon, MessageIcon::Warning);
  EXPECT_EQ(presenter.messages[1].kind, RecordedMessage::Kind::Plain);
  EXPECT_EQ(presenter.messages[1].text, "Initial model not appropriate.");
}

TEST(WindowInversion, TrimmingRemovesBlanksAndLineBreaksAtBothEnds) {
  EXPECT_EQ(trimmed("迭代次数超限.\n"), "迭代次数超限.");
  EXPECT_EQ(trimmed(" \t\r\nx y\n\n"), "x y");
  EXPECT_EQ(trimmed("\n \n"), "");
  EXPECT_EQ(trimmed(""), "");
}

// A cancel after the n-th engine run: no later run reaches the engine, the
// window's model stays as it was, and nothing is shown. The two-layer fit
// runs once at creation, once for the start, then 4 x 2 - 1 sensitivity runs.
TEST(WindowInversionCancel, StopsAfterTheRunWhereItWasAskedAndKeepsTheModel) {
  const struct {
    const char* name;
    int stopAfter;
  } rows[] = {{"the creation run", 1},
              {"the start's run", 2},
              {"inside the sensitivities", 5},
              {"the first trial", 10},
              {"a later iteration", 14}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    Window window;
    window.layerCount = 2;
    window.vs[1] = 300.0f;
    window.thickness[1] = 1.0f;
    window.density[1] = 2.0f;
    for (int i = 0; i < 30; ++i) window.vr[i] = 120.0f + 2.0f * static_cast<float>(i);
    const Window before = window;
    CurveFunctionEngine engine(twoLayerCurve);
    const InversionWatch watch{
        [&] { return engine.runs == row.stopAfter ? RunVerdict::Stop : RunVerdict::Continue; }, {}};
    const WindowInversionOutcome outcome = invertWindowCurve(window.data(), engine, {}, {}, watch);
    EXPECT_TRUE(outcome.cancelled);
    EXPECT_FALSE(outcome.succeeded);
    EXPECT_EQ(outcome.text, kInversionCancelled);
    EXPECT_EQ(engine.runs, row.stopAfter);
    EXPECT_EQ(window.layerCount, before.layerCount);
    EXPECT_EQ(std::to_array(window.vs), std::to_array(before.vs));
    EXPECT_EQ(std::to_array(window.thickness), std::to_array(before.thickness));
    RecordingPresenter presenter;
    presentInversionOutcome(outcome, presenter);
    EXPECT_TRUE(presenter.messages.empty());
  }
}

// The watcher sees every engine run, and the progress ends on the report's
// iteration count and misfit.
TEST(WindowInversionWatch, SeesEveryRunAndEndsOnTheReportedFit) {
  Window window;
  window.layerCount = 2;
  window.vs[0] = 180.0f;
  window.vs[1] = 450.0f;
  window.thickness[0] = 2.0f;
  ForwardCall truth;
  truth.layerCount = 2;
  truth.vs[0] = 200.0f;
  truth.vs[1] = 380.0f;
  truth.thickness[0] = 3.0f;
  truth.freqCount = 30;
  std::copy_n(window.freq, 30, truth.freq);
  twoLayerCurve(truth);
  std::copy_n(truth.phaseVelocity, 30, window.vr);

  CurveFunctionEngine engine(twoLayerCurve);
  int watched = 0;
  std::vector<std::pair<int32_t, float>> progress;
  const InversionWatch watch{
      [&] {
        ++watched;
        return RunVerdict::Continue;
      },
      [&](int32_t iteration, float misfit) { progress.emplace_back(iteration, misfit); }};
  const WindowInversionOutcome outcome = invertWindowCurve(window.data(), engine, {}, {}, watch);
  ASSERT_TRUE(outcome.succeeded) << outcome.text;
  EXPECT_FALSE(outcome.cancelled);
  EXPECT_EQ(watched, engine.runs);
  ASSERT_GE(progress.size(), 2u);
  // The report prints the iteration count and the misfit as "%.2E".
  char line[96];
  std::snprintf(line, sizeof line, "迭代次数：%d\n拟 合 差：%.2E\n", progress.back().first,
                double{progress.back().second});
  EXPECT_NE(outcome.text.find(line), std::string::npos) << outcome.text << "\nwanted " << line;
}

}  // namespace

}  // namespace dispfit
