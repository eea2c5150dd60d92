// SPDX-License-Identifier: GPL-3.0-or-later
// The check for samples that fit a curve through modes a surface array would
// not record: on a soft site's curve, a stiff crust over soft layers (whose
// lowest roots at short wavelengths are modes trapped in the buried soft
// layers) departs and the soft site itself does not; the threshold of two
// sigmas, with a given sigma and with a sampled noise scale, on curves made
// up to lie either side of it; the share that warns.
#include <gtest/gtest.h>

#include <cmath>

#include "fake_forward.h"
#include "sampling/recorded_mode_check.h"

namespace {

using namespace dispfit;

ChainState stateOf(const SampledModel& model) {
  ChainState s;
  s.model = model;
  return s;
}

// 2 m of 120 m/s, 4 m of 146, 8 m of 180 over 300 m/s: stiffening downward,
// its surface-observed fundamental is its fundamental mode.
SampledModel softSite() {
  return {{120.0, 146.0, 180.0, 300.0}, {2.0, 4.0, 8.0}, {}};
}

// 6 m of 353 m/s over 4.5 m of 150 over 2.8 m of 104 over 400 m/s: at 80 Hz
// its lowest root is a mode of the 104 m/s layer, which a surface array over
// it would not record beside the crust's own Rayleigh wave near 330 m/s.
SampledModel stiffCrust() {
  return {{353.0, 150.0, 104.0, 400.0}, {6.0, 4.5, 2.8}, {}};
}

ModelPrior fourLayerPrior() {
  SearchSpace space;  // Vp = 3 Vs, 1.9 g/cm3, as the models above are described
  space.layers.assign(4, LayerRanges{{80.0, 1000.0}, {0.5, 15.0}, 1.9, std::nullopt, std::nullopt});
  return ModelPrior(space, {4, 4});
}

// The soft site's lowest roots at 24 frequencies from 80 down to 5 Hz, each
// with a band of +-1 %.
std::vector<MeasuredPoint> softSiteCurve(const ModelPrior& prior) {
  std::vector<MeasuredPoint> points;
  for (int i = 23; i >= 0; --i) {
    points.push_back({5.0 * std::pow(16.0, i / 23.0), 1.0, std::nullopt, 24 - i});
  }
  TrialModel model;
  prior.trialModel(softSite(), model);
  std::vector<double> c(points.size());
  EXPECT_TRUE(lowestRootForward(points)()->compute(model, c));
  for (std::size_t j = 0; j < points.size(); ++j) {
    points[j].velocity = c[j];
    points[j].band = VelocityBand{0.99 * c[j], 1.01 * c[j]};
  }
  return points;
}

TEST(RecordedModeCheck, TheStiffCrustDepartsAndTheSoftSiteDoesNot) {
  const ModelPrior prior = fourLayerPrior();
  const std::vector<MeasuredPoint> points = softSiteCurve(prior);
  const CurveLikelihood likelihood(points);
  ASSERT_TRUE(likelihood.fault().empty());
  SamplerRun run;
  run.temperatures = {1.0, 1.0};
  run.chains.emplace_back(false);
  run.chains.emplace_back(false);
  for (int i = 0; i < 3; ++i) run.chains[0].add(stateOf(softSite()));
  run.chains[1].add(stateOf(stiffCrust()));

  swcore::ForwardRuleSettings lowest;
  lowest.rule = swcore::ForwardRule::lowestRoot;
  const std::optional<RecordedModeCheck> check =
      recordedModeCheckFor(run, prior, likelihood, points, lowest);
  ASSERT_TRUE(check);
  EXPECT_EQ(check->checked, 4u);
  EXPECT_EQ(check->departing, 1u);
  EXPECT_DOUBLE_EQ(check->share(), 0.25);
  EXPECT_TRUE(check->warns());
  EXPECT_EQ(describeCheck(*check).rfind("1 of 4 samples (25 %) fit the curve", 0), 0u);

  // Sampled under the surface-observed rule there is nothing to check.
  EXPECT_FALSE(recordedModeCheckFor(run, prior, likelihood, points, {}));

  // The soft site alone: none departs, and none warns.
  SamplerRun soft;
  soft.temperatures = {1.0};
  soft.chains.emplace_back(false);
  for (int i = 0; i < 5; ++i) soft.chains[0].add(stateOf(softSite()));
  const std::optional<RecordedModeCheck> none =
      recordedModeCheckFor(soft, prior, likelihood, points, lowest);
  ASSERT_TRUE(none);
  EXPECT_EQ(none->checked, 5u);
  EXPECT_EQ(none->departing, 0u);
  EXPECT_FALSE(none->warns());
}

// The prior of a half-space alone, for the made-up curves below.
ModelPrior halfSpacePrior() {
  SearchSpace space;
  space.layers.assign(1, LayerRanges{{100.0, 900.0}, {1.0, 12.0}, 1.9, std::nullopt, std::nullopt});
  return ModelPrior(space, {1, 1});
}

// One-layer "models" whose curve under the sampler's rule is Vs at every
// point and whose recorded curve lies `offset` m/s above it at the second.
SamplerRun runOf(std::initializer_list<double> noises) {
  SamplerRun run;
  run.temperatures = {1.0};
  run.chains.emplace_back(false);
  for (const double noise : noises) {
    ChainState s = stateOf({{300.0}, {}, {}});
    s.noise = noise;
    run.chains[0].add(s);
  }
  return run;
}

TEST(RecordedModeCheck, DepartsBeyondTwoSigmaAtAnyPoint) {
  const ModelPrior prior = halfSpacePrior();
  const std::vector<double> c{300.0, 300.0};
  const std::vector<double> sigma{1.0, 5.0};
  const CurveLikelihood given(dispfit_test::pointsWith(c, sigma));
  dispfit_test::FunctionForward sampled(
      [](const TrialModel& m, std::span<double> v) { v[0] = v[1] = m.vs[0]; });
  const auto recordedAbove = [](double offset) {
    return dispfit_test::FunctionForward([offset](const TrialModel& m, std::span<double> v) {
      v[0] = m.vs[0];
      v[1] = m.vs[0] + offset;
    });
  };
  // sigma 5 m/s at the second point: 9.5 m/s off stays, 10.5 departs.
  dispfit_test::FunctionForward within = recordedAbove(9.5);
  dispfit_test::FunctionForward beyond = recordedAbove(10.5);
  EXPECT_EQ(checkRecordedModes(runOf({1.0, 1.0}), prior, given, sampled, within).departing, 0u);
  EXPECT_EQ(checkRecordedModes(runOf({1.0, 1.0}), prior, given, sampled, beyond).departing, 2u);

  // Without sigma the scale is c and sigma = s c: at s = 1 % 6 m/s, so
  // 10.5 m/s departs; at s = 2 % 12 m/s, so it stays.
  std::vector<MeasuredPoint> bare = dispfit_test::pointsWith(c, sigma);
  for (MeasuredPoint& p : bare) p.band.reset();
  const CurveLikelihood hierarchical(bare);
  ASSERT_EQ(hierarchical.noise(), NoiseModel::Hierarchical);
  const RecordedModeCheck scaled =
      checkRecordedModes(runOf({0.01, 0.02}), prior, hierarchical, sampled, beyond);
  EXPECT_EQ(scaled.checked, 2u);
  EXPECT_EQ(scaled.departing, 1u);
}

TEST(RecordedModeCheck, ThinsToItsBudgetAndWarnsFromFivePerCent) {
  const ModelPrior prior = halfSpacePrior();
  const std::vector<double> c{300.0};
  const std::vector<double> sigma{1.0};
  const CurveLikelihood likelihood(dispfit_test::pointsWith(c, sigma));
  dispfit_test::FunctionForward same(
      [](const TrialModel& m, std::span<double> v) { v[0] = m.vs[0]; });
  SamplerRun run;
  run.temperatures = {1.0};
  run.chains.emplace_back(false);
  for (int i = 0; i < 1000; ++i) run.chains[0].add(stateOf({{300.0}, {}, {}}));
  const RecordedModeCheck check = checkRecordedModes(run, prior, likelihood, same, same);
  // Every fifth of 1000 samples: the budget exactly.
  EXPECT_EQ(check.checked, kRecordedModeSamples);
  EXPECT_EQ(check.departing, 0u);

  // 1 of 20 is 5 %: warned; 1 of 21 is not; nothing checked never warns.
  EXPECT_TRUE((RecordedModeCheck{20, 1}).warns());
  EXPECT_FALSE((RecordedModeCheck{21, 1}).warns());
  EXPECT_FALSE((RecordedModeCheck{}).warns());
  // 3 of 200 prints as 1.5 %.
  EXPECT_EQ(describeCheck({200, 3}).rfind("3 of 200 samples (1.5 %)", 0), 0u);
}

}  // namespace
