// SPDX-License-Identifier: GPL-3.0-or-later
// The engine seam that lets the window look in after every run and stop
// whatever drives the engine.
#include "core/watched_engine.h"

#include <gtest/gtest.h>

#include <vector>

#include "curve_function_engine.h"

namespace dispfit {

namespace {

void constantCurve(ForwardCall& call) {
  for (int i = 0; i < call.freqCount; ++i) call.phaseVelocity[i] = 200.0f;
}

ForwardCall oneLayerCall() {
  ForwardCall call;
  call.layerCount = 1;
  call.vs[0] = 220.0f;
  call.thickness[0] = 1.0f;
  call.density[0] = 1.8f;
  call.freqCount = 3;
  for (int i = 0; i < 3; ++i) call.freq[i] = 30.0f - 10.0f * static_cast<float>(i);
  return call;
}

TEST(WatchedEngine, WatcherSeesEveryRunAfterItHasFinished) {
  CurveFunctionEngine inner(constantCurve);
  inner.failAtRun = 2;  // a failed run is watched too, and stays a failure
  std::vector<int> runsSeen;
  WatchedEngine engine(inner, [&] {
    runsSeen.push_back(inner.runs);
    return RunVerdict::Continue;
  });
  const std::vector<bool> expected = {true, false, true};
  for (std::size_t k = 0; k < expected.size(); ++k) {
    SCOPED_TRACE(testing::Message() << "run " << k + 1);
    ForwardCall call = oneLayerCall();
    EXPECT_EQ(engine.run(call), expected[k]);
    if (expected[k]) {
      EXPECT_EQ(call.phaseVelocity[2], 200.0f);
    }
  }
  EXPECT_EQ(runsSeen, (std::vector<int>{1, 2, 3}));
  EXPECT_FALSE(engine.stopped());
}

TEST(WatchedEngine, StopEndsThatRunAndKeepsTheEngineFromEveryLaterOne) {
  const struct {
    const char* name;
    int stopAt;  // the run after which the watcher answers Stop
  } rows[] = {{"the first run", 1}, {"a later run", 3}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    CurveFunctionEngine inner(constantCurve);
    int watched = 0;
    WatchedEngine engine(inner, [&] {
      ++watched;
      return watched == row.stopAt ? RunVerdict::Stop : RunVerdict::Continue;
    });
    for (int k = 1; k <= row.stopAt + 2; ++k) {
      ForwardCall call = oneLayerCall();
      const bool computed = engine.run(call);
      EXPECT_EQ(computed, k < row.stopAt) << "run " << k;
      // Runs after the stop leave the call as it came.
      if (k > row.stopAt) {
        EXPECT_EQ(call.phaseVelocity[0], 0.0f) << "run " << k;
      }
    }
    EXPECT_TRUE(engine.stopped());
    EXPECT_EQ(inner.runs, row.stopAt);
    EXPECT_EQ(watched, row.stopAt);
  }
}

TEST(WatchedEngine, WithoutAWatcherItIsTheInnerEngine) {
  CurveFunctionEngine inner(constantCurve);
  WatchedEngine engine(inner, {});
  ForwardCall call = oneLayerCall();
  EXPECT_TRUE(engine.run(call));
  EXPECT_EQ(call.phaseVelocity[1], 200.0f);
  EXPECT_FALSE(engine.stopped());
}

}  // namespace

}  // namespace dispfit
