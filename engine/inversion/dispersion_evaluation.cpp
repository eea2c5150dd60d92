// SPDX-License-Identifier: GPL-3.0-or-later
#include "inversion/dispersion_evaluation.h"

#include "dispersion/curve_walk.h"
#include "dispersion/root_search.h"
#include "dispersion/secular_function.h"
#include "inversion/model_limits.h"
#include "swcore.h"

namespace swcore {

namespace {

std::span<const double> layers(const double* values, const EngineState& state) {
  return {values, static_cast<std::size_t>(state.layerCount)};
}

void refreshDerivedLayerValues(EngineState& state) {
  for (int32_t i = 0; i < state.layerCount; ++i) {
    state.pVelocity[i] = 3.0 * state.shearVelocity[i];
    state.density[i] = state.RHOIN[i];
  }
}

void printModel(const EngineState& state, const RecordWriter& console) {
  console.write(Record().add(depthAndMeanVelocity(state).depth * 1000.0));
  console.write(Record().add(layers(state.thickness, state), 1000.0));
  console.write(Record().add(layers(state.shearVelocity, state), 1000.0));
  console.write(Record().add(layers(state.pVelocity, state), 1000.0));
  console.write(Record().add(layers(state.density, state)));
}

void printLayersAndCurve(const EngineState& state, const RecordWriter& console) {
  Record table;
  for (int32_t i = 0; i < state.layerCount; ++i) {
    table.add(state.thickness[i])
        .add(state.shearVelocity[i])
        .add(state.pVelocity[i])
        .add(state.density[i]);
  }
  console.write(table);
  Record curve;
  for (int32_t j = 0; j < state.M; ++j) {
    curve.add(1.0 / state.FREQ[j]).add(state.phaseCopy[j]);
  }
  console.write(curve);
}

// Root at the angular frequency of `period`, from the current start velocity.
void searchAtPeriod(EngineState& state, double period, double step, double& cell) {
  state.omega = kTwoPi / period;
  const SecularFunction d(state);
  findRoot(d, state.startVelocity, step, kDisrayTolerance, cell, d.poles());
}

// Group velocity from the phase velocity c at period T and the roots at the
// periods T - dT and T + dT: U = c / ((T / c) dc/dT + 1).
double groupVelocity(EngineState& state, double period, double step, double c) {
  searchAtPeriod(state, period - kPeriodOffset, step, state.groupScratch[0]);
  searchAtPeriod(state, period + kPeriodOffset, step, state.groupScratch[1]);
  const double slope = (state.groupScratch[1] - state.groupScratch[0]) / kTwicePeriodOffset;
  return c / ((period / c) * slope + 1.0);
}

}  // namespace

bool DISRAY(EngineState& state, std::span<double> freeParameters, const RecordWriter& console) {
  if (state.KK != 0 && !MODLIM(state, freeParameters, console)) {
    return false;
  }
  if (!layerCountInRange(state.layerCount) || state.M < 0 || state.M > kMaxData) {
    return false;
  }
  refreshDerivedLayerValues(state);
  const CurveWalk walk = curveWalkFor(state, kDisrayTolerance);
  state.startVelocity = walk.firstStart;
  if (state.PRTSW != 0 && state.KK != 0) {
    printModel(state, console);
  }
  for (const int j : FrequencyOrder({state.FREQ, static_cast<std::size_t>(state.M)})) {
    const double period = 1.0 / state.FREQ[j];
    state.omega = kTwoPi / period;
    const SecularFunction d(state);
    const SearchStart used =
        searchCurvePoint(d, d.poles(), walk, state.startVelocity, state.velocity[j]);
    // The group velocity's neighbouring periods are searched from the same start.
    state.startVelocity = used.velocity;
    const double step = used.step;
    state.phaseCopy[j] = state.velocity[j];
    if (state.KPG != 0) {
      state.groupCopy[j] = groupVelocity(state, period, step, state.velocity[j]);
      state.velocity[j] = state.groupCopy[j];
    }
    state.startVelocity = state.velocity[j] - kDisrayRestartSteps * step;
  }
  if (state.KK == 0) {
    printLayersAndCurve(state, console);
  }
  return true;
}

}  // namespace swcore

extern "C" void DISRAY(double* freeParameters) {
  swcore::EngineState& state = swcore::engineState;
  const swcore::RecordWriter console;
  const auto count =
      static_cast<std::size_t>(state.NF > 0 && state.NF <= swcore::kMaxParameters ? state.NF : 0);
  swcore::DISRAY(state, {freeParameters, count}, console);
}
