// SPDX-License-Identifier: GPL-3.0-or-later
// Square-root-free LDL^T solve of a symmetric system, without pivoting.
#pragma once

#include <cstddef>
#include <span>

namespace swcore {

// A square matrix of at most `dimension` rows held in row-major storage with a
// fixed leading dimension, so the same storage serves every active size.
struct SquareMatrixView {
  std::span<double> storage;
  std::size_t leadingDimension = 0;

  double& at(std::size_t row, std::size_t column) const {
    return storage[row * leadingDimension + column];
  }
};

// Solves A x = b for the symmetric matrix in the leading n x n block of `matrix`.
//
// The factorisation runs row by row. The lower triangle and the diagonal are
// read as A; the strict upper triangle is overwritten by the factor L
// (l(i,k) in place of a(k,i)) and `pivotInverse` receives 1/d(i). `rhs` is
// read only; `solution` receives x. Returns false, at once, when a pivot is
// exactly zero; small or negative pivots are used as they are.
bool solveLdl(std::size_t n, SquareMatrixView matrix, std::span<const double> rhs,
              std::span<double> solution, std::span<double> pivotInverse);

}  // namespace swcore
