// SPDX-License-Identifier: GPL-3.0-or-later
// The posterior sampler: parallel tempering (Sambridge 2014, "A Parallel
// Tempering algorithm for probabilistic sampling and multimodal
// optimization", Geophys. J. Int. 196, 357-374) over Markov chains of the
// layered model (markov_chain.h), on every core.
//
// Notation:
//   C          chains at temperature 1, whose states are the samples kept
//   H          heated chains, at T_l = T_max^(l / H), l = 1 .. H: the ladder's
//              levels above the cold one; a hotter chain crosses the valleys
//              between the posterior's modes that a cold one cannot
//   P          steps each chain takes between two exchanges
//   exchange   after every P steps, for l = 1 .. H in turn, the chain at level
//              l and one at level l - 1 (a cold chain drawn at random for
//              l = 1) swap their states with the chance
//              min(1, exp((beta_a - beta_b)(log L_b - log L_a))), which leaves
//              every chain's target in place (detailed balance)
//
// Determinism: each chain's random numbers come from a stream of the seed
// and the chain's index alone, every exchange from a stream of the seed and
// the exchange's number, and the exchanges happen between rounds of P steps
// in a fixed order. Between them the chains work apart, each on whichever
// thread takes it, so the samples are the same bit for bit for any thread
// count.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "sampling/forward_curve.h"
#include "sampling/markov_chain.h"
#include "sampling/sample_chain.h"

namespace dispfit {

// The samples kept when none are chosen: on the calibration's priors an
// effective sample size of a thousand or more for Vs30.
inline constexpr std::int64_t kDefaultPosteriorSamples = 100000;

struct SamplerSettings {
  // Kept samples and burn-in, counted over the C chains together; each
  // chain takes its share, rounded up. While burning in the step widths are
  // tuned; after it they stay fixed.
  std::int64_t samples = kDefaultPosteriorSamples;
  std::int64_t burnIn = kDefaultPosteriorSamples / 2;
  int chains = 8;  // C, >= 1
  // H, >= 0, and T_max, > 1: a ladder of ratio 1000^(1/8) = 2.4 a level, so
  // that neighbours still swap on a 30-point curve (a quarter to two fifths
  // of the offers), whose top chain crosses nearly the whole prior box. Up
  // to T = 30 (4 levels), at 3 of the calibration's 100 sites of 3 layers (a
  // stiff lid over a soft layer) every chain settled on a soft top layer,
  // two of them fitting worse than the truth by 35 in Q.
  int heatedChains = 8;
  double hottest = 1000.0;
  int exchangeInterval = 10;  // P, >= 1
  // The share of each chain's parameter steps that draw a parameter afresh
  // from its range (markov_chain.h).
  double redrawShare = kDefaultRedrawShare;
  std::uint64_t seed = 1;
  int threads = 1;  // >= 1
};

// The temperature of every chain: C times 1, then the ladder's H levels.
std::vector<double> chainTemperatures(const SamplerSettings& settings);

// Swaps proposed and taken between two neighbouring levels of the ladder.
struct SwapTally {
  double colder = 1.0;  // the two temperatures
  double hotter = 1.0;
  std::int64_t proposed = 0;
  std::int64_t accepted = 0;
};

struct SamplerRun {
  std::vector<SampleChain> chains;  // the C cold chains' kept samples
  std::vector<double> temperatures;
  MoveTally moves;                 // of the cold chains after burn-in
  std::vector<SwapTally> swaps;    // after burn-in, level 0-1 first
  ChainState bestFit;              // the highest likelihood any chain reached
  std::int64_t stepsPerChain = 0;  // done, burn-in included
  std::int64_t burnInPerChain = 0;
  bool cancelled = false;
  std::string failure;  // why no sample could be drawn; empty otherwise

  std::int64_t sampleCount() const;
};

// What a caller hears after each round, on the calling thread.
struct SamplerProgress {
  std::int64_t steps = 0;       // done by each chain, burn-in included
  std::int64_t totalSteps = 0;  // each chain's, burn-in included
  std::int64_t kept = 0;        // samples kept, all cold chains together
  std::int64_t totalKept = 0;   // the samples kept at the end
  bool burningIn = true;
  double rhat = 0.0;  // the larger running R-hat of Vs30 and log L; NaN while unknown
};

using SamplerProgressCallback = std::function<void(const SamplerProgress&)>;

// Runs the sampler; `problem`'s prior and likelihood (or none, for the
// prior alone) are shared read-only by every thread, each with a forward
// calculation of its own from `forwards`. Chain c starts at starts[c mod
// starts.size()] (models inside the prior), or, without starts, at the best
// of a few draws from the prior. `cancel`, when given and set, stops it
// after the round under way: the samples kept so far stay.
SamplerRun runParallelTempering(const SamplingProblem& problem, const ForwardFactory& forwards,
                                const SamplerSettings& settings,
                                std::span<const SampledModel> starts,
                                const SamplerProgressCallback& progress,
                                const std::atomic<bool>* cancel = nullptr);

}  // namespace dispfit
