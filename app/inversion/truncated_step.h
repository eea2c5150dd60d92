// SPDX-License-Identifier: GPL-3.0-or-later
// The damped least-squares step from a decomposed step system: the
// truncated pseudo-inverse applied to the right-hand side.
#pragma once

namespace dispfit {

// Singular values at or above this take part in the step.
inline constexpr double kSingularValueFloor = 0.00001;

// Number of the first min(rows, columns) diagonal entries of the decomposed
// rows x columns matrix a (row-major) that reach kSingularValueFloor.
int countRank(const float* a, int rows, int columns);

// step[i] = sum over j < rows of G[i][j] rhs[j], with
// G[i][j] = sum over q < rank of V[q][i] / s_q U[j][q]; u is rows x rows and
// v columns x columns (rows = right singular vectors), both row-major, and
// s_q = a[q][q]. Partial sums are kept in single precision.
void truncatedStep(const float* a, const float* u, const float* v, int rows, int columns, int rank,
                   const float* rhs, float* step);

}  // namespace dispfit
