// SPDX-License-Identifier: GPL-3.0-or-later
#include "search/neighbourhood_sampler.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "search/trial_stream.h"

namespace dispfit {

namespace {

// A misfit that is not a number ranks with the rejected models.
double rankOf(double misfit) {
  return std::isnan(misfit) ? std::numeric_limits<double>::infinity() : misfit;
}

}  // namespace

NeighbourhoodSampler::NeighbourhoodSampler(const ParameterMap& map, std::size_t bound)
    : map_(&map), bound_(std::max<std::size_t>(bound, 1)) {}

namespace {

bool better(const double misfitA, std::int64_t indexA, const double misfitB, std::int64_t indexB) {
  return misfitA != misfitB ? misfitA < misfitB : indexA < indexB;
}

}  // namespace

void NeighbourhoodSampler::absorb(std::span<const double> coordinates,
                                  std::span<const double> misfits, std::int64_t firstIndex) {
  const std::size_t d = map_->dimension();
  const std::size_t kept = order_.size();
  for (std::size_t i = 0; i < misfits.size(); ++i) {
    const double misfit = rankOf(misfits[i]);
    const std::int64_t index = firstIndex + static_cast<std::int64_t>(i);
    // A full set keeps only what beats its worst member.
    if (kept == bound_ && !better(misfit, index, order_.back().misfit, order_.back().index)) {
      continue;
    }
    order_.push_back(
        {misfit, index,
         std::vector<double>(coordinates.begin() + static_cast<std::ptrdiff_t>(i * d),
                             coordinates.begin() + static_cast<std::ptrdiff_t>((i + 1) * d))});
  }
  keepBest(kept);
}

void NeighbourhoodSampler::absorb(const NeighbourhoodSampler& other) {
  const std::size_t kept = order_.size();
  order_.insert(order_.end(), other.order_.begin(), other.order_.end());
  keepBest(kept);
}

void NeighbourhoodSampler::keepBest(std::size_t sortedBefore) {
  const auto before = [](const Member& a, const Member& b) {
    return better(a.misfit, a.index, b.misfit, b.index);
  };
  const auto middle = order_.begin() + static_cast<std::ptrdiff_t>(sortedBefore);
  std::sort(middle, order_.end(), before);
  std::inplace_merge(order_.begin(), middle, order_.end(), before);
  if (order_.size() > bound_) order_.resize(bound_);

  const std::size_t d = map_->dimension();
  const std::size_t count = order_.size();
  centres_.resize(d * count);
  for (std::size_t j = 0; j < count; ++j) {
    for (std::size_t k = 0; k < d; ++k) centres_[k * count + j] = order_[j].coordinates[k];
  }
}

Range NeighbourhoodSampler::cellInterval(std::size_t rank, std::size_t axis,
                                         const WalkScratch& scratch) const {
  const std::size_t count = order_.size();
  const double* v = centres_.data() + axis * count;
  const double xk = scratch.point[axis];
  const double vc = v[rank];
  const double dc = scratch.squaredDistance[rank] - (xk - vc) * (xk - vc);
  double low = 0.0;
  double high = 1.0;
  for (std::size_t j = 0; j < count; ++j) {
    const double vj = v[j];
    const double difference = vc - vj;
    // Centres level with the cell's along this axis bound nothing on it.
    if (j == rank || difference == 0.0) continue;
    const double dj = scratch.squaredDistance[j] - (xk - vj) * (xk - vj);
    // The boundary lies at numerator / (2 difference); it tightens the
    // lower bound (difference > 0) or the upper one (difference < 0) exactly
    // when numerator > 2 difference bound. Testing that first leaves the
    // division to the few neighbours that move a bound.
    const double numerator = dc - dj + vc * vc - vj * vj;
    double& bound = difference > 0.0 ? low : high;
    if (numerator > 2.0 * difference * bound) bound = 0.5 * numerator / difference;
  }
  return {low, high};
}

void NeighbourhoodSampler::walk(std::size_t rank, std::uint64_t seed, std::uint64_t iteration,
                                std::int64_t firstIndex, std::span<double> out,
                                WalkScratch& scratch) const {
  const std::size_t d = map_->dimension();
  const std::size_t count = order_.size();
  const std::size_t samples = out.size() / d;
  scratch.point = order_[rank].coordinates;
  scratch.squaredDistance.assign(count, 0.0);
  for (std::size_t k = 0; k < d; ++k) {
    const double* v = centres_.data() + k * count;
    const double xk = scratch.point[k];
    for (std::size_t j = 0; j < count; ++j) {
      scratch.squaredDistance[j] += (xk - v[j]) * (xk - v[j]);
    }
  }
  for (std::size_t s = 0; s < samples; ++s) {
    TrialStream stream(seed, iteration, static_cast<std::uint64_t>(firstIndex) + s);
    for (std::size_t k = 0; k < d; ++k) {
      const Range cell = cellInterval(rank, k, scratch);
      const Range allowed = map_->feasibleInterval(scratch.point, k);
      const double xk = scratch.point[k];
      double low = std::max(cell.low, allowed.low);
      double high = std::min(cell.high, allowed.high);
      // Rounding can leave the bounds a few ulps past the current point,
      // which always lies in both intervals: it is kept then.
      if (low > high) low = high = xk;
      const double next = stream.uniform(low, high);
      // (next - v)^2 - (xk - v)^2 = (next - xk)(next + xk - 2 v): one
      // product per centre.
      const double* v = centres_.data() + k * count;
      const double step = next - xk;
      const double sum = next + xk;
      double* distance = scratch.squaredDistance.data();
      for (std::size_t j = 0; j < count; ++j) distance[j] += step * (sum - 2.0 * v[j]);
      scratch.point[k] = next;
    }
    std::copy(scratch.point.begin(), scratch.point.end(),
              out.begin() + static_cast<std::ptrdiff_t>(s * d));
  }
}

void NeighbourhoodSampler::uniformDraw(std::uint64_t seed, std::int64_t index,
                                       std::span<double> out) const {
  TrialStream stream(seed, 0, static_cast<std::uint64_t>(index));
  for (double& u : out) u = stream.uniform();
  map_->makeFeasible(out);
}

}  // namespace dispfit
