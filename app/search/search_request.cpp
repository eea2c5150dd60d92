// SPDX-License-Identifier: GPL-3.0-or-later
#include "search/search_request.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <string>

namespace dispfit {

namespace {

// The request's P-velocity rule on a layer that has none of its own.
void applyPVelocityRule(const SearchRequest& request, LayerRanges& ranges) {
  if (ranges.vp || ranges.poisson) return;
  if (request.vpRule == PVelocityRule::Fixed) ranges.vp = request.fixedVp;
  if (request.vpRule == PVelocityRule::PoissonRange) ranges.poisson = request.poisson;
}

}  // namespace

SearchSpace searchSpaceOf(const SearchRequest& request) {
  SearchSpace space;
  if (request.layerRanges.empty()) {
    LayerRanges ranges;
    ranges.vs = request.vs;
    ranges.thickness = request.thickness;
    ranges.density = request.density;
    space.layers.assign(static_cast<std::size_t>(std::max(request.layers, 0)), ranges);
  } else {
    space.layers = request.layerRanges;
  }
  for (LayerRanges& ranges : space.layers) applyPVelocityRule(request, ranges);
  space.increasing = request.increasing;
  space.waterTable = request.waterTable;
  return space;
}

SearchSettings searchSettingsOf(const SearchRequest& request, int threads) {
  SearchSettings settings;
  settings.models = request.models;
  settings.seed = request.seed;
  settings.threads = std::max(threads, 1);
  return settings;
}

std::string searchRequestFault(const SearchRequest& request) {
  if (request.method == SearchMethod::Posterior) {
    if (request.samples < 1) return "the posterior needs at least 1 sample";
    if (request.fewestLayers != 0 &&
        (request.fewestLayers < 1 || request.fewestLayers > request.layers)) {
      return "the least layer count must lie from 1 to the layer count";
    }
    if (request.fewestLayers != 0 && request.fewestLayers < request.layers &&
        !request.layerRanges.empty()) {
      return "a sampled layer count takes one set of ranges for every layer, not each layer's own";
    }
  }
  if (request.models < 1) return "the model budget must be at least 1";
  if (!(request.acceptance.threshold > 0.0) || !std::isfinite(request.acceptance.threshold)) {
    return "the acceptance threshold must be a positive number";
  }
  if (!(request.acceptance.factor >= 1.0) || !std::isfinite(request.acceptance.factor)) {
    return "the acceptance factor must be at least 1, or the best model itself is refused";
  }
  if (!request.layerRanges.empty() &&
      request.layerRanges.size() != static_cast<std::size_t>(request.layers)) {
    return "the per-layer ranges give " + std::to_string(request.layerRanges.size()) +
           " layers, not the " + std::to_string(request.layers) + " asked for";
  }
  return searchSpaceFault(searchSpaceOf(request));
}

}  // namespace dispfit
