// SPDX-License-Identifier: GPL-3.0-or-later
// R-hat and the effective sample size against sequences whose answers are
// known: independent normal draws (R-hat 1, ESS their count), an AR(1)
// sequence x_t = phi x_t-1 + e_t, whose autocorrelation time is
// (1 + phi) / (1 - phi) (19 for phi = 0.9), and chains sampling apart.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "sampling/convergence.h"
#include "search/trial_stream.h"

namespace {

using namespace dispfit;

std::vector<std::vector<double>> autoregressive(std::size_t chains, std::size_t length, double phi,
                                                std::uint64_t seed) {
  std::vector<std::vector<double>> out(chains);
  for (std::size_t c = 0; c < chains; ++c) {
    TrialStream random(seed, 0, c);
    // Started in its stationary distribution, of variance 1 / (1 - phi^2).
    double x = random.normal() / std::sqrt(1.0 - phi * phi);
    for (std::size_t t = 0; t < length; ++t) {
      out[c].push_back(x);
      x = phi * x + random.normal();
    }
  }
  return out;
}

std::vector<std::span<const double>> spans(const std::vector<std::vector<double>>& chains) {
  return {chains.begin(), chains.end()};
}

TEST(Convergence, IndependentDrawsHaveRhatOneAndTheirCountAsEffectiveSize) {
  const auto chains = autoregressive(4, 3000, 0.0, 5);
  EXPECT_NEAR(splitRhat(spans(chains)), 1.0, 0.01);
  // 12,000 draws; the estimate's own error is a few percent.
  EXPECT_NEAR(effectiveSampleSize(spans(chains)), 12000.0, 0.1 * 12000.0);
}

TEST(Convergence, AutocorrelatedDrawsCountForTheirAutocorrelationTime) {
  for (const std::size_t length : {8000, 40000}) {
    SCOPED_TRACE(length);
    const auto chains = autoregressive(4, length, 0.9, 9);
    const double expected = 4.0 * static_cast<double>(length) / 19.0;
    // 20 %: the variance of an ESS estimate from a few hundred
    // autocorrelation times; 40,000 draws a chain are thinned to 4,000,
    // which leaves the figure where it was.
    EXPECT_NEAR(effectiveSampleSize(spans(chains)), expected, 0.2 * expected);
    EXPECT_LT(splitRhat(spans(chains)), 1.05);
  }
}

TEST(Convergence, ChainsSamplingApartOrDriftingShowInRhat) {
  auto apart = autoregressive(4, 2000, 0.5, 13);
  for (double& x : apart[3]) x += 3.0;  // one chain in another mode
  EXPECT_GT(splitRhat(spans(apart)), 1.1);
  EXPECT_GT(runningRhat([&] {
              std::vector<RunningMoments> moments(apart.size());
              for (std::size_t c = 0; c < apart.size(); ++c) {
                for (const double x : apart[c]) moments[c].add(x);
              }
              return moments;
            }()),
            1.1);
  // One chain drifting: its halves disagree, which only the split sees.
  std::vector<std::vector<double>> drifting(2, std::vector<double>(4000));
  const auto noise = autoregressive(2, 4000, 0.0, 17);
  for (std::size_t c = 0; c < 2; ++c) {
    for (std::size_t t = 0; t < 4000; ++t)
      drifting[c][t] = noise[c][t] + 0.002 * static_cast<double>(t);
  }
  EXPECT_GT(splitRhat(spans(drifting)), 1.1);
}

TEST(Convergence, EdgeCasesGiveTheDocumentedValues) {
  const std::vector<std::vector<double>> constant(3, std::vector<double>(100, 7.0));
  EXPECT_EQ(splitRhat(spans(constant)), 1.0);
  const std::vector<std::vector<double>> tooShort(3, std::vector<double>(3, 1.0));
  EXPECT_TRUE(std::isnan(splitRhat(spans(tooShort))));
  EXPECT_TRUE(std::isnan(runningRhat(std::vector<RunningMoments>(1))));
}

}  // namespace
