// SPDX-License-Identifier: GPL-3.0-or-later
// The search on a synthetic curve: the accepted models recover the model the
// curve was made from, the true model itself would be accepted, and a
// cancelled search keeps what it found.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <vector>

#include "search/ensemble_statistics.h"
#include "search/global_search.h"
#include "synthetic_curve.h"

namespace {

using namespace dispfit;

SearchSpace wideRanges() {
  SearchSpace space;
  // --vs-range 80 1000 --h-range 1 15, density as the model's.
  space.layers.assign(3, LayerRanges{{80.0, 1000.0}, {1.0, 15.0}, 1.9, std::nullopt, std::nullopt});
  return space;
}

// Under a sanitizer every model costs several times as much: the search is
// cut to a size that still runs every path (both phases and the merge).
#ifdef DISPFIT_SANITIZED_BUILD
constexpr std::int64_t kBudget = 3000;
#else
constexpr std::int64_t kBudget = 40000;
#endif

TEST(SyntheticSearch, TrueModelWouldBeAccepted) {
  // The normalised misfit worked out here from the engine's curve of the
  // true model, apart from the search's own misfit code: every residual is
  // 0, as the curve is the model's own, so the misfit is far below 1.
  const std::vector<MeasuredPoint> points = dispfit_test::syntheticCurve();
  const TrialModel truth = dispfit_test::syntheticModel();
  std::vector<swcore::ModelLayer> layers;
  for (std::size_t i = 0; i < 3; ++i) {
    layers.push_back({truth.thickness[i], truth.vs[i], 1900.0, truth.vp[i]});
  }
  std::vector<double> hz;
  for (const MeasuredPoint& p : points) hz.push_back(p.frequency);
  std::vector<swcore::CurvePoint> out(hz.size());
  swcore::DispersionCurveSolver solver;
  ASSERT_EQ(solver.compute(layers, hz, swcore::CurveKind::phase, out), swcore::CurveStatus::ok);
  double sum = 0.0;
  for (std::size_t i = 0; i < points.size(); ++i) {
    ASSERT_TRUE(out[i].hasRoot) << hz[i] << " Hz";
    const double sigma = 0.5 * (points[i].band->high - points[i].band->low);
    const double r = (out[i].phaseVelocity - points[i].velocity) / sigma;
    sum += r * r;
  }
  EXPECT_LE(std::sqrt(sum / static_cast<double>(points.size())), 1.0);

  // The search's misfit agrees: the same model scores the same.
  const CurveMisfit curve(points, dispfit_test::kSyntheticRule);
  MisfitEvaluator evaluator(curve);
  EXPECT_NEAR(evaluator.misfit(truth), std::sqrt(sum / static_cast<double>(points.size())), 1e-9);
}

TEST(SyntheticSearch, MedianOfAcceptedModelsFollowsTheTrueProfile) {
  const std::vector<MeasuredPoint> points = dispfit_test::syntheticCurve();
  const CurveMisfit curve(points, dispfit_test::kSyntheticRule);
  ASSERT_TRUE(curve.fault().empty());
  ASSERT_EQ(curve.kind(), MisfitKind::Normalised);
  const SearchSpace space = wideRanges();
  SearchSettings settings;
  settings.models = kBudget;
  // The accepted models' median followed the true profile this closely for
  // four of seeds 1 to 6 (for the other two an equivalent model, a thinner
  // second layer, took more of the accepted models); seed 1 is the default.
  settings.seed = 1;
  settings.threads = 2;
  const SearchEnsemble ensemble = runGlobalSearch(space, curve, settings, {}, {});
  ASSERT_EQ(ensemble.size(), static_cast<std::size_t>(kBudget));
  const std::vector<bool> accepted = acceptedModels(ensemble, {});
  const ParameterMap map(space);
  std::vector<TrialModel> models;
  for (std::size_t i = 0; i < ensemble.size(); ++i) {
    if (accepted[i]) map.model(ensemble.coordinatesOf(i), models.emplace_back());
  }
  ASSERT_FALSE(models.empty());
#ifndef DISPFIT_SANITIZED_BUILD
  // Half the longest wavelength: the lowest frequency's c / f / 2.
  const double constrained = points.back().velocity / points.back().frequency / 2.0;
  const TrialModel truth = dispfit_test::syntheticModel();
  for (double z = 0.0; z <= constrained; z += 0.5) {
    // Within a metre of an interface the median may take either side's
    // velocity: an interface's depth trades off against the velocities
    // around it (a thinner, slower layer fits within the band as well).
    if (std::abs(z - 3.0) <= 1.0 || std::abs(z - 9.0) <= 1.0) continue;
    std::vector<double> vs;
    for (const TrialModel& m : models) vs.push_back(shearVelocityAt(m, z));
    const double median = *percentile(vs, 0.5);
    const double expected = shearVelocityAt(truth, z);
    EXPECT_NEAR(median, expected, 0.1 * expected) << "at " << z << " m";
  }
#endif
}

TEST(SyntheticSearch, CancelKeepsTheModelsFoundSoFar) {
  const std::vector<MeasuredPoint> points = dispfit_test::syntheticCurve();
  const CurveMisfit curve(points, dispfit_test::kSyntheticRule);
  SearchSettings settings;
  settings.models = 5000;
  settings.threads = 2;
  std::atomic<bool> cancel{false};
  int calls = 0;
  // Cancelled from the progress report after the third iteration, as a
  // window's cancel button would set the flag between reports.
  const SearchEnsemble ensemble = runGlobalSearch(
      wideRanges(), curve, settings, {},
      [&](const SearchProgress& progress) {
        ++calls;
        EXPECT_LE(progress.done, progress.total);
        if (calls == 3) cancel = true;
      },
      &cancel);
  EXPECT_TRUE(ensemble.cancelled);
  EXPECT_EQ(calls, 3);
  // The first iteration's uniform draws and two iterations of four sets'
  // walks of 40 models each.
  EXPECT_EQ(ensemble.size(), static_cast<std::size_t>(200 + 2 * 4 * 40));
  EXPECT_LT(ensemble.size(), static_cast<std::size_t>(settings.models));
  const std::size_t best = ensemble.best();
  ASSERT_LT(best, ensemble.size());
  EXPECT_TRUE(std::isfinite(ensemble.misfits[best]));
  // The best model kept is a model of the space with the misfit recorded.
  const ParameterMap map(wideRanges());
  TrialModel model;
  map.model(ensemble.coordinatesOf(best), model);
  MisfitEvaluator evaluator(curve);
  EXPECT_EQ(evaluator.misfit(model), ensemble.misfits[best]);
}

TEST(SyntheticSearch, StartsWithoutFirstModelsStillSpendTheBudget) {
  // Two uniform draws dealt to four starts leave two starts without a cell
  // to walk; their share of each iteration is drawn uniformly.
  const CurveMisfit curve(dispfit_test::syntheticCurve(), dispfit_test::kSyntheticRule);
  SearchSettings settings;
  settings.models = 50;
  settings.initialModels = 2;
  settings.threads = 2;
  const SearchEnsemble ensemble = runGlobalSearch(wideRanges(), curve, settings, {}, {});
  ASSERT_EQ(ensemble.size(), 50u);
  EXPECT_FALSE(ensemble.cancelled);
  // Every model was drawn and scored: its misfit is its own model's.
  const ParameterMap map(wideRanges());
  MisfitEvaluator evaluator(curve);
  TrialModel model;
  for (std::size_t i = 0; i < ensemble.size(); ++i) {
    const std::span<const double> u = ensemble.coordinatesOf(i);
    EXPECT_TRUE(std::any_of(u.begin(), u.end(), [](double x) { return x != 0.0; }))
        << "model " << i << " was never drawn";
    map.model(u, model);
    EXPECT_EQ(evaluator.misfit(model), ensemble.misfits[i]) << "model " << i;
  }
}

}  // namespace

namespace {

using namespace dispfit;

// A curve noised at its sigma gives a best normalised misfit near 1: a fixed
// limit of 1 accepted nothing whenever the best landed above it. The limit is
// the threshold or the factor times the best, whichever is more.
TEST(AcceptanceRule, DataNoisedAtTheirSigmaAlwaysKeepTheBestsNeighbours) {
  struct Row {
    std::vector<double> misfits;
    std::vector<bool> accepted;
  };
  const Row rows[] = {
      // best 1.05: the limit 1.155 keeps 1.05, 1.1 and 1.15
      {{1.2, 1.05, 1.1, 1.15, 1.16}, {false, true, true, true, false}},
      // best 0.6: the threshold 1 is the larger limit
      {{0.6, 0.95, 1.0, 1.01}, {true, true, true, false}},
      // a rejected model (no root) is never accepted
      {{INFINITY, 2.0}, {false, true}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.misfits[1]);
    SearchEnsemble ensemble;
    ensemble.kind = MisfitKind::Normalised;
    ensemble.misfits = row.misfits;
    EXPECT_EQ(acceptedModels(ensemble, {}), row.accepted);
  }
  // In m/s the factor alone, as before.
  EXPECT_DOUBLE_EQ(AcceptanceRule{}.limit(MisfitKind::MetresPerSecond, 4.0), 4.4);
  EXPECT_DOUBLE_EQ(AcceptanceRule{}.limit(MisfitKind::Normalised, 0.5), 1.0);
  EXPECT_DOUBLE_EQ(AcceptanceRule{}.limit(MisfitKind::Normalised, 2.0), 2.2);
}

}  // namespace
