// SPDX-License-Identifier: GPL-3.0-or-later
#include "sampling/posterior_summary.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "sampling/convergence.h"
#include "site/depth_profile.h"
#include "site/site_class.h"
#include "site/time_averaged_velocity.h"

namespace dispfit {

namespace {

// 1e-9 m: far below the profile's step, above the rounding of 1.5 times a
// constrained depth of up to kilometres.
constexpr double kGridSlack = 1e-9;
constexpr int kRowsPerMetre = 10;

// The depth a profile reaches without a constrained depth: Vs30's.
constexpr double kDepthWithoutCurve = 30.0;

std::vector<PosteriorProfileRow> profileOf(const SamplerRun& run, double bottom) {
  const std::vector<SampleView> samples = thinnedSamples(run, kProfileSamples);
  std::vector<PosteriorProfileRow> rows;
  std::vector<double> values(samples.size());
  // Depths as k / 10 rather than a running sum, so that 0.3 m is the
  // nearest double to 0.3.
  for (long k = 0;; ++k) {
    const double depth = static_cast<double>(k) / kRowsPerMetre;
    if (depth > bottom + kGridSlack) break;
    for (std::size_t s = 0; s < samples.size(); ++s) values[s] = shearVelocityAt(samples[s], depth);
    rows.push_back({depth, *credibleOf(values)});
  }
  return rows;
}

std::vector<HistogramBin> histogramOf(const std::vector<double>& sorted) {
  std::vector<HistogramBin> bins;
  if (sorted.empty()) return bins;
  const double low = sorted.front();
  const double high = sorted.back();
  const double width = high > low ? (high - low) / kHistogramBins : 1.0;
  for (std::size_t b = 0; b < kHistogramBins; ++b) {
    bins.push_back(
        {low + width * static_cast<double>(b), low + width * static_cast<double>(b + 1), 0});
  }
  for (const double v : sorted) {
    const auto b = std::min(static_cast<std::size_t>((v - low) / width), kHistogramBins - 1);
    ++bins[b].count;
  }
  return bins;
}

template <class Class, std::size_t N, class Classify>
void addClasses(const std::string& system, const std::array<Class, N>& classes,
                const Classify& classify, const std::vector<double>& vs30,
                std::vector<ClassProbability>& out) {
  std::array<std::int64_t, N> counts{};
  for (const double v : vs30) {
    const Class c = classify(v);
    for (std::size_t i = 0; i < N; ++i) {
      if (classes[i] == c) ++counts[i];
    }
  }
  for (std::size_t i = 0; i < N; ++i) {
    out.push_back({system, className(classes[i]), classRange(classes[i]),
                   static_cast<double>(counts[i]) / static_cast<double>(vs30.size())});
  }
}

std::vector<InterfaceRow> interfacesOf(const SamplerRun& run, double bottom) {
  const auto bins = static_cast<std::size_t>(std::ceil(bottom / kInterfaceBin - kGridSlack));
  std::vector<std::int64_t> counts(bins, 0);
  std::vector<std::uint8_t> hit(bins, 0);
  std::int64_t samples = 0;
  for (const SampleChain& chain : run.chains) {
    for (std::size_t i = 0; i < chain.size(); ++i) {
      const SampleView s = chain[i];
      ++samples;
      std::fill(hit.begin(), hit.end(), 0);
      double depth = 0.0;
      for (std::size_t layer = 0; layer + 1 < s.layerCount(); ++layer) {
        depth += s.thickness[layer];
        const auto b = static_cast<std::size_t>(depth / kInterfaceBin);
        if (b < bins) hit[b] = 1;
      }
      for (std::size_t b = 0; b < bins; ++b) counts[b] += hit[b];
    }
  }
  std::vector<InterfaceRow> rows;
  for (std::size_t b = 0; b < bins; ++b) {
    rows.push_back(
        {kInterfaceBin * static_cast<double>(b), kInterfaceBin * static_cast<double>(b + 1),
         static_cast<double>(counts[b]) / static_cast<double>(std::max<std::int64_t>(samples, 1))});
  }
  return rows;
}

std::vector<PredictiveRow> predictiveOf(const SamplerRun& run, const ModelPrior& prior,
                                        const CurveLikelihood& likelihood, ForwardCurve& forward,
                                        double noiseScale) {
  const std::size_t m = likelihood.size();
  std::vector<std::vector<double>> curves(m);
  std::vector<double> velocities(m);
  for (const SampleView& sample : thinnedSamples(run, kPredictiveSamples)) {
    if (!forward.compute(trialModelOf(prior, sample), velocities)) continue;
    for (std::size_t i = 0; i < m; ++i) curves[i].push_back(velocities[i]);
  }
  std::vector<PredictiveRow> rows;
  for (std::size_t i = 0; i < m; ++i) {
    PredictiveRow row;
    row.frequency = likelihood.frequencies()[i];
    row.observed = likelihood.velocities()[i];
    row.sigma = noiseScale * likelihood.scales()[i];
    if (const std::optional<Credible> c = credibleOf(curves[i])) {
      row.p5 = c->p5;
      row.p10 = c->p10;
      row.p50 = c->p50;
      row.p90 = c->p90;
      row.p95 = c->p95;
    }
    rows.push_back(row);
  }
  return rows;
}

Convergence convergenceOf(const SamplerRun& run) {
  std::vector<std::span<const double>> vs30;
  std::vector<std::span<const double>> logL;
  for (const SampleChain& chain : run.chains) {
    vs30.push_back(chain.vs30());
    logL.push_back(chain.logLikelihoods());
  }
  Convergence c;
  c.rhatVs30 = splitRhat(vs30);
  c.rhatLogLikelihood = splitRhat(logL);
  c.essVs30 = effectiveSampleSize(vs30);
  c.essLogLikelihood = effectiveSampleSize(logL);
  c.moves = run.moves;
  c.swaps = run.swaps;
  c.converged = !run.cancelled && c.rhatVs30 <= kMostConvergedRhat &&
                c.rhatLogLikelihood <= kMostConvergedRhat;
  return c;
}

}  // namespace

PosteriorSummary summarizePosterior(const SamplerRun& run, const ModelPrior& prior,
                                    const CurveLikelihood& likelihood, ForwardCurve& forward,
                                    double constrainedDepth) {
  PosteriorSummary summary;
  summary.samples = run.sampleCount();
  summary.chains = static_cast<int>(run.chains.size());
  summary.temperatures = run.temperatures;
  summary.cancelled = run.cancelled;
  summary.noise = likelihood.noise();
  summary.counts = prior.counts();
  summary.constrainedDepth = constrainedDepth;
  summary.profileDepth =
      constrainedDepth > 0.0 ? kProfileDepthFactor * constrainedDepth : kDepthWithoutCurve;
  summary.convergence = convergenceOf(run);
  if (!run.bestFit.model.vs.empty()) prior.trialModel(run.bestFit.model, summary.bestFit);
  summary.bestFitLogLikelihood = run.bestFit.logLikelihood;
  summary.bestFitMisfit =
      std::sqrt(run.bestFit.weightedSquares / static_cast<double>(likelihood.size())) /
      run.bestFit.noise;
  summary.fit = checkBestFit(run, likelihood);
  if (summary.samples == 0) return summary;

  double noiseScale = 1.0;
  if (likelihood.noise() == NoiseModel::Hierarchical) {
    std::vector<double> noise =
        sampleValues(run, [](const SampleView& s) { return std::optional<double>(s.noise); });
    summary.noiseScale = credibleOf(noise);
    noiseScale = summary.noiseScale->p50;
  }
  const LayerCountRange counts = prior.counts();
  summary.layerCountProbabilities.assign(static_cast<std::size_t>(counts.most - counts.least + 1),
                                         0.0);
  double bestPosterior = -std::numeric_limits<double>::infinity();
  SampleView best;
  for (const SampleChain& chain : run.chains) {
    for (std::size_t i = 0; i < chain.size(); ++i) {
      const SampleView s = chain[i];
      summary.layerCountProbabilities[s.layerCount() - static_cast<std::size_t>(counts.least)] +=
          1.0;
      if (s.logPrior + s.logLikelihood > bestPosterior) {
        bestPosterior = s.logPrior + s.logLikelihood;
        best = s;
      }
    }
  }
  for (double& p : summary.layerCountProbabilities) p /= static_cast<double>(summary.samples);
  summary.maximumPosterior = trialModelOf(prior, best);

  summary.profile = profileOf(run, summary.profileDepth);
  std::vector<double> vs30;
  for (const double depth : kAveragingDepths) {
    std::vector<double> values =
        sampleValues(run, [depth](const SampleView& s) { return averageVelocity(s, depth); });
    if (const std::optional<Credible> c = credibleOf(values)) {
      summary.averages.push_back({depth, *c, depth > constrainedDepth});
      if (depth == kVs30Depth) vs30 = std::move(values);
    }
  }
  summary.vs30Histogram = histogramOf(vs30);
  addClasses("Eurocode 8", kGroundTypes, eurocode8GroundType, vs30, summary.classes);
  addClasses("NEHRP (ASCE 7-16)", kNehrpClasses, nehrpSiteClass, vs30, summary.classes);
  addClasses("ASCE 7-22", kAsce722Classes, asce722SiteClass, vs30, summary.classes);
  if (prior.variableCount()) summary.interfaces = interfacesOf(run, summary.profileDepth);
  summary.predictive = predictiveOf(run, prior, likelihood, forward, noiseScale);
  return summary;
}

}  // namespace dispfit
