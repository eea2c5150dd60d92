// SPDX-License-Identifier: GPL-3.0-or-later
// The engine's shared working state: one block of static storage, zero when
// the library is loaded, read and written by every engine routine.
//
// Arrays are indexed from 0 here; layer 1 of the model is entry 0, datum 1 is
// entry 0 and parameter 1 is entry 0.
#pragma once

#include <cstdint>

namespace swcore {

inline constexpr int kMaxLayers = 50;                  // layers, the half-space included
inline constexpr int kMaxFrequencies = 50;             // frequencies of one curve
inline constexpr int kMaxData = kMaxFrequencies;       // data of the engine-side inversion
inline constexpr int kMaxParameters = 2 * kMaxLayers;  // S velocity and thickness per layer

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

  // ---- Engine-side inversion and batch run ----

  // Run settings (set by the batch run).
  int32_t KK;     // inversion mode when non-zero
  int32_t KPG;    // non-zero: the evaluated curve is the group velocity
  int32_t PRTSW;  // the model is printed while PRTSW * KK is non-zero
  double BL, BU;  // bounds of the mean S velocity above the half-space, km/s
  double HL, HU;  // bounds of the depth to the half-space, km
  double EA;      // misfit threshold of the acceptance test, (km/s)^2

  // Data set and model parameters.
  int32_t M;                     // number of data
  double phaseCopy[kMaxData];    // km/s, phase velocity of each datum
  double groupCopy[kMaxData];    // km/s, group velocity (when KPG is non-zero)
  double groupScratch[2];        // km/s, roots at the two shifted periods
  double RHOIN[kMaxLayers];      // densities as read, one per layer
  int32_t NP;                    // number of model parameters, 2 N
  int32_t IFIX[kMaxParameters];  // 0 = free, otherwise fixed
  double PAR[kMaxParameters];    // S velocity, thickness of layer 1, of layer 2, ...
  int32_t NF;                    // number of free parameters
  double VOBS[kMaxData];         // km/s, observed velocity of each datum

  // Extremes found by the bounds adjustment.
  double thickestThickness, thinnestThickness;  // km
  int32_t thickestLayer, thinnestLayer;         // 0-based layer index
  int32_t fastestLayer, slowestLayer;           // 0-based, among layers 2 .. N-1

  // Damped least squares.
  double RES[kMaxData];                         // VOBS - computed velocity, km/s
  double PHI;                                   // sum of squared residuals
  double PHIOLD;                                // misfit of the last accepted model
  double SENS[kMaxParameters][kMaxData];        // d velocity(j) / d parameter(k), by column
  double GNM[kMaxParameters * kMaxParameters];  // damped normal matrix, then its factors
  double GRAD[kMaxParameters];                  // sum_j SENS(j,k) RES(j)
  double STEP[kMaxParameters];                  // solution of the damped normal equations
  double XOLD[kMaxParameters];                  // free parameters before the current step
  double LAMBDA;                                // damping factor
  double TFAC;                                  // line-search factor
  int32_t NTRY;                                 // line-search trials since the last full step
  int32_t ISB;                                  // 1 first evaluation, 2 full step, 3 shortened
  double pivotInverse[kMaxParameters];          // 1 / d(i) of the factorisation
  double referenceCurve[kMaxData];              // computed velocities at the unperturbed point
};

// The one instance. Static storage, so it starts zeroed.
extern EngineState engineState;

// True when the layer count lies within the model arrays.
inline bool layerCountInRange(int32_t n) {
  return n >= 1 && n <= kMaxLayers;
}

}  // namespace swcore
