// SPDX-License-Identifier: GPL-3.0-or-later
#include "sampling/calibration.h"

#include <algorithm>
#include <cmath>

#include "sampling/curve_likelihood.h"
#include "sampling/forward_curve.h"
#include "sampling/posterior_quantities.h"
#include "search/trial_stream.h"
#include "site/time_averaged_velocity.h"

namespace dispfit {

namespace {

// The stream tag of the calibration's sites, beside the chains' and the
// exchanges'.
constexpr std::uint64_t kSiteStream = 3;

constexpr std::size_t kSiteFrequencies = 30;
constexpr double kHighestFrequency = 80.0;  // Hz
constexpr double kLowestFrequency = 5.0;

// The truth's value of quantity q, and a sample's.
double trueValue(const SampledModel& truth, std::size_t q) {
  std::vector<double> thickness = truth.thickness;
  thickness.push_back(0.0);
  SampleView view;
  view.vs = truth.vs;
  view.thickness = thickness;
  return q == 0 ? averageVelocity(view, kVs30Depth).value_or(0.0)
                : shearVelocityAt(view, kCalibratedDepths[q - 1]);
}

std::optional<double> sampleValue(const SampleView& s, std::size_t q) {
  if (q == 0) return averageVelocity(s, kVs30Depth);
  return shearVelocityAt(s, kCalibratedDepths[q - 1]);
}

double quantile(const std::vector<double>& sorted, double p) {
  const double rank = p * static_cast<double>(sorted.size() - 1);
  const auto below = static_cast<std::size_t>(std::floor(rank));
  const std::size_t above = std::min(below + 1, sorted.size() - 1);
  return sorted[below] + (rank - static_cast<double>(below)) * (sorted[above] - sorted[below]);
}

}  // namespace

std::string calibratedQuantityName(std::size_t quantity) {
  if (quantity == 0) return "Vs30";
  const double depth = kCalibratedDepths[quantity - 1];
  return "Vs(" + std::to_string(static_cast<int>(depth)) + " m)";
}

CalibrationSite drawCalibrationSite(const ModelPrior& prior, std::uint64_t seed, std::size_t index,
                                    double noise, swcore::ForwardRule truthRule) {
  std::vector<double> frequencies;
  for (std::size_t i = 0; i < kSiteFrequencies; ++i) {
    const double share = static_cast<double>(i) / static_cast<double>(kSiteFrequencies - 1);
    frequencies.push_back(kHighestFrequency *
                          std::pow(kLowestFrequency / kHighestFrequency, share));
  }
  std::vector<MeasuredPoint> points;
  for (std::size_t i = 0; i < frequencies.size(); ++i) {
    points.push_back({frequencies[i], 1.0, std::nullopt, static_cast<int>(i + 1)});
  }
  swcore::ForwardRuleSettings rule;
  rule.rule = truthRule;
  const std::unique_ptr<ForwardCurve> forward = ruleForward(points, rule)();
  TrialStream random(seed, kSiteStream, index);
  CalibrationSite site;
  TrialModel model;
  std::vector<double> velocities(frequencies.size());
  do {
    prior.draw(random, site.truth);
    prior.trialModel(site.truth, model);
  } while (!forward->compute(model, velocities));
  for (std::size_t i = 0; i < frequencies.size(); ++i) {
    const double sigma = noise * velocities[i];
    const double observed = velocities[i] + sigma * random.normal();
    site.curve.push_back({frequencies[i], observed,
                          VelocityBand{observed - sigma, observed + sigma},
                          static_cast<int>(i + 1)});
  }
  return site;
}

SiteOutcome siteOutcome(const SamplerRun& run, const SampledModel& truth) {
  SiteOutcome outcome;
  for (std::size_t q = 0; q < kCalibratedQuantities; ++q) {
    std::vector<double> values =
        sampleValues(run, [q](const SampleView& s) { return sampleValue(s, q); });
    const double value = trueValue(truth, q);
    if (q == 0) {
      // The rank among kRankDraws draws evenly spaced over the samples, in
      // the chains' order (before the values are sorted below).
      for (std::size_t j = 0; j < kRankDraws; ++j) {
        const auto at = static_cast<std::size_t>((static_cast<double>(j) + 0.5) *
                                                 static_cast<double>(values.size()) / kRankDraws);
        if (values[at] < value) ++outcome.rank;
      }
    }
    std::sort(values.begin(), values.end());
    for (std::size_t l = 0; l < kCalibratedLevels.size(); ++l) {
      const double tail = 0.5 * (1.0 - kCalibratedLevels[l]);
      outcome.covered[q][l] =
          value >= quantile(values, tail) && value <= quantile(values, 1.0 - tail);
    }
  }
  return outcome;
}

SamplerRun sampleSite(const ModelPrior& prior, const CalibrationSite& site,
                      const SamplerSettings& settings, const StartSearchSettings& starts,
                      swcore::ForwardRule rule) {
  const CurveLikelihood likelihood(site.curve);
  const SamplingProblem problem{&prior, &likelihood};
  const std::size_t chains =
      static_cast<std::size_t>(std::max(settings.chains, 1) + std::max(settings.heatedChains, 0));
  StartSearchSettings ruleStarts = starts;
  ruleStarts.forward = {};
  ruleStarts.forward.rule = rule;
  const std::vector<SampledModel> models = searchStarts(prior, site.curve, chains, ruleStarts);
  return runParallelTempering(problem, ruleForward(site.curve, ruleStarts.forward), settings,
                              models, {});
}

void CalibrationTally::add(const SiteOutcome& outcome) {
  ++sites_;
  for (std::size_t q = 0; q < kCalibratedQuantities; ++q) {
    for (std::size_t l = 0; l < kCalibratedLevels.size(); ++l) {
      if (outcome.covered[q][l]) ++covered_[q][l];
    }
  }
  const std::size_t bin = std::min(outcome.rank * kRankBins / (kRankDraws + 1), kRankBins - 1);
  ++ranks_[bin];
}

double CalibrationTally::coverage(std::size_t quantity, std::size_t level) const {
  return sites_ == 0 ? 0.0
                     : static_cast<double>(covered_[quantity][level]) / static_cast<double>(sites_);
}

double CalibrationTally::rankPValue() const {
  if (sites_ == 0) return 1.0;
  const double expected = static_cast<double>(sites_) / kRankBins;
  double chi2 = 0.0;
  for (const std::int64_t n : ranks_) {
    const double d = static_cast<double>(n) - expected;
    chi2 += d * d / expected;
  }
  return chiSquareUpperTail(chi2, static_cast<int>(kRankBins) - 1);
}

}  // namespace dispfit
