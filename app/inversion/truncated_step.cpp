// SPDX-License-Identifier: GPL-3.0-or-later
#include "inversion/truncated_step.h"

#include <algorithm>
#include <vector>

namespace dispfit {

int countRank(const float* a, int rows, int columns) {
  int rank = 0;
  for (int j = 0; j < std::min(rows, columns); ++j) {
    if (static_cast<double>(a[j * columns + j]) >= kSingularValueFloor) ++rank;
  }
  return rank;
}

void truncatedStep(const float* a, const float* u, const float* v, int rows, int columns, int rank,
                   const float* rhs, float* step) {
  // One row of the pseudo-inverse at a time.
  std::vector<float> inverseRow(static_cast<size_t>(rows));
  for (int i = 0; i < columns; ++i) {
    for (int j = 0; j < rows; ++j) {
      float sum = 0.0f;
      for (int q = 0; q < rank; ++q) {
        const double singular = a[q * columns + q];
        sum = static_cast<float>(sum + static_cast<double>(v[q * columns + i]) / singular *
                                           static_cast<double>(u[j * rows + q]));
      }
      inverseRow[j] = sum;
    }
    float d = 0.0f;
    for (int j = 0; j < rows; ++j) {
      d = static_cast<float>(d + static_cast<double>(inverseRow[j]) * rhs[j]);
    }
    step[i] = d;
  }
}

}  // namespace dispfit
