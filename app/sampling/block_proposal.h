// SPDX-License-Identifier: GPL-3.0-or-later
// A proposal that moves every free parameter at once, along the posterior's
// own correlations: a normal step with the covariance of the states a chain
// visited while burning in (the adaptive Metropolis of Haario, Saksman and
// Tamminen 2001, "An adaptive Metropolis algorithm", Bernoulli 7, 223-242),
// fixed once the burn-in ends, so that the kept steps form a Markov chain.
//
// Notation (the parameters scaled to their ranges, u = (x - lo) / (hi - lo)):
//   d          the free parameters of one layer count
//   Sigma      their covariance over a batch of states; the batches double in
//              length, each estimate from the latest batch alone, so that the
//              states of the chain's first approach are forgotten
//   L          the Cholesky factor of Sigma + eps I (eps keeps it positive)
//   lambda     the step's scale, 2.38 / sqrt(d) at first (the best for a normal
//              target, Gelman, Roberts and Gilks 1996) and tuned toward an
//              acceptance of 0.234 while burning in
//   step       lambda L z, z standard normal: symmetric, so alpha's ratio is
//              the targets' alone; a step out of the unit box is refused
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "search/trial_stream.h"

namespace dispfit {

class BlockProposal {
 public:
  explicit BlockProposal(std::size_t dimension);

  std::size_t dimension() const { return dimension_; }
  // Whether a covariance has been estimated, so that steps can be drawn.
  bool ready() const { return !factor_.empty(); }

  // Takes in a state visited while burning in.
  void record(std::span<const double> unit);

  // A step (dimension() values) into `step`; ready() must hold.
  void draw(TrialStream& random, std::span<double> step) const;

  // Tunes lambda after a step that was (not) taken, while burning in.
  void adapt(bool taken);

 private:
  void estimate();

  std::size_t dimension_;
  std::vector<double> sum_;       // of the batch's states
  std::vector<double> products_;  // of their pairwise products, d x d
  std::int64_t count_ = 0;
  std::int64_t batch_;          // the states the current batch holds when full
  std::vector<double> factor_;  // L, d x d row by row; empty until estimated
  double scale_;
  std::int64_t tuned_ = 0;
  mutable std::vector<double> normal_;
};

}  // namespace dispfit
