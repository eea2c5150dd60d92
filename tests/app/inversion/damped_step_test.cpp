// SPDX-License-Identifier: GPL-3.0-or-later
// The pieces of one damped step: the rank count, the truncated
// pseudo-inverse (against the normal-equation solution of the damped
// problem, worked out independently) and the step limiting at the bounds.
#include <gtest/gtest.h>

#include <vector>

#include "inversion/step_limit.h"
#include "inversion/svd.h"
#include "inversion/truncated_step.h"

namespace dispfit {

namespace {

TEST(StepLimit, ComponentsNoLargerThanTheThresholdBecomeZero) {
  const float threshold = 0.00001f;
  std::vector<float> step = {threshold, -threshold, 1.5e-5f, -1.5e-5f, 0.0f};
  const std::vector<float> params(5, 100.0f);
  const std::vector<float> upper(5, 1000.0f);
  const std::vector<float> lower(5, 50.0f);
  limitStep(step.data(), params.data(), upper.data(), lower.data(), 5, threshold);
  EXPECT_EQ(step, (std::vector<float>{0.0f, 0.0f, 1.5e-5f, -1.5e-5f, 0.0f}));
}

TEST(StepLimit, StepsThatWouldCrossABoundEndOnIt) {
  // Up from 900 by 400 against 1000: shortened to 100. Down from 2 by 3
  // against 0.5: shortened to -1.5. Steps inside the bounds stay.
  std::vector<float> step = {400.0f, -3.0f, 50.0f, -0.5f};
  const std::vector<float> params = {900.0f, 2.0f, 900.0f, 2.0f};
  const std::vector<float> upper = {1000.0f, 5.0f, 1000.0f, 5.0f};
  const std::vector<float> lower = {50.0f, 0.5f, 50.0f, 0.5f};
  limitStep(step.data(), params.data(), upper.data(), lower.data(), 4, 0.001f);
  EXPECT_EQ(step, (std::vector<float>{100.0f, -1.5f, 50.0f, -0.5f}));
  EXPECT_EQ(params[0] + step[0], upper[0]);
  EXPECT_EQ(params[1] + step[1], lower[1]);
}

TEST(StepLimit, ParameterOnItsBoundDoesNotMoveFurther) {
  std::vector<float> step = {10.0f, -0.2f, -10.0f};
  const std::vector<float> params = {1000.0f, 0.1f, 1000.0f};
  const std::vector<float> upper = {1000.0f, 5.0f, 1000.0f};
  const std::vector<float> lower = {50.0f, 0.1f, 50.0f};
  limitStep(step.data(), params.data(), upper.data(), lower.data(), 3, 0.001f);
  EXPECT_EQ(step[0], 0.0f);
  EXPECT_EQ(step[1], 0.0f);
  EXPECT_EQ(step[2], -10.0f);  // away from the bound it sits on
}

TEST(TruncatedStep, RankCountsSingularValuesFromTheFloorUp) {
  // 4 x 3 with the singular values on the diagonal. The comparison is in
  // double: the single-precision 0.00001 lies just below the floor.
  const std::vector<float> a = {2.0f, 0, 0, 0, 0.0000101f, 0, 0, 0, 0.00001f, 0, 0, 0};
  EXPECT_EQ(countRank(a.data(), 4, 3), 2);
  const std::vector<float> zero(12, 0.0f);
  EXPECT_EQ(countRank(zero.data(), 4, 3), 0);
}

TEST(TruncatedStep, FullRankStepSolvesTheDampedNormalEquations) {
  // J (3 x 2) stacked over lambda I; right-hand side [r; 0].
  const float lambda = 0.5f;
  const int rows = 5;
  const int columns = 2;
  std::vector<float> a = {3.0f, 1.0f, 1.0f, 2.0f, 0.5f, -1.0f, lambda, 0.0f, 0.0f, lambda};
  const std::vector<float> rhs = {1.0f, 2.0f, -1.0f, 0.0f, 0.0f};
  std::vector<float> u(rows * rows);
  std::vector<float> v(columns * columns);
  const SvdSolver solver;
  ASSERT_EQ(solver.svdDecompose(a.data(), rows, columns, u.data(), v.data(), 1e-7f, rows + 1),
            SvdSolver::kConverged);
  std::vector<float> step(2);
  truncatedStep(a.data(), u.data(), v.data(), rows, columns, countRank(a.data(), rows, columns),
                rhs.data(), step.data());

  // (J^T J + lambda^2 I) d = J^T r: J^T J = [[10.25, 4.5], [4.5, 6]],
  // J^T r = [4.5, 6]; with lambda^2 = 0.25 the system is
  // [[10.5, 4.5], [4.5, 6.25]] d = [4.5, 6].
  const double det = 10.5 * 6.25 - 4.5 * 4.5;
  EXPECT_NEAR(step[0], (6.25 * 4.5 - 4.5 * 6.0) / det, 1e-6);
  EXPECT_NEAR(step[1], (10.5 * 6.0 - 4.5 * 4.5) / det, 1e-6);
}

TEST(TruncatedStep, DiscardedDirectionsContributeNothing) {
  // Diagonal system: singular values 4 and 1e-6; only the first is used.
  const int rows = 3;
  const int columns = 2;
  std::vector<float> a = {4.0f, 0.0f, 0.0f, 1.0e-6f, 0.0f, 0.0f};
  const std::vector<float> rhs = {2.0f, 3.0f, 0.0f};
  std::vector<float> u(rows * rows);
  std::vector<float> v(columns * columns);
  const SvdSolver solver;
  ASSERT_EQ(solver.svdDecompose(a.data(), rows, columns, u.data(), v.data(), 1e-7f, rows + 1),
            SvdSolver::kConverged);
  const int rank = countRank(a.data(), rows, columns);
  ASSERT_EQ(rank, 1);
  std::vector<float> step(2);
  truncatedStep(a.data(), u.data(), v.data(), rows, columns, rank, rhs.data(), step.data());
  EXPECT_FLOAT_EQ(step[0], 0.5f);
  EXPECT_EQ(step[1], 0.0f);
}

}  // namespace

}  // namespace dispfit
