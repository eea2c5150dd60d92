// SPDX-License-Identifier: GPL-3.0-or-later
// What a model says about its site: VsZ at the standard depths, Vs30 and its
// classes, each average flagged where it reaches below what the measured
// curve constrains.
#pragma once

#include <optional>
#include <span>
#include <vector>

#include "site/site_class.h"

namespace dispfit {

struct DepthAverage {
  double depth = 0.0;              // Z, m
  std::optional<double> velocity;  // VsZ, m/s
  bool extrapolated = false;       // Z lies below the constrained depth
};

struct SiteSummary {
  std::vector<DepthAverage> averages;      // one per kAveragingDepths entry, shallowest first
  std::optional<double> constrainedDepth;  // m, when a measured curve is known
  std::optional<double> vs30;              // m/s
  bool vs30Extrapolated = false;
  std::optional<GroundType> groundType;  // set with vs30
  std::optional<NehrpClass> nehrpClass;  // set with vs30
};

// The summary of the model (thickness in m, Vs in m/s, top first, the
// half-space last). constrainedDepth (m) is half the longest measured
// wavelength, or none without a measured curve (then nothing is flagged).
SiteSummary summarizeSite(std::span<const float> thickness, std::span<const float> vs,
                          std::optional<double> constrainedDepth);

}  // namespace dispfit
