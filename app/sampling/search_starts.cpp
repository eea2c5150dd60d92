// SPDX-License-Identifier: GPL-3.0-or-later
#include "sampling/search_starts.h"

#include <algorithm>
#include <cmath>
#include <numeric>

#include "search/global_search.h"

namespace dispfit {

namespace {

// A hundredth of the box's diagonal per coordinate: models closer than that
// would start their chains in one place.
constexpr double kLeastSeparation = 0.01;

double squaredDistance(std::span<const double> a, std::span<const double> b) {
  double sum = 0.0;
  for (std::size_t i = 0; i < a.size(); ++i) sum += (a[i] - b[i]) * (a[i] - b[i]);
  return sum;
}

// The search's coordinates as a sampled model: n S velocities, n - 1
// thicknesses, then the Poisson's ratios of the layers that range them.
SampledModel sampledModelAt(const ParameterMap& map, const SearchSpace& space,
                            std::span<const double> unit, bool withPoisson) {
  const std::size_t n = space.layers.size();
  SampledModel model;
  for (std::size_t i = 0; i < n; ++i) model.vs.push_back(map.valueAt(unit, i));
  for (std::size_t i = 0; i + 1 < n; ++i) model.thickness.push_back(map.valueAt(unit, n + i));
  if (withPoisson) {
    model.poisson.assign(n, 0.0);
    std::size_t axis = 2 * n - 1;
    for (std::size_t i = 0; i < n; ++i) {
      if (space.layers[i].poisson) model.poisson[i] = map.valueAt(unit, axis++);
    }
  }
  return model;
}

}  // namespace

int startSearchCount(std::int64_t models, int most) {
  return static_cast<int>(
      std::clamp<std::int64_t>(models / kLeastModelsPerSearch, 1, std::max(most, 1)));
}

std::vector<SampledModel> searchStarts(const ModelPrior& prior,
                                       std::span<const MeasuredPoint> points, std::size_t wanted,
                                       const StartSearchSettings& settings,
                                       const std::atomic<bool>* cancel) {
  const LayerCountRange counts = prior.counts();
  const auto countsSearched = static_cast<std::size_t>(counts.most - counts.least + 1);
  const std::size_t perCount = (wanted + countsSearched - 1) / countsSearched;
  const CurveMisfit curve(points, settings.forward);
  const auto searches =
      static_cast<std::size_t>(startSearchCount(settings.models, settings.searches));
  // chosen[c][s]: the models taken from search s of count c, best first.
  std::vector<std::vector<std::vector<SampledModel>>> chosen(
      countsSearched, std::vector<std::vector<SampledModel>>(searches));
  const std::size_t perSearch = (perCount + searches - 1) / searches;
  const auto modelsPerSearch =
      std::max<std::int64_t>((settings.models + static_cast<std::int64_t>(searches) - 1) /
                                 static_cast<std::int64_t>(searches),
                             1);
  for (std::size_t c = 0; c < countsSearched; ++c) {
    const auto count = static_cast<std::size_t>(counts.least) + c;
    const SearchSpace space = prior.spaceOf(count);
    for (std::size_t s = 0; s < searches; ++s) {
      SearchSettings search;
      search.models = modelsPerSearch;
      search.seed = settings.seed + 1000003ULL * count + 7919ULL * s;
      search.threads = settings.threads;
      const SearchEnsemble ensemble = runGlobalSearch(space, curve, search, {}, {}, cancel);
      if (ensemble.cancelled) return {};
      std::vector<std::size_t> order(ensemble.size());
      std::iota(order.begin(), order.end(), std::size_t{0});
      std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return ensemble.misfits[a] < ensemble.misfits[b];
      });
      const ParameterMap map(space);
      std::vector<std::size_t> taken;
      for (const std::size_t i : order) {
        if (taken.size() >= perSearch || !std::isfinite(ensemble.misfits[i])) break;
        const bool apart = std::all_of(taken.begin(), taken.end(), [&](std::size_t j) {
          return squaredDistance(ensemble.coordinatesOf(i), ensemble.coordinatesOf(j)) >=
                 kLeastSeparation * kLeastSeparation * static_cast<double>(map.dimension());
        });
        if (!apart) continue;
        SampledModel model =
            sampledModelAt(map, space, ensemble.coordinatesOf(i), prior.samplesPoisson());
        if (!prior.contains(model)) continue;
        taken.push_back(i);
        chosen[c][s].push_back(std::move(model));
      }
    }
  }
  std::vector<SampledModel> starts;
  // The counts in turn, within a count the searches in turn, each search's
  // best first.
  for (std::size_t rank = 0; rank < perSearch; ++rank) {
    for (std::size_t s = 0; s < searches; ++s) {
      for (std::size_t c = 0; c < countsSearched && starts.size() < wanted; ++c) {
        if (rank < chosen[c][s].size()) starts.push_back(chosen[c][s][rank]);
      }
    }
  }
  return starts;
}

}  // namespace dispfit
