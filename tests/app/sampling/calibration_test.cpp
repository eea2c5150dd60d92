// SPDX-License-Identifier: GPL-3.0-or-later
// The calibration in small (the full one is bench/posterior_calibration):
// 20 sites of 3 layers drawn from the prior (Vs 80-1000 m/s not decreasing
// with depth, thicknesses 0.5-15 m), their curves noised at 2 %, each
// sampled with the same prior. With 20 sites a calibrated sampler's 80 %
// intervals hold the truth at 16 +- 1.8 of them; below 11 (55 %) the
// sampler is broken, not unlucky (a binomial tail of 0.3 %), and the
// best-fit search's percentiles, which crowd around its best model, score 14 %.
// A test with a budget of its own: about a minute on two cores.
#include <gtest/gtest.h>

#include <cstdio>

#include "sampling/calibration.h"

namespace {

using namespace dispfit;

#ifdef DISPFIT_SANITIZED_BUILD
// Under the sanitizers the run checks the code's memory, not its figures.
constexpr std::size_t kSites = 3;
#else
constexpr std::size_t kSites = 20;
#endif

TEST(PosteriorCalibration, EightyPercentIntervalsHoldTheTruthOfSitesFromThePrior) {
  SearchSpace space;
  space.layers.assign(3, LayerRanges{{80.0, 1000.0}, {0.5, 15.0}, 1.9, std::nullopt, std::nullopt});
  space.increasing = true;
  const ModelPrior prior(space, {3, 3});
  SamplerSettings settings;
  settings.samples = 20000;
  settings.burnIn = 10000;
  settings.threads = 2;
  StartSearchSettings starts;
  starts.models = 1500;
  starts.threads = 2;
  CalibrationTally tally;
  for (std::size_t s = 0; s < kSites; ++s) {
    const CalibrationSite site = drawCalibrationSite(prior, 2027, s);
    settings.seed = 1000 + s;
    starts.seed = settings.seed;
    const SamplerRun run = sampleSite(prior, site, settings, starts);
    ASSERT_GT(run.sampleCount(), 0) << run.failure;
    tally.add(siteOutcome(run, site.truth));
  }
  for (std::size_t q = 0; q < kCalibratedQuantities; ++q) {
    std::printf("%-9s 50 %%: %3.0f %%  80 %%: %3.0f %%  90 %%: %3.0f %%\n",
                calibratedQuantityName(q).c_str(), 100.0 * tally.coverage(q, 0),
                100.0 * tally.coverage(q, 1), 100.0 * tally.coverage(q, 2));
  }
#ifndef DISPFIT_SANITIZED_BUILD
  for (std::size_t q = 0; q < kCalibratedQuantities; ++q) {
    SCOPED_TRACE(calibratedQuantityName(q));
    EXPECT_GE(tally.coverage(q, 1), 0.55);
  }
#endif
}

}  // namespace
