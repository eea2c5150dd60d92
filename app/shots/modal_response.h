// SPDX-License-Identifier: GPL-3.0-or-later
// The Rayleigh modes of a layered model as a line of vertical geophones
// records them from a vertical source at the surface: each mode's phase
// velocity and, as its amplitude, its vertical surface response to a vertical
// point force (medium_response.h). A synthetic record of these curves
// (synthetic_record.h, far field) is then the surface-wave part of the
// vertical motion far from the source, each mode as strong as the medium
// makes it, which is what the surface-observed rule's share is measured on.
//
// Notation (SI units):
//   f          frequency (Hz)
//   c_m(f)     phase velocity of mode m (m/s), NaN below its cut-off
//   R_m(f)     its vertical surface response (m/N at 1 m); the record's
//              amplitude A_m = R_m, and the far field's 1 / sqrt(r) the
//              record's own spreading
#pragma once

#include <span>
#include <vector>

#include "dispersion/dispersion_curve.h"
#include "shots/synthetic_record.h"

namespace dispfit {

// Modes 0 .. modes - 1 (1 to swcore::kMaxModes) at `frequencies` (ascending,
// > 0), each with its response as its amplitude at every frequency; a mode
// absent at a frequency has a NaN velocity and response 0 there. An empty
// list when the curve core refuses the model.
std::vector<ModalCurve> rayleighModeCurves(std::span<const swcore::ModelLayer> model,
                                           std::span<const double> frequencies, int modes);

// The mode (index into `modes`) whose velocity at `frequency` lies nearest
// `velocity`, if it lies within `share` of that velocity; -1 otherwise (a
// velocity between modes, or no mode there).
int nearestMode(std::span<const ModalCurve> modes, double frequency, double velocity, double share);

}  // namespace dispfit
