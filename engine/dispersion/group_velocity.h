// SPDX-License-Identifier: GPL-3.0-or-later
// Group velocity of a mode from the slope of its phase-velocity curve, the
// curve's zeros found on either side of the mode's frequency.
//
// Notation (velocities in km/s, omega in rad/s):
//   D(c, omega)   the secular function; a mode is a curve D = 0
//   c(omega)      the mode's phase velocity, the zero of D near the root
//   delta         the relative step in omega of the differences
//   dc/domega     (4 d(delta) - d(2 delta)) / 3, Richardson's combination of
//                 the central differences d(h) = (c(omega (1 + h)) -
//                 c(omega (1 - h))) / (2 omega h)
//   U             group velocity, c / (1 - (omega / c) dc/domega)
//
// The zeros are found from signs alone. The slopes of D itself are of no
// use: where the plain reduction overflows, the rescaled one is normalised
// layer by layer, and that positive factor need not be smooth at a zero (a
// stiff crust over a mode trapped below it makes the rescaled D jump
// through zero), so its partial derivatives there mean nothing.
#pragma once

#include "dispersion/secular_function.h"
#include "dispersion/wave_type.h"
#include "simd/instruction_set.h"

namespace swcore {

// U at a zero c of the Rayleigh function D of `model` (whose omega is the
// mode's), c within the search's tolerance of it. Returns NaN when the mode
// cannot be followed to both sides of omega (a close pair of zeros, or the
// mode's end at the half-space velocity, within the differences' reach).
double groupVelocity(const SecularModel& model, double c);

// The same for a zero of the secular function of `wave`.
double groupVelocity(const SecularModel& model, double c, WaveType wave);

// The same with the secular function's code for `set`, which the processor
// must have (processorHas).
double groupVelocity(const SecularModel& model, double c, WaveType wave, InstructionSet set);

}  // namespace swcore
