// SPDX-License-Identifier: GPL-3.0-or-later
// What the accepted models of a search say together: percentiles of Vs at
// every depth, of VsZ and of Vs30.
//
// Notation (m, m/s):
//   x_(0) <= ... <= x_(n-1)   the sorted values of n models
//   P_p        the p-th percentile: with r = p (n - 1), the straight line between
//              x_(floor r) and x_(ceil r) at r (linear interpolation between order
//              statistics, the most common definition: P_0 the least, P_1 the
//              largest, P_0.5 the median)
//   Vs(z)      a model's S velocity at depth z: that of the layer with top <= z < bottom,
//              so an interface belongs to the layer below it
#pragma once

#include <optional>
#include <span>
#include <vector>

#include "search/search_space.h"
#include "site/site_class.h"

namespace dispfit {

// The p-th percentile (p in [0, 1]) of `values`; none when there are none.
std::optional<double> percentile(std::span<const double> values, double p);

struct Spread {
  double p10 = 0.0;
  double median = 0.0;
  double p90 = 0.0;
};

// The 10th, 50th and 90th percentiles; none when there are no values.
std::optional<Spread> spreadOf(std::span<const double> values);

// Vs(z) of the model.
double shearVelocityAt(const TrialModel& model, double depth);

struct ProfileRow {
  double depth = 0.0;  // m
  Spread vs;           // m/s, over the models
};

// The profile's rows per metre: a row every 0.1 m, finer than any layer a
// surface-wave curve resolves.
inline constexpr int kProfileRowsPerMetre = 10;

// Rows at 0, 0.1, 0.2 ... m down to `bottom` (m, included when it falls on
// the grid, within 1e-9 m), with the spread of Vs(z) over `models`; none
// without models.
std::vector<ProfileRow> vsProfile(std::span<const TrialModel> models, double bottom);

// VsZ of the model (m/s), the half-space continuing below the last interface.
std::optional<double> averageVelocity(const TrialModel& model, double depth);

struct AverageSpread {
  double depth = 0.0;              // Z, m
  Spread vs;                       // VsZ percentiles, m/s
  bool extrapolated = false;       // Z lies below the constrained depth
  GroundType groundTypes[3] = {};  // of p10, median, p90
  NehrpClass nehrpClasses[3] = {};
};

// The spread of VsZ over `models` for Z = 5, 10, 20 and 30 m; empty without
// models. `constrainedDepth` (m) flags the depths below it.
std::vector<AverageSpread> averageSpreads(std::span<const TrialModel> models,
                                          double constrainedDepth);

}  // namespace dispfit
