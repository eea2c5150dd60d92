// SPDX-License-Identifier: GPL-3.0-or-later
// Whether the posterior's intervals mean what they say, measured: sites
// drawn from the prior itself, each curve computed with the forward rule and
// noised at its sigma, each sampled with the same prior; over many sites the
// p % credible interval of a quantity must hold the site's true value p % of
// the time, and the rank of the true Vs30 among the posterior's draws must
// be uniform (simulation-based calibration, Talts, Betancourt, Simpson,
// Vehtari and Gelman 2018, "Validating Bayesian inference algorithms with
// simulation-based calibration", arXiv:1804.06788).
//
// Notation:
//   L          the posterior draws a rank is taken among, evenly spaced over
//              every kept sample (99: ranks 0 .. 99 fall in 10 bins of 10)
//   rank       the draws whose Vs30 lies below the true Vs30
//   chi^2      sum (n_b - E)^2 / E over the B bins of the ranks, E = sites / B;
//              its upper tail with B - 1 degrees of freedom is the p-value
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "dispersion/observed_curve.h"
#include "sampling/chi_square.h"
#include "sampling/model_prior.h"
#include "sampling/parallel_tempering.h"
#include "sampling/sampled_model.h"
#include "sampling/search_starts.h"
#include "site/measured_curve.h"

namespace dispfit {

// The credible intervals checked: 50, 80 and 90 %, equal-tailed.
inline constexpr std::array<double, 3> kCalibratedLevels{0.5, 0.8, 0.9};

// The quantities checked: Vs30, and Vs at 2, 5 and 10 m.
inline constexpr std::size_t kCalibratedQuantities = 4;
inline constexpr std::array<double, 3> kCalibratedDepths{2.0, 5.0, 10.0};
std::string calibratedQuantityName(std::size_t quantity);  // "Vs30", "Vs(2 m)", ..

inline constexpr std::size_t kRankDraws = 99;
inline constexpr std::size_t kRankBins = 10;

struct CalibrationSite {
  SampledModel truth;
  std::vector<MeasuredPoint> curve;  // each with its band c +- sigma
};

// Site `index` of the calibration with `seed`: a draw from `prior` whose
// curve has a root at each of 30 frequencies evenly spaced in log frequency
// from 80 down to 5 Hz (drawn again until it has), each velocity noised with
// a normal error of sigma = `noise` times the true one, which the curve
// gives as its band. The true curve is taken under `truthRule`: the lowest
// root, which the sampler fits, or the surface-observed fundamental, what a
// surface array over the site would record.
CalibrationSite drawCalibrationSite(
    const ModelPrior& prior, std::uint64_t seed, std::size_t index, double noise = 0.02,
    swcore::ForwardRule truthRule = swcore::ForwardRule::lowestRoot);

// What one site's posterior says of its true model.
struct SiteOutcome {
  // covered[q][l]: quantity q's interval of level kCalibratedLevels[l]
  // holds the true value.
  std::array<std::array<bool, kCalibratedLevels.size()>, kCalibratedQuantities> covered{};
  std::size_t rank = 0;  // of the true Vs30, 0 .. kRankDraws
};

SiteOutcome siteOutcome(const SamplerRun& run, const SampledModel& truth);

// The site sampled from the best-fit search's starts, with the prior and the
// settings given: the whole of what a user's run does. The chains start and
// sample under `rule`, the posterior's default the lowest root, whichever
// rule took the site's curve.
SamplerRun sampleSite(const ModelPrior& prior, const CalibrationSite& site,
                      const SamplerSettings& settings, const StartSearchSettings& starts,
                      swcore::ForwardRule rule = swcore::ForwardRule::lowestRoot);

class CalibrationTally {
 public:
  void add(const SiteOutcome& outcome);
  std::size_t sites() const { return sites_; }
  // The share of the sites whose interval held the truth.
  double coverage(std::size_t quantity, std::size_t level) const;
  const std::array<std::int64_t, kRankBins>& rankHistogram() const { return ranks_; }
  // The chi^2 p-value of the rank histogram's uniformity.
  double rankPValue() const;

 private:
  std::size_t sites_ = 0;
  std::array<std::array<std::int64_t, kCalibratedLevels.size()>, kCalibratedQuantities> covered_{};
  std::array<std::int64_t, kRankBins> ranks_{};
};

}  // namespace dispfit
