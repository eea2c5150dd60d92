// SPDX-License-Identifier: GPL-3.0-or-later
#include "inversion/ldl_solve.h"

#include <gtest/gtest.h>

#include <Eigen/Dense>
#include <array>
#include <cstddef>
#include <vector>

namespace swcore {
namespace {

constexpr std::size_t kLead = 100;

// A system in the solver's fixed-capacity storage, both triangles filled.
struct System {
  std::vector<double> storage = std::vector<double>(kLead * kLead, 0.0);
  std::vector<double> rhs = std::vector<double>(kLead, 0.0);
  std::vector<double> solution = std::vector<double>(kLead, -7.0);
  std::vector<double> pivotInverse = std::vector<double>(kLead, 0.0);

  SquareMatrixView view() { return {storage, kLead}; }

  void set(const Eigen::MatrixXd& a, const Eigen::VectorXd& b) {
    for (Eigen::Index i = 0; i < a.rows(); ++i) {
      for (Eigen::Index j = 0; j < a.cols(); ++j) {
        storage[static_cast<std::size_t>(i) * kLead + static_cast<std::size_t>(j)] = a(i, j);
      }
      rhs[static_cast<std::size_t>(i)] = b(i);
    }
  }

  bool solve(std::size_t n) { return solveLdl(n, view(), rhs, solution, pivotInverse); }
};

Eigen::VectorXd leading(const std::vector<double>& v, Eigen::Index n) {
  return Eigen::Map<const Eigen::VectorXd>(v.data(), n);
}

// Normal matrix S^T S + lambda I of a random sensitivity matrix, the shape the
// inversion hands to the solver.
TEST(LdlSolve, DampedNormalEquationsMatchAnIndependentSolver) {
  for (const Eigen::Index n : {1, 2, 5, 17, 40, 100}) {
    const Eigen::MatrixXd s = Eigen::MatrixXd::Random(50, n);
    const Eigen::MatrixXd a = s.transpose() * s + 0.3 * Eigen::MatrixXd::Identity(n, n);
    const Eigen::VectorXd b = Eigen::VectorXd::Random(n);
    System system;
    system.set(a, b);
    ASSERT_TRUE(system.solve(static_cast<std::size_t>(n))) << "n = " << n;
    const Eigen::VectorXd expected = a.fullPivLu().solve(b);
    const Eigen::VectorXd x = leading(system.solution, n);
    EXPECT_LT((x - expected).norm(), 1e-9 * (1.0 + expected.norm())) << "n = " << n;
    EXPECT_EQ(leading(system.rhs, n), b) << "the right-hand side must be left as it was";
    if (n < 100) {
      EXPECT_EQ(system.solution[static_cast<std::size_t>(n)], -7.0) << "beyond the active block";
    }
  }
}

TEST(LdlSolve, PivotInversesAreThoseOfTheFactorisation) {
  // A = L D L^T with L = [[1,0,0],[2,1,0],[-1,3,1]], D = diag(4, -2, 0.5).
  Eigen::Matrix3d l;
  l << 1, 0, 0, 2, 1, 0, -1, 3, 1;
  const Eigen::Vector3d d(4.0, -2.0, 0.5);
  const Eigen::Matrix3d a = l * d.asDiagonal() * l.transpose();
  System system;
  system.set(a, Eigen::Vector3d(1.0, 2.0, 3.0));
  ASSERT_TRUE(system.solve(3));
  EXPECT_NEAR(system.pivotInverse[0], 0.25, 1e-14);
  EXPECT_NEAR(system.pivotInverse[1], -0.5, 1e-14);
  EXPECT_NEAR(system.pivotInverse[2], 2.0, 1e-12);
  // L is left in the strict upper triangle, l(i,k) at (k,i).
  EXPECT_NEAR(system.storage[0 * kLead + 1], 2.0, 1e-14);
  EXPECT_NEAR(system.storage[0 * kLead + 2], -1.0, 1e-14);
  EXPECT_NEAR(system.storage[1 * kLead + 2], 3.0, 1e-14);
  // A negative pivot is used as it is: the indefinite system is still solved.
  const Eigen::Vector3d x = a.fullPivLu().solve(Eigen::Vector3d(1.0, 2.0, 3.0));
  for (std::size_t i = 0; i < 3; ++i) {
    EXPECT_NEAR(system.solution[i], x(static_cast<Eigen::Index>(i)), 1e-10);
  }
}

TEST(LdlSolve, ExactlyZeroPivotFailsAtOnce) {
  {
    System system;  // zero first pivot, no pivoting to rescue it
    Eigen::Matrix2d a;
    a << 0.0, 1.0, 1.0, 3.0;
    system.set(a, Eigen::Vector2d(1.0, 1.0));
    EXPECT_FALSE(system.solve(2));
    EXPECT_EQ(system.solution[0], -7.0) << "no substitution after a failure";
  }
  {
    System system;  // singular: the second pivot comes out exactly zero
    Eigen::Matrix2d a;
    a << 2.0, 4.0, 4.0, 8.0;
    system.set(a, Eigen::Vector2d(1.0, 1.0));
    EXPECT_FALSE(system.solve(2));
  }
  {
    System system;  // a zero column of the sensitivities plus damping stays solvable
    Eigen::Matrix2d a;
    a << 1e-4, 0.0, 0.0, 1e-4;
    system.set(a, Eigen::Vector2d(2e-4, 0.0));
    ASSERT_TRUE(system.solve(2));
    EXPECT_NEAR(system.solution[0], 2.0, 1e-12);
    EXPECT_EQ(system.solution[1], 0.0);
  }
}

TEST(LdlSolve, EmptySystemSucceedsWithoutTouchingAnything) {
  System system;
  EXPECT_TRUE(system.solve(0));
  EXPECT_EQ(system.solution[0], -7.0);
}

}  // namespace
}  // namespace swcore
