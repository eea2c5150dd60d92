// SPDX-License-Identifier: GPL-3.0-or-later
// What the samples of a posterior say together: the credible Vs at every
// depth, VsZ and Vs30 with their credible intervals and a histogram, the
// probability of each site class, of each layer count and of an interface at
// each depth, the band of the samples' curves over the data, the maximum a
// posteriori and best-fit models, and the convergence figures.
//
// Units: m, m/s, Hz. The credible intervals are equal-tailed: the 80 %
// interval runs from P_0.10 to P_0.90 (posterior_quantities.h).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "sampling/curve_likelihood.h"
#include "sampling/fit_check.h"
#include "sampling/forward_curve.h"
#include "sampling/model_prior.h"
#include "sampling/parallel_tempering.h"
#include "sampling/posterior_quantities.h"
#include "sampling/recorded_mode_check.h"

namespace dispfit {

// Above this R-hat the chains have not met: the figures are marked.
inline constexpr double kMostConvergedRhat = 1.1;

// The samples a profile or a predictive band is taken over at most, evenly
// thinned: 10,000 keep a percentile's error from thinning below a tenth of
// the posterior's spread wherever the effective sample size is under a few
// thousand, as it is in every run of the calibration.
inline constexpr std::size_t kProfileSamples = 10000;
inline constexpr std::size_t kPredictiveSamples = 500;

// The depth step of the interfaces' probabilities, m.
inline constexpr double kInterfaceBin = 0.5;

// The bins of the Vs30 histogram.
inline constexpr std::size_t kHistogramBins = 30;

struct PosteriorProfileRow {
  double depth = 0.0;
  Credible vs;
};

struct PosteriorAverage {
  double depth = 0.0;  // Z
  Credible vs;         // VsZ
  bool extrapolated = false;
};

struct HistogramBin {
  double low = 0.0;  // m/s
  double high = 0.0;
  std::int64_t count = 0;
};

struct ClassProbability {
  std::string system;  // "Eurocode 8", "NEHRP (ASCE 7-16)", "ASCE 7-22"
  std::string name;    // the class
  std::string range;   // its Vs30 range as text
  double probability = 0.0;
};

struct InterfaceRow {
  double top = 0.0;  // m, the bin
  double bottom = 0.0;
  double probability = 0.0;  // of an interface within it
};

struct PredictiveRow {
  double frequency = 0.0;
  double observed = 0.0;
  double sigma = 0.0;  // given, or the median noise scale times c
  double p5 = 0.0;
  double p10 = 0.0;
  double p50 = 0.0;
  double p90 = 0.0;
  double p95 = 0.0;
};

struct Convergence {
  double rhatVs30 = 0.0;  // split R-hat; NaN where unknown
  double rhatLogLikelihood = 0.0;
  double essVs30 = 0.0;
  double essLogLikelihood = 0.0;
  MoveTally moves;
  std::vector<SwapTally> swaps;
  bool converged = false;  // not cancelled, both R-hats known and at most kMostConvergedRhat
};

struct PosteriorSummary {
  std::int64_t samples = 0;
  int chains = 0;  // at temperature 1
  std::vector<double> temperatures;
  bool cancelled = false;
  NoiseModel noise = NoiseModel::Given;
  std::optional<Credible> noiseScale;  // s, where sampled
  LayerCountRange counts;
  std::vector<double> layerCountProbabilities;  // of A, A + 1, .. B
  double constrainedDepth = 0.0;
  double profileDepth = 0.0;  // the profile reaches it
  std::vector<PosteriorProfileRow> profile;
  std::vector<PosteriorAverage> averages;  // VsZ at 5, 10, 20, 30 m
  std::vector<HistogramBin> vs30Histogram;
  std::vector<ClassProbability> classes;  // Eurocode 8, NEHRP, ASCE 7-22, stiffest first
  std::vector<InterfaceRow> interfaces;   // where the count is sampled
  std::vector<PredictiveRow> predictive;
  TrialModel maximumPosterior;  // the sample of the highest p(theta) L(theta)
  TrialModel bestFit;           // the highest likelihood any chain reached
  double bestFitLogLikelihood = 0.0;
  double bestFitMisfit = 0.0;  // sqrt(Q / m) of the best fit, the normalised misfit
  Convergence convergence;
  // The chi^2 test of the best fit (fit_check.h); none without sigma.
  std::optional<FitCheck> fit;
  // The rule the samples' curves were taken under. Set by the caller, which
  // chose it.
  swcore::ForwardRuleSettings forward{swcore::ForwardRule::lowestRoot};
  // Under the lowest root, how many samples fit through modes a surface
  // array would not record (recorded_mode_check.h); none under the
  // surface-observed rule. Set by the caller, which knows the rule.
  std::optional<RecordedModeCheck> recordedModes;
};

// Sums up a run that kept samples (run.sampleCount() > 0); `forward`
// computes the predictive band's curves, `constrainedDepth` (m) flags the
// averages below it and sets the profile's reach, 1.5 times it (30 m for none).
PosteriorSummary summarizePosterior(const SamplerRun& run, const ModelPrior& prior,
                                    const CurveLikelihood& likelihood, ForwardCurve& forward,
                                    double constrainedDepth);

}  // namespace dispfit
