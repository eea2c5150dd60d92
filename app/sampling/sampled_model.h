// SPDX-License-Identifier: GPL-3.0-or-later
// A layered model as the posterior sampler holds it: the parameters it
// samples, in their own units, for any layer count.
//
// Notation (m, m/s):
//   k          layers, the half-space last
//   Vs_i       S velocity of layer i, i = 0 .. k-1
//   h_i        thickness of layer i, i = 0 .. k-2 (the half-space has none)
//   nu_i       Poisson's ratio of layer i, where the prior gives it a range
#pragma once

#include <cstddef>
#include <vector>

namespace dispfit {

struct SampledModel {
  std::vector<double> vs;         // m/s, k values, top first
  std::vector<double> thickness;  // m, k - 1 values
  // k values when some layer's Poisson's ratio is sampled, else empty; the
  // entry of a layer without a range is 0 and unused.
  std::vector<double> poisson;

  std::size_t layerCount() const { return vs.size(); }
};

}  // namespace dispfit
