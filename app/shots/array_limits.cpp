// SPDX-License-Identifier: GPL-3.0-or-later
#include "shots/array_limits.h"

#include <algorithm>
#include <cmath>

namespace dispfit {

ArrayLimits arrayLimits(const ShotGather& gather) {
  // The widest gap between neighbours sets the aliasing limit of an uneven
  // array; for an even one it is the spacing.
  double widest = 0.0;
  for (std::size_t j = 1; j < gather.receiverPositions.size(); ++j) {
    widest =
        std::max(widest, std::abs(gather.receiverPositions[j] - gather.receiverPositions[j - 1]));
  }
  return {2.0 * widest, kLongestWavelengthPerLength * gather.arrayLength()};
}

}  // namespace dispfit
