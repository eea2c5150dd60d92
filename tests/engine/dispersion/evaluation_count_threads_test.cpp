// SPDX-License-Identifier: GPL-3.0-or-later
// The counts of secular-function evaluations with several threads at work:
// the library's count, incremented by every thread that evaluates a function
// and read by another while they do, loses no evaluation; each solver's own
// count is that of the same curve computed alone. Run under ThreadSanitizer
// in CI, where a count shared without synchronisation is reported as a race.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <thread>
#include <vector>

#include "dispersion/dispersion_curve.h"
#include "dispersion/secular_function.h"
#include "test_models.h"

namespace {

constexpr int kThreads = 4;
constexpr int kEvaluationsPerThread = 20000;

TEST(EvaluationCountThreads, LibraryCountLosesNoEvaluationOfAFunctionSharedByThreads) {
  // One function of a held model, evaluated by every thread at once.
  const double thickness[] = {0.005, 0.0};
  const double shear[] = {0.2, 0.4};
  const double p[] = {0.6, 1.2};
  const double density[] = {1.8, 2.0};
  const swcore::SecularFunction d(swcore::SecularModel{2, thickness, shear, p, density, 300.0});

  const std::uint64_t before = swcore::secularEvaluationCount;
  std::atomic<bool> done{false};
  // A reader on a thread of its own: the count it sees never falls and never
  // passes what the evaluators can have added.
  std::uint64_t largestSeen = before;
  bool fell = false;
  std::thread reader([&] {
    std::uint64_t last = before;
    while (!done.load()) {
      const std::uint64_t now = swcore::secularEvaluationCount;
      fell = fell || now < last;
      last = now;
    }
    largestSeen = last;
  });
  std::vector<double> sums(kThreads, 0.0);
  std::vector<std::thread> evaluators;
  // The evaluators start together, so that their increments overlap.
  std::atomic<int> ready{0};
  for (int t = 0; t < kThreads; ++t) {
    evaluators.emplace_back([&, t] {
      ready.fetch_add(1);
      while (ready.load() < kThreads) {
      }
      for (int i = 0; i < kEvaluationsPerThread; ++i) {
        sums[static_cast<std::size_t>(t)] += d(0.15 + 1e-6 * i);
      }
    });
  }
  for (std::thread& thread : evaluators) {
    thread.join();
  }
  done = true;
  reader.join();

  const std::uint64_t added = swcore::secularEvaluationCount - before;
  EXPECT_EQ(added, static_cast<std::uint64_t>(kThreads) * kEvaluationsPerThread);
  EXPECT_FALSE(fell);
  EXPECT_LE(largestSeen - before, added);
  // Every thread evaluated the same points: the same sum to the bit.
  for (int t = 1; t < kThreads; ++t) {
    EXPECT_TRUE(dispfit_test::sameBits(sums[static_cast<std::size_t>(t)], sums[0])) << t;
  }
}

TEST(EvaluationCountThreads, EachSolverCountsItsOwnCurveWhateverTheOthersDo) {
  const std::vector<double> hz{120.0, 40.0, 12.0, 4.0};
  std::mt19937_64 rng(7);
  std::vector<std::vector<swcore::ModelLayer>> models;
  for (int t = 0; t < kThreads; ++t) {
    models.push_back(dispfit_test::randomVariedModel(rng));
  }
  // Alone first.
  std::vector<std::uint64_t> alone;
  for (const auto& model : models) {
    swcore::DispersionCurveSolver solver;
    std::vector<swcore::CurvePoint> out(hz.size());
    ASSERT_EQ(solver.compute(model, hz, swcore::CurveKind::phase, out), swcore::CurveStatus::ok);
    alone.push_back(solver.evaluationCount());
  }
  // Then all at once, each thread reading its solver's count after every curve.
  std::vector<std::uint64_t> together(models.size(), 0);
  // One element each (not std::vector<bool>, whose elements share words).
  std::vector<char> steady(models.size(), 1);
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      const auto i = static_cast<std::size_t>(t);
      swcore::DispersionCurveSolver solver;
      std::vector<swcore::CurvePoint> out(hz.size());
      for (int repeat = 0; repeat < 20; ++repeat) {
        solver.compute(models[i], hz, swcore::CurveKind::phase, out);
        steady[i] = static_cast<char>(steady[i] != 0 &&
                                      (repeat == 0 || solver.evaluationCount() == together[i]));
        together[i] = solver.evaluationCount();
      }
    });
  }
  for (std::thread& thread : threads) {
    thread.join();
  }
  for (std::size_t i = 0; i < models.size(); ++i) {
    SCOPED_TRACE(::testing::Message() << "model " << i);
    EXPECT_GT(alone[i], 0u);
    EXPECT_EQ(together[i], alone[i]);
    EXPECT_NE(steady[i], 0);
  }
}

}  // namespace
