// SPDX-License-Identifier: GPL-3.0-or-later
// Delayed acceptance on a rule that picks among "modes", with a posterior
// known in closed form. One layer of 100-800 m/s against one point of
// 400 +- 20 m/s; the rule takes mode 0 below 400 m/s and mode 1 above, and
// its curve is Vs itself either way, so the posterior is N(400, 20), a
// chain crossing between the modes at every few steps. The stand-in, the
// curve with the modes given, is made wrong on purpose: 15 m/s (3/4 sigma)
// too fast with the model's own modes and 10 % too fast with the other
// ones, or without any curve for the other ones. A sampler that took the
// stand-in's word would centre its samples 10 to 20 m/s low; the second
// stage must bring them back to the exact posterior. With a stand-in equal
// to the exact curve the second stage must take every proposal the screen
// passes, whichever modes it has: then a2 = min(1, r min(1, 1/r) / min(1,
// r)) = 1.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>

#include "fake_forward.h"
#include "sampling/parallel_tempering.h"
#include "sampling/posterior_quantities.h"

namespace {

using namespace dispfit;

enum class StandIn { exact, biased, missingForOtherModes };

class ModedForward : public ForwardCurve {
 public:
  ModedForward(StandIn standIn, std::shared_ptr<std::int64_t> exactCurves)
      : standIn_(standIn), exactCurves_(std::move(exactCurves)) {}

  bool compute(const TrialModel& model, std::span<double> velocities) override {
    ++*exactCurves_;
    mode_[0] = modeOf(model);
    velocities[0] = model.vs.back();
    return true;
  }
  bool screens() const override { return true; }
  std::span<const int> modes() const override { return mode_; }
  bool computeWithModes(const TrialModel& model, std::span<const int> modes,
                        std::span<double> velocities) override {
    const bool own = modes[0] == modeOf(model);
    switch (standIn_) {
      case StandIn::exact:
        velocities[0] = model.vs.back();
        return true;
      case StandIn::biased:
        velocities[0] = own ? model.vs.back() + 15.0 : 1.1 * model.vs.back();
        return true;
      case StandIn::missingForOtherModes:
        velocities[0] = model.vs.back() + 15.0;
        return own;
    }
    return false;
  }

 private:
  static int modeOf(const TrialModel& model) { return model.vs.back() > 400.0 ? 1 : 0; }

  StandIn standIn_;
  std::shared_ptr<std::int64_t> exactCurves_;
  int mode_[1] = {0};
};

struct ModedProblem {
  static SearchSpace oneLayer() {
    SearchSpace space;
    space.layers = {{{100.0, 800.0}, {0.0, 0.0}, 1.9, std::nullopt, std::nullopt}};
    return space;
  }
  std::vector<MeasuredPoint> points =
      dispfit_test::pointsWith(std::vector<double>{400.0}, std::vector<double>{20.0});
  CurveLikelihood likelihood{points};
  ModelPrior prior{oneLayer(), {1, 1}};
};

SamplerSettings modedRun(int threads) {
  SamplerSettings settings;
  settings.samples = 40000;
  settings.burnIn = 8000;
  settings.chains = 4;
  settings.heatedChains = 2;
  settings.threads = threads;
  return settings;
}

struct ModedRun {
  SamplerRun run;
  std::int64_t exactCurves = 0;
};

ModedRun runWith(StandIn standIn, int threads = 1) {
  const ModedProblem problem;
  auto exactCurves = std::make_shared<std::int64_t>(0);
  const ForwardFactory forwards = [standIn, exactCurves] {
    return std::make_unique<ModedForward>(standIn, exactCurves);
  };
  ModedRun out;
  out.run = runParallelTempering({&problem.prior, &problem.likelihood}, forwards, modedRun(threads),
                                 {}, {});
  out.exactCurves = *exactCurves;
  return out;
}

std::vector<double> vsOf(const SamplerRun& run) {
  return sampleValues(run, [](const SampleView& s) { return std::optional(s.vs[0]); });
}

double meanOf(const std::vector<double>& values) {
  double sum = 0.0;
  for (const double v : values) sum += v;
  return sum / static_cast<double>(values.size());
}

double sdOf(const std::vector<double>& values) {
  const double mean = meanOf(values);
  double sum = 0.0;
  for (const double v : values) sum += (v - mean) * (v - mean);
  return std::sqrt(sum / static_cast<double>(values.size() - 1));
}

TEST(DelayedAcceptance, AWrongStandInLeavesTheExactPosterior) {
  for (const StandIn standIn : {StandIn::biased, StandIn::missingForOtherModes}) {
    SCOPED_TRACE(static_cast<int>(standIn));
    const ModedRun moded = runWith(standIn);
    std::vector<double> vs = vsOf(moded.run);
    // A tenth of sigma: several standard errors with the thousands of
    // effective draws of this run, and a fifth of the stand-in's bias.
    EXPECT_NEAR(meanOf(vs), 400.0, 2.0);
    EXPECT_NEAR(sdOf(vs), 20.0, 2.0);
    // The 10 % and 90 % quantiles of a normal lie 1.2816 sigma out.
    const Credible q = *credibleOf(vs);
    EXPECT_NEAR(q.p10, 400.0 - 1.2816 * 20.0, 3.0);
    EXPECT_NEAR(q.p90, 400.0 + 1.2816 * 20.0, 3.0);
    // Both modes are visited, as the posterior straddles them evenly.
    const auto above = static_cast<double>(
        std::count_if(vs.begin(), vs.end(), [](double v) { return v > 400.0; }));
    EXPECT_NEAR(above / static_cast<double>(vs.size()), 0.5, 0.1);
  }
}

// Births and deaths through the screen: up to four layers, the "curve" the
// half-space's Vs alone, so that the posterior keeps the prior's uniform
// count (a quarter each) beside Vs ~ N(400, 20) of the half-space. A screen
// whose reverse chance took the jump's prior and proposal factor the wrong
// way round would tilt the count by factors of that factor.
TEST(DelayedAcceptance, AWrongStandInLeavesTheLayerCountsPosterior) {
  SearchSpace space;
  space.layers.assign(4, {{100.0, 800.0}, {0.5, 4.0}, 1.9, std::nullopt, std::nullopt});
  const ModelPrior prior(space, {1, 4});
  const std::vector<MeasuredPoint> points =
      dispfit_test::pointsWith(std::vector<double>{400.0}, std::vector<double>{20.0});
  const CurveLikelihood likelihood(points);
  auto exactCurves = std::make_shared<std::int64_t>(0);
  const ForwardFactory forwards = [exactCurves] {
    return std::make_unique<ModedForward>(StandIn::biased, exactCurves);
  };
  SamplerSettings settings = modedRun(2);
  settings.samples = 120000;
  const SamplerRun run = runParallelTempering({&prior, &likelihood}, forwards, settings, {}, {});
  std::array<double, 5> counts{};
  for (const SampleChain& chain : run.chains) {
    for (std::size_t i = 0; i < chain.size(); ++i) counts[chain[i].layerCount()] += 1.0;
  }
  for (std::size_t k = 1; k <= 4; ++k) {
    SCOPED_TRACE(k);
    // Several standard errors of a count that changes every few steps.
    EXPECT_NEAR(counts[k] / static_cast<double>(run.sampleCount()), 0.25, 0.03);
  }
  EXPECT_GT(run.moves.screened[static_cast<std::size_t>(MoveKind::Birth)], 0);
  const std::vector<double> vs =
      sampleValues(run, [](const SampleView& s) { return std::optional(s.vs.back()); });
  EXPECT_NEAR(meanOf(vs), 400.0, 2.0);
  EXPECT_NEAR(sdOf(vs), 20.0, 2.0);
}

TEST(DelayedAcceptance, AnExactStandInTakesEveryProposalItPasses) {
  const ModedRun moded = runWith(StandIn::exact);
  const MoveTally& t = moded.run.moves;
  std::int64_t proposed = 0;
  std::int64_t screened = 0;
  // The Vs steps fold back into the range and redraws come from it, so
  // every one of them reaches the screen (a joint step may leave the range
  // and is refused before it).
  for (const MoveKind kind : {MoveKind::ShearVelocity, MoveKind::Redraw}) {
    SCOPED_TRACE(moveName(kind));
    const auto k = static_cast<std::size_t>(kind);
    EXPECT_GT(t.proposed[k], 0);
    EXPECT_EQ(t.accepted[k], t.proposed[k] - t.screened[k]);
    proposed += t.proposed[k];
    screened += t.screened[k];
  }
  // Steps tuned toward taking 40 % leave most refusals to the screen, and
  // those cost no exact curve: the run computed fewer exact curves than
  // its chains made proposals (burn-in and heated chains included, six
  // chains of 12000 steps).
  EXPECT_GT(screened, proposed / 3);
  EXPECT_LT(moded.exactCurves, 6 * 12000);
  const std::vector<double> vs = vsOf(moded.run);
  EXPECT_NEAR(meanOf(vs), 400.0, 2.0);
  EXPECT_NEAR(sdOf(vs), 20.0, 2.0);
}

TEST(DelayedAcceptance, SamplesAreTheSameOnAnyThreadCount) {
  const SamplerRun one = runWith(StandIn::biased, 1).run;
  const SamplerRun two = runWith(StandIn::biased, 2).run;
  EXPECT_EQ(vsOf(one), vsOf(two));
  EXPECT_EQ(one.moves.screened, two.moves.screened);
}

}  // namespace
