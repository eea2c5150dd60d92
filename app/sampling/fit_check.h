// SPDX-License-Identifier: GPL-3.0-or-later
// Whether any model of the ranges fits the curve as closely as its sigma
// says it was measured: the chi^2 test of the best fit the chains reached.
//
// A posterior is conditional on its forward rule and its ranges. Where no
// model fits within the curve's sigma, one of them does not hold: most often,
// on a curve an array recorded, the strongest mode at some frequencies is not
// the lowest root the sampler fits (a stiff layer over a soft one), or the
// sigma is too small for the curve's scatter. The intervals are then the
// percentiles of a posterior of the wrong problem.
//
// Notation:
//   Q      the best fit's sum of squared normalised residuals (curve_likelihood.h)
//   m, p   the fitted points and the best fit's free parameters (each layer's
//          Vs, each thickness above the half-space, each sampled Poisson's ratio)
//   nu     m - p, the degrees of freedom: for a model linear in its parameters
//          and errors of the given sigma, the least Q follows chi^2_nu
//   p      P(chi^2_nu >= Q) (chi_square.h)
#pragma once

#include <optional>
#include <string>

#include "sampling/curve_likelihood.h"
#include "sampling/parallel_tempering.h"

namespace dispfit {

// 0.001: below it the test warns. A curve whose sigma and rule hold is
// flagged at about one run in a thousand: put to the best fits of the 300
// sites of the calibration of record (3, 5 and 2-6 layers, curves the
// sampler's rule made, noised at their sigma) it flags one.
inline constexpr double kLeastFitPValue = 0.001;

struct FitCheck {
  double weightedSquares = 0.0;  // Q
  int degreesOfFreedom = 0;      // nu
  double pValue = 1.0;           // p

  bool warns() const { return pValue < kLeastFitPValue; }
};

// The test of `run`'s best fit; none where the curve gives no sigma (a noise
// scale sampled with the model absorbs any misfit), where there are no more
// points than parameters, or where no chain reached a model.
std::optional<FitCheck> checkBestFit(const SamplerRun& run, const CurveLikelihood& likelihood);

// "the best fit's Q 10.7 with 25 degrees of freedom (points less
// parameters), chi-square p 0.99", for the report and the export.
std::string describeFit(const FitCheck& check);

}  // namespace dispfit
