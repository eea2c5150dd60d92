// SPDX-License-Identifier: GPL-3.0-or-later
// The likelihood of a model's curve given a measured one: independent
// Gaussian errors with each point's standard deviation, or, where the curve
// gives none, with a noise scale sampled with the model (a hierarchical
// model of the noise, as in Bodin et al. 2012, "Transdimensional inversion
// of receiver functions and surface wave dispersion", J. Geophys. Res. 117,
// B02301).
//
// Notation (m/s):
//   c_i       measured phase velocity at frequency f_i, i = 1 .. m
//   v_i       the model's phase velocity there
//   w_i       the point's scale: its sigma (the standard deviation, or half the
//             width of its low-high band) where the curve gives one, c_i where
//             it gives none
//   s         the noise scale: 1 with a given sigma; sampled otherwise, so that
//             sigma_i = s c_i, a relative error, with a log-uniform prior on
//             kNoiseScaleRange (uniform in ln s: no scale preferred)
//   Q         sum ((v_i - c_i) / w_i)^2
//   log L     -m ln s - sum ln w_i - (m / 2) ln(2 pi) - Q / (2 s^2)
// A model without a root at some f_i has no curve there: L = 0.
#pragma once

#include <span>
#include <string>
#include <vector>

#include "search/search_space.h"
#include "site/measured_curve.h"

namespace dispfit {

enum class NoiseModel {
  Given,        // each point's sigma from the curve
  Hierarchical  // a relative noise scale s sampled with the model
};

// The relative noise scales a curve without sigma may have: 0.2 % (below
// what a field curve is picked to) to 50 % (a curve that says next to
// nothing).
inline constexpr Range kNoiseScaleRange{0.002, 0.5};

class CurveLikelihood {
 public:
  // Points with frequency (Hz) and velocity (m/s). Refused (fault()): no
  // point, some points with a band and some without, a band of no width.
  explicit CurveLikelihood(std::span<const MeasuredPoint> points);

  // Empty when the points can be used.
  const std::string& fault() const { return fault_; }
  NoiseModel noise() const { return noise_; }
  std::size_t size() const { return velocities_.size(); }
  std::span<const double> frequencies() const { return frequencies_; }
  std::span<const double> velocities() const { return velocities_; }
  // w_i, m/s.
  std::span<const double> scales() const { return scales_; }

  // Q of the computed velocities (m/s, one per point in the points' order);
  // +infinity when one is not finite.
  double weightedSquares(std::span<const double> computed) const;

  // log L for Q and the noise scale s (1 with a given sigma).
  double logLikelihood(double weightedSquares, double noiseScale) const;

 private:
  std::vector<double> frequencies_;
  std::vector<double> velocities_;
  std::vector<double> scales_;
  double logScaleSum_ = 0.0;  // sum ln w_i + (m / 2) ln(2 pi)
  NoiseModel noise_ = NoiseModel::Given;
  std::string fault_;
};

}  // namespace dispfit
