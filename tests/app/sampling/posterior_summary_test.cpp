// SPDX-License-Identifier: GPL-3.0-or-later
// The summary of a run whose samples are set by hand, so that every figure
// can be worked out: the quantiles of the samples' Vs at depth and Vs30,
// the share of each class and layer count, the interfaces' depths, the
// best models, and the tables' layouts.
#include <gtest/gtest.h>

#include <cmath>

#include "fake_forward.h"
#include "sampling/posterior_summary.h"
#include "sampling/posterior_tables.h"

namespace {

using namespace dispfit;

ChainState stateOf(std::vector<double> vs, std::vector<double> thickness, double logL) {
  ChainState s;
  s.model.vs = std::move(vs);
  s.model.thickness = std::move(thickness);
  s.logLikelihood = logL;
  s.logPrior = 0.0;
  return s;
}

// Two layer counts: 10 m of 200 m/s over 400 m/s (Vs30 = 30 / (10/200 +
// 20/400) = 300 m/s: C, D and ASCE 7-22's D, below 304.8) three times, and
// 5 m of 150, 10 m of 300 over 800 m/s (Vs30 = 30 / (5/150 + 10/300 +
// 15/800) = 352.9: C, D and CD)
// once; the best likelihood on the last.
SamplerRun handMadeRun() {
  SamplerRun run;
  run.temperatures = {1.0, 1.0};
  run.chains.emplace_back(false);
  run.chains.emplace_back(false);
  run.chains[0].add(stateOf({200.0, 400.0}, {10.0}, -5.0));
  run.chains[0].add(stateOf({200.0, 400.0}, {10.0}, -5.0));
  run.chains[1].add(stateOf({200.0, 400.0}, {10.0}, -5.0));
  run.chains[1].add(stateOf({150.0, 300.0, 800.0}, {5.0, 10.0}, -1.0));
  run.bestFit = stateOf({150.0, 300.0, 800.0}, {5.0, 10.0}, -1.0);
  run.bestFit.weightedSquares = 8.0;
  return run;
}

TEST(PosteriorSummary, FiguresOfHandMadeSamples) {
  SearchSpace space;
  space.layers.assign(3, LayerRanges{{100.0, 900.0}, {1.0, 12.0}, 1.9, std::nullopt, std::nullopt});
  const ModelPrior prior(space, {2, 3});
  const std::vector<double> c{300.0, 320.0};
  const std::vector<double> sigma{6.0, 6.4};
  const std::vector<MeasuredPoint> points = dispfit_test::pointsWith(c, sigma);
  const CurveLikelihood likelihood(points);
  dispfit_test::FunctionForward forward([](const TrialModel& m, std::span<double> v) {
    v[0] = m.vs[0];
    v[1] = m.vs.back();
  });
  const PosteriorSummary s = summarizePosterior(handMadeRun(), prior, likelihood, forward, 20.0);
  EXPECT_EQ(s.samples, 4);
  ASSERT_EQ(s.layerCountProbabilities.size(), 2u);
  EXPECT_DOUBLE_EQ(s.layerCountProbabilities[0], 0.75);
  EXPECT_DOUBLE_EQ(s.layerCountProbabilities[1], 0.25);
  // The profile reaches 1.5 x 20 m in steps of 0.1 m; at 12 m three
  // samples give 400 and one 300: p50 = 400, p5 at rank 0.15 = 315.
  ASSERT_EQ(s.profile.size(), 301u);
  const PosteriorProfileRow& at12 = s.profile[120];
  EXPECT_NEAR(at12.depth, 12.0, 1e-12);
  EXPECT_DOUBLE_EQ(at12.vs.p50, 400.0);
  EXPECT_DOUBLE_EQ(at12.vs.p5, 315.0);
  ASSERT_EQ(s.averages.size(), 4u);
  const PosteriorAverage& vs30 = s.averages.back();
  EXPECT_DOUBLE_EQ(vs30.depth, 30.0);
  EXPECT_TRUE(vs30.extrapolated);  // 30 m lies below the 20 m constrained
  EXPECT_DOUBLE_EQ(vs30.vs.p50, 300.0);
  EXPECT_NEAR(vs30.vs.p95, 300.0 + 0.85 * (30.0 / (5.0 / 150 + 10.0 / 300 + 15.0 / 800) - 300.0),
              1e-9);
  // Every system's probabilities sum to 1; both Vs30 fall in C and D,
  // ASCE 7-22 tells them apart.
  double ec8 = 0.0;
  for (const ClassProbability& p : s.classes) {
    if (p.system == "Eurocode 8") ec8 += p.probability;
    if (p.system == "ASCE 7-22" && p.name == "CD") {
      EXPECT_DOUBLE_EQ(p.probability, 0.25);
    }
    if (p.system == "ASCE 7-22" && p.name == "D") {
      EXPECT_DOUBLE_EQ(p.probability, 0.75);
    }
    if (p.system == "NEHRP (ASCE 7-16)" && p.name == "D") {
      EXPECT_DOUBLE_EQ(p.probability, 1.0);
    }
  }
  EXPECT_DOUBLE_EQ(ec8, 1.0);
  EXPECT_EQ(s.classes.size(), 17u);
  // Interfaces at 10 m (three samples) and at 5 and 15 m (one).
  ASSERT_FALSE(s.interfaces.empty());
  EXPECT_DOUBLE_EQ(s.interfaces[20].top, 10.0);
  EXPECT_DOUBLE_EQ(s.interfaces[20].probability, 0.75);
  EXPECT_DOUBLE_EQ(s.interfaces[10].probability, 0.25);
  EXPECT_DOUBLE_EQ(s.interfaces[30].probability, 0.25);
  EXPECT_DOUBLE_EQ(s.interfaces[1].probability, 0.0);
  // The maximum a posteriori sample and the best fit: the 3-layer model.
  ASSERT_EQ(s.maximumPosterior.vs.size(), 3u);
  EXPECT_DOUBLE_EQ(s.maximumPosterior.vs[2], 800.0);
  EXPECT_DOUBLE_EQ(s.maximumPosterior.vp[2], 2400.0);
  EXPECT_DOUBLE_EQ(s.bestFitMisfit, 2.0);  // sqrt(8 / 2)
  // The predictive band over the points: the "curve" is Vs at the top and
  // of the half-space.
  ASSERT_EQ(s.predictive.size(), 2u);
  EXPECT_DOUBLE_EQ(s.predictive[0].sigma, 6.0);
  EXPECT_DOUBLE_EQ(s.predictive[0].p50, 200.0);
  EXPECT_DOUBLE_EQ(s.predictive[1].p90, 800.0 - 0.3 * 400.0);
}

TEST(PosteriorSummary, TablesHoldTheFiguresInTheirColumns) {
  SearchSpace space;
  space.layers.assign(3, LayerRanges{{100.0, 900.0}, {1.0, 12.0}, 1.9, std::nullopt, std::nullopt});
  const ModelPrior prior(space, {2, 3});
  const std::vector<double> c{300.0, 320.0};
  const std::vector<double> sigma{6.0, 6.4};
  const CurveLikelihood likelihood(dispfit_test::pointsWith(c, sigma));
  dispfit_test::FunctionForward forward([](const TrialModel& m, std::span<double> v) {
    v[0] = m.vs[0];
    v[1] = m.vs.back();
  });
  const SamplerRun run = handMadeRun();
  const PosteriorSummary s = summarizePosterior(run, prior, likelihood, forward, 20.0);
  EXPECT_EQ(posteriorSampleTable(run, prior, NoiseModel::Given, 10),
            "chain, layers, vs1 (m/s), vs2 (m/s), vs3 (m/s), h1 (m), h2 (m), log-likelihood\n"
            "1, 2, 200, 400, , 10, , -5\n"
            "1, 2, 200, 400, , 10, , -5\n"
            "2, 2, 200, 400, , 10, , -5\n"
            "2, 3, 150, 300, 800, 5, 10, -1\n");
  const std::string summary = posteriorSummaryTable(s);
  EXPECT_EQ(summary.substr(0, summary.find('\n')),
            "quantity, p5 (m/s), p10 (m/s), p50 (m/s), p90 (m/s), p95 (m/s), extrapolated");
  EXPECT_NE(summary.find("\nVs30, "), std::string::npos);
  EXPECT_NE(classProbabilityTable(s).find("ASCE 7-22, CD, 304.8 to 441.96 m/s, 0.25\n"),
            std::string::npos);
  EXPECT_EQ(interfaceTable(s).substr(0, 33), "top (m), bottom (m), probability\n");
  EXPECT_EQ(predictiveTable(s).substr(predictiveTable(s).find('\n') + 1, 9), "1, 300, 6");
}

}  // namespace
