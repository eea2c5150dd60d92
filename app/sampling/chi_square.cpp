// SPDX-License-Identifier: GPL-3.0-or-later
#include "sampling/chi_square.h"

#include <cmath>

namespace dispfit {

double chiSquareUpperTail(double x, int dof) {
  if (!(x > 0.0)) return 1.0;
  const double y = 0.5 * x;
  double sum = 0.0;
  if (dof % 2 == 0) {
    double term = 1.0;  // y^j / j!
    for (int j = 0; j < dof / 2; ++j) {
      sum += term;
      term *= y / static_cast<double>(j + 1);
    }
    return std::exp(-y) * sum;
  }
  // y^(j + 1/2) / Gamma(j + 3/2), from Gamma(3/2) = sqrt(pi) / 2.
  double term = std::sqrt(y) / (0.5 * std::sqrt(3.14159265358979323846));
  for (int j = 0; j < dof / 2; ++j) {
    sum += term;
    term *= y / (static_cast<double>(j) + 1.5);
  }
  return std::erfc(std::sqrt(y)) + std::exp(-y) * sum;
}

}  // namespace dispfit
