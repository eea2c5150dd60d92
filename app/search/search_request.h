// SPDX-License-Identifier: GPL-3.0-or-later
// What a user asks of a global search in one form: the same ranges for every
// layer or each layer's own, one rule for the P velocity, the budget, the
// seed and the acceptance thresholds; mapped to the search's space, settings
// and rule.
//
// Units: m, m/s, g/cm3.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "dispersion/observed_curve.h"
#include "search/global_search.h"
#include "search/search_space.h"

namespace dispfit {

// How every layer's P velocity follows from its S velocity.
enum class PVelocityRule {
  ThreeTimesVs,  // Vp = 3 Vs, the engine's own rule
  Fixed,         // Vp = fixedVp
  PoissonRange,  // Poisson's ratio searched over poisson
};

// What the form asks for: the best-fit search, or the posterior of the same
// ranges (app/sampling).
enum class SearchMethod { BestFit, Posterior };

struct SearchRequest {
  SearchMethod method = SearchMethod::BestFit;
  int layers = 4;              // the half-space included, 1 .. kMostSearchLayers
  Range vs{80.0, 1000.0};      // m/s, every layer
  Range thickness{1.0, 15.0};  // m, every layer above the half-space
  PVelocityRule vpRule = PVelocityRule::ThreeTimesVs;
  double fixedVp = 1500.0;           // m/s, with PVelocityRule::Fixed
  Range poisson{0.25, 0.45};         // with PVelocityRule::PoissonRange
  std::optional<double> waterTable;  // m
  double density = 1.9;              // g/cm3, every layer
  bool increasing = false;           // Vs does not decrease with depth
  std::int64_t models = 10000;       // the budget of the best-fit search
  std::int64_t samples = 100000;     // the posterior's samples kept, all chains together
                                     // (dispfit-invert --bayes's default)
  // The posterior's least layer count, sampled from it up to `layers`; 0 or
  // `layers` keeps the count fixed.
  int fewestLayers = 0;
  std::uint64_t seed = 1;
  AcceptanceRule acceptance;
  // How each model's curve is taken: by default the surface-observed
  // fundamental.
  swcore::ForwardRuleSettings forward;
  // The posterior samples under the surface-observed rule of `forward`;
  // false: under the lowest root.
  bool posteriorObserved = true;
  // Each layer's own ranges, top first, the half-space last; empty: vs,
  // thickness and density above for every layer. A layer with neither vp nor
  // poisson of its own takes vpRule.
  std::vector<LayerRanges> layerRanges;
};

// The space of the request: `layers` copies of one LayerRanges, or
// layerRanges when given; the half-space last.
SearchSpace searchSpaceOf(const SearchRequest& request);

// The library's settings with the request's budget and seed on `threads`
// threads (at least 1); the rest at the library's defaults.
SearchSettings searchSettingsOf(const SearchRequest& request, int threads);

// What is wrong with the request, in one sentence; empty when a search can
// start. Refused: a budget below 1, a threshold that is not positive, a
// factor below 1 (the best model itself would be refused), and whatever
// searchSpaceFault refuses (a layer count outside 1 .. kMostSearchLayers
// among them); per-layer ranges whose count is not the layer count; for the
// posterior, fewer than 1 sample, a least layer count outside 1 .. layers,
// and a sampled count with per-layer ranges.
std::string searchRequestFault(const SearchRequest& request);

}  // namespace dispfit
