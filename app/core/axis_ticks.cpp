// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/axis_ticks.h"

#include <cmath>
#include <initializer_list>

namespace dispfit {

double roundTickInterval(double span, int wantedIntervals) {
  if (!(span > 0.0) || !std::isfinite(span) || wantedIntervals < 1) return 1.0;
  const double raw = span / wantedIntervals;
  const double decade = std::pow(10.0, std::floor(std::log10(raw)));
  for (const double factor : {1.0, 2.0, 5.0}) {
    if (raw <= factor * decade) return factor * decade;
  }
  return 10.0 * decade;
}

}  // namespace dispfit
