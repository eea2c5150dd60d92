// SPDX-License-Identifier: GPL-3.0-or-later
// The random numbers of one trial model, the same on every machine and for
// any thread count: a generator seeded from (seed, iteration, index) alone.
//
// Notation:
//   s, t, j    the search's seed, the iteration (0 for the first, uniform draws)
//              and the model's index within the whole ensemble
//   mix(x)     SplitMix64's finaliser: a bijection of 64-bit words whose every
//              output bit depends on every input bit
//   u          a draw in [0, 1): the top 53 bits of a 64-bit word times 2^-53
//   x, y, r2   a point drawn uniformly in the unit disc, r2 = x^2 + y^2; then
//              x sqrt(-2 ln r2 / r2) is standard normal (the polar method)
#pragma once

#include <cstddef>
#include <cstdint>
#include <random>

namespace dispfit {

class TrialStream {
 public:
  TrialStream(std::uint64_t seed, std::uint64_t iteration, std::uint64_t index);

  // Uniform in [0, 1), every multiple of 2^-53 equally likely. Written out
  // rather than through std::uniform_real_distribution, whose mapping each
  // standard library defines its own way.
  double uniform();

  // Uniform in [low, high]; `low` when the interval is empty.
  double uniform(double low, double high);

  // Uniform over 0 .. count - 1, for count >= 1.
  std::size_t index(std::size_t count);

  // Standard normal, by Marsaglia's polar method on the uniform draws
  // above (std::normal_distribution, too, is each library's own).
  double normal();

 private:
  std::mt19937_64 engine_;    // its sequence for a seed is fixed by the standard
  double spareNormal_ = 0.0;  // the polar method's second normal draw
  bool hasSpareNormal_ = false;
};

}  // namespace dispfit
