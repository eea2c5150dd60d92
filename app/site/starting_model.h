// SPDX-License-Identifier: GPL-3.0-or-later
// A starting model suggested by a measured curve, for the user to edit before
// inverting.
//
// Notation (m, m/s):
//   lambda_min, lambda_max   shortest and longest measured wavelength
//   z_top, z_bottom          shallowest and deepest interface: lambda_min / 3 and
//                            lambda_max / 2 (a Rayleigh wave of wavelength lambda
//                            senses the ground down to about lambda / 3 .. lambda / 2)
//   z_k                      interface k of n - 1, geometric between z_top and z_bottom:
//                            z_k = z_top (z_bottom / z_top)^(k / (n - 2)), k = 0 .. n-2
//   d                        depth of a layer: the middle of a layer, the top of the
//                            half-space
//   c(lambda)                measured phase velocity at wavelength lambda, linear in
//                            log lambda between measured points, held at the ends
//   Vs                       1.1 c(2 d): shear velocity exceeds the Rayleigh velocity by
//                            about a tenth for Poisson's ratios of soils, and the wave of
//                            wavelength 2 d is the one whose half wavelength reaches d
#pragma once

#include <vector>

#include "core/model_table.h"
#include "site/measured_curve.h"

namespace dispfit {

// The density given to every suggested layer, g/cm3: a middling soil.
inline constexpr float kSuggestedDensity = 1.9f;

// The ratio of the suggested Vs to the phase velocity.
inline constexpr double kShearToRayleighRatio = 1.1;

// n layers (1 <= n <= 20), the half-space last, for a curve of at least one
// point. The half-space's thickness, which no computation uses, repeats the
// layer above it (1 m for a lone half-space) so that it lies within any
// thickness bounds the layers do.
ParsedLayers suggestStartingModel(const std::vector<MeasuredPoint>& points, int layerCount);

// The model rounded for a table the user edits: thicknesses to 0.1 m (at
// least 0.1 m, so no layer above the half-space vanishes), Vs to 1 m/s (at
// least 1 m/s); densities as they are. Finer digits say nothing a suggestion
// knows, and the table's cells show five characters or so.
ParsedLayers roundedForEditing(const ParsedLayers& model);

// c(lambda) of the points as above (m/s); 0 without points.
double velocityAtWavelength(const std::vector<MeasuredPoint>& points, double wavelength);

}  // namespace dispfit
