// SPDX-License-Identifier: GPL-3.0-or-later
// Damped least-squares inversion of the engine-side data set: forward
// difference sensitivities, damped normal equations solved by LDL^T, a
// parabolic-then-halving line search, an adaptive damping factor, and steps
// shortened so that no layer thickness reaches zero.
#pragma once

#include <cstdint>
#include <span>

#include "dispersion/engine_state.h"
#include "records/record_writer.h"

namespace swcore {

// ISTAT values.
inline constexpr int32_t kStatusConverged = 0;
inline constexpr int32_t kStatusIterationLimit = 1;
inline constexpr int32_t kStatusSingular = -2;
// The bounds adjustment of a trial model gave up (see MODLIM); the run stops.
inline constexpr int32_t kStatusBoundsUnreachable = -3;

inline constexpr int32_t kMaxIterationSteps = 30;
inline constexpr double kMisfitFloor = 1e-5;         // (km/s)^2: any evaluation below ends the run
inline constexpr double kSmallStepRatio = 1e-5;      // step against parameter size
inline constexpr double kSensitivityDelta = 0.0001;  // km/s or km
inline constexpr double kSensitivityScale = 10000.0;
// The least a thickness may keep of its value in one step that would otherwise
// end it at or below zero: half, so a layer thins out over a few steps instead
// of being dropped at once, and the rest of the model moves with it.
inline constexpr double kThinningLimit = 0.5;

struct InversionOutcome {
  int32_t ISTAT = kStatusConverged;
  double PHIOUT = 0.0;  // the misfit computed last, (km/s)^2
  int32_t ITER = 0;     // iteration steps begun (31 at the limit)
};

// Fits the first NF entries of `freeParameters` to VOBS, starting with the
// damping factor `LAMBDA0`. The parameters are overwritten with the fitted
// values; on return the velocity array holds the curve of the last
// evaluation, that of the final sensitivity run.
InversionOutcome DLSINV(EngineState& state, std::span<double> freeParameters, double LAMBDA0,
                        const RecordWriter& console);

// Forward-difference sensitivities SENS at `freeParameters`, every parameter
// raised in turn by kSensitivityDelta. Returns false when an evaluation failed.
bool JACOB(EngineState& state, std::span<double> freeParameters, const RecordWriter& console);

// Residuals RES = VOBS - computed velocity and their plain sum of squares.
double MISFIT(EngineState& state);

// Shortens STEP, the step from `freeParameters` (free entries of PAR in
// order, IFIX telling which), so that no thickness ends at or below zero: if
// the full step would take a positive thickness there, the whole step is
// scaled down until that thickness ends at kThinningLimit of its value, its
// direction kept. A thickness that is not positive to begin with (a layer
// given as 0 m) cannot stay positive along any lowering step; its lowering is
// dropped. Where every thickness stays positive the step is left untouched.
void keepThicknessesPositive(EngineState& state, std::span<const double> freeParameters);

// Solves GNM STEP = GRAD for the NF free parameters. False on a zero pivot.
bool LDLSOL(EngineState& state);

}  // namespace swcore
