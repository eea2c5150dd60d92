// SPDX-License-Identifier: GPL-3.0-or-later
// The geometry of a shear-wave velocity profile drawn over depth: the step
// polyline of a layered model and how deep a chart of it reaches.
//
// Notation (m, m/s):
//   h_i, Vs_i   thickness and shear-wave velocity of layer i, top first; the last
//               layer is the half-space, its thickness unused
//   z_i         depth of the top of layer i: z_0 = 0, z_{i+1} = z_i + h_i
//   z_last      the last interface, the top of the half-space
//   z_c         the depth the measured curve constrains (half its longest wavelength)
//   z_chart     the depth the chart reaches: 1.5 max(z_last, z_c), so that the
//               half-space shows well below its top and the constrained depth
//               never sits on the chart's lower edge
#pragma once

#include <optional>
#include <span>
#include <vector>

namespace dispfit {

// One corner of a step profile: Vs (m/s) at depth (m).
struct ProfilePoint {
  double vs = 0.0;
  double depth = 0.0;

  bool operator==(const ProfilePoint&) const = default;
};

// How far below the deeper of the last interface and the constrained depth
// the chart reaches, as a factor of that depth.
inline constexpr double kProfileDepthFactor = 1.5;

// z_last of the model (m): the sum of the thicknesses above the half-space;
// 0 for a lone half-space or no layer.
double lastInterfaceDepth(std::span<const float> thickness);

// z_chart (m) for the deepest last interface among the models drawn and the
// constrained depth, if any. When both are 0 (a lone half-space, no curve)
// the chart reaches 30 m, the depth of Vs30.
double profileChartDepth(double deepestInterface, std::optional<double> constrainedDepth);

// The step polyline of the model (thickness in m, Vs in m/s, top first, the
// half-space last), surface first: each layer's Vs at its top and at its
// bottom, the half-space's from z_last down to chartDepth (m; not above
// z_last). Empty for no layer.
std::vector<ProfilePoint> stepProfile(std::span<const float> thickness, std::span<const float> vs,
                                      double chartDepth);

// A stretch of the Vs axis (m/s).
struct VsStretch {
  double low = 0.0;
  double high = 0.0;
  double width() const { return high - low; }
};

// The widest stretch of [low, high] that none of the polylines (corners of
// Vs in m/s over depth in m, each joined to the next) enters between the
// depths top and bottom (m, top <= bottom): where a label drawn across that
// band of depths covers no line. A segment that reaches into the band takes
// the Vs it spans inside it. All of [low, high] when nothing enters; of
// stretches equally wide, the lowest.
VsStretch widestFreeStretch(const std::vector<std::vector<ProfilePoint>>& lines, double top,
                            double bottom, double low, double high);

// The upper end of the chart's Vs axis (m/s), which starts at 0: the first
// round tick at or above 1.1 times the fastest Vs, so no step touches the
// chart's edge. 100 m/s for no positive Vs.
double profileVelocityCeiling(double fastestVs);

}  // namespace dispfit
