// SPDX-License-Identifier: GPL-3.0-or-later
// The kept samples of one chain at temperature 1, in the order drawn, packed
// one after the other, with the two quantities every convergence figure
// follows: Vs30 and the log-likelihood.
//
// Layout of a sample: k, then Vs_0 .. Vs_k-1 (m/s), h_0 .. h_k-1 (m; the
// half-space's 0, as in TrialModel), nu_0 .. nu_k-1 when sampled, then the
// noise scale s, log L and log p.
#pragma once

#include <cstddef>
#include <span>
#include <vector>

#include "sampling/convergence.h"
#include "sampling/markov_chain.h"

namespace dispfit {

struct SampleView {
  std::span<const double> vs;         // m/s, k values
  std::span<const double> thickness;  // m, k values, the half-space's 0
  std::span<const double> poisson;    // k values, or none
  double noise = 1.0;
  double logLikelihood = 0.0;
  double logPrior = 0.0;

  std::size_t layerCount() const { return vs.size(); }
};

class SampleChain {
 public:
  explicit SampleChain(bool withPoisson) : withPoisson_(withPoisson) {}

  void add(const ChainState& state);

  std::size_t size() const { return starts_.size(); }
  SampleView operator[](std::size_t i) const;

  // Per sample: Vs30 (m/s) and log L.
  std::span<const double> vs30() const { return vs30_; }
  std::span<const double> logLikelihoods() const { return logLikelihoods_; }

  // The running moments of Vs30 and log L, for R-hat while the chain runs.
  const RunningMoments& vs30Moments() const { return vs30Moments_; }
  const RunningMoments& logLikelihoodMoments() const { return logLikelihoodMoments_; }

 private:
  bool withPoisson_;
  std::vector<double> values_;
  std::vector<std::size_t> starts_;
  std::vector<double> vs30_;
  std::vector<double> logLikelihoods_;
  RunningMoments vs30Moments_;
  RunningMoments logLikelihoodMoments_;
};

}  // namespace dispfit
