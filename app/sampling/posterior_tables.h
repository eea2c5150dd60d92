// SPDX-License-Identifier: GPL-3.0-or-later
// The texts of a posterior's tables: comma separated, one header line, a
// full stop as decimal point whatever the locale, every number in its
// shortest exact form, lines ending in "\n".
#pragma once

#include <string>

#include "sampling/model_prior.h"
#include "sampling/parallel_tempering.h"
#include "sampling/posterior_summary.h"

namespace dispfit {

// depth (m), Vs p5, p10, p50, p90, p95 (m/s) every 0.1 m.
std::string posteriorProfileTable(const PosteriorSummary& summary);

// One row per quantity (Vs5, Vs10, Vs20, Vs30): p5, p10, p50, p90, p95 (m/s)
// and whether it lies below the constrained depth (1 or 0).
std::string posteriorSummaryTable(const PosteriorSummary& summary);

// system, class, Vs30 range, probability; each system's probabilities sum
// to 1.
std::string classProbabilityTable(const PosteriorSummary& summary);

// At most `most` samples, every chain's thinned evenly: chain, layer count,
// vs1 .. vsB (m/s), h1 .. hB-1 (m), nu1 .. nuB where sampled, the noise
// scale where sampled, log-likelihood; the fields of layers a sample does
// not have are empty.
std::string posteriorSampleTable(const SamplerRun& run, const ModelPrior& prior, NoiseModel noise,
                                 std::size_t most);

// frequency (Hz), observed velocity, sigma, p10, p50, p90 of the samples'
// curves (m/s).
std::string predictiveTable(const PosteriorSummary& summary);

// top (m), bottom (m), probability of an interface within.
std::string interfaceTable(const PosteriorSummary& summary);

}  // namespace dispfit
