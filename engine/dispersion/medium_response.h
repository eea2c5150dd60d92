// SPDX-License-Identifier: GPL-3.0-or-later
// How strongly a surface array records each Rayleigh mode: the vertical
// displacement at the surface that a vertical point force at the surface
// gives through one mode (the medium response; Aki & Richards, Quantitative
// Seismology, ch. 7; Lai & Rix 1998).
//
// Notation (SI):
//   r2(0), I1    the mode's vertical displacement at the surface and its
//                first energy integral, of one normalisation (Eigenfunction)
//   c, U, k      its phase and group velocity and wavenumber
//   R            r2(0)^2 / (8 c U I1) sqrt(2 / (pi k)): far from the force,
//                at distance r, the mode's vertical displacement per unit
//                force is R / sqrt(r) (m/N at r = 1 m); modes of one
//                frequency compare by R alone, whatever r
#pragma once

#include "dispersion/eigenfunction.h"

namespace swcore {

// R of the Rayleigh mode whose motion `mode` holds (m/N at 1 m, falling as
// r^-1/2), its group velocity from the energy integrals; 0 where the mode's
// surface motion is too small to be written beside its motion at depth (a
// mode trapped far below a stiff crust).
double verticalSurfaceResponse(const Eigenfunction& mode, double frequency);

}  // namespace swcore
