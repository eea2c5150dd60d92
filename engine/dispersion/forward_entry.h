// SPDX-License-Identifier: GPL-3.0-or-later
// The forward-modelling entry: a layered model and a list of frequencies in,
// fundamental-mode Rayleigh phase velocities out.
#pragma once

#include <cstdint>

#include "dispersion/engine_state.h"

namespace swcore {

// Caller-side buffers of one forward calculation (metres, m/s, Hz).
struct ForwardArguments {
  int32_t layerCount;
  const float* thickness;
  const float* shearVelocity;
  const float* density;
  int32_t frequencyCount;
  const float* frequency;
  float* phaseVelocity;
};

// Fills the model and frequencies of `state`, follows the fundamental mode
// from frequency to frequency and writes the phase velocities. The
// frequencies are searched from the highest to the lowest whatever their
// order, each result going to its own slot, so any order gives the values of
// the descending one. A frequency that is not positive and finite, like any
// frequency without a root, leaves its slot as it was; the first kind is
// skipped without any other effect. A search that would start at or below
// zero starts at 0.8 x the slowest layer's S velocity, like the first.
// Counts outside 1..kMaxLayers layers or 0..kMaxFrequencies frequencies are
// refused: nothing is read, computed or written.
void runForward(EngineState& state, const ForwardArguments& args);

}  // namespace swcore
