// SPDX-License-Identifier: GPL-3.0-or-later
// Dense single-precision singular value decomposition of the inversion's
// step system: Householder bidiagonalisation followed by implicitly shifted
// QR sweeps on the bidiagonal (Golub-Kahan-Reinsch, LINPACK SSVDC layout).
#pragma once

namespace dispfit {

class SvdSolver {
 public:
  static constexpr int kConverged = 1;
  static constexpr int kNotConverged = -1;
  // Shifted QR sweeps allowed per singular value.
  static constexpr int kSweepLimit = 60;

  // Factors the m x n row-major matrix a as U diag(s) V^T.
  //   a   m x n, overwritten: singular values on the diagonal (descending,
  //       non-negative), the remaining superdiagonal on the first
  //       superdiagonal, zeros elsewhere.
  //   u   m x m row-major; its first min(m, n) columns receive the left
  //       singular vectors in the order of the singular values.
  //   v   n x n row-major; its rows receive the right singular vectors.
  //   eps relative tolerance of the negligibility tests.
  //   ka  workspace size, at least max(m, n) + 1.
  // Returns kConverged, or kNotConverged when a singular value needed more
  // than kSweepLimit sweeps. A matrix without rows or columns has no
  // singular values and converges at once; a negative size is refused.
  int svdDecompose(float* a, int m, int n, float* u, float* v, float eps, int ka) const;

  // Writes the diagonal s and superdiagonal e (indexed from 1, as the
  // decomposition keeps them) into a and transposes v in place.
  void svdFinish(float* a, const float* e, const float* s, float* v, int m, int n) const;

  // Plane rotation that zeroes g against f: on return f holds r, and
  // (c, sn) satisfy c*f0 + sn*g = r, -sn*f0 + c*g = 0.
  void givens(float& f, float g, float& c, float& sn) const;
};

}  // namespace dispfit
