// SPDX-License-Identifier: GPL-3.0-or-later
// How far several Markov chains agree and how many independent draws their
// samples are worth: the split potential scale reduction factor (R-hat) and
// the effective sample size, as in Gelman et al., Bayesian Data Analysis,
// 3rd ed. (2013), sections 11.4 and 11.5.
//
// Notation:
//   psi_ij     draw i of sequence j: each chain cut into its two halves, so
//              that a chain still drifting disagrees with itself; m sequences
//              of n draws each (a chain's odd draw dropped)
//   B, W       n times the variance of the sequences' means, and the mean of
//              their variances
//   var+       ((n - 1) / n) W + B / n, the pooled variance
//   R-hat      sqrt(var+ / W): 1 for chains that sample one distribution,
//              above 1.1 a sign that they have not met yet
//   V_t        the variogram at lag t, the mean of (psi_i,j - psi_i-t,j)^2
//   rho_t      1 - V_t / (2 var+), the autocorrelation at lag t
//   ESS        m n / (1 + 2 sum rho_t), the sum over t = 1, 2, ... while the
//              sums of neighbouring pairs rho_2t-1 + rho_2t stay positive
//              (Geyer's initial positive sequence)
#pragma once

#include <cstddef>
#include <span>
#include <vector>

namespace dispfit {

// Split R-hat over the chains (each its own draws in order); NaN for fewer
// than two draws a half, and 1 where every draw is the same value (a
// quantity the data fix).
double splitRhat(std::span<const std::span<const double>> chains);

// The effective sample size of all the chains' draws together. Each chain
// is first thinned evenly to at most `mostPerChain` draws (the variogram
// costs a pass over the draws per lag); the figure then stays a fair one
// while the thinning step is small against the autocorrelation time, and
// falls short of the truth, never beyond it, otherwise. 0 without draws.
double effectiveSampleSize(std::span<const std::span<const double>> chains,
                           std::size_t mostPerChain = 4000);

// R-hat without the split, from each chain's count, mean and variance of a
// quantity: cheap enough to follow a run as it goes. NaN for fewer than two
// chains or two draws each.
struct RunningMoments {
  std::size_t count = 0;
  double mean = 0.0;
  double squares = 0.0;  // sum of squared deviations from the mean (Welford)

  void add(double value);
  double variance() const;  // with n - 1
};
double runningRhat(std::span<const RunningMoments> chains);

}  // namespace dispfit
