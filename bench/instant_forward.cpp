// SPDX-License-Identifier: GPL-3.0-or-later
// An engine library whose FORWARD returns at once, so that a forward run on it
// measures only the program's own share: loading, lookup, buffers, copy-back,
// axis fitting and chart update.
#include <cstdint>

extern "C" __attribute__((visibility("default"))) void FORWARD(
    const int32_t* layerCount, const float* /*thickness*/, const float* vs,
    const float* /*density*/, const int32_t* freqCount, const float* freq, float* phaseVelocity) {
  // A plausible rising curve: the top layer's Rayleigh velocity at 150 Hz up
  // to the half-space's at 5 Hz.
  const float top = 0.9473f * vs[0];
  const float bottom = 0.9473f * vs[*layerCount - 1];
  for (int j = 0; j < *freqCount; ++j) {
    phaseVelocity[j] = top + (bottom - top) * (150.0f - freq[j]) / 145.0f;
  }
}
