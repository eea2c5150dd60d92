// SPDX-License-Identifier: GPL-3.0-or-later
#include "inversion/svd.h"

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "core/single_precision.h"

namespace dispfit {

// Arithmetic convention: every stored value is single precision; each
// expression is evaluated in double and rounded once when stored, and loop
// sums accumulate in a float, rounding after every added (double) product.

namespace {

// Row-major matrix view indexed from 1, as the algorithm is written.
class MatrixView {
 public:
  MatrixView(float* data, int columns) : data_(data), columns_(columns) {}
  float& operator()(int i, int j) const { return data_[(i - 1) * columns_ + (j - 1)]; }

 private:
  float* data_;
  int columns_;
};

double wide(float x) {
  return static_cast<double>(x);
}

float magnitude(float x) {
  return std::fabs(x);
}

// |value| carrying the sign of sign (positive when sign is zero).
float withSignOf(float value, float sign) {
  return sign < 0.0f ? -magnitude(value) : magnitude(value);
}

// Rotates columns first and second of x over its first rows rows:
// first' = c first + sn second, second' = -sn first + c second.
void rotateColumns(const MatrixView& x, int rows, int first, int second, float c, float sn) {
  if (c == 1.0f && sn == 0.0f) return;
  for (int i = 1; i <= rows; ++i) {
    const float xFirst = x(i, first);
    const float xSecond = x(i, second);
    x(i, first) = stored(wide(c) * xFirst + wide(sn) * xSecond);
    x(i, second) = stored(-wide(sn) * xFirst + wide(c) * xSecond);
  }
}

void swapColumns(const MatrixView& x, int rows, int first, int second) {
  for (int i = 1; i <= rows; ++i) std::swap(x(i, first), x(i, second));
}

void setUnitColumn(const MatrixView& x, int rows, int column) {
  for (int i = 1; i <= rows; ++i) x(i, column) = 0.0f;
  x(column, column) = 1.0f;
}

// The state of one decomposition: the caller's arrays and the three work
// vectors s (diagonal), e (superdiagonal) and w, all indexed from 1.
struct Decomposition {
  Decomposition(float* aData, int rows, int columns, float* uData, float* vData, float tolerance,
                int workSize)
      : a(aData, columns),
        u(uData, rows),
        v(vData, columns),
        m(rows),
        n(columns),
        k(std::min(columns, rows - 1)),
        l(std::max(0, std::min(rows, columns - 2))),
        eps(tolerance),
        s(workSize),
        e(workSize),
        w(workSize) {}

  MatrixView a;
  MatrixView u;
  MatrixView v;
  int m;
  int n;
  int k;  // columns reduced by a left reflection
  int l;  // rows reduced by a right reflection
  float eps;
  std::vector<float> s;
  std::vector<float> e;
  std::vector<float> w;
};

// Householder reflection of column kk from the left (rows kk..m).
void reflectColumn(Decomposition& d, int kk) {
  float sum = 0.0f;
  for (int i = kk; i <= d.m; ++i) sum = stored(sum + wide(d.a(i, kk)) * d.a(i, kk));
  d.s[kk] = stored(std::sqrt(wide(sum)));
  if (d.s[kk] != 0.0f) {
    if (d.a(kk, kk) != 0.0f) d.s[kk] = withSignOf(d.s[kk], d.a(kk, kk));
    for (int i = kk; i <= d.m; ++i) d.a(i, kk) = stored(wide(d.a(i, kk)) / d.s[kk]);
    d.a(kk, kk) = stored(1.0 + d.a(kk, kk));
  }
  d.s[kk] = -d.s[kk];
}

// Applies the left reflection of column kk to the columns right of it and
// copies row kk into e for the row reflection.
void applyColumnReflection(Decomposition& d, int kk) {
  for (int j = kk + 1; j <= d.n; ++j) {
    if (kk <= d.k && d.s[kk] != 0.0f) {
      float sum = 0.0f;
      for (int i = kk; i <= d.m; ++i) sum = stored(sum + wide(d.a(i, kk)) * d.a(i, j));
      const float t = stored(-wide(sum) / d.a(kk, kk));
      for (int i = kk; i <= d.m; ++i) d.a(i, j) = stored(d.a(i, j) + wide(t) * d.a(i, kk));
    }
    d.e[j] = d.a(kk, j);
  }
}

// Householder reflection of row kk from the right (columns kk+1..n).
void reflectRow(Decomposition& d, int kk) {
  float sum = 0.0f;
  for (int i = kk + 1; i <= d.n; ++i) sum = stored(sum + wide(d.e[i]) * d.e[i]);
  d.e[kk] = stored(std::sqrt(wide(sum)));
  if (d.e[kk] != 0.0f) {
    if (d.e[kk + 1] != 0.0f) d.e[kk] = withSignOf(d.e[kk], d.e[kk + 1]);
    for (int i = kk + 1; i <= d.n; ++i) d.e[i] = stored(wide(d.e[i]) / d.e[kk]);
    d.e[kk + 1] = stored(1.0 + d.e[kk + 1]);
  }
  d.e[kk] = -d.e[kk];
  if (kk + 1 <= d.m && d.e[kk] != 0.0f) {
    for (int i = kk + 1; i <= d.m; ++i) {
      float dot = 0.0f;
      for (int j = kk + 1; j <= d.n; ++j) dot = stored(dot + wide(d.e[j]) * d.a(i, j));
      d.w[i] = dot;
    }
    for (int j = kk + 1; j <= d.n; ++j) {
      for (int i = kk + 1; i <= d.m; ++i) {
        d.a(i, j) = stored(d.a(i, j) - wide(d.w[i]) * d.e[j] / d.e[kk + 1]);
      }
    }
  }
  for (int i = kk + 1; i <= d.n; ++i) d.v(i, kk) = d.e[i];
}

// Reduces A to bidiagonal form (s, e), keeping the reflections in U and V;
// returns the order p of the bidiagonal.
int bidiagonalize(Decomposition& d) {
  for (int kk = 1; kk <= std::max(d.k, d.l); ++kk) {
    if (kk <= d.k) reflectColumn(d, kk);
    applyColumnReflection(d, kk);
    if (kk <= d.k) {
      for (int i = kk; i <= d.m; ++i) d.u(i, kk) = d.a(i, kk);
    }
    if (kk <= d.l) reflectRow(d, kk);
  }
  const int p = std::min(d.n, d.m + 1);
  if (d.k < d.n) d.s[d.k + 1] = d.a(d.k + 1, d.k + 1);
  if (d.m < p) d.s[p] = 0.0f;
  if (d.l + 1 < p) d.e[d.l + 1] = d.a(d.l + 1, p);
  d.e[p] = 0.0f;
  return p;
}

// Back-multiplies the left reflections into the first min(m, n) columns of U.
void formLeftVectors(Decomposition& d) {
  const int q = std::min(d.m, d.n);
  for (int j = d.k + 1; j <= q; ++j) setUnitColumn(d.u, d.m, j);
  for (int kk = d.k; kk >= 1; --kk) {
    if (d.s[kk] == 0.0f) {
      setUnitColumn(d.u, d.m, kk);
      continue;
    }
    for (int j = kk + 1; j <= q; ++j) {
      float sum = 0.0f;
      for (int i = kk; i <= d.m; ++i) {
        sum = stored(sum + wide(d.u(i, kk)) * d.u(i, j) / d.u(kk, kk));
      }
      const float t = -sum;
      for (int i = kk; i <= d.m; ++i) d.u(i, j) = stored(d.u(i, j) + wide(t) * d.u(i, kk));
    }
    for (int i = kk; i <= d.m; ++i) d.u(i, kk) = -d.u(i, kk);
    d.u(kk, kk) = stored(1.0 + d.u(kk, kk));
    for (int i = 1; i < kk; ++i) d.u(i, kk) = 0.0f;
  }
}

// Back-multiplies the right reflections into V (columns = right vectors).
void formRightVectors(Decomposition& d) {
  for (int kk = d.n; kk >= 1; --kk) {
    if (kk <= d.l && d.e[kk] != 0.0f) {
      for (int j = kk + 1; j <= d.n; ++j) {
        float sum = 0.0f;
        for (int i = kk + 1; i <= d.n; ++i) {
          sum = stored(sum + wide(d.v(i, kk)) * d.v(i, j) / d.v(kk + 1, kk));
        }
        const float t = -sum;
        for (int i = kk + 1; i <= d.n; ++i) d.v(i, j) = stored(d.v(i, j) + wide(t) * d.v(i, kk));
      }
    }
    setUnitColumn(d.v, d.n, kk);
  }
}

// Index of the last negligible superdiagonal element at or below p - 1
// (set to zero), or 0 when the block reaches the top.
int findSplit(Decomposition& d, int p) {
  int kk = p - 1;
  while (kk != 0 && d.e[kk] != 0.0f) {
    const float diagonal = stored(wide(magnitude(d.s[kk])) + magnitude(d.s[kk + 1]));
    if (wide(d.eps) * diagonal >= magnitude(d.e[kk])) {
      d.e[kk] = 0.0f;
      break;
    }
    --kk;
  }
  return kk;
}

// Index of a negligible diagonal element in kk+1..p (set to zero), or kk.
int findNegligibleDiagonal(Decomposition& d, int kk, int p) {
  int j = p;
  while (j > kk && d.s[j] != 0.0f) {
    const float above = j != p ? magnitude(d.e[j]) : 0.0f;
    const float below = j != kk + 1 ? magnitude(d.e[j - 1]) : 0.0f;
    const float t = stored(wide(above) + below);
    if (wide(d.eps) * t >= magnitude(d.s[j])) {
      d.s[j] = 0.0f;
      break;
    }
    --j;
  }
  return j;
}

// s[p] has converged: make it non-negative and move it down past the
// smaller values below it, carrying the vectors along.
void settleSingularValue(Decomposition& d, int p, int order) {
  if (d.s[p] < 0.0f) {
    d.s[p] = -d.s[p];
    for (int i = 1; i <= d.n; ++i) d.v(i, p) = -d.v(i, p);
  }
  for (int i = p; i != order && d.s[i] < d.s[i + 1]; ++i) {
    std::swap(d.s[i], d.s[i + 1]);
    if (i < d.n) swapColumns(d.v, d.n, i, i + 1);
    if (i < d.m) swapColumns(d.u, d.m, i, i + 1);
  }
}

// Starts a sweep: the shift from the trailing 2 x 2 block of B^T B, on
// values scaled by the largest element involved, gives the first (f, g).
void computeShift(const Decomposition& d, int top, int p, float& f, float& g) {
  const float scale = std::max({magnitude(d.s[p]), magnitude(d.s[p - 1]), magnitude(d.e[p - 1]),
                                magnitude(d.s[top]), magnitude(d.e[top])});
  const float a = stored(wide(d.s[p]) / scale);
  const float a1 = stored(wide(d.s[p - 1]) / scale);
  const float b1 = stored(wide(d.e[p - 1]) / scale);
  const float a0 = stored(wide(d.s[top]) / scale);
  const float b0 = stored(wide(d.e[top]) / scale);
  const float beta = stored(((wide(a1) + a) * (wide(a1) - a) + wide(b1) * b1) * 0.5);
  const double ab = wide(a) * b1;
  const float gamma = stored(ab * ab);
  float shift = 0.0f;
  if (beta != 0.0f || gamma != 0.0f) {
    const float sigma = withSignOf(stored(std::sqrt(wide(beta) * beta + gamma)), beta);
    shift = stored(wide(gamma) / (wide(beta) + sigma));
  }
  f = stored((wide(a0) + a) * (wide(a0) - a) - shift);
  g = stored(wide(a0) * b0);
}

// One implicitly shifted QR sweep on rows top..p of the bidiagonal.
void shiftedSweep(const SvdSolver& solver, Decomposition& d, int top, int p) {
  float f = 0.0f;
  float g = 0.0f;
  computeShift(d, top, p, f, g);
  for (int i = top; i <= p - 1; ++i) {
    float c = 0.0f;
    float sn = 0.0f;
    solver.givens(f, g, c, sn);
    if (i != top) d.e[i - 1] = f;
    f = stored(wide(c) * d.s[i] + wide(sn) * d.e[i]);
    d.e[i] = stored(wide(c) * d.e[i] - wide(sn) * d.s[i]);
    g = stored(wide(sn) * d.s[i + 1]);
    d.s[i + 1] = stored(wide(c) * d.s[i + 1]);
    rotateColumns(d.v, d.n, i, i + 1, c, sn);
    solver.givens(f, g, c, sn);
    d.s[i] = f;
    f = stored(wide(c) * d.e[i] + wide(sn) * d.s[i + 1]);
    d.s[i + 1] = stored(-wide(sn) * d.e[i] + wide(c) * d.s[i + 1]);
    g = stored(wide(sn) * d.e[i + 1]);
    d.e[i + 1] = stored(wide(c) * d.e[i + 1]);
    if (i < d.m) rotateColumns(d.u, d.m, i, i + 1, c, sn);
  }
  d.e[p - 1] = f;
}

// s[p] is negligible: chase e[p-1] up the block with rotations from the right.
void deflateLast(const SvdSolver& solver, Decomposition& d, int top, int p) {
  float g = d.e[p - 1];
  d.e[p - 1] = 0.0f;
  for (int i = p - 1; i >= top; --i) {
    float f = d.s[i];
    float c = 0.0f;
    float sn = 0.0f;
    solver.givens(f, g, c, sn);
    d.s[i] = f;
    if (i != top) {
      g = stored(-wide(sn) * d.e[i - 1]);
      d.e[i - 1] = stored(wide(c) * d.e[i - 1]);
    }
    rotateColumns(d.v, d.n, i, p, c, sn);
  }
}

// s[j] is negligible inside the block: chase e[j] down with rotations from
// the left.
void deflateInner(const SvdSolver& solver, Decomposition& d, int j, int p) {
  float g = d.e[j];
  d.e[j] = 0.0f;
  for (int i = j + 1; i <= p; ++i) {
    float f = d.s[i];
    float c = 0.0f;
    float sn = 0.0f;
    solver.givens(f, g, c, sn);
    d.s[i] = f;
    g = stored(-wide(sn) * d.e[i]);
    d.e[i] = stored(wide(c) * d.e[i]);
    if (i <= d.m && j <= d.m) rotateColumns(d.u, d.m, i, j, c, sn);
  }
}

}  // namespace

int SvdSolver::svdDecompose(float* a, int m, int n, float* u, float* v, float eps, int ka) const {
  if (m < 0 || n < 0) return kNotConverged;
  if (m == 0 || n == 0) {
    // Nothing to factor: no singular values, V the identity.
    for (int i = 0; i < n; ++i) {
      for (int j = 0; j < n; ++j) v[i * n + j] = i == j ? 1.0f : 0.0f;
    }
    return kConverged;
  }
  // The vectors are indexed from 1 up to max(m, n); a short ka is widened.
  const int workSize = std::max(ka, std::max(m, n) + 1) + 2;
  Decomposition d(a, m, n, u, v, eps, workSize);

  int p = bidiagonalize(d);
  formLeftVectors(d);
  formRightVectors(d);
  std::fill(a, a + static_cast<std::ptrdiff_t>(m) * n, 0.0f);

  const int order = p;
  int sweepsLeft = kSweepLimit;
  while (true) {
    if (p == 0) {
      svdFinish(a, d.e.data(), d.s.data(), v, m, n);
      return kConverged;
    }
    if (sweepsLeft == 0) {
      svdFinish(a, d.e.data(), d.s.data(), v, m, n);
      return kNotConverged;
    }
    const int kk = findSplit(d, p);
    if (kk == p - 1) {
      settleSingularValue(d, p, order);
      sweepsLeft = kSweepLimit;
      --p;
      continue;
    }
    const int j = findNegligibleDiagonal(d, kk, p);
    if (j == kk) {
      shiftedSweep(*this, d, kk + 1, p);
      --sweepsLeft;
    } else if (j == p) {
      deflateLast(*this, d, kk + 1, p);
    } else {
      deflateInner(*this, d, j, p);
    }
  }
}

void SvdSolver::svdFinish(float* a, const float* e, const float* s, float* v, int m, int n) const {
  const MatrixView matrix(a, n);
  const int q = std::min(m, n);
  for (int j = 1; j <= q - 1; ++j) {
    matrix(j, j) = s[j];
    matrix(j, j + 1) = e[j];
  }
  matrix(q, q) = s[q];
  if (m < n) matrix(q, q + 1) = e[q];

  const MatrixView right(v, n);
  for (int i = 1; i <= n; ++i) {
    for (int j = i + 1; j <= n; ++j) std::swap(right(i, j), right(j, i));
  }
}

void SvdSolver::givens(float& f, float g, float& c, float& sn) const {
  const float absF = magnitude(f);
  const float absG = magnitude(g);
  if (absF + absG == 0.0f) {
    c = 1.0f;
    sn = 0.0f;
    f = 0.0f;
    return;
  }
  float r = stored(std::sqrt(wide(f) * f + wide(g) * g));
  r = absF > absG ? withSignOf(r, f) : withSignOf(r, g);
  c = stored(wide(f) / r);
  sn = stored(wide(g) / r);
  f = r;
}

}  // namespace dispfit
