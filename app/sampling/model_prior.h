// SPDX-License-Identifier: GPL-3.0-or-later
// The prior of the posterior sampler: independent uniform distributions of
// each layer's S velocity and thickness (and Poisson's ratio, where it has a
// range) within the ranges of a search space, truncated to non-decreasing
// S velocities when the space asks for it; with a range of layer counts the
// count is uniform over it and every layer takes the same ranges.
//
// Notation (m, m/s):
//   A, B           the least and the most layers, the half-space included
//   k              the layer count, uniform over A .. B: p(k) = 1 / (B - A + 1)
//   dVs, dh, dnu   the widths of a layer's ranges (hi - lo); a range of no
//                  width fixes the parameter, which then has no density
//   Z_k            the share of the box of k layers that the truncation keeps:
//                  with increasing S velocities over one Vs range, the chance
//                  that k independent uniform draws come in order, 1 / k!
//   p(theta | k)   prod 1 / d over the free parameters, times 1 / Z_k inside
//                  the truncation, 0 outside
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "sampling/sampled_model.h"
#include "search/search_space.h"
#include "search/trial_stream.h"

namespace dispfit {

struct LayerCountRange {
  int least = 1;  // A
  int most = 1;   // B

  bool operator==(const LayerCountRange&) const = default;
};

// What is wrong with the prior of `space` and `counts`, in one sentence;
// empty when it can be sampled. Refused: what searchSpaceFault refuses; a
// least count below 1 or above the most, a most above kMostSearchLayers;
// with a range of counts, layers whose ranges differ (a range of counts
// takes one set of ranges for every layer); with one count, a space of
// another count.
std::string modelPriorFault(const SearchSpace& space, LayerCountRange counts);

class ModelPrior {
 public:
  // `space` and `counts` must pass modelPriorFault.
  ModelPrior(const SearchSpace& space, LayerCountRange counts);

  LayerCountRange counts() const { return counts_; }
  bool variableCount() const { return counts_.least < counts_.most; }
  bool increasing() const { return increasing_; }
  // Whether some layer's Poisson's ratio is sampled.
  bool samplesPoisson() const { return samplesPoisson_; }

  // The ranges of layer `layer` of a model of `count` layers.
  const LayerRanges& ranges(std::size_t layer, std::size_t count) const;

  // Whether the model lies inside the prior: a count in A .. B, every value
  // in its range, the S velocities in order where they must be.
  bool contains(const SampledModel& model) const;

  // log p(k) p(theta | k); minus infinity outside the prior. With one count
  // and per-layer ranges under the truncation, up to a constant (Z_k is
  // then the same for every model).
  double logDensity(const SampledModel& model) const;

  // A draw from the prior. Exact wherever the S velocities share one range
  // (the order statistics of uniform draws); with per-layer ranges under the
  // truncation by rejection, and after kMostRejections the nearest ordered
  // model, which serves a chain's start only.
  void draw(TrialStream& random, SampledModel& out) const;

  // The model with its P velocities and densities, in the forward
  // calculation's units: Vp = 3 Vs, a fixed Vp or Vs sqrt((2 - 2 nu) /
  // (1 - 2 nu)), at least 1500 m/s in layers whose top lies at or below the
  // water table.
  void trialModel(const SampledModel& model, TrialModel& out) const;

  // The ranges of every layer of a model of `count` layers (in A .. B) as a
  // search space, with the prior's truncation and water table.
  SearchSpace spaceOf(std::size_t count) const;

  // log Z_k of the truncation, as the birth and death of layers need it.
  double logTruncatedShare(std::size_t count) const;

  // Rejected draws of a truncated prior before the nearest ordered model.
  static constexpr int kMostRejections = 10000;

 private:
  std::vector<LayerRanges> layers_;  // one per layer; with a range of counts, one
  LayerCountRange counts_;
  bool increasing_ = false;
  bool samplesPoisson_ = false;
  bool sharedVsRange_ = true;  // every layer has the same Vs range
  std::optional<double> waterTable_;
};

}  // namespace dispfit
