// SPDX-License-Identifier: GPL-3.0-or-later
// How well a computed curve fits a measured one.
//
// Notation (m/s):
//   c_i      measured phase velocity;  v_i  computed one at the same frequency
//   m        number of points with a computed velocity
//   RMS      sqrt(sum (v_i - c_i)^2 / m), every point weighted alike
#pragma once

#include <optional>
#include <span>
#include <vector>

#include "site/measured_curve.h"

namespace dispfit {

// A computed velocity per point, m/s, in the engine's single precision; none
// where no root was found.
using ComputedCurve = std::vector<std::optional<float>>;

// The engine's velocities (m/s) with each one that is not a positive finite
// number, the engine's mark of a frequency without a root, as a gap.
ComputedCurve computedCurve(std::span<const float> velocities);

struct FitStatistics {
  std::optional<double> rmsMisfit;  // m/s, none when no point has a computed velocity
  int compared = 0;                 // points with a computed velocity (m)
  int withoutRoot = 0;              // points left out: no computed velocity
  int withBand = 0;                 // compared points that carry a band
  int insideBand = 0;               // of those, computed velocity within the band, ends included
};

// The fit of computed[i] to measured[i]; a point beyond the end of computed
// counts as one without a root.
FitStatistics fitStatistics(std::span<const MeasuredPoint> measured, const ComputedCurve& computed);

}  // namespace dispfit
