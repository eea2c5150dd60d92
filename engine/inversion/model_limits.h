// SPDX-License-Identifier: GPL-3.0-or-later
// Bounds adjustment of a trial model: moves the model of the engine state
// toward fixed bounds on its depth to the half-space and on the
// thickness-weighted mean S velocity of the layers above it.
#pragma once

#include <cstdint>
#include <span>

#include "dispersion/engine_state.h"
#include "records/record_writer.h"

namespace swcore {

// Steps of the adjustment: single-precision values widened to double.
inline constexpr double kThicknessNudge = static_cast<double>(0.0002f);         // km
inline constexpr double kVelocityNudge = static_cast<double>(0.0001f);          // km/s
inline constexpr double kHalfSpaceVelocityNudge = static_cast<double>(0.001f);  // km/s

// Passes of the bounds loop after which the adjustment gives up: far more
// than any reachable bounds need (each pass moves the depth by 0.2 m).
inline constexpr std::int64_t kMaxBoundsPasses = 2'000'000;

// Depth to the half-space D (km) and the thickness-weighted mean S velocity V
// (km/s) of the layers above it.
struct DepthAndMeanVelocity {
  double depth = 0.0;
  double meanVelocity = 0.0;
};
DepthAndMeanVelocity depthAndMeanVelocity(const EngineState& state);

// Unpacks `freeParameters` into PAR, prints PAR, builds the model from PAR,
// nudges it into the bounds, repacks PAR and writes the free entries back.
// A model of one layer has nothing above its half-space and is left as it is.
// Returns false, after printing why, when the bounds loop reaches its cap; the
// model is then repacked as it stands.
bool MODLIM(EngineState& state, std::span<double> freeParameters, const RecordWriter& console);

}  // namespace swcore
