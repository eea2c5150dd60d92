// SPDX-License-Identifier: GPL-3.0-or-later
// Curves of the forward entry against the same walk from frequency to
// frequency driven by the secular function in its literal form:
// wherever the literal form's arithmetic stays finite, the engine's faster
// evaluation must give the same single-precision results (by design to the
// bit; at the very least to within one unit in the last place).
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <vector>

#include "dispersion/curve_walk.h"
#include "dispersion/forward_entry.h"
#include "dispersion/root_search.h"
#include "dispersion/secular_function.h"
#include "literal_secular_function.h"
#include "test_models.h"

namespace {

constexpr int kModels = 150;
constexpr int kFrequencies = 30;

// Single-precision model as a caller passes it (m, m/s, g/cm3).
struct CallerModel {
  std::vector<float> thickness;
  std::vector<float> vs;
  std::vector<float> density;
};

// A random near-surface model in the caller's units.
CallerModel randomModel(std::mt19937_64& rng) {
  const dispfit_test::Model km = dispfit_test::randomNearSurfaceModel(rng);
  CallerModel m;
  for (size_t i = 0; i < km.vs.size(); ++i) {
    m.thickness.push_back(static_cast<float>(km.thickness[i] * 1000.0));
    m.vs.push_back(static_cast<float>(km.vs[i] * 1000.0));
    m.density.push_back(static_cast<float>(km.density[i]));
  }
  return m;
}

// The curve of the literal form: the forward entry's steps, one by one,
// with the engine's search of a curve point. `finiteUpTo` is the number of leading
// frequencies whose searches met only finite values of D; the later ones
// start from a result the literal form could not compute honestly.
struct LiteralCurve {
  std::array<float, kFrequencies> velocity{};
  int finiteUpTo = 0;
  std::uint64_t evaluations = 0;
};

LiteralCurve literalCurve(const CallerModel& model, const std::vector<float>& hz) {
  const int n = static_cast<int>(model.vs.size());
  swcore::EngineState s{};
  s.layerCount = n;
  for (int i = 0; i < n; ++i) {
    s.thickness[i] = model.thickness[i] / 1000.0;
    s.shearVelocity[i] = model.vs[i] / 1000.0;
    s.pVelocity[i] = 3.0 * s.shearVelocity[i];
    s.density[i] = model.density[i];
  }
  LiteralCurve curve;
  bool allFinite = true;
  const auto d = [&](double c) {
    ++curve.evaluations;
    const double value = dispfit_test::literalSecularFunction(s, c);
    allFinite = allFinite && std::isfinite(value);
    return value;
  };
  // The first search starts at 0.8 x the slowest S velocity; a sign change
  // across the half-space's S or P velocity is the pole there, not a root.
  const double slowest = *std::min_element(s.shearVelocity, s.shearVelocity + n);
  const double firstStart = slowest * 0.800000011920929;
  const swcore::PoleVelocities poles{s.shearVelocity[n - 1], s.pVelocity[n - 1]};
  // The check for a zero below the start applies where the slowest layer is buried.
  const swcore::CurveWalk walk{firstStart, s.shearVelocity[n - 1], 1e-8,
                               s.shearVelocity[0] > slowest};
  double start = firstStart;
  std::array<double, kFrequencies> velocity{};
  for (int j = 0; j < kFrequencies; ++j) {
    const double period = 1.0 / static_cast<double>(hz[j]);
    s.omega = 6.2831854820251465 / period;
    double root = std::nan("");
    const swcore::SearchStart used = swcore::searchCurvePoint(d, poles, walk, start, root);
    if (std::isnan(root) || !allFinite) {
      break;
    }
    velocity[j] = root;
    curve.finiteUpTo = j + 1;
    start = velocity[j] - 2.0 * used.step;
  }
  for (int j = 0; j < kFrequencies; ++j) {
    curve.velocity[j] = static_cast<float>(velocity[j] * 1000.0);
  }
  return curve;
}

// The engine's curve of a model through the forward entry, and the number of
// evaluations of D it took.
struct EngineCurve {
  std::array<float, 50> velocity{};
  std::uint64_t evaluations = 0;
};

EngineCurve engineCurve(const CallerModel& model, const std::vector<float>& hz) {
  std::array<float, 50> h{}, vs{}, rho{}, freq{};
  std::copy(model.thickness.begin(), model.thickness.end(), h.begin());
  std::copy(model.vs.begin(), model.vs.end(), vs.begin());
  std::copy(model.density.begin(), model.density.end(), rho.begin());
  std::copy(hz.begin(), hz.end(), freq.begin());
  const auto n = static_cast<int32_t>(model.vs.size());
  swcore::EngineState state{};
  EngineCurve curve;
  const std::uint64_t before = swcore::secularEvaluationCount;
  swcore::runForward(state, {n, h.data(), vs.data(), rho.data(), kFrequencies, freq.data(),
                             curve.velocity.data()});
  curve.evaluations = swcore::secularEvaluationCount - before;
  return curve;
}

// Distance in units in the last place between two finite floats of one sign.
std::int64_t ulpDistance(float a, float b) {
  return std::abs(static_cast<std::int64_t>(std::bit_cast<std::int32_t>(a)) -
                  static_cast<std::int64_t>(std::bit_cast<std::int32_t>(b)));
}

TEST(LiteralForward, RandomCurvesAreTheLiteralFormsToTheBit) {
  const std::vector<float> hz = dispfit_test::standardFrequencies();
  std::mt19937_64 rng(97531);
  int compared = 0;
  int identical = 0;
  int curvesAllIdentical = 0;
  std::uint64_t engineEvaluations = 0;
  std::uint64_t literalEvaluations = 0;
  for (int i = 0; i < kModels; ++i) {
    const CallerModel model = randomModel(rng);
    const auto n = static_cast<int32_t>(model.vs.size());
    SCOPED_TRACE(::testing::Message() << "model " << i << " with " << n << " layers");
    const LiteralCurve literal = literalCurve(model, hz);

    const EngineCurve engine = engineCurve(model, hz);
    const std::array<float, 50>& out = engine.velocity;

    int sameHere = 0;
    for (int j = 0; j < literal.finiteUpTo; ++j) {
      ASSERT_TRUE(std::isfinite(out[j]) && std::isfinite(literal.velocity[j])) << hz[j] << " Hz";
      EXPECT_LE(ulpDistance(out[j], literal.velocity[j]), 1)
          << hz[j] << " Hz: " << out[j] << " against " << literal.velocity[j];
      ++compared;
      sameHere += out[j] == literal.velocity[j] ? 1 : 0;
    }
    identical += sameHere;
    if (literal.finiteUpTo == kFrequencies) {
      curvesAllIdentical += sameHere == kFrequencies ? 1 : 0;
      engineEvaluations += engine.evaluations;
      literalEvaluations += literal.evaluations;
    }
  }
  // Most of the models keep the literal form finite along the whole curve.
  EXPECT_GT(compared, kModels * kFrequencies / 2);
  // The engine evaluates D with the literal form's operations, so its
  // values, the iterates of the search and the curves are the same to the
  // bit, and so are the evaluation counts.
  EXPECT_EQ(identical, compared);
  EXPECT_EQ(engineEvaluations, literalEvaluations);
  std::printf(
      "%d results compared, %d bit-identical; %d whole curves identical; "
      "%llu evaluations of the engine, %llu of the literal form on those\n",
      compared, identical, curvesAllIdentical, static_cast<unsigned long long>(engineEvaluations),
      static_cast<unsigned long long>(literalEvaluations));
}

// The half-space and the three-layer model of the benchmark, and the model
// whose first frequency creeps: the same values, so the same iterates and
// the same number of evaluations.
TEST(LiteralForward, FixedModelsGiveTheLiteralFormsCurvesAndEvaluationCounts) {
  const std::vector<float> hz = dispfit_test::standardFrequencies();
  const std::vector<CallerModel> models{
      {{0.0f}, {150.0f}, {1.8f}},
      {{5.0f, 10.0f, 0.0f}, {200.0f, 400.0f, 800.0f}, {1.8f, 2.0f, 2.2f}},
      {{5.0f, 10.0f, 0.0f}, {150.0f, 250.0f, 400.0f}, {1.8f, 1.9f, 2.0f}},
  };
  for (const CallerModel& model : models) {
    const auto n = static_cast<int32_t>(model.vs.size());
    SCOPED_TRACE(::testing::Message() << n << " layers over " << model.vs.back() << " m/s");
    const LiteralCurve literal = literalCurve(model, hz);
    ASSERT_EQ(literal.finiteUpTo, kFrequencies);
    const EngineCurve engine = engineCurve(model, hz);
    const std::array<float, 50>& out = engine.velocity;
    EXPECT_EQ(engine.evaluations, literal.evaluations);
    for (int j = 0; j < kFrequencies; ++j) {
      EXPECT_EQ(out[j], literal.velocity[j]) << hz[j] << " Hz";
    }
  }
}

}  // namespace
