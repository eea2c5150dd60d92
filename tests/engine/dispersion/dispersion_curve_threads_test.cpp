// SPDX-License-Identifier: GPL-3.0-or-later
// Many curves on several threads at once, one solver per thread, give the
// serial results bit for bit. Run under ThreadSanitizer in CI, where any
// shared write between solvers is reported as a race.
#include <gtest/gtest.h>

#include <cstddef>
#include <random>
#include <thread>
#include <vector>

#include "dispersion/dispersion_curve.h"
#include "test_models.h"

namespace {

using swcore::CurveKind;
using swcore::CurvePoint;
using swcore::ModelLayer;

constexpr int kModels = 48;
constexpr int kThreads = 4;

const std::vector<double>& frequencies() {
  static const std::vector<double> hz{150.0, 60.0, 25.0, 10.0, 4.0, 1.5};
  return hz;
}

std::vector<CurvePoint> curveOf(swcore::DispersionCurveSolver& solver,
                                const std::vector<ModelLayer>& model) {
  std::vector<CurvePoint> out(frequencies().size());
  solver.compute(model, frequencies(), CurveKind::phaseAndGroup, out);
  return out;
}

TEST(DispersionCurveThreads, ConcurrentCurvesEqualTheSerialOnes) {
  std::mt19937_64 rng(99);
  std::vector<std::vector<ModelLayer>> models;
  for (int i = 0; i < kModels; ++i) {
    models.push_back(dispfit_test::randomVariedModel(rng));
  }
  std::vector<std::vector<CurvePoint>> serial;
  swcore::DispersionCurveSolver serialSolver;
  for (const auto& model : models) {
    serial.push_back(curveOf(serialSolver, model));
  }

  // Each thread takes every kThreads-th model, so that all run at once.
  std::vector<std::vector<CurvePoint>> concurrent(models.size());
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      swcore::DispersionCurveSolver solver;
      for (std::size_t i = static_cast<std::size_t>(t); i < models.size(); i += kThreads) {
        concurrent[i] = curveOf(solver, models[i]);
      }
    });
  }
  for (std::thread& thread : threads) {
    thread.join();
  }

  int roots = 0;
  for (std::size_t i = 0; i < models.size(); ++i) {
    SCOPED_TRACE(::testing::Message() << "model " << i);
    ASSERT_EQ(concurrent[i].size(), serial[i].size());
    for (std::size_t j = 0; j < serial[i].size(); ++j) {
      EXPECT_EQ(concurrent[i][j].hasRoot, serial[i][j].hasRoot);
      EXPECT_TRUE(
          dispfit_test::sameBits(concurrent[i][j].phaseVelocity, serial[i][j].phaseVelocity));
      EXPECT_TRUE(
          dispfit_test::sameBits(concurrent[i][j].groupVelocity, serial[i][j].groupVelocity));
      roots += serial[i][j].hasRoot ? 1 : 0;
    }
  }
  EXPECT_GT(roots, kModels);  // the comparison is of curves, not of empty results
}

}  // namespace
