// SPDX-License-Identifier: GPL-3.0-or-later
#include "dispersion/curve_walk.h"

#include <cmath>

namespace swcore {

double firstStartVelocity(const EngineState& state) {
  double slowest = state.shearVelocity[0];
  for (int i = 1; i < state.layerCount; ++i) {
    if (state.shearVelocity[i] < slowest) {
      slowest = state.shearVelocity[i];
    }
  }
  return slowest * kStartFactor;
}

double walkStep(double start, double halfSpaceShear) {
  return (start >= halfSpaceShear - kFineStepBand) ? kFineStep : kCoarseStep;
}

CurveWalk curveWalkFor(const EngineState& state, double tolerance) {
  bool slowerBelow = false;
  for (int i = 1; i < state.layerCount; ++i) {
    slowerBelow = slowerBelow || state.shearVelocity[i] < state.shearVelocity[0];
  }
  return {firstStartVelocity(state), state.shearVelocity[state.layerCount - 1], tolerance,
          slowerBelow};
}

FrequencyOrder::FrequencyOrder(std::span<const double> hertz) {
  // Insertion behind every frequency at least as high: a stable order
  // without the allocation a library sort may make (at most 50 entries).
  const int count = static_cast<int>(hertz.size());
  for (int j = 0; j < count && j < kMaxFrequencies; ++j) {
    const double f = hertz[static_cast<std::size_t>(j)];
    if (!(f > 0.0 && std::isfinite(f))) {
      continue;
    }
    int place = count_;
    while (place > 0 && hertz[static_cast<std::size_t>(index_[place - 1])] < f) {
      index_[place] = index_[place - 1];
      --place;
    }
    index_[place] = j;
    ++count_;
  }
}

}  // namespace swcore
