// SPDX-License-Identifier: GPL-3.0-or-later
// The sampler with the likelihood switched off samples the prior, whose
// moments are known: the uniform distribution's mean (lo + hi) / 2 and
// variance (hi - lo)^2 / 12 for every free parameter, the uniform layer
// count over A .. B (which the births and deaths must keep, with their
// proposal ratios and the truncation's Z_k right), and under increasing
// velocities the order statistics: the i-th of k uniform draws on [lo, hi]
// has mean lo + (hi - lo) i / (k + 1), i = 1 .. k.
#include <gtest/gtest.h>

#include <cmath>
#include <map>

#include "fake_forward.h"
#include "sampling/parallel_tempering.h"
#include "sampling/posterior_quantities.h"

namespace {

using namespace dispfit;

// No forward calculation runs with the likelihood off; this one would
// leave the curve as it found it.
ForwardFactory noForward() {
  return dispfit_test::functionForward([](const TrialModel&, std::span<double>) {});
}

SamplerRun samplePrior(const ModelPrior& prior, std::int64_t samples, std::uint64_t seed) {
  SamplerSettings settings;
  settings.samples = samples;
  settings.burnIn = samples / 10;
  settings.chains = 4;
  settings.heatedChains = 2;
  settings.seed = seed;
  const SamplingProblem problem{&prior, nullptr};
  return runParallelTempering(problem, noForward(), settings, {}, {});
}

struct Moments {
  double mean = 0.0;
  double variance = 0.0;
};

Moments momentsOf(const std::vector<double>& values) {
  Moments m;
  for (const double v : values) m.mean += v;
  m.mean /= static_cast<double>(values.size());
  for (const double v : values) m.variance += (v - m.mean) * (v - m.mean);
  m.variance /= static_cast<double>(values.size() - 1);
  return m;
}

LayerRanges layer(Range vs, Range h) {
  return {vs, h, 1.9, std::nullopt, std::nullopt};
}

TEST(PriorSampling, EveryParameterOfAFixedCountIsUniformOnItsRange) {
  SearchSpace space;
  space.layers = {layer({100.0, 300.0}, {1.0, 5.0}), layer({200.0, 700.0}, {2.0, 12.0}),
                  layer({400.0, 900.0}, {0.0, 0.0})};
  space.layers[1].poisson = Range{0.2, 0.45};
  const ModelPrior prior(space, {3, 3});
  const SamplerRun run = samplePrior(prior, 80000, 7);
  ASSERT_EQ(run.sampleCount(), 80000);
  struct Parameter {
    const char* name;
    std::function<std::optional<double>(const SampleView&)> value;
    Range range;
  };
  const Parameter parameters[] = {
      {"vs1", [](const SampleView& s) { return std::optional(s.vs[0]); }, {100.0, 300.0}},
      {"vs2", [](const SampleView& s) { return std::optional(s.vs[1]); }, {200.0, 700.0}},
      {"vs3", [](const SampleView& s) { return std::optional(s.vs[2]); }, {400.0, 900.0}},
      {"h1", [](const SampleView& s) { return std::optional(s.thickness[0]); }, {1.0, 5.0}},
      {"h2", [](const SampleView& s) { return std::optional(s.thickness[1]); }, {2.0, 12.0}},
      {"nu2", [](const SampleView& s) { return std::optional(s.poisson[1]); }, {0.2, 0.45}},
  };
  for (const Parameter& p : parameters) {
    SCOPED_TRACE(p.name);
    const Moments m = momentsOf(sampleValues(run, p.value));
    const double width = p.range.high - p.range.low;
    // 2 % of the width for the mean: over 10 standard errors of the mean of
    // uniform draws with the few hundred effective ones that even a slowly
    // mixing chain gives here, and well below what a wrong proposal ratio
    // at the walls does (a wall that is not reflected loses its edge).
    EXPECT_NEAR(m.mean, 0.5 * (p.range.low + p.range.high), 0.02 * width);
    EXPECT_NEAR(std::sqrt(m.variance), width / std::sqrt(12.0), 0.03 * width);
  }
}

TEST(PriorSampling, TheLayerCountIsUniformAndTheOrderedVelocitiesAreOrderStatistics) {
  SearchSpace space;
  space.layers.assign(6, layer({100.0, 800.0}, {1.0, 10.0}));
  space.increasing = true;
  const ModelPrior prior(space, {2, 6});
  const SamplerRun run = samplePrior(prior, 200000, 11);
  std::map<std::size_t, std::int64_t> counts;
  // The mean of each Vs given k = 4, against the order statistics.
  std::vector<std::vector<double>> vsOfFour(4);
  std::vector<double> thicknesses;
  for (const SampleChain& chain : run.chains) {
    for (std::size_t i = 0; i < chain.size(); ++i) {
      const SampleView s = chain[i];
      ++counts[s.layerCount()];
      for (std::size_t l = 0; l + 1 < s.layerCount(); ++l) thicknesses.push_back(s.thickness[l]);
      if (s.layerCount() == 4) {
        for (std::size_t l = 0; l < 4; ++l) vsOfFour[l].push_back(s.vs[l]);
      }
    }
  }
  const double total = static_cast<double>(run.sampleCount());
  for (std::size_t k = 2; k <= 6; ++k) {
    SCOPED_TRACE(k);
    // 1/5 each; 0.03 is several standard errors of the share of a count
    // that changes every few steps, and a quarter of what a missing Z_k
    // does (it tilts the shares by factors of k).
    EXPECT_NEAR(static_cast<double>(counts[k]) / total, 0.2, 0.03);
  }
  for (std::size_t l = 0; l < 4; ++l) {
    SCOPED_TRACE(l);
    const double expected = 100.0 + 700.0 * static_cast<double>(l + 1) / 5.0;
    EXPECT_NEAR(momentsOf(vsOfFour[l]).mean, expected, 0.03 * 700.0);
  }
  const Moments h = momentsOf(thicknesses);
  EXPECT_NEAR(h.mean, 5.5, 0.03 * 9.0);
  EXPECT_NEAR(std::sqrt(h.variance), 9.0 / std::sqrt(12.0), 0.03 * 9.0);
}

TEST(PriorSampling, TheLayerCountIsUniformWithoutOrderToo) {
  SearchSpace space;
  space.layers.assign(4, layer({150.0, 600.0}, {0.5, 4.0}));
  const ModelPrior prior(space, {1, 4});
  const SamplerRun run = samplePrior(prior, 120000, 3);
  std::map<std::size_t, std::int64_t> counts;
  for (const SampleChain& chain : run.chains) {
    for (std::size_t i = 0; i < chain.size(); ++i) ++counts[chain[i].layerCount()];
  }
  for (std::size_t k = 1; k <= 4; ++k) {
    SCOPED_TRACE(k);
    EXPECT_NEAR(static_cast<double>(counts[k]) / static_cast<double>(run.sampleCount()), 0.25,
                0.03);
  }
  const Moments vs =
      momentsOf(sampleValues(run, [](const SampleView& s) { return std::optional(s.vs.back()); }));
  EXPECT_NEAR(vs.mean, 375.0, 0.02 * 450.0);
}

}  // namespace
