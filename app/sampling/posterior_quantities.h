// SPDX-License-Identifier: GPL-3.0-or-later
// The figures a posterior gives for one quantity of the model: its value in
// each kept sample, and the percentiles of those values.
//
// Notation (m, m/s):
//   x_(0) <= ... <= x_(n-1)   the sorted values of the n samples
//   P_p        the p-th quantile, the straight line between x_(floor r) and
//              x_(ceil r) at r = p (n - 1), as the best-fit search's
//              percentiles are (search/ensemble_statistics.h)
//   Vs(z)      the S velocity at depth z; an interface belongs to the layer below
//   VsZ        Z / sum(h_i / Vs_i) over the top Z metres
#pragma once

#include <functional>
#include <optional>
#include <span>
#include <vector>

#include "sampling/model_prior.h"
#include "sampling/parallel_tempering.h"
#include "sampling/sample_chain.h"

namespace dispfit {

// The quantiles a posterior report gives, and the two more the 50 %
// credible interval takes.
struct Credible {
  double p5 = 0.0;
  double p10 = 0.0;
  double p25 = 0.0;
  double p50 = 0.0;
  double p75 = 0.0;
  double p90 = 0.0;
  double p95 = 0.0;
};

// The quantiles of `values`, which are sorted in place; none without values.
std::optional<Credible> credibleOf(std::vector<double>& values);

// The quantity of every kept sample, the chains one after the other, each
// in its order; samples for which the quantity has no value are left out.
std::vector<double> sampleValues(const SamplerRun& run,
                                 const std::function<std::optional<double>(const SampleView&)>& of);

// Vs(z) and VsZ of a sample.
double shearVelocityAt(const SampleView& sample, double depth);
std::optional<double> averageVelocity(const SampleView& sample, double depth);

// Every `stride`-th sample of each chain, for the figures that cost more per
// sample (a profile, the curves of a predictive band): the stride that keeps
// at most `most` samples of all.
std::vector<SampleView> thinnedSamples(const SamplerRun& run, std::size_t most);

// The layered model a sample stands for, each layer's Vp and density as the
// prior gives them.
TrialModel trialModelOf(const ModelPrior& prior, const SampleView& sample);

}  // namespace dispfit
