// SPDX-License-Identifier: GPL-3.0-or-later
// The sampler on targets whose posterior is known:
// - a Gaussian: "curves" that are the S velocities themselves, with data c_i
//   and sigma_i, so that Vs_i ~ N(c_i, sigma_i) (its range far wider) and the
//   thickness, which the data do not see, keeps its uniform prior;
// - two modes: a curve 300 + |Vs - 400| m/s against 450 +- 5 m/s holds Vs =
//   250 and 550 with equal weight, thirty sigma of misfit apart at 400: a
//   cold chain stays in its mode, tempering must carry every chain into both;
// - two modes split by a gap with no curve: a curve 300 + |Vs - 400| m/s
//   that does not exist for Vs within 100 m/s of 400 holds the same two
//   modes, but no chain can walk across the gap, where the likelihood is
//   zero at every temperature; only a parameter drawn afresh from its range
//   lands on the other side (no heated chains here, whose wide steps might
//   leap it);
// - a half-space, through the curve core: its fundamental mode is the
//   Rayleigh wave at xi Vs at every frequency (xi from Rayleigh's equation,
//   solved here by bisection on its radical form), so m points c_i = xi V0
//   with sigma_i give Vs ~ N(V0, sigma / (xi sqrt(m))) for equal sigma_i; and
//   without sigma, the sampled noise scale finds the data's own.
#include <gtest/gtest.h>

#include <cmath>

#include "fake_forward.h"
#include "sampling/parallel_tempering.h"
#include "sampling/posterior_quantities.h"

namespace {

using namespace dispfit;

LayerRanges layer(Range vs, Range h) {
  return {vs, h, 1.9, std::nullopt, std::nullopt};
}

struct Moments {
  double mean = 0.0;
  double sd = 0.0;
};

Moments momentsOf(const std::vector<double>& values) {
  Moments m;
  for (const double v : values) m.mean += v;
  m.mean /= static_cast<double>(values.size());
  double sum = 0.0;
  for (const double v : values) sum += (v - m.mean) * (v - m.mean);
  m.sd = std::sqrt(sum / static_cast<double>(values.size() - 1));
  return m;
}

TEST(KnownPosterior, GaussianLikelihoodGivesTheNormalPosteriorOfEachVelocity) {
  const std::vector<double> c{300.0, 420.0};
  const std::vector<double> sigma{10.0, 25.0};
  const std::vector<MeasuredPoint> points = dispfit_test::pointsWith(c, sigma);
  const CurveLikelihood likelihood(points);
  SearchSpace space;
  space.layers = {layer({100.0, 800.0}, {1.0, 9.0}), layer({100.0, 800.0}, {0.0, 0.0})};
  const ModelPrior prior(space, {2, 2});
  SamplerSettings settings;
  settings.samples = 60000;
  settings.burnIn = 10000;
  settings.chains = 4;
  settings.heatedChains = 2;
  const SamplerRun run = runParallelTempering(
      {&prior, &likelihood},
      dispfit_test::functionForward([](const TrialModel& m, std::span<double> v) {
        v[0] = m.vs[0];
        v[1] = m.vs[1];
      }),
      settings, {}, {});
  for (std::size_t i = 0; i < 2; ++i) {
    SCOPED_TRACE(i);
    std::vector<double> vs =
        sampleValues(run, [i](const SampleView& s) { return std::optional(s.vs[i]); });
    const Moments m = momentsOf(vs);
    // A tenth of sigma for the mean, a tenth of it for the spread: a few
    // standard errors with the thousands of effective draws of this run.
    EXPECT_NEAR(m.mean, c[i], 0.1 * sigma[i]);
    EXPECT_NEAR(m.sd, sigma[i], 0.1 * sigma[i]);
    // The 10 % and 90 % quantiles of a normal lie 1.2816 sigma out.
    const Credible q = *credibleOf(vs);
    EXPECT_NEAR(q.p10, c[i] - 1.2816 * sigma[i], 0.15 * sigma[i]);
    EXPECT_NEAR(q.p90, c[i] + 1.2816 * sigma[i], 0.15 * sigma[i]);
  }
  const Moments h = momentsOf(
      sampleValues(run, [](const SampleView& s) { return std::optional(s.thickness[0]); }));
  EXPECT_NEAR(h.mean, 5.0, 0.2);
  EXPECT_NEAR(h.sd, 8.0 / std::sqrt(12.0), 0.2);
}

// One layer of 100-800 m/s against a single point of 450 +- 5 m/s, which
// the tests of two modes read through curves symmetric about 400 m/s.
struct TwoModeProblem {
  static SearchSpace oneLayer() {
    SearchSpace space;
    space.layers = {layer({100.0, 800.0}, {0.0, 0.0})};
    return space;
  }
  std::vector<MeasuredPoint> points =
      dispfit_test::pointsWith(std::vector<double>{450.0}, std::vector<double>{5.0});
  CurveLikelihood likelihood{points};
  ModelPrior prior{oneLayer(), {1, 1}};
};

// The share of a chain's samples in the upper mode, above 400 m/s.
double upperShare(const SampleChain& chain) {
  std::size_t upper = 0;
  for (std::size_t i = 0; i < chain.size(); ++i) upper += chain[i].vs[0] > 400.0 ? 1 : 0;
  return static_cast<double>(upper) / static_cast<double>(chain.size());
}

// The run both tests of the two modes make: four cold chains, long enough
// for each chain's share of a mode to settle within a few swaps' worth.
SamplerSettings twoModeRun() {
  SamplerSettings settings;
  settings.samples = 80000;
  settings.burnIn = 8000;
  settings.chains = 4;
  return settings;
}

TEST(KnownPosterior, TemperingCarriesEveryChainIntoBothModes) {
  const TwoModeProblem problem;
  SamplerSettings settings = twoModeRun();
  settings.heatedChains = 6;
  settings.hottest = 100.0;
  settings.redrawShare = 0.0;  // tempering alone, whose effect is what is checked
  const auto rule = [](const TrialModel& m, std::span<double> v) {
    v[0] = 300.0 + std::abs(m.vs[0] - 400.0);
  };
  const SamplerRun run = runParallelTempering(
      {&problem.prior, &problem.likelihood}, dispfit_test::functionForward(rule), settings, {}, {});
  for (std::size_t chain = 0; chain < run.chains.size(); ++chain) {
    SCOPED_TRACE(chain);
    // Each chain spends a fair share in each mode: 0.5 on the whole, the
    // chain's own share within a few swaps' worth of it.
    EXPECT_NEAR(upperShare(run.chains[chain]), 0.5, 0.15);
  }
  // Without heated chains each chain keeps the mode it starts in.
  settings.heatedChains = 0;
  const SamplerRun cold = runParallelTempering(
      {&problem.prior, &problem.likelihood}, dispfit_test::functionForward(rule), settings, {}, {});
  for (std::size_t chain = 0; chain < cold.chains.size(); ++chain) {
    SCOPED_TRACE(chain);
    const double share = upperShare(cold.chains[chain]);
    EXPECT_TRUE(share < 0.01 || share > 0.99) << share;
  }
}

TEST(KnownPosterior, RedrawsCarryEveryChainAcrossAGapWithNoCurve) {
  const TwoModeProblem problem;
  SamplerSettings settings = twoModeRun();
  settings.heatedChains = 0;
  const auto gapped = dispfit_test::partialForward([](const TrialModel& m, std::span<double> v) {
    if (std::abs(m.vs[0] - 400.0) < 100.0) return false;
    v[0] = 300.0 + std::abs(m.vs[0] - 400.0);
    return true;
  });
  const auto gapAvoidingShare = [](const SampleChain& chain) {
    for (std::size_t i = 0; i < chain.size(); ++i) {
      EXPECT_GE(std::abs(chain[i].vs[0] - 400.0), 100.0);  // never inside the gap
    }
    return upperShare(chain);
  };
  const SamplerRun run =
      runParallelTempering({&problem.prior, &problem.likelihood}, gapped, settings, {}, {});
  for (std::size_t chain = 0; chain < run.chains.size(); ++chain) {
    SCOPED_TRACE(chain);
    // Each mode holds half the posterior. A redraw lands in the other
    // mode's +-2 sigma with the chance 20 / 700 and is then taken about
    // half the time: a crossing every ~70 redraws, so ~30 in a chain's
    // 20000 steps with a tenth of them redraws; the share of a chain then
    // lies within 0.5 +- 0.2 (a few times 0.5 / sqrt(30)).
    EXPECT_NEAR(gapAvoidingShare(run.chains[chain]), 0.5, 0.2);
  }
  // Without redraws each chain keeps the side it starts on.
  settings.redrawShare = 0.0;
  const SamplerRun local =
      runParallelTempering({&problem.prior, &problem.likelihood}, gapped, settings, {}, {});
  for (std::size_t chain = 0; chain < local.chains.size(); ++chain) {
    SCOPED_TRACE(chain);
    const double share = gapAvoidingShare(local.chains[chain]);
    EXPECT_TRUE(share == 0.0 || share == 1.0) << share;
  }
}

// xi = c_R / beta of a half-space with (beta / alpha)^2 = gamma, from
// (2 - xi^2)^2 = 4 sqrt(1 - xi^2) sqrt(1 - gamma xi^2), by bisection on (0.5, 0.99).
double rayleighRatio(double gamma) {
  const auto f = [gamma](double xi) {
    const double x2 = xi * xi;
    return (2.0 - x2) * (2.0 - x2) - 4.0 * std::sqrt(1.0 - x2) * std::sqrt(1.0 - gamma * x2);
  };
  double low = 0.5;
  double high = 0.99;
  for (int i = 0; i < 100; ++i) {
    const double middle = 0.5 * (low + high);
    (f(low) * f(middle) <= 0.0 ? high : low) = middle;
  }
  return 0.5 * (low + high);
}

std::vector<double> halfSpaceFrequencies() {
  std::vector<double> hz;
  for (int i = 0; i < 30; ++i) hz.push_back(80.0 * std::pow(5.0 / 80.0, i / 29.0));
  return hz;
}

TEST(KnownPosterior, HalfSpaceVelocityThroughTheCurveCore) {
  constexpr double kTrueVs = 300.0;
  constexpr double kRelativeSigma = 0.02;
  const double xi = rayleighRatio(1.0 / 9.0);  // Vp = 3 Vs
  std::vector<MeasuredPoint> points;
  const double c = xi * kTrueVs;
  const double sigma = kRelativeSigma * c;
  int line = 1;
  for (const double f : halfSpaceFrequencies()) {
    points.push_back({f, c, VelocityBand{c - sigma, c + sigma}, line++});
  }
  const CurveLikelihood likelihood(points);
  SearchSpace space;
  space.layers = {layer({100.0, 800.0}, {0.0, 0.0})};
  const ModelPrior prior(space, {1, 1});
  SamplerSettings settings;
  settings.samples = 16000;
  settings.burnIn = 2000;
  settings.chains = 4;
  settings.heatedChains = 1;
  const SamplerRun run =
      runParallelTempering({&prior, &likelihood}, lowestRootForward(points), settings, {}, {});
  const Moments m =
      momentsOf(sampleValues(run, [](const SampleView& s) { return std::optional(s.vs[0]); }));
  const double expectedSd = sigma / (xi * std::sqrt(30.0));  // 1.10 m/s
  EXPECT_NEAR(m.mean, kTrueVs, 0.15 * expectedSd);
  EXPECT_NEAR(m.sd, expectedSd, 0.12 * expectedSd);
}

TEST(KnownPosterior, SampledNoiseScaleFindsTheDataNoise) {
  constexpr double kTrueVs = 250.0;
  const double xi = rayleighRatio(1.0 / 9.0);
  // Relative errors of a fixed normal draw, their RMS 3.1 %.
  const double errors[] = {0.021,  -0.034, 0.006,  0.048,  -0.012, -0.041, 0.027,  0.003,
                           -0.019, 0.035,  -0.052, 0.014,  0.009,  -0.027, 0.044,  -0.006,
                           0.031,  -0.023, 0.017,  -0.038, 0.002,  0.025,  -0.046, 0.011,
                           -0.015, 0.039,  -0.008, 0.022,  -0.031, 0.013};
  double squares = 0.0;
  for (const double e : errors) squares += e * e;
  const double rms = std::sqrt(squares / 30.0);
  std::vector<MeasuredPoint> points;
  int i = 0;
  for (const double f : halfSpaceFrequencies()) {
    points.push_back({f, xi * kTrueVs * (1.0 + errors[i]), std::nullopt, i + 1});
    ++i;
  }
  const CurveLikelihood likelihood(points);
  ASSERT_EQ(likelihood.noise(), NoiseModel::Hierarchical);
  SearchSpace space;
  space.layers = {layer({100.0, 800.0}, {0.0, 0.0})};
  const ModelPrior prior(space, {1, 1});
  SamplerSettings settings;
  settings.samples = 16000;
  settings.burnIn = 2000;
  settings.chains = 4;
  settings.heatedChains = 1;
  const SamplerRun run =
      runParallelTempering({&prior, &likelihood}, lowestRootForward(points), settings, {}, {});
  std::vector<double> noise =
      sampleValues(run, [](const SampleView& s) { return std::optional(s.noise); });
  const Credible q = *credibleOf(noise);
  // The posterior of s given 30 residuals peaks near their RMS; its median
  // lies within a tenth of it, and its 10-90 % interval is about a quarter
  // of it wide (s / sqrt(2 m) either way).
  EXPECT_NEAR(q.p50, rms, 0.1 * rms);
  EXPECT_LT(q.p10, rms);
  EXPECT_GT(q.p90, rms);
  EXPECT_NEAR(q.p90 - q.p10, 2.0 * 1.2816 * rms / std::sqrt(60.0), 0.1 * rms);
}

}  // namespace
