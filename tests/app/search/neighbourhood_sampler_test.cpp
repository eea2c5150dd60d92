// SPDX-License-Identifier: GPL-3.0-or-later
// The walks of the bounded neighbourhood algorithm, checked against the
// definition of a Voronoi cell by brute force: every sample of a walk in
// cell c lies nearer centre c than any other centre of the set.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "search/neighbourhood_sampler.h"
#include "search/trial_stream.h"

namespace {

using dispfit::LayerRanges;
using dispfit::NeighbourhoodSampler;
using dispfit::ParameterMap;
using dispfit::SearchSpace;

SearchSpace space(std::size_t layers, bool increasing) {
  SearchSpace s;
  s.layers.assign(layers,
                  LayerRanges{{100.0, 900.0}, {1.0, 10.0}, 1.9, std::nullopt, std::nullopt});
  s.increasing = increasing;
  return s;
}

// Centre index nearest to x by a full search.
std::size_t nearest(const std::vector<std::vector<double>>& centres, std::span<const double> x) {
  std::size_t best = 0;
  double bestDistance = INFINITY;
  for (std::size_t j = 0; j < centres.size(); ++j) {
    double sum = 0.0;
    for (std::size_t k = 0; k < x.size(); ++k)
      sum += (x[k] - centres[j][k]) * (x[k] - centres[j][k]);
    if (sum < bestDistance) {
      bestDistance = sum;
      best = j;
    }
  }
  return best;
}

TEST(NeighbourhoodSampler, WalkSamplesStayInTheirVoronoiCell) {
  for (const bool increasing : {false, true}) {
    SCOPED_TRACE(increasing ? "non-decreasing Vs" : "free Vs");
    const SearchSpace s = space(3, increasing);
    const ParameterMap map(s);
    const std::size_t d = map.dimension();
    NeighbourhoodSampler sampler(map, 40);
    // 60 uniform models with misfits in draw order: the set keeps the 40
    // lowest, which are the first 40 here.
    std::vector<double> coordinates(60 * d);
    std::vector<double> misfits(60);
    for (std::size_t i = 0; i < 60; ++i) {
      sampler.uniformDraw(7, static_cast<std::int64_t>(i),
                          std::span(coordinates).subspan(i * d, d));
      misfits[i] = static_cast<double>(i);
    }
    sampler.absorb(coordinates, misfits, 0);
    ASSERT_EQ(sampler.cellCount(), 40u);
    std::vector<std::vector<double>> centres;
    for (std::size_t j = 0; j < 40; ++j) {
      ASSERT_EQ(sampler.indexOf(j), static_cast<std::int64_t>(j));
      centres.emplace_back(coordinates.begin() + static_cast<std::ptrdiff_t>(j * d),
                           coordinates.begin() + static_cast<std::ptrdiff_t>((j + 1) * d));
    }
    dispfit::WalkScratch scratch;
    for (const std::size_t rank : {0u, 5u, 39u}) {
      std::vector<double> samples(25 * d);
      sampler.walk(rank, 3, 1, 1000, samples, scratch);
      for (std::size_t s2 = 0; s2 < 25; ++s2) {
        const std::span<const double> x = std::span<const double>(samples).subspan(s2 * d, d);
        EXPECT_EQ(nearest(centres, x), rank) << "cell " << rank << ", sample " << s2;
      }
    }
  }
}

}  // namespace
