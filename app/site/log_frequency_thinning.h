// SPDX-License-Identifier: GPL-3.0-or-later
// Choosing a few points of a long curve evenly spread in log frequency.
//
// Notation:
//   n        number of points, frequencies f[0] > f[1] > ... > f[n-1] > 0
//   m        number kept, 2 <= m <= n
//   u_k      target log f[0] - k (log f[0] - log f[n-1]) / (m - 1), k = 0 .. m-1
#pragma once

#include <cstddef>
#include <vector>

namespace dispfit {

// Indices of the m points kept, ascending: for each target u_k the point
// nearest to it in log frequency among those after the one kept for u_{k-1}
// that still leave a point for every later target. The first and the last
// point are always kept; with m >= n every index is returned.
std::vector<std::size_t> thinnedIndices(const std::vector<double>& descendingFrequencies,
                                        std::size_t m);

}  // namespace dispfit
