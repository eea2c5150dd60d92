// SPDX-License-Identifier: GPL-3.0-or-later
// Group velocity of a mode from the implicit derivative of its secular
// function.
//
// Notation (velocities in km/s, omega in rad/s):
//   D(c, omega)   the secular function; a mode is a curve D = 0
//   D_c, D_omega  its partial derivatives, by central differences
//   dc/domega     -D_omega / D_c along the mode
//   U             group velocity, c / (1 - (omega / c) dc/domega)
#pragma once

#include "dispersion/secular_function.h"

namespace swcore {

// U at a zero c of D of `model` (whose omega is the mode's). Returns NaN
// when D does not vary with c there (no simple zero).
double groupVelocity(const SecularModel& model, double c);

}  // namespace swcore
