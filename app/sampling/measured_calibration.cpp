// SPDX-License-Identifier: GPL-3.0-or-later
#include "sampling/measured_calibration.h"

#include <cmath>

namespace dispfit {

namespace {

// bench/posterior_calibration, seed 1, two threads, the sampler's defaults
// (100,000 samples after 50,000, 8 chains and 8 heated up to T = 1000):
// 100 sites each of 3, of 5 and of 2 to 6 layers.
constexpr MeasuredCoverage kThreeLayers{{3, 3}, 100, {0.53, 0.85, 0.94}, {0.45, 0.74, 0.82}, true};
constexpr MeasuredCoverage kFiveLayers{{5, 5}, 100, {0.47, 0.82, 0.91}, {0.46, 0.73, 0.90}, true};
constexpr MeasuredCoverage kTwoToSixLayers{
    {2, 6}, 100, {0.53, 0.83, 0.93}, {0.51, 0.81, 0.91}, true};

// The same sampler under the surface-observed rule, with delayed acceptance,
// each site's curve its surface-observed fundamental (posterior_calibration
// --configurations 3 or 2-6 --recorded-truth --observed-sampler): 100 sites
// of 3 layers, and 100 of 2 to 6 layers with the count sampled.
constexpr MeasuredCoverage kThreeLayersObserved{
    {3, 3}, 100, {0.47, 0.81, 0.90}, {0.48, 0.74, 0.83}, true};
constexpr MeasuredCoverage kTwoToSixLayersObserved{
    {2, 6}, 100, {0.49, 0.74, 0.85}, {0.50, 0.75, 0.85}, true};

std::string percent(double share) {
  return std::to_string(static_cast<int>(std::lround(100.0 * share)));
}

std::string percents(const std::array<double, 3>& shares) {
  return percent(shares[0]) + "/" + percent(shares[1]) + "/" + percent(shares[2]) + " %";
}

std::string countsText(LayerCountRange counts) {
  if (counts.least == counts.most) return std::to_string(counts.least) + " layers";
  return std::to_string(counts.least) + " to " + std::to_string(counts.most) + " layers";
}

// "Measured calibration (<rule>100 synthetic sites of 3 layers drawn from a
// uniform prior<curves>, noised at 2 %; ...): ..." for the run `m` nearest
// `counts`.
std::string coverageLine(const MeasuredCoverage& m, LayerCountRange counts, const char* rule,
                         const char* curves) {
  std::string text = "Measured calibration (" + std::string(rule) + std::to_string(m.sites) +
                     " synthetic sites of " + countsText(m.counts) + " drawn from a uniform prior" +
                     curves + ", noised at 2 %; see the README";
  if (!(m.counts == counts)) text += "; " + countsText(counts) + " were not measured";
  text += "): the 50/80/90 % intervals held the true Vs30 at " + percents(m.vs30) + " of the sites";
  if (m.vsAtDepthMeasured) {
    text += " and Vs at 2, 5 and 10 m at no less than " + percents(m.vsAtDepth);
  }
  text += anyFallsShort(m)
              ? ": short of their nominal coverage, so read them as too narrow.\n"
              : ": within " + percent(kCoverageTolerance) + " points of their nominal coverage.\n";
  return text;
}

}  // namespace

const MeasuredCoverage& measuredObservedCoverageFor(LayerCountRange counts) {
  // A fixed count above 3 is nearest the sampled run, whose sites hold 2 to
  // 6 layers, rather than the 3-layer one.
  return counts.least == counts.most && counts.most <= 3 ? kThreeLayersObserved
                                                         : kTwoToSixLayersObserved;
}

const MeasuredCoverage& measuredCoverageUnder(LayerCountRange counts, swcore::ForwardRule rule) {
  return rule == swcore::ForwardRule::surfaceObserved ? measuredObservedCoverageFor(counts)
                                                      : measuredCoverageFor(counts);
}

const MeasuredCoverage& measuredCoverageFor(LayerCountRange counts) {
  if (counts.least < counts.most) return kTwoToSixLayers;
  return counts.most <= 3 ? kThreeLayers : kFiveLayers;
}

bool fallsShort(double coverage, double nominal) {
  // 1e-9: a coverage exactly at the edge (82 of 100 sites for 90 %) is
  // within the tolerance, though 0.9 - 0.08 rounds above 0.82; a site's
  // share of a calibration run is seven decades larger.
  constexpr double kEdgeSlack = 1e-9;
  return coverage < nominal - kCoverageTolerance - kEdgeSlack;
}

bool anyFallsShort(const MeasuredCoverage& measured) {
  for (std::size_t k = 0; k < kNominalCoverage.size(); ++k) {
    if (fallsShort(measured.vs30[k], kNominalCoverage[k])) return true;
    if (measured.vsAtDepthMeasured && fallsShort(measured.vsAtDepth[k], kNominalCoverage[k])) {
      return true;
    }
  }
  return false;
}

std::string calibrationNote(LayerCountRange counts, swcore::ForwardRule rule) {
  std::string text =
      "What the intervals are: percentiles of the posterior under this likelihood and prior, so "
      "conditional on the ranges holding the site, on independent Gaussian errors of the sigma "
      "used and on the forward rule; they are no bound on the truth, and not the intervals of "
      "another prior or noise model.\n";
  const MeasuredCoverage& measured = measuredCoverageUnder(counts, rule);
  return rule == swcore::ForwardRule::surfaceObserved
             ? text + coverageLine(measured, counts, "under the surface-observed rule, ",
                                   ", each curve its surface-observed fundamental")
             : text + coverageLine(measured, counts, "", "");
}

}  // namespace dispfit
