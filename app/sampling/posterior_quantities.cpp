// SPDX-License-Identifier: GPL-3.0-or-later
#include "sampling/posterior_quantities.h"

#include <algorithm>
#include <cmath>

#include "site/time_averaged_velocity.h"

namespace dispfit {

namespace {

double sortedQuantile(const std::vector<double>& sorted, double p) {
  const double rank = p * static_cast<double>(sorted.size() - 1);
  const auto below = static_cast<std::size_t>(std::floor(rank));
  const std::size_t above = std::min(below + 1, sorted.size() - 1);
  const double fraction = rank - static_cast<double>(below);
  return sorted[below] + fraction * (sorted[above] - sorted[below]);
}

}  // namespace

std::optional<Credible> credibleOf(std::vector<double>& values) {
  if (values.empty()) return std::nullopt;
  std::sort(values.begin(), values.end());
  return Credible{sortedQuantile(values, 0.05), sortedQuantile(values, 0.10),
                  sortedQuantile(values, 0.25), sortedQuantile(values, 0.50),
                  sortedQuantile(values, 0.75), sortedQuantile(values, 0.90),
                  sortedQuantile(values, 0.95)};
}

std::vector<double> sampleValues(
    const SamplerRun& run, const std::function<std::optional<double>(const SampleView&)>& of) {
  std::vector<double> values;
  values.reserve(static_cast<std::size_t>(run.sampleCount()));
  for (const SampleChain& chain : run.chains) {
    for (std::size_t i = 0; i < chain.size(); ++i) {
      if (const std::optional<double> value = of(chain[i])) values.push_back(*value);
    }
  }
  return values;
}

double shearVelocityAt(const SampleView& sample, double depth) {
  double top = 0.0;
  for (std::size_t i = 0; i + 1 < sample.layerCount(); ++i) {
    top += sample.thickness[i];
    if (depth < top) return sample.vs[i];
  }
  return sample.vs.back();
}

std::optional<double> averageVelocity(const SampleView& sample, double depth) {
  return timeAveragedVelocity(sample.thickness, sample.vs, depth);
}

std::vector<SampleView> thinnedSamples(const SamplerRun& run, std::size_t most) {
  const auto total = static_cast<std::size_t>(run.sampleCount());
  const std::size_t stride =
      std::max<std::size_t>(1, (total + most - 1) / std::max<std::size_t>(most, 1));
  std::vector<SampleView> samples;
  for (const SampleChain& chain : run.chains) {
    for (std::size_t i = stride - 1; i < chain.size(); i += stride) samples.push_back(chain[i]);
  }
  return samples;
}

TrialModel trialModelOf(const ModelPrior& prior, const SampleView& sample) {
  SampledModel model;
  model.vs.assign(sample.vs.begin(), sample.vs.end());
  model.thickness.assign(sample.thickness.begin(), sample.thickness.end() - 1);
  model.poisson.assign(sample.poisson.begin(), sample.poisson.end());
  TrialModel out;
  prior.trialModel(model, out);
  return out;
}

}  // namespace dispfit
