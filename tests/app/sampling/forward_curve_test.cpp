// SPDX-License-Identifier: GPL-3.0-or-later
// The sampler's forward rule: under a stiff crust over soft layers the
// lowest root at short wavelengths is a mode trapped in the soft layers,
// slower than any of them, while the surface-observed fundamental is the
// crust's own wave; at long wavelengths both are the fundamental.
#include "sampling/forward_curve.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <memory>
#include <vector>

#include "sampling/calibration.h"
#include "sampling/model_prior.h"
#include "search/trial_stream.h"

namespace {

using dispfit::MeasuredPoint;
using dispfit::TrialModel;

// 6 m of 353 m/s over 4.5 m of 150 m/s over 2.8 m of 104 m/s over a 400 m/s
// half-space, Vp = 3 Vs, 1.9 g/cm3.
TrialModel stiffOverSoft() {
  return {{6.0, 4.5, 2.8, 0.0},
          {353.0, 150.0, 104.0, 400.0},
          {1059.0, 450.0, 312.0, 1200.0},
          {1.9, 1.9, 1.9, 1.9}};
}

std::vector<MeasuredPoint> atFrequencies() {
  return {{80.0, 1.0, std::nullopt, 1}, {5.0, 1.0, std::nullopt, 2}};
}

TEST(SamplerForwardRule, TheObservedRuleSkipsTheTrappedModeTheLowestRootTakes) {
  const std::vector<MeasuredPoint> points = atFrequencies();
  std::array<double, 2> lowest{}, observed{};
  ASSERT_TRUE(dispfit::lowestRootForward(points)()->compute(stiffOverSoft(), lowest));
  ASSERT_TRUE(dispfit::ruleForward(points, {})()->compute(stiffOverSoft(), observed));
  // 80 Hz: a trapped mode travels below the slowest layer it lives in
  // (150 m/s); the crust's Rayleigh wave near 0.9 of its 353 m/s.
  EXPECT_LT(lowest[0], 150.0);
  EXPECT_GT(observed[0], 0.8 * 353.0);
  EXPECT_LT(observed[0], 353.0);
  // 5 Hz: one fundamental, whichever rule; 1e-9 relative leaves room for
  // nothing but rounding.
  EXPECT_NEAR(observed[1], lowest[1], 1e-9 * lowest[1]);

  swcore::ForwardRuleSettings lowestRule;
  lowestRule.rule = swcore::ForwardRule::lowestRoot;
  std::array<double, 2> asked{};
  ASSERT_TRUE(dispfit::ruleForward(points, lowestRule)()->compute(stiffOverSoft(), asked));
  EXPECT_EQ(asked, lowest);

  // A point that names its mode takes that mode, whatever the rule: mode 0
  // at 80 Hz is the trapped lowest root again.
  std::vector<MeasuredPoint> named = points;
  named[0].mode = 0;
  ASSERT_TRUE(dispfit::ruleForward(named, {})()->compute(stiffOverSoft(), asked));
  EXPECT_EQ(asked[0], lowest[0]);
}

// A Markov chain's acceptance needs the likelihood to be a function of the
// model alone: a forward calculation that carried a root over from the last
// model it saw (a warm start that slid onto another mode) would make the
// chain sample something else. Each forward of a chain's thread sees
// thousands of models in turn; the curve of each must be what a fresh one
// gives, bit for bit.
TEST(SamplerForwardRule, AModelsCurveDoesNotDependOnTheModelsComputedBefore) {
  dispfit::SearchSpace space;
  space.layers.assign(
      3, dispfit::LayerRanges{{80.0, 1000.0}, {0.5, 15.0}, 1.9, std::nullopt, std::nullopt});
  const dispfit::ModelPrior prior(space, {3, 3});
  int compared = 0;
  for (std::size_t site = 0; site < 6; ++site) {
    SCOPED_TRACE(site);
    const dispfit::CalibrationSite s = dispfit::drawCalibrationSite(prior, 1, site);
    const dispfit::ForwardFactory forwards = dispfit::lowestRootForward(s.curve);
    const std::unique_ptr<dispfit::ForwardCurve> used = forwards();
    dispfit::TrialStream random(5, 5, site);
    for (int k = 0; k < 200; ++k) {
      // Alternately a draw from the prior and a neighbour of the site's
      // model, as a chain's proposals come.
      dispfit::SampledModel model = s.truth;
      if (k % 2 == 0) {
        prior.draw(random, model);
      } else {
        for (double& v : model.vs) v = std::clamp(v * (1.0 + 0.05 * random.normal()), 80.0, 1000.0);
        for (double& h : model.thickness)
          h = std::clamp(h * (1.0 + 0.1 * random.normal()), 0.5, 15.0);
      }
      TrialModel trial;
      prior.trialModel(model, trial);
      std::vector<double> after(s.curve.size());
      std::vector<double> fresh(s.curve.size());
      const bool hasAfter = used->compute(trial, after);
      ASSERT_EQ(hasAfter, forwards()->compute(trial, fresh));
      if (hasAfter) {
        EXPECT_EQ(after, fresh);
        ++compared;
      }
    }
  }
  EXPECT_GT(compared, 600);  // most of the 1200 models have a curve
}

}  // namespace

// The stand-in of delayed acceptance: the curve with each point's mode
// given. Given the modes the rule took, it is the rule's curve (within the
// zeros' tolerance, 1e-5 m/s: the search asks for fewer modes and refines
// each zero apart); given the fundamental, it is the lowest root, trapped
// mode and all; given a mode the model lacks there, it has no curve. Only
// the rule that picks among modes offers it.
TEST(SamplerForwardRule, TheStandInWithTheRulesModesIsTheRulesCurve) {
  const std::vector<MeasuredPoint> points = atFrequencies();
  const std::unique_ptr<dispfit::ForwardCurve> observed = dispfit::ruleForward(points, {})();
  ASSERT_TRUE(observed->screens());
  std::array<double, 2> curve{}, standIn{}, lowest{};
  ASSERT_TRUE(observed->compute(stiffOverSoft(), curve));
  const std::vector<int> modes(observed->modes().begin(), observed->modes().end());
  ASSERT_EQ(modes.size(), 2u);
  EXPECT_GT(modes[0], 0);  // the crust's wave, above the trapped modes
  EXPECT_EQ(modes[1], 0);
  ASSERT_TRUE(observed->computeWithModes(stiffOverSoft(), modes, standIn));
  EXPECT_NEAR(standIn[0], curve[0], 1e-5);
  EXPECT_NEAR(standIn[1], curve[1], 1e-5);

  ASSERT_TRUE(dispfit::lowestRootForward(points)()->compute(stiffOverSoft(), lowest));
  ASSERT_TRUE(observed->computeWithModes(stiffOverSoft(), std::vector<int>{0, 0}, standIn));
  EXPECT_NEAR(standIn[0], lowest[0], 1e-5);
  EXPECT_NEAR(standIn[1], lowest[1], 1e-5);

  // At 5 Hz the model has one mode below its half-space's S velocity.
  EXPECT_FALSE(observed->computeWithModes(stiffOverSoft(), std::vector<int>{0, 1}, standIn));

  EXPECT_FALSE(dispfit::lowestRootForward(points)()->screens());
  EXPECT_TRUE(dispfit::lowestRootForward(points)()->modes().empty());
}

// The screen's chance must be a function of the two models and the modes
// alone, as the likelihood must: the stand-in of a model, after thousands of
// others, is what a fresh forward gives, bit for bit.
TEST(SamplerForwardRule, AStandInDoesNotDependOnTheModelsComputedBefore) {
  dispfit::SearchSpace space;
  space.layers.assign(
      3, dispfit::LayerRanges{{80.0, 1000.0}, {0.5, 15.0}, 1.9, std::nullopt, std::nullopt});
  const dispfit::ModelPrior prior(space, {3, 3});
  const dispfit::CalibrationSite s = dispfit::drawCalibrationSite(prior, 1, 0);
  const dispfit::ForwardFactory forwards = dispfit::ruleForward(s.curve, {});
  const std::unique_ptr<dispfit::ForwardCurve> used = forwards();
  dispfit::TrialStream random(7, 7, 0);
  std::vector<int> modes(s.curve.size(), 0);
  int compared = 0;
  for (int k = 0; k < 120; ++k) {
    dispfit::SampledModel model = s.truth;
    prior.draw(random, model);
    TrialModel trial;
    prior.trialModel(model, trial);
    std::vector<double> after(s.curve.size());
    std::vector<double> fresh(s.curve.size());
    // The modes another model's rule took, as a chain's screen asks.
    const bool hasAfter = used->computeWithModes(trial, modes, after);
    ASSERT_EQ(hasAfter, forwards()->computeWithModes(trial, modes, fresh));
    if (hasAfter) {
      EXPECT_EQ(after, fresh);
      ++compared;
    }
    if (used->compute(trial, after)) modes.assign(used->modes().begin(), used->modes().end());
  }
  EXPECT_GT(compared, 40);
}
