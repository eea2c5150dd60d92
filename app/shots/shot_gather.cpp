// SPDX-License-Identifier: GPL-3.0-or-later
#include "shots/shot_gather.h"

#include <algorithm>
#include <cmath>

namespace dispfit {

std::vector<double> ShotGather::distances() const {
  std::vector<double> out;
  out.reserve(receiverPositions.size());
  for (const double x : receiverPositions) out.push_back(std::abs(x - sourcePosition));
  return out;
}

double ShotGather::sourceOffset() const {
  double nearest = receiverPositions.front() - sourcePosition;
  for (const double x : receiverPositions) {
    if (std::abs(x - sourcePosition) < std::abs(nearest)) nearest = x - sourcePosition;
  }
  return nearest;
}

double ShotGather::arrayLength() const {
  const auto [low, high] = std::minmax_element(receiverPositions.begin(), receiverPositions.end());
  return *high - *low;
}

double ShotGather::meanSpacing() const {
  return receiverPositions.size() < 2 ? 0.0 : arrayLength() / double(receiverPositions.size() - 1);
}

}  // namespace dispfit
