#include "search/search_request.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace dispfit {

SearchSpace searchSpaceOf(const SearchRequest& request) {
  LayerRanges ranges;
  ranges.vs = request.vs;
  ranges.thickness = request.thickness;
  ranges.density = request.density;
  if (request.vpRule == PVelocityRule::Fixed) ranges.vp = request.fixedVp;
  if (request.vpRule == PVelocityRule::PoissonRange) ranges.poisson = request.poisson;

  SearchSpace space;
  space.layers.assign(static_cast<std::size_t>(std::max(request.layers, 0)), ranges);
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
  if (request.models < 1) return "the model budget must be at least 1";
  if (!(request.acceptance.threshold > 0.0) || !std::isfinite(request.acceptance.threshold)) {
    return "the acceptance threshold must be a positive number";
  }
  if (!(request.acceptance.factor >= 1.0) || !std::isfinite(request.acceptance.factor)) {
    return "the acceptance factor must be at least 1, or the best model itself is refused";
  }
  return searchSpaceFault(searchSpaceOf(request));
}

}  // namespace dispfit
