// SPDX-License-Identifier: GPL-3.0-or-later
// The models a global search may draw: per-layer ranges of S velocity,
// thickness and Poisson's ratio (or a fixed P velocity), and the rules every
// model obeys, mapped to and from the unit cube the search works in.
//
// Notation (m, m/s, g/cm3):
//   n            layers, the half-space last
//   d            parameters searched: n S velocities, n - 1 thicknesses, then one
//                Poisson's ratio per layer whose ratio is given as a range
//   u_k          coordinate k of a trial model in the unit cube [0,1]^d:
//                value = lo_k (hi_k / lo_k)^u_k for a velocity or thickness, so
//                that a uniform draw is uniform in log Vs and log h (the same
//                chance for 100 to 110 m/s as for 500 to 550 m/s; a linear
//                scale over 80 to 1000 m/s gave the soft layers of a site 16 %
//                of every axis and left the search to find them by luck),
//                value = lo_k + u_k (hi_k - lo_k) for Poisson's ratio
//   Vs_i, h_i    S velocity and thickness of layer i, top first
//   nu_i         Poisson's ratio;  Vp_i = Vs_i sqrt((2 - 2 nu_i) / (1 - 2 nu_i))
//   Z            depth of the water table: a layer whose top lies at or below Z
//                has Vp_i >= 1500 m/s, the P velocity of water
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/vp_rule.h"

namespace dispfit {

struct Range {
  double low = 0.0;
  double high = 0.0;

  bool operator==(const Range&) const = default;
};

struct LayerRanges {
  Range vs;                      // m/s
  Range thickness;               // m; not used for the half-space
  double density = 1.9;          // g/cm3
  std::optional<double> vp;      // m/s, fixed; with neither this nor poisson Vp = 3 Vs
  std::optional<Range> poisson;  // Poisson's ratio, searched over the range

  bool operator==(const LayerRanges&) const = default;
};

struct SearchSpace {
  std::vector<LayerRanges> layers;   // top first, the half-space last
  bool increasing = false;           // Vs does not decrease with depth
  std::optional<double> waterTable;  // Z, m
};

// The most layers a search takes, the half-space included (the window's table).
inline constexpr std::size_t kMostSearchLayers = 20;

// What is wrong with the space, in one sentence naming the layer; empty when
// every model of it can be computed. Refused: no layer or more than
// kMostSearchLayers; a range with its low end above its high end; an S
// velocity, thickness, density or fixed Vp that is not a positive finite
// number; an S velocity at or above the engine's 10 km/s ceiling; a fixed Vp
// below sqrt(2) times the top of the layer's Vs range; a Poisson's ratio
// outside [0, 0.5); a water table that is not positive; with `increasing`,
// ranges that no non-decreasing Vs sequence meets.
std::string searchSpaceFault(const SearchSpace& space);

// A model in the engine's units at its interface: m, m/s, g/cm3.
struct TrialModel {
  std::vector<double> thickness;  // n values; the half-space's is 0
  std::vector<double> vs;
  std::vector<double> vp;
  std::vector<double> density;
};

// The map between the unit cube and the models of a space that
// searchSpaceFault accepts.
class ParameterMap {
 public:
  explicit ParameterMap(const SearchSpace& space);

  std::size_t dimension() const { return ranges_.size(); }
  std::size_t layerCount() const { return layers_.size(); }

  // The model at `unit` (dimension() coordinates in [0,1]).
  void model(std::span<const double> unit, TrialModel& out) const;

  // The coordinates along `axis` that keep the model at `unit` within the
  // rules (Vs between its neighbours' when non-decreasing), within [0,1].
  Range feasibleInterval(std::span<const double> unit, std::size_t axis) const;

  // Brings a uniform draw from the cube into the rules: with `increasing`
  // the S velocities are sorted, then each clamped into what a non-decreasing
  // sequence allows its layer. For layers with equal ranges this leaves the
  // draw uniform over the allowed models (the order statistics of uniform
  // draws).
  void makeFeasible(std::span<double> unit) const;

  // The parameter's value at `unit`: m/s, m or Poisson's ratio.
  double valueAt(std::span<const double> unit, std::size_t axis) const;

  // "vs1 (m/s)", "h2 (m)", "nu3": how tables head coordinate `axis`.
  std::string parameterName(std::size_t axis) const;

 private:
  enum class Kind { ShearVelocity, Thickness, Poisson };
  struct Axis {
    Kind kind;
    std::size_t layer;
    Range range;
  };

  double unitOf(double value, std::size_t axis) const;

  std::vector<LayerRanges> layers_;
  std::vector<Axis> ranges_;
  std::vector<std::optional<std::size_t>> poissonAxis_;  // per layer
  bool increasing_ = false;
  std::optional<double> waterTable_;
  // The least and most Vs of layer i in a non-decreasing sequence (m/s):
  // the largest low end above it and the smallest high end below it.
  std::vector<double> increasingLow_;
  std::vector<double> increasingHigh_;
};

}  // namespace dispfit
