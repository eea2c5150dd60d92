// SPDX-License-Identifier: GPL-3.0-or-later
#include "sampling/sample_chain.h"

#include "site/time_averaged_velocity.h"

namespace dispfit {

void SampleChain::add(const ChainState& state) {
  const SampledModel& m = state.model;
  const std::size_t k = m.layerCount();
  starts_.push_back(values_.size());
  values_.push_back(static_cast<double>(k));
  values_.insert(values_.end(), m.vs.begin(), m.vs.end());
  values_.insert(values_.end(), m.thickness.begin(), m.thickness.end());
  values_.push_back(0.0);  // the half-space
  if (withPoisson_) values_.insert(values_.end(), m.poisson.begin(), m.poisson.end());
  values_.push_back(state.noise);
  values_.push_back(state.logLikelihood);
  values_.push_back(state.logPrior);
  const SampleView view = (*this)[size() - 1];
  const double vs30 = timeAveragedVelocity(view.thickness, view.vs, kVs30Depth).value_or(0.0);
  vs30_.push_back(vs30);
  logLikelihoods_.push_back(state.logLikelihood);
  vs30Moments_.add(vs30);
  logLikelihoodMoments_.add(state.logLikelihood);
}

SampleView SampleChain::operator[](std::size_t i) const {
  const std::span<const double> all(values_);
  std::size_t at = starts_[i];
  const auto k = static_cast<std::size_t>(all[at++]);
  SampleView view;
  view.vs = all.subspan(at, k);
  at += k;
  view.thickness = all.subspan(at, k);
  at += k;
  if (withPoisson_) {
    view.poisson = all.subspan(at, k);
    at += k;
  }
  view.noise = all[at];
  view.logLikelihood = all[at + 1];
  view.logPrior = all[at + 2];
  return view;
}

}  // namespace dispfit
