// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/forward_model.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "scripted_engine.h"

namespace dispfit {

namespace {

constexpr float kSentinel = -7.0f;

struct WindowModel {
  float freq[100] = {};
  float vs[20] = {200.0f, 400.0f, 800.0f};
  float thickness[20] = {5.0f, 10.0f, 0.0f};
  float density[20] = {1.8f, 2.0f, 2.2f};
  WindowModel() {
    for (int i = 0; i < 30; ++i) freq[i] = 150.0f - 5.0f * static_cast<float>(i);
  }
};

TEST(ForwardModelCreation, CopiesExactlyTheCountedEntries) {
  ScriptedEngine engine;
  WindowModel window;
  const ForwardModel model(engine, 30, window.freq, 2, window.vs, window.thickness, window.density,
                           false);
  EXPECT_FALSE(model.logMode);
  EXPECT_EQ(model.freqCount, 30);
  EXPECT_EQ(model.layerCount, 2);
  EXPECT_TRUE(std::equal(window.freq, window.freq + 30, model.freq));
  EXPECT_EQ(model.freq[30], 0.0f);
  EXPECT_EQ(model.vs[0], 200.0f);
  EXPECT_EQ(model.vs[1], 400.0f);
  EXPECT_EQ(model.vs[2], 0.0f);  // layer 3 is beyond the count
  EXPECT_EQ(model.thickness[1], 10.0f);
  EXPECT_EQ(model.density[1], 2.0f);
  EXPECT_TRUE(std::all_of(model.vrCalc, model.vrCalc + 50, [](float v) { return v == 0.0f; }));

  const ForwardModel modeOnly(engine, true);
  EXPECT_TRUE(modeOnly.logMode);
  EXPECT_EQ(modeOnly.layerCount, 0);
  EXPECT_EQ(modeOnly.freqCount, 0);
}

TEST(ForwardModelCreation, CountsBeyondTheCapacityAreCutToIt) {
  ScriptedEngine engine;
  std::vector<float> many(80, 1.0f);
  const ForwardModel model(engine, 80, many.data(), 60, many.data(), many.data(), many.data(),
                           false);
  EXPECT_EQ(model.freqCount, 50);
  EXPECT_EQ(model.layerCount, 50);
}

TEST(RunForward, HandsTheModelToTheEngineAndKeepsTheCurve) {
  ScriptedEngine engine;
  for (int j = 0; j < 30; ++j) engine.curve.push_back(100.0f + static_cast<float>(j));
  WindowModel window;
  ForwardModel model(engine, 30, window.freq, 3, window.vs, window.thickness, window.density,
                     false);
  ASSERT_TRUE(model.runForward());

  ASSERT_EQ(engine.calls.size(), 1u);
  const ForwardCall& call = engine.calls[0];
  EXPECT_EQ(call.layerCount, 3);
  EXPECT_EQ(call.freqCount, 30);
  EXPECT_EQ(call.vs[2], 800.0f);
  EXPECT_EQ(call.thickness[1], 10.0f);
  EXPECT_EQ(call.density[0], 1.8f);
  EXPECT_EQ(call.freq[29], 5.0f);
  EXPECT_EQ(call.vs[3], 0.0f);
  EXPECT_EQ(call.freq[30], 0.0f);
  for (int j = 0; j < 30; ++j) EXPECT_EQ(model.vrCalc[j], 100.0f + static_cast<float>(j));
  EXPECT_EQ(model.vrCalc[30], 0.0f);
}

TEST(RunForward, AFailedCallLeavesTheFormerCurve) {
  ScriptedEngine engine;
  engine.curve.assign(30, 250.0f);
  WindowModel window;
  ForwardModel model(engine, 30, window.freq, 3, window.vs, window.thickness, window.density,
                     false);
  ASSERT_TRUE(model.runForward());
  engine.answer = ScriptedEngine::Answer::Fail;  // scribbles -1 over the output
  EXPECT_FALSE(model.runForward());
  EXPECT_EQ(engine.calls.size(), 2u);
  EXPECT_TRUE(std::all_of(model.vrCalc, model.vrCalc + 30, [](float v) { return v == 250.0f; }));
}

TEST(RunForward, NoFrequenciesStillCallsTheEngineAndCopiesNothing) {
  ScriptedEngine engine;
  engine.curve.assign(50, 300.0f);
  WindowModel window;
  ForwardModel model(engine, 0, window.freq, 1, window.vs, window.thickness, window.density, false);
  EXPECT_TRUE(model.runForward());
  ASSERT_EQ(engine.calls.size(), 1u);
  EXPECT_EQ(engine.calls[0].freqCount, 0);
  EXPECT_EQ(model.vrCalc[0], 0.0f);
}

TEST(CopyVrCalc, CopiesExactlyFreqCountValues) {
  ScriptedEngine engine;
  engine.curve = {11.0f, 12.0f, 13.0f, 14.0f};
  WindowModel window;
  ForwardModel model(engine, 3, window.freq, 1, window.vs, window.thickness, window.density, false);
  ASSERT_TRUE(model.runForward());
  float destination[5];
  std::fill(std::begin(destination), std::end(destination), kSentinel);
  model.copyVrCalc(destination);
  EXPECT_EQ(destination[0], 11.0f);
  EXPECT_EQ(destination[2], 13.0f);
  EXPECT_EQ(destination[3], kSentinel);
  EXPECT_EQ(destination[4], kSentinel);
}

}  // namespace

}  // namespace dispfit
