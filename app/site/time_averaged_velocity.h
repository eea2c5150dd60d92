// SPDX-License-Identifier: GPL-3.0-or-later
// Time-averaged shear-wave velocity of the top of a layered model.
//
// Notation (m, m/s):
//   h_i, Vs_i   thickness and shear-wave velocity of layer i, top first; the last
//               layer is the half-space, its thickness unused
//   Z           averaging depth;  VsZ = Z / sum(h_i / Vs_i) over the top Z metres,
//               the layer cut at Z contributing only its part above Z and the
//               half-space continuing below the last interface
#pragma once

#include <array>
#include <optional>
#include <span>

namespace dispfit {

// VsZ of the model for Z > 0. No value when there is no layer or a Vs of a
// layer reached within Z is not positive.
std::optional<double> timeAveragedVelocity(std::span<const float> thickness,
                                           std::span<const float> vs, double depth);
// The same in double precision, for models that never pass through the
// window's single-precision table (the samples of a posterior).
std::optional<double> timeAveragedVelocity(std::span<const double> thickness,
                                           std::span<const double> vs, double depth);

// The depths averaged over for the results: 5, 10, 20 and 30 m.
inline constexpr std::array<double, 4> kAveragingDepths{5.0, 10.0, 20.0, 30.0};

// The depth of Vs30, m.
inline constexpr double kVs30Depth = 30.0;

}  // namespace dispfit
