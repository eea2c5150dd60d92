// SPDX-License-Identifier: GPL-3.0-or-later
// What the posterior's credible intervals held, measured: the coverage that
// bench/posterior_calibration found on synthetic sites drawn from the prior
// (every layer's Vs uniform on 80-1000 m/s, thickness on 0.5-15 m), each curve
// at 30 points from 5 to 80 Hz noised at sigma = 2 %, sampled with the same
// prior under the lowest root (100,000 samples after 50,000 of burn-in, 8
// chains at T = 1 and 8 heated up to T = 1000, a tenth of the steps redraws,
// the chains started from four best-fit searches of 2000 models per layer
// count). Each
// output of the posterior names the configuration nearest its own and what
// its intervals held there, so that no interval claims more than was
// measured.
//
// Notation:
//   coverage   the share of the sites whose p % interval held the true value
//   nominal    p / 100, the coverage a calibrated interval has
//   tolerance  the calibration's target: coverage within 8 points of nominal
//              at 100 sites (two binomial standard errors of 4 points at 80 %)
#pragma once

#include <array>
#include <string>

#include "dispersion/observed_curve.h"
#include "sampling/model_prior.h"

namespace dispfit {

// The 50, 80 and 90 % intervals, in this order in every array below.
inline constexpr std::array<double, 3> kNominalCoverage{0.5, 0.8, 0.9};
inline constexpr double kCoverageTolerance = 0.08;

struct MeasuredCoverage {
  LayerCountRange counts;
  int sites = 0;
  std::array<double, 3> vs30{};
  // The least coverage of Vs at 2, 5 and 10 m; measured is false where the
  // configuration's run did not record it.
  std::array<double, 3> vsAtDepth{};
  bool vsAtDepthMeasured = false;
};

// The measured configuration nearest `counts`: a sampled count gives the run
// of 2 to 6 layers, a fixed count up to 3 the run of 3 layers, a larger one
// the run of 5 layers.
const MeasuredCoverage& measuredCoverageFor(LayerCountRange counts);

// Under the surface-observed rule: the run of 3 layers for a fixed count up
// to 3, the run of 2 to 6 layers for any other count.
const MeasuredCoverage& measuredObservedCoverageFor(LayerCountRange counts);

// The measured configuration for `counts` under `rule`: measuredCoverageFor
// under the lowest root, measuredObservedCoverageFor under the
// surface-observed rule.
const MeasuredCoverage& measuredCoverageUnder(LayerCountRange counts, swcore::ForwardRule rule);

// Whether a coverage lies more than the tolerance below its nominal value.
bool fallsShort(double coverage, double nominal);
// Whether any measured coverage of the configuration falls short.
bool anyFallsShort(const MeasuredCoverage& measured);

// What the intervals are and are not, and what they held on the measured
// configuration nearest `counts`, as lines of the report: under `rule`'s own
// measured runs, so that a posterior under the surface-observed rule never
// quotes the lowest root's figures.
std::string calibrationNote(LayerCountRange counts,
                            swcore::ForwardRule rule = swcore::ForwardRule::lowestRoot);

}  // namespace dispfit
