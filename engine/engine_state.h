// The engine's shared working state: one block of static storage, zero when
// the library is loaded, read and written by every engine routine.
//
// Arrays are indexed from 0 here; layer 1 of the model is entry 0.
#pragma once

#include <cstdint>

#include "inversion_state.h"

namespace swcore {

inline constexpr int kMaxLayers = 50;       // layers, the half-space included
inline constexpr int kMaxFrequencies = 50;  // frequencies of one curve

struct EngineState {
  // Layered model, top layer first; the last layer is the half-space.
  int32_t layerCount;                // N, 1..kMaxLayers
  double thickness[kMaxLayers];      // km; the half-space entry is not read
  double shearVelocity[kMaxLayers];  // km/s
  double pVelocity[kMaxLayers];      // km/s, always 3 x shearVelocity
  double density[kMaxLayers];        // any unit; only ratios enter

  // Frequencies and results of the root search.
  double FREQ[kMaxFrequencies];      // Hz, replaced by the period (s) once processed
  double velocity[kMaxFrequencies];  // km/s, root found for each frequency
  double omega;                      // rad/s, of the frequency being processed
  double startVelocity;              // km/s, c0: where the next root search begins

  // ---- Engine-side inversion fields go below this line. ----
  InversionState inversion;
};

// The one instance. Static storage, so it starts zeroed.
extern EngineState engineState;

// True when the layer count lies within the model arrays.
inline bool layerCountInRange(int32_t n) {
  return n >= 1 && n <= kMaxLayers;
}

}  // namespace swcore
