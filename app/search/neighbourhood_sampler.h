// SPDX-License-Identifier: GPL-3.0-or-later
// The neighbourhood algorithm's geometry (Sambridge 1999, Geophys. J. Int.
// 138, 479-494), bounded: new models are drawn by Gibbs-sampler walks inside
// the Voronoi cells of the best models, where the cells are those of the
// best K models found so far (the neighbourhood set) rather than of the
// whole ensemble. A walk step costs O(K d) whatever the ensemble's size;
// the plain algorithm's O(N d) step grows with every model drawn.
//
// Notation (unit cube, see search_space.h):
//   d          dimension;  x  the walk's current point
//   v_j        centre of cell j: a model of the neighbourhood set, j = 0 .. K-1,
//              ordered by misfit (ties: the lower ensemble index first)
//   D_j        |x - v_j|^2, kept up to date as x moves along one axis at a time
//   along axis k, x stays nearer v_c than v_j where
//              x_k (v_ck - v_jk) >= (d_c - d_j + v_ck^2 - v_jk^2) / 2,
//              d_j = D_j - (x_k - v_jk)^2 the squared distance over the other axes
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "search/search_space.h"

namespace dispfit {

// The neighbourhood set's size when none is chosen: large enough that the
// cells of the best tens of models are shaped by their own neighbours, small
// enough that a walk step stays a small share of a forward computation.
inline constexpr std::size_t kDefaultNeighbourhoodBound = 1000;

// A walk's working array, one per thread.
struct WalkScratch {
  std::vector<double> squaredDistance;  // D_j
  std::vector<double> point;            // x
};

class NeighbourhoodSampler {
 public:
  // `map` must outlive the sampler. bound K >= 1.
  NeighbourhoodSampler(const ParameterMap& map, std::size_t bound);

  // Takes in `misfits.size()` new models (their coordinates one after the
  // other in `coordinates`), the first with ensemble index `firstIndex`, and
  // keeps the best K of all models seen.
  void absorb(std::span<const double> coordinates, std::span<const double> misfits,
              std::int64_t firstIndex);

  // Takes in the neighbourhood set of `other` (of the same map): the best K
  // of both sets are kept.
  void absorb(const NeighbourhoodSampler& other);

  // Models in the neighbourhood set: min(K, models absorbed).
  std::size_t cellCount() const { return order_.size(); }

  // Ensemble index of the model of cell `rank` (0 the best).
  std::int64_t indexOf(std::size_t rank) const { return order_[rank].index; }

  // `out.size() / dimension` samples of a walk in the cell of rank `rank`,
  // starting at its centre; sample s takes the random stream (seed,
  // iteration, firstIndex + s). Reads the set only: walks in different
  // cells may run on different threads at once.
  void walk(std::size_t rank, std::uint64_t seed, std::uint64_t iteration, std::int64_t firstIndex,
            std::span<double> out, WalkScratch& scratch) const;

  // A uniform draw from the cube brought into the model rules, with the
  // random stream (seed, 0, index).
  void uniformDraw(std::uint64_t seed, std::int64_t index, std::span<double> out) const;

 private:
  struct Member {
    double misfit;
    std::int64_t index;
    std::vector<double> coordinates;
  };

  // Orders the members, keeps the best K and lays out their centres.
  void keepBest(std::size_t sortedBefore);

  // The coordinate bounds along `axis` of the cell `rank` through x.
  Range cellInterval(std::size_t rank, std::size_t axis, const WalkScratch& scratch) const;

  const ParameterMap* map_;  // a pointer, so that sets can be moved
  std::size_t bound_;
  std::vector<Member> order_;  // the neighbourhood set, best first
  // The set's coordinates axis by axis, centres_[k * K + j] = v_jk, so that
  // a walk step reads each axis as one contiguous run.
  std::vector<double> centres_;
};

}  // namespace dispfit
