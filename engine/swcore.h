// SPDX-License-Identifier: GPL-3.0-or-later
// Public C interface of the dispersion engine library libswcore.so.
//
// Every argument is passed by reference, in the engine's native convention.
// Units at this boundary: metres, m/s, g/cm3 and Hz for FORWARD; km, km/s and
// the engine's shared model state for the other routines.
//
// The library keeps its working data in one static state block that is zero
// when the library is loaded; calls must not overlap.
#ifndef SWCORE_H
#define SWCORE_H

#include <stdint.h>

#if defined(SWCORE_BUILDING_LIBRARY)
#define SWCORE_API __attribute__((visibility("default")))
#else
#define SWCORE_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

// Fundamental-mode Rayleigh phase velocities of a layered model.
//   layerCount     number of layers including the half-space (1..50)
//   thickness      m, layerCount entries (the half-space entry has no effect)
//   shearVelocity  m/s, layerCount entries
//   density        any unit, layerCount entries (only ratios matter)
//   freqCount      number of frequencies (0..50)
//   freq           Hz, freqCount entries in any order (not modified); they are
//                  searched from the highest to the lowest, each search starting
//                  just below the previous root, so any order gives the values
//                  of the descending one
//   phaseVelocity  m/s, out: freqCount entries written; an entry whose
//                  frequency is not positive and finite, or has no root below
//                  10 km/s, keeps the value the engine state held for it
SWCORE_API void FORWARD(const int32_t* layerCount, const float* thickness,
                        const float* shearVelocity, const float* density, const int32_t* freqCount,
                        const float* freq, float* phaseVelocity);

// First zero of the secular function above the start velocity held in the
// engine state; a sign change through a pole, at the half-space's S or P
// velocity, is passed over. The result cell is written only when a root is
// found.
SWCORE_API void ROOT(const double* step, const double* tolerance, double* result);

// Rayleigh secular function D(c) of the model in the engine state, c in km/s.
SWCORE_API double FRAYL(const double* phaseVelocity);

// Aitken-accelerated fixed-point iteration of the secular function.
SWCORE_API void DATKN(double* x, const double* tolerance, int32_t* iterations);

// Root by continued-fraction inverse interpolation of the secular function.
SWCORE_API void DPQRT(double* x, const double* tolerance, int32_t* cyclesLeft);

// Dispersion evaluation of the engine-side inversion for a vector of free parameters.
SWCORE_API void DISRAY(double* freeParameters);

#ifdef __cplusplus
}
#endif

#endif  // SWCORE_H
