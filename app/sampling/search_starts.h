// SPDX-License-Identifier: GPL-3.0-or-later
// Where the chains start: at the best models of a short best-fit search (the
// bounded neighbourhood algorithm of search/global_search.h) over the prior's
// ranges, one search per layer count. A posterior of a curve with a few
// percent of noise is a narrow ridge in a wide box of models, and a chain
// started at a random draw can settle for hours on a broad false mode (a
// stiff lid at the top of its ranges over a soft layer fits such a curve far
// worse, but over a far larger volume, which is what a random start meets
// first); the search finds the ridge's neighbourhood in a few thousand
// models.
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

// The models of the start search when none are chosen, per layer count: on
// the calibration's priors (up to 6 layers of 80-1000 m/s and 0.5-15 m) a
// few seconds on two cores, and enough for the search to reach the ridge of
// 2 % curves.
inline constexpr std::int64_t kDefaultStartModels = 4000;

struct StartSearchSettings {
  std::int64_t models = kDefaultStartModels;  // per layer count
  std::uint64_t seed = 1;
  int threads = 1;
  swcore::ForwardRuleSettings forward;  // the sampler's forward rule
};

// Distinct models of the searches' best, `wanted` of them in the order the
// chains take them: the layer counts in turn (A, A + 1, .. B, A, ..), within
// a count the best first, each a hundredth of the box away from those chosen
// before it (in the search's coordinates, see search_space.h), so that
// chains started apart can show in R-hat whether they meet. Fewer where the
// searches found fewer models with a curve; none when cancelled.
std::vector<SampledModel> searchStarts(const ModelPrior& prior,
                                       std::span<const MeasuredPoint> points, std::size_t wanted,
                                       const StartSearchSettings& settings,
                                       const std::atomic<bool>* cancel = nullptr);

}  // namespace dispfit
