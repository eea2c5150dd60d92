// SPDX-License-Identifier: GPL-3.0-or-later
#include "shots/trace_window.h"

#include <cmath>
#include <limits>
#include <numbers>

namespace dispfit {
namespace {

// The weight of time t for a window kept from `from` to `to` with tapers.
double weight(double t, double from, double to, double taper) {
  if (t >= from && t <= to) return 1.0;
  const double outside = t < from ? from - t : t - to;
  if (taper <= 0.0 || outside >= taper) return 0.0;
  return 0.5 * (1.0 + std::cos(std::numbers::pi * outside / taper));
}

}  // namespace

void applyWindow(const TraceWindow& window, double r, double delay, double interval,
                 std::span<double> samples) {
  if (window.empty() && !window.fastVelocity && !window.slowVelocity) return;
  const double infinity = std::numeric_limits<double>::infinity();
  const double from =
      window.start.value_or(-infinity) + (window.fastVelocity ? r / *window.fastVelocity : 0.0);
  const double to =
      window.end.value_or(infinity) + (window.slowVelocity ? r / *window.slowVelocity : 0.0);
  for (std::size_t k = 0; k < samples.size(); ++k) {
    samples[k] *= weight(delay + double(k) * interval, from, to, window.taper);
  }
}

}  // namespace dispfit
