// SPDX-License-Identifier: GPL-3.0-or-later
#include "site/log_frequency_thinning.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace dispfit {

std::vector<std::size_t> thinnedIndices(const std::vector<double>& descendingFrequencies,
                                        std::size_t m) {
  const std::size_t n = descendingFrequencies.size();
  std::vector<std::size_t> kept;
  if (m >= n || m < 2) {
    kept.resize(std::min(m, n));
    std::iota(kept.begin(), kept.end(), std::size_t{0});
    return kept;
  }
  const double top = std::log(descendingFrequencies.front());
  const double span = top - std::log(descendingFrequencies.back());
  kept.reserve(m);
  std::size_t first = 0;  // the first index still free
  for (std::size_t k = 0; k < m; ++k) {
    const double target = top - span * static_cast<double>(k) / static_cast<double>(m - 1);
    // Later targets need m - 1 - k points after this one.
    const std::size_t last = n - (m - k);
    std::size_t best = first;
    double bestDistance = std::abs(std::log(descendingFrequencies[first]) - target);
    for (std::size_t i = first + 1; i <= last; ++i) {
      const double distance = std::abs(std::log(descendingFrequencies[i]) - target);
      if (distance >= bestDistance) break;  // frequencies fall, so distances only grow from here
      best = i;
      bestDistance = distance;
    }
    kept.push_back(best);
    first = best + 1;
  }
  return kept;
}

}  // namespace dispfit
