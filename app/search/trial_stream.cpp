// SPDX-License-Identifier: GPL-3.0-or-later
#include "search/trial_stream.h"

#include <cmath>

namespace dispfit {

namespace {

std::uint64_t mix(std::uint64_t x) {
  x += 0x9e3779b97f4a7c15ULL;
  x = (x ^ (x >> 30)) * 0xbf58476d1ce4e5b9ULL;
  x = (x ^ (x >> 27)) * 0x94d049bb133111ebULL;
  return x ^ (x >> 31);
}

// Each input passes the finaliser before the next joins it, so that
// (s, t, j) and (s, j, t) give different streams.
std::uint64_t streamSeed(std::uint64_t seed, std::uint64_t iteration, std::uint64_t index) {
  return mix(mix(mix(seed) ^ iteration) ^ index);
}

}  // namespace

TrialStream::TrialStream(std::uint64_t seed, std::uint64_t iteration, std::uint64_t index)
    : engine_(streamSeed(seed, iteration, index)) {}

double TrialStream::uniform() {
  constexpr double kTwoToMinus53 = 1.0 / 9007199254740992.0;
  return static_cast<double>(engine_() >> 11) * kTwoToMinus53;
}

double TrialStream::uniform(double low, double high) {
  if (!(high > low)) return low;
  return low + uniform() * (high - low);
}

std::size_t TrialStream::index(std::size_t count) {
  const auto i = static_cast<std::size_t>(uniform() * static_cast<double>(count));
  return i < count ? i : count - 1;
}

double TrialStream::normal() {
  if (hasSpareNormal_) {
    hasSpareNormal_ = false;
    return spareNormal_;
  }
  double x = 0.0;
  double y = 0.0;
  double r2 = 0.0;
  do {
    x = 2.0 * uniform() - 1.0;
    y = 2.0 * uniform() - 1.0;
    r2 = x * x + y * y;
  } while (r2 >= 1.0 || r2 == 0.0);
  const double factor = std::sqrt(-2.0 * std::log(r2) / r2);
  spareNormal_ = y * factor;
  hasSpareNormal_ = true;
  return x * factor;
}

}  // namespace dispfit
