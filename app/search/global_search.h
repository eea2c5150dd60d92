// SPDX-License-Identifier: GPL-3.0-or-later
// A global search of the models of a search space for those whose curves fit
// a measured one: the bounded neighbourhood algorithm (see
// neighbourhood_sampler.h) on every core.
//
// The first iteration draws `initialModels` models uniformly and deals them
// out in equal runs to `starts` independent neighbourhood sets. Each later
// iteration draws `modelsPerIteration` models per set by walks in the cells
// of the set's `resampledCells` best models. Once `startsShare` of the budget
// is spent the sets merge into one, which spends the rest: the independent
// starts explore several basins of the misfit (a single neighbourhood search
// settles in the first good one it meets, as repeated runs of the algorithm
// show), the merged set refines the best of them. The models of an
// iteration are scored in parallel, one solver per thread, and taken in
// index order, so the same seed gives the same ensemble bit for bit for any
// thread count.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "search/curve_misfit.h"
#include "search/neighbourhood_sampler.h"
#include "search/search_space.h"

namespace dispfit {

struct SearchSettings {
  std::int64_t models = 10000;  // the budget: models drawn and scored, >= 1
  std::uint64_t seed = 1;
  int threads = 1;  // >= 1
  // The defaults were chosen on 3-layer synthetic curves with a +-3 % band
  // (5 to 80 Hz, Vs searched from 80 to 1000 m/s, thickness from 1 to
  // 15 m): one neighbourhood set of 20,000 models reached the basin of the
  // true model for one seed in three; four starts of 40 models per iteration
  // over their 10 best cells, merged at half of 40,000 models, reached it
  // (best normalised misfit below 0.2) for six seeds in six.
  std::int64_t initialModels = 200;      // uniform draws of the first iteration
  std::int64_t starts = 4;               // independent neighbourhood sets, >= 1
  double startsShare = 0.5;              // of the budget, spent before the sets merge
  std::int64_t modelsPerIteration = 40;  // ns, per set
  std::int64_t resampledCells = 10;      // nr, the cells walked per set and iteration
  std::size_t neighbourhoodBound = kDefaultNeighbourhoodBound;  // K, per set
};

// Every model drawn, in the order drawn.
struct SearchEnsemble {
  std::size_t dimension = 0;
  MisfitKind kind = MisfitKind::MetresPerSecond;
  std::vector<double> coordinates;  // model i at [i * dimension, (i + 1) * dimension)
  std::vector<double> misfits;      // +infinity for a rejected model
  bool cancelled = false;           // stopped before the budget was spent

  std::size_t size() const { return misfits.size(); }
  std::span<const double> coordinatesOf(std::size_t i) const {
    return std::span<const double>(coordinates).subspan(i * dimension, dimension);
  }
  // The lowest misfit's model (the first of equals); size() when empty.
  std::size_t best() const;
};

// Which models are accepted: a normalised misfit at most `threshold` or
// `factor` times the best, whichever is more; a misfit in m/s at most
// `factor` times the best. The best model is always accepted.
struct AcceptanceRule {
  double threshold = 1.0;
  double factor = 1.1;

  // The largest misfit accepted in an ensemble whose best misfit is `best`.
  double limit(MisfitKind kind, double best) const;
};

// Whether each model of the ensemble is accepted.
std::vector<bool> acceptedModels(const SearchEnsemble& ensemble, const AcceptanceRule& rule);

// What a caller hears after each iteration, on the calling thread.
struct SearchProgress {
  std::int64_t done = 0;
  std::int64_t total = 0;
  double bestMisfit = 0.0;  // +infinity until a model has a curve
  std::int64_t accepted = 0;
};

using ProgressCallback = std::function<void(const SearchProgress&)>;

// Runs the search; `space` must pass searchSpaceFault and `curve` have no
// fault. `cancel`, when given and set, stops it before the next iteration
// and discards the iteration under way: the ensemble holds every model of
// the iterations completed.
SearchEnsemble runGlobalSearch(const SearchSpace& space, const CurveMisfit& curve,
                               const SearchSettings& settings, const AcceptanceRule& rule,
                               const ProgressCallback& progress,
                               const std::atomic<bool>* cancel = nullptr);

// The same search with the models scored by `scorers` (one made per
// thread), whose misfits are of `kind`: what the search itself costs shows
// with a scorer that costs nothing.
SearchEnsemble runGlobalSearch(const SearchSpace& space, MisfitKind kind,
                               const ScorerFactory& scorers, const SearchSettings& settings,
                               const AcceptanceRule& rule, const ProgressCallback& progress,
                               const std::atomic<bool>* cancel = nullptr);

}  // namespace dispfit
