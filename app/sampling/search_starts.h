// SPDX-License-Identifier: GPL-3.0-or-later
// Where the chains start: at the best models of short best-fit searches (the
// bounded neighbourhood algorithm of search/global_search.h) over the prior's
// ranges, several independent ones per layer count. A posterior of a curve with a few
// percent of noise is a narrow ridge in a wide box of models, and a chain
// started at a random draw can settle for hours on a broad false mode (a
// stiff lid at the top of its ranges over a soft layer fits such a curve far
// worse, but over a far larger volume, which is what a random start meets
// first); a search finds the ridge's neighbourhood in a few thousand
// models. A posterior with several ridges is the common case (a thin top
// layer of any speed over the one below it, a buried soft layer or none),
// and one search closes in on one of them; searches with seeds of their own
// start the chains on several.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "dispersion/observed_curve.h"
#include "sampling/model_prior.h"
#include "sampling/sampled_model.h"
#include "site/measured_curve.h"

namespace dispfit {

// The models of the start searches when none are chosen, per layer count,
// all its searches together: on the calibration's priors (up to 6 layers of
// 80-1000 m/s and 0.5-15 m) a few seconds on two cores, and 2000 a search,
// enough for each to reach a ridge of a 2 % curve.
inline constexpr std::int64_t kDefaultStartModels = 8000;
inline constexpr int kDefaultStartSearches = 4;
// The fewest models a search takes when a count's models are shared out:
// fewer searches, not weaker ones, when the models are few, since a search
// of a few hundred models stops short of any ridge.
inline constexpr std::int64_t kLeastModelsPerSearch = 1000;

struct StartSearchSettings {
  std::int64_t models = kDefaultStartModels;  // per layer count, shared out over its searches
  std::uint64_t seed = 1;
  int threads = 1;
  swcore::ForwardRuleSettings forward;  // the sampler's forward rule
  // Independent searches per layer count, each with a seed of its own: as
  // many as the models allow at kLeastModelsPerSearch each, at least one.
  int searches = kDefaultStartSearches;
};

// The searches a layer count's `models` are shared out over: as many as
// they allow at kLeastModelsPerSearch each, at most `most`, at least one.
int startSearchCount(std::int64_t models, int most = kDefaultStartSearches);

// Distinct models of the searches' best, `wanted` of them in the order the
// chains take them: the layer counts in turn (A, A + 1, .. B, A, ..), within
// a count its searches in turn, within a search the best first, each a
// hundredth of the box away from those chosen from it before (in the search's coordinates, see
// search_space.h), so that chains started apart can show in R-hat whether they meet. Fewer where
// the searches found fewer models with a curve; none when cancelled.
std::vector<SampledModel> searchStarts(const ModelPrior& prior,
                                       std::span<const MeasuredPoint> points, std::size_t wanted,
                                       const StartSearchSettings& settings,
                                       const std::atomic<bool>* cancel = nullptr);

}  // namespace dispfit
