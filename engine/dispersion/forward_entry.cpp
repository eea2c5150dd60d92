// SPDX-License-Identifier: GPL-3.0-or-later
#include "dispersion/forward_entry.h"

#include "dispersion/curve_walk.h"
#include "dispersion/root_search.h"
#include "dispersion/secular_function.h"
#include "swcore.h"

namespace swcore {

namespace {

void storeModel(EngineState& state, const ForwardArguments& args) {
  const int n = args.layerCount;
  state.layerCount = n;
  for (int i = 0; i < n; ++i) {
    state.thickness[i] = args.thickness[i] / 1000.0;
    state.shearVelocity[i] = args.shearVelocity[i] / 1000.0;
    state.density[i] = args.density[i];
  }
  // The counts of the engine-side inversion follow the model and the data.
  state.NF = n;
  state.M = args.frequencyCount;
  for (int j = 0; j < args.frequencyCount; ++j) {
    state.FREQ[j] = args.frequency[j];
  }
  for (int i = 0; i < n; ++i) {
    state.pVelocity[i] = 3.0 * state.shearVelocity[i];
  }
}

}  // namespace

void runForward(EngineState& state, const ForwardArguments& args) {
  if (!layerCountInRange(args.layerCount) || args.frequencyCount < 0 ||
      args.frequencyCount > kMaxFrequencies) {
    return;
  }
  storeModel(state, args);
  const FrequencyOrder order({state.FREQ, static_cast<std::size_t>(args.frequencyCount)});
  // The state keeps the periods, in the caller's order.
  for (int j = 0; j < args.frequencyCount; ++j) {
    state.FREQ[j] = 1.0 / state.FREQ[j];
  }
  const CurveWalk walk = curveWalkFor(state, kForwardTolerance);
  state.startVelocity = walk.firstStart;

  for (const int j : order) {
    // Only a frequency without a root in a fresh state (slot 0) leads to a
    // start at or below zero, where D is undefined; search from the first
    // start again instead.
    if (!(state.startVelocity > 0.0)) {
      state.startVelocity = walk.firstStart;
    }
    state.omega = kTwoPi / state.FREQ[j];
    const SecularFunction d(state);
    const SearchStart used =
        searchCurvePoint(d, d.poles(), walk, state.startVelocity, state.velocity[j]);
    state.startVelocity = state.velocity[j] - kForwardRestartSteps * used.step;
  }
  for (int j = 0; j < args.frequencyCount; ++j) {
    args.phaseVelocity[j] = static_cast<float>(state.velocity[j] * 1000.0);
  }
}

}  // namespace swcore

extern "C" void FORWARD(const int32_t* layerCount, const float* thickness,
                        const float* shearVelocity, const float* density, const int32_t* freqCount,
                        const float* freq, float* phaseVelocity) {
  swcore::runForward(swcore::engineState, {*layerCount, thickness, shearVelocity, density,
                                           *freqCount, freq, phaseVelocity});
}
