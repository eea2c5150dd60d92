// SPDX-License-Identifier: GPL-3.0-or-later
// Checks of the single-precision SVD against its defining identities
// (A = U S V^T, orthogonal factors, ordered non-negative singular values)
// and against Eigen's double-precision decomposition.
#include "inversion/svd.h"

#include <gtest/gtest.h>

#include <Eigen/SVD>
#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <vector>

namespace dispfit {

namespace {

struct Factors {
  std::vector<float> a;  // m x n, singular values on the diagonal
  std::vector<float> u;  // m x m
  std::vector<float> v;  // n x n, rows = right singular vectors
  int result = 0;
};

constexpr float kEps = 1.0e-7f;

Factors decompose(const std::vector<float>& matrix, int m, int n, float fillU = 0.0f) {
  Factors f;
  f.a = matrix;
  f.u.assign(static_cast<size_t>(m) * m, fillU);
  f.v.assign(static_cast<size_t>(n) * n, 0.0f);
  const SvdSolver solver;
  f.result =
      solver.svdDecompose(f.a.data(), m, n, f.u.data(), f.v.data(), kEps, std::max(m, n) + 1);
  return f;
}

std::vector<float> randomMatrix(int m, int n, unsigned seed) {
  std::mt19937 generator(seed);
  std::uniform_real_distribution<float> value(-1.0f, 1.0f);
  std::vector<float> matrix(static_cast<size_t>(m) * n);
  for (float& x : matrix) x = value(generator);
  return matrix;
}

float singularValue(const Factors& f, int n, int j) {
  return f.a[static_cast<size_t>(j) * n + j];
}

// max |(U S V^T - A)[i][j]| with S from the diagonal of f.a.
double reconstructionError(const Factors& f, const std::vector<float>& matrix, int m, int n) {
  const int q = std::min(m, n);
  double worst = 0.0;
  for (int i = 0; i < m; ++i) {
    for (int j = 0; j < n; ++j) {
      double sum = 0.0;
      for (int k = 0; k < q; ++k) {
        sum += static_cast<double>(f.u[static_cast<size_t>(i) * m + k]) * singularValue(f, n, k) *
               f.v[static_cast<size_t>(k) * n + j];
      }
      worst = std::max(worst, std::fabs(sum - matrix[static_cast<size_t>(i) * n + j]));
    }
  }
  return worst;
}

// max |U_q^T U_q - I| over the first q columns of U.
double leftOrthogonalityError(const Factors& f, int m, int q) {
  double worst = 0.0;
  for (int a = 0; a < q; ++a) {
    for (int b = 0; b < q; ++b) {
      double dot = 0.0;
      for (int i = 0; i < m; ++i) {
        dot += static_cast<double>(f.u[static_cast<size_t>(i) * m + a]) *
               f.u[static_cast<size_t>(i) * m + b];
      }
      worst = std::max(worst, std::fabs(dot - (a == b ? 1.0 : 0.0)));
    }
  }
  return worst;
}

// max |V V^T - I| (rows of the returned V).
double rightOrthogonalityError(const Factors& f, int n) {
  double worst = 0.0;
  for (int a = 0; a < n; ++a) {
    for (int b = 0; b < n; ++b) {
      double dot = 0.0;
      for (int j = 0; j < n; ++j) {
        dot += static_cast<double>(f.v[static_cast<size_t>(a) * n + j]) *
               f.v[static_cast<size_t>(b) * n + j];
      }
      worst = std::max(worst, std::fabs(dot - (a == b ? 1.0 : 0.0)));
    }
  }
  return worst;
}

std::vector<double> eigenSingularValues(const std::vector<float>& matrix, int m, int n) {
  Eigen::MatrixXd a(m, n);
  for (int i = 0; i < m; ++i) {
    for (int j = 0; j < n; ++j) a(i, j) = matrix[static_cast<size_t>(i) * n + j];
  }
  const Eigen::JacobiSVD<Eigen::MatrixXd> svd(a);
  const Eigen::VectorXd values = svd.singularValues();
  return {values.data(), values.data() + values.size()};
}

// Every element off the diagonal is zero after convergence.
bool offDiagonalIsZero(const Factors& f, int m, int n) {
  for (int i = 0; i < m; ++i) {
    for (int j = 0; j < n; ++j) {
      if (i != j && f.a[static_cast<size_t>(i) * n + j] != 0.0f) return false;
    }
  }
  return true;
}

void expectDescendingNonNegative(const Factors& f, int n, int q) {
  for (int j = 0; j < q; ++j) {
    EXPECT_GE(singularValue(f, n, j), 0.0f) << "j = " << j;
    if (j > 0) {
      EXPECT_GE(singularValue(f, n, j - 1), singularValue(f, n, j)) << "j = " << j;
    }
  }
}

TEST(SvdGivens, RotationZeroesSecondComponentWithDocumentedSign) {
  const SvdSolver solver;
  struct Case {
    float f, g, r;
  };
  // |f| > |g|: r takes the sign of f; |g| >= |f|: r takes the sign of g.
  const Case cases[] = {{3.0f, 4.0f, 5.0f},   {-3.0f, 4.0f, 5.0f}, {3.0f, -4.0f, -5.0f},
                        {-4.0f, 3.0f, -5.0f}, {4.0f, -3.0f, 5.0f}, {2.0f, 2.0f, 2.828427f},
                        {0.0f, -7.0f, -7.0f}, {6.0f, 0.0f, 6.0f}};
  for (const Case& k : cases) {
    float f = k.f;
    float c = 0.0f;
    float sn = 0.0f;
    solver.givens(f, k.g, c, sn);
    EXPECT_NEAR(f, k.r, 1e-5f) << k.f << ", " << k.g;
    EXPECT_NEAR(c * c + sn * sn, 1.0f, 1e-6f);
    EXPECT_NEAR(c * k.f + sn * k.g, f, 1e-5f);
    EXPECT_NEAR(-sn * k.f + c * k.g, 0.0f, 1e-5f);
  }
}

TEST(SvdGivens, ZeroPairGivesIdentity) {
  const SvdSolver solver;
  float f = 0.0f;
  float c = -5.0f;
  float sn = -5.0f;
  solver.givens(f, 0.0f, c, sn);
  EXPECT_EQ(c, 1.0f);
  EXPECT_EQ(sn, 0.0f);
  EXPECT_EQ(f, 0.0f);
}

TEST(SvdEdgeCases, MixedSignDiagonalComesBackSortedByMagnitude) {
  const int m = 5;
  const int n = 4;
  std::vector<float> matrix(m * n, 0.0f);
  const float diagonal[] = {-3.0f, 7.0f, 0.5f, -2.0f};
  for (int j = 0; j < n; ++j) matrix[j * n + j] = diagonal[j];

  const Factors f = decompose(matrix, m, n);
  ASSERT_EQ(f.result, SvdSolver::kConverged);
  const float expected[] = {7.0f, 3.0f, 2.0f, 0.5f};
  for (int j = 0; j < n; ++j) EXPECT_FLOAT_EQ(singularValue(f, n, j), expected[j]);
  EXPECT_TRUE(offDiagonalIsZero(f, m, n));
  EXPECT_LT(reconstructionError(f, matrix, m, n), 1e-6);
  EXPECT_LT(leftOrthogonalityError(f, m, n), 1e-6);
  EXPECT_LT(rightOrthogonalityError(f, n), 1e-6);
}

TEST(SvdEdgeCases, ZeroMatrixGivesZerosAndUnitVectors) {
  const int m = 6;
  const int n = 3;
  const std::vector<float> matrix(m * n, 0.0f);
  const Factors f = decompose(matrix, m, n, 9.0f);
  ASSERT_EQ(f.result, SvdSolver::kConverged);
  for (int i = 0; i < m; ++i) {
    for (int j = 0; j < n; ++j) EXPECT_EQ(f.a[i * n + j], 0.0f);
    for (int j = 0; j < n; ++j) EXPECT_EQ(f.u[i * m + j], i == j ? 1.0f : 0.0f);
  }
  for (int i = 0; i < n; ++i) {
    for (int j = 0; j < n; ++j) EXPECT_EQ(f.v[i * n + j], i == j ? 1.0f : 0.0f);
  }
}

TEST(SvdEdgeCases, OneByOneTakesTheMagnitude) {
  const std::vector<float> matrix = {-4.0f};
  const Factors f = decompose(matrix, 1, 1);
  ASSERT_EQ(f.result, SvdSolver::kConverged);
  EXPECT_EQ(f.a[0], 4.0f);
  EXPECT_EQ(f.u[0] * f.v[0] * 4.0f, -4.0f);
}

TEST(SvdEdgeCases, OneMoreRowThanColumnsReflectsEveryColumn) {
  for (int n : {1, 2, 5, 12}) {
    const int m = n + 1;
    const std::vector<float> matrix = randomMatrix(m, n, 100u + static_cast<unsigned>(n));
    const Factors f = decompose(matrix, m, n);
    ASSERT_EQ(f.result, SvdSolver::kConverged) << "n = " << n;
    expectDescendingNonNegative(f, n, n);
    EXPECT_TRUE(offDiagonalIsZero(f, m, n));
    EXPECT_LT(reconstructionError(f, matrix, m, n), 5e-6) << "n = " << n;
    EXPECT_LT(leftOrthogonalityError(f, m, n), 5e-6) << "n = " << n;
    EXPECT_LT(rightOrthogonalityError(f, n), 5e-6) << "n = " << n;
  }
}

TEST(SvdEdgeCases, ColumnsOfUBeyondTheSingularVectorsAreNotTouched) {
  const int m = 32;
  const int n = 2;
  const Factors f = decompose(randomMatrix(m, n, 7u), m, n, 42.0f);
  ASSERT_EQ(f.result, SvdSolver::kConverged);
  for (int i = 0; i < m; ++i) {
    for (int j = n; j < m; ++j) ASSERT_EQ(f.u[i * m + j], 42.0f);
  }
}

TEST(SvdEdgeCases, WideMatrixDecomposesToo) {
  const int m = 3;
  const int n = 5;
  const std::vector<float> matrix = randomMatrix(m, n, 11u);
  const Factors f = decompose(matrix, m, n);
  ASSERT_EQ(f.result, SvdSolver::kConverged);
  expectDescendingNonNegative(f, n, m);
  const std::vector<double> reference = eigenSingularValues(matrix, m, n);
  for (int j = 0; j < m; ++j) EXPECT_NEAR(singularValue(f, n, j), reference[j], 5e-6);
  EXPECT_LT(reconstructionError(f, matrix, m, n), 5e-6);
  EXPECT_LT(leftOrthogonalityError(f, m, m), 5e-6);
}

TEST(SvdFailure, NonFiniteInputExhaustsTheSweepLimit) {
  const int m = 8;
  const int n = 3;
  std::vector<float> matrix = randomMatrix(m, n, 3u);
  matrix[4] = std::numeric_limits<float>::quiet_NaN();
  const Factors f = decompose(matrix, m, n);
  EXPECT_EQ(f.result, SvdSolver::kNotConverged);
}

TEST(SvdFailure, EmptyShapesHaveNoSingularValuesAndNegativeOnesAreRefused) {
  std::vector<float> a(4, 1.0f);
  std::vector<float> u(4, 5.0f);
  std::vector<float> v(4, 5.0f);
  const SvdSolver solver;
  EXPECT_EQ(solver.svdDecompose(a.data(), 3, 0, u.data(), v.data(), kEps, 4),
            SvdSolver::kConverged);
  EXPECT_EQ(solver.svdDecompose(a.data(), 0, 2, u.data(), v.data(), kEps, 3),
            SvdSolver::kConverged);
  EXPECT_EQ(v, (std::vector<float>{1.0f, 0.0f, 0.0f, 1.0f}));
  EXPECT_EQ(a, std::vector<float>(4, 1.0f));
  EXPECT_EQ(solver.svdDecompose(a.data(), -1, 2, u.data(), v.data(), kEps, 3),
            SvdSolver::kNotConverged);
}

// The inversion's shapes: 30 data plus n parameters rows, n = 2..40 columns.
TEST(SvdRandomTall, FactorsAreExactOrthogonalAndMatchEigen) {
  int checked = 0;
  for (int n = 2; n <= 40; n += 2) {
    for (int m : {32, 30 + n, 70}) {
      if (m < n + 1 || m > 70) continue;
      const std::vector<float> matrix = randomMatrix(m, n, static_cast<unsigned>(1000 * m + n));
      const Factors f = decompose(matrix, m, n);
      ASSERT_EQ(f.result, SvdSolver::kConverged) << m << " x " << n;
      expectDescendingNonNegative(f, n, n);
      EXPECT_TRUE(offDiagonalIsZero(f, m, n)) << m << " x " << n;

      const std::vector<double> reference = eigenSingularValues(matrix, m, n);
      const double largest = reference.front();
      for (int j = 0; j < n; ++j) {
        EXPECT_NEAR(singularValue(f, n, j), reference[j], 4e-6 * largest)
            << m << " x " << n << ", j = " << j;
      }
      EXPECT_LT(reconstructionError(f, matrix, m, n), 2e-5) << m << " x " << n;
      EXPECT_LT(leftOrthogonalityError(f, m, n), 2e-5) << m << " x " << n;
      EXPECT_LT(rightOrthogonalityError(f, n), 2e-5) << m << " x " << n;
      ++checked;
    }
  }
  EXPECT_GT(checked, 40);
}

// A sensitivity block of rank 2 stacked over a small damping block: the
// singular values spread over several decades, as in a heavily damped step.
TEST(SvdRandomTall, StackedRankDeficientSystemKeepsSmallSingularValues) {
  const int data = 30;
  const int n = 6;
  const int m = data + n;
  std::vector<float> matrix(m * n, 0.0f);
  const std::vector<float> left = randomMatrix(data, 2, 5u);
  const std::vector<float> right = randomMatrix(2, n, 6u);
  for (int i = 0; i < data; ++i) {
    for (int j = 0; j < n; ++j) {
      matrix[i * n + j] = 50.0f * (left[i * 2] * right[j] + left[i * 2 + 1] * right[n + j]);
    }
  }
  for (int p = 0; p < n; ++p) matrix[(data + p) * n + p] = 0.01f;

  const Factors f = decompose(matrix, m, n);
  ASSERT_EQ(f.result, SvdSolver::kConverged);
  const std::vector<double> reference = eigenSingularValues(matrix, m, n);
  for (int j = 0; j < n; ++j) {
    EXPECT_NEAR(singularValue(f, n, j), reference[j], 4e-6 * reference.front()) << "j = " << j;
  }
  // The damping floor: the four smallest are the damping value itself.
  for (int j = 2; j < n; ++j) EXPECT_NEAR(singularValue(f, n, j), 0.01f, 1e-4f) << "j = " << j;
  EXPECT_LT(reconstructionError(f, matrix, m, n), 1e-4);
  EXPECT_LT(leftOrthogonalityError(f, m, n), 2e-5);
}

}  // namespace

}  // namespace dispfit
