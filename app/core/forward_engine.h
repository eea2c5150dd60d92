// SPDX-License-Identifier: GPL-3.0-or-later
// The seven by-reference buffers of one FORWARD call, and the seam through
// which the program reaches the engine.
#pragma once

#include <cstdint>

namespace dispfit {

struct ForwardCall {
  static constexpr int kCapacity = 50;

  int32_t layerCount = 0;
  float thickness[kCapacity] = {};  // m
  float vs[kCapacity] = {};         // m/s
  float density[kCapacity] = {};    // g/cm3
  int32_t freqCount = 0;
  float freq[kCapacity] = {};           // Hz
  float phaseVelocity[kCapacity] = {};  // m/s, written by the engine
};

class ForwardEngine {
 public:
  virtual ~ForwardEngine() = default;

  // Runs FORWARD once on the buffers. Returns false when no curve was
  // computed; the failure has then already been reported to the user.
  virtual bool run(ForwardCall& call) = 0;
};

}  // namespace dispfit
