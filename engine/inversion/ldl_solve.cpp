// SPDX-License-Identifier: GPL-3.0-or-later
#include "inversion/ldl_solve.h"

namespace swcore {

namespace {

// Row i of the factorisation: first the entries u(j,i) = d(j) l(i,j) of the
// column above the diagonal, then their conversion to l(i,j) and the pivot.
bool factorRow(std::size_t i, const SquareMatrixView& a, std::span<double> pivotInverse) {
  for (std::size_t j = 0; j < i; ++j) {
    double u = a.at(i, j);
    for (std::size_t k = 0; k < j; ++k) {
      u -= a.at(k, j) * a.at(k, i);
    }
    a.at(j, i) = u;
  }
  double pivot = a.at(i, i);
  for (std::size_t k = i; k-- > 0;) {
    const double u = a.at(k, i);
    const double l = u * pivotInverse[k];
    a.at(k, i) = l;
    pivot -= l * u;
  }
  if (pivot == 0.0) {
    return false;
  }
  pivotInverse[i] = 1.0 / pivot;
  return true;
}

}  // namespace

bool solveLdl(std::size_t n, SquareMatrixView matrix, std::span<const double> rhs,
              std::span<double> solution, std::span<double> pivotInverse) {
  for (std::size_t i = 0; i < n; ++i) {
    if (!factorRow(i, matrix, pivotInverse)) {
      return false;
    }
  }
  // Forward substitution L y = b.
  for (std::size_t k = 0; k < n; ++k) {
    double y = rhs[k];
    for (std::size_t m = 0; m < k; ++m) {
      y -= matrix.at(m, k) * solution[m];
    }
    solution[k] = y;
  }
  // Back substitution L^T x = D^-1 y, in place.
  for (std::size_t k = n; k-- > 0;) {
    double x = solution[k] * pivotInverse[k];
    for (std::size_t m = k + 1; m < n; ++m) {
      x -= matrix.at(k, m) * solution[m];
    }
    solution[k] = x;
  }
  return true;
}

}  // namespace swcore
