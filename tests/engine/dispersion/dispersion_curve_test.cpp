// SPDX-License-Identifier: GPL-3.0-or-later
// The dispersion-curve interface: the fundamental mode of any model against
// the independent determinant, its group velocity against the slope of its
// phase curve, and the input it refuses.
#include "dispersion/dispersion_curve.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <numbers>
#include <optional>
#include <random>
#include <vector>

#include "dispersion/engine_state.h"
#include "dispersion/forward_entry.h"
#include "dispersion/secular_function.h"
#include "layered_determinant.h"
#include "test_models.h"

namespace {

using swcore::CurveKind;
using swcore::CurvePoint;
using swcore::CurveStatus;
using swcore::DispersionCurveSolver;
using swcore::ModelLayer;

// 1e-4 km/s (0.1 m/s): the spacing of the determinant's scan.
constexpr double kScanSpacing = 1e-4;

// The first sign change of the determinant on a grid of kScanSpacing from
// `lo` up to `hi`, bisected to 1e-13 km/s; nothing when there is none.
// Grid points where the determinant is undefined are passed over.
std::optional<double> firstDeterminantZero(const dispfit_test::LayeredDeterminant& det, double lo,
                                           double hi) {
  const auto samples = static_cast<int>(std::ceil((hi - lo) / kScanSpacing));
  double x0 = lo;
  double f0 = det(x0);
  for (int i = 1; i <= samples; ++i) {
    const double x1 = std::min(hi, lo + kScanSpacing * i);
    const double f1 = det(x1);
    if (!std::isfinite(f1)) {
      continue;  // a layer's own velocity, where its eigenvectors degenerate
    }
    if (f0 * f1 < 0.0) {
      const std::vector<double> z = dispfit_test::signChanges(det, x0, x1, 1);
      return z.empty() ? std::nullopt : std::optional<double>(z.front());
    }
    x0 = x1;
    f0 = f1;
  }
  return std::nullopt;
}

std::vector<CurvePoint> curveOf(const std::vector<ModelLayer>& model,
                                const std::vector<double>& frequencies,
                                CurveKind kind = CurveKind::phase,
                                std::uint64_t* evaluations = nullptr) {
  DispersionCurveSolver solver;
  std::vector<CurvePoint> out(frequencies.size());
  EXPECT_EQ(solver.compute(model, frequencies, kind, out), CurveStatus::ok);
  if (evaluations != nullptr) {
    *evaluations += solver.evaluationCount();
  }
  return out;
}

double slowestShear(const std::vector<ModelLayer>& model) {
  double slowest = model.front().shearVelocity;
  for (const ModelLayer& layer : model) {
    slowest = std::min(slowest, layer.shearVelocity);
  }
  return slowest;
}

// The largest sum over the layers of k h |r| at c (km/s) and omega: where it
// passes about 700 the plain reduction overflows.
double argumentSum(const std::vector<ModelLayer>& model, double c, double omega) {
  double sum = 0.0;
  for (std::size_t i = 0; i + 1 < model.size(); ++i) {
    const double vs = model[i].shearVelocity / 1000.0;
    sum += omega / c * model[i].thickness / 1000.0 * std::sqrt(std::abs(1.0 - c * c / (vs * vs)));
  }
  return sum;
}

struct Tally {
  int roots = 0;
  int noRoots = 0;
  int beyondOverflow = 0;
  std::uint64_t evaluations = 0;
};

// Every frequency's result against the lowest zero of the determinant on
// the scan from well below the slowest S velocity (0.8 x it, under the
// smallest Rayleigh velocity any material has, 0.874 x its S velocity).
void checkAgainstDeterminant(const std::vector<ModelLayer>& model,
                             const std::vector<double>& frequencies, Tally& tally) {
  const std::vector<CurvePoint> curve =
      curveOf(model, frequencies, CurveKind::phase, &tally.evaluations);
  const double halfSpace = model.back().shearVelocity / 1000.0;
  const double lo = 0.8 * slowestShear(model) / 1000.0;
  for (std::size_t j = 0; j < frequencies.size(); ++j) {
    SCOPED_TRACE(::testing::Message() << "frequency " << frequencies[j] << " Hz");
    const double omega = 2.0 * std::numbers::pi * frequencies[j];
    const dispfit_test::LayeredDeterminant det(dispfit_test::layersFor(model), omega);
    const CurvePoint& point = curve[j];
    if (!point.hasRoot) {
      EXPECT_TRUE(std::isnan(point.phaseVelocity));
      // No zero below the half-space S velocity, but for one so close to it
      // that the scan's last interval may hold it.
      const std::optional<double> zero = firstDeterminantZero(det, lo, halfSpace * (1.0 - 1e-9));
      EXPECT_FALSE(zero && *zero < halfSpace - kScanSpacing) << "zero at " << *zero;
      ++tally.noRoots;
      continue;
    }
    ++tally.roots;
    const double c = point.phaseVelocity / 1000.0;
    ASSERT_TRUE(std::isfinite(c));
    EXPECT_LT(c, halfSpace);
    const std::optional<double> zero =
        firstDeterminantZero(det, lo, std::min(c + 10.0 * kScanSpacing, halfSpace * (1.0 - 1e-9)));
    ASSERT_TRUE(zero.has_value()) << "no zero of the determinant up to " << c;
    // The determinant changes sign within 1e-7 km/s of the result: the two
    // formulations' zeros agree to about 1e-9 km/s, the refinement stops
    // within 1e-8 km/s of the zero.
    EXPECT_LT(det(c - 1e-7) * det(c + 1e-7), 0.0) << "not a zero of the determinant: " << c;
    // The scan's first zero is the result, or the result lies below it in a
    // pair of zeros closer than the scan's spacing.
    EXPECT_LT(c, *zero + 1e-7);
    if (argumentSum(model, c, omega) > 700.0) {
      ++tally.beyondOverflow;
    }
  }
}

TEST(DispersionCurve, RandomModelsGiveTheLowestZeroOfTheDeterminant) {
#ifdef DISPFIT_SANITIZED_BUILD
  constexpr int kModels = 40;  // the first 40 of the same seeded sequence
#else
  constexpr int kModels = 200;
#endif
  std::mt19937_64 rng(7021);
  Tally tally;
  for (int i = 0; i < kModels; ++i) {
    const std::vector<ModelLayer> model = dispfit_test::randomVariedModel(rng);
    std::vector<double> frequencies{150.0, 1.0};
    for (int j = 0; j < 4; ++j) {
      frequencies.push_back(std::exp(std::uniform_real_distribution<double>(0.0, 5.01)(rng)));
    }
    SCOPED_TRACE(::testing::Message() << "model " << i << " with " << model.size() << " layers");
    checkAgainstDeterminant(model, frequencies, tally);
    if (::testing::Test::HasFatalFailure()) {
      return;
    }
  }
  std::printf(
      "%d roots, %d without root, %d beyond the plain reduction's range; %.1f evaluations a "
      "frequency\n",
      tally.roots, tally.noRoots, tally.beyondOverflow,
      static_cast<double>(tally.evaluations) / (tally.roots + tally.noRoots));
#ifndef DISPFIT_SANITIZED_BUILD
  // The full draw reaches every case the walk has to handle; the shorter
  // one of a sanitized build checks the same code for memory faults only.
  EXPECT_GT(tally.noRoots, 0);
  EXPECT_GT(tally.beyondOverflow, 0);
#endif
}

struct NamedModel {
  const char* name;
  std::vector<ModelLayer> layers;
};

// Models the field meets, with the failure each once provoked in a search
// starting at the top layer: thickness m, Vs m/s, density kg/m3, Vp m/s.
std::vector<NamedModel> fieldModels() {
  return {
      // A stiff crust over soft soil: the lowest zero lies near 180 m/s at
      // 150 Hz, far below the top layer's Vs.
      {"stiff crust", {{4.0, 400.0, 2000.0}, {12.0, 180.0, 1800.0}, {1.0, 700.0, 2200.0}}},
      {"soft layer in the middle",
       {{3.0, 250.0, 1900.0}, {5.0, 120.0, 1700.0}, {10.0, 350.0, 2000.0}, {1.0, 600.0, 2100.0}}},
      {"two soft layers",
       {{2.0, 200.0, 1800.0},
        {4.0, 110.0, 1700.0},
        {6.0, 300.0, 1900.0},
        {5.0, 140.0, 1750.0},
        {1.0, 500.0, 2100.0}}},
      {"saturated soil",
       {{5.0, 150.0, 1900.0, 1500.0}, {15.0, 250.0, 2000.0, 1600.0}, {1.0, 500.0, 2100.0, 1800.0}}},
      // The half-space slower than the layer above: no root at the higher
      // frequencies.
      {"slow half-space", {{10.0, 400.0, 2000.0}, {1.0, 250.0, 2000.0}}},
  };
}

std::vector<double> everyFiveHertz() {
  std::vector<double> hz;
  for (int f = 150; f >= 5; f -= 5) {
    hz.push_back(f);
  }
  return hz;
}

TEST(DispersionCurve, FieldModelsGiveTheLowestZeroOfTheDeterminant) {
  Tally tally;
  for (const NamedModel& model : fieldModels()) {
    SCOPED_TRACE(model.name);
    checkAgainstDeterminant(model.layers, everyFiveHertz(), tally);
  }
  EXPECT_GT(tally.noRoots, 0);  // the slow half-space's higher frequencies
}

TEST(DispersionCurve, StiffCrustFollowsTheSoftLayer) {
  // To the metre per second, the lowest zeros the determinant's scan finds:
  // near 180 m/s at 150 Hz, just above the soft layer's S velocity, and
  // 231 m/s at 15 Hz; a search from the top layer meets another mode (about
  // 345 m/s) or the half-space's pole (700 m/s) there.
  const std::vector<CurvePoint> curve = curveOf(fieldModels()[0].layers, {150.0, 15.0});
  EXPECT_NEAR(curve[0].phaseVelocity, 180.0, 1.0);
  EXPECT_NEAR(curve[1].phaseVelocity, 231.0, 1.0);
}

TEST(DispersionCurve, HalfSpaceGivesItsRayleighVelocityAtEveryFrequency) {
  struct Row {
    const char* name;
    std::optional<double> vp;
    double ratio;  // c / Vs
  };
  // sqrt(2 - 2 / sqrt 3) for a Poisson solid (Vp = sqrt 3 Vs), worked by
  // hand from Rayleigh's cubic; Vp = 3 Vs from the tests' own bisection.
  const Row rows[] = {
      {"Poisson solid", 300.0 * std::sqrt(3.0), std::sqrt(2.0 - 2.0 / std::sqrt(3.0))},
      {"default Vp", std::nullopt, dispfit_test::halfSpaceRayleighRatio()}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const std::vector<ModelLayer> model{{1.0, 300.0, 2000.0, row.vp}};
    const std::vector<CurvePoint> curve =
        curveOf(model, {1.0, 40.0, 150.0}, CurveKind::phaseAndGroup);
    for (const CurvePoint& point : curve) {
      ASSERT_TRUE(point.hasRoot);
      // 1e-5 m/s: the refinement's tolerance.
      EXPECT_NEAR(point.phaseVelocity, 300.0 * row.ratio, 1e-5);
      // No dispersion: the group velocity is the phase velocity.
      EXPECT_NEAR(point.groupVelocity, point.phaseVelocity, 1e-4);
    }
  }
}

TEST(DispersionCurve, GroupVelocityFollowsTheSlopeOfThePhaseCurve) {
  const std::vector<NamedModel> models = fieldModels();
  for (const NamedModel& model : {models[0], models[1], models[3]}) {
    SCOPED_TRACE(model.name);
    for (const double f : {8.0, 30.0, 90.0}) {
      SCOPED_TRACE(::testing::Message() << f << " Hz");
      const CurvePoint point = curveOf(model.layers, {f}, CurveKind::phaseAndGroup)[0];
      // dc/df by central differences of the phase curve at two spacings,
      // combined by Richardson extrapolation (error of fourth order).
      const auto slope = [&](double h) {
        const std::vector<CurvePoint> side = curveOf(model.layers, {f * (1.0 + h), f * (1.0 - h)});
        return (side[0].phaseVelocity - side[1].phaseVelocity) / (2.0 * f * h);
      };
      const double dcdf = (4.0 * slope(5e-3) - slope(1e-2)) / 3.0;
      const double c = point.phaseVelocity;
      const double expected = c / (1.0 - f / c * dcdf);
      // 1e-4 relative: the phase velocities' 1e-5 m/s over the spacing.
      EXPECT_NEAR(point.groupVelocity, expected, 1e-4 * expected);
    }
  }
}

TEST(DispersionCurve, FrequencyOrderDoesNotChangeAnyValue) {
  const std::vector<ModelLayer> model = fieldModels()[1].layers;
  const std::vector<double> descending = everyFiveHertz();
  std::vector<double> shuffled = descending;
  std::shuffle(shuffled.begin(), shuffled.end(), std::mt19937_64(5));
  const std::vector<CurvePoint> a = curveOf(model, descending);
  const std::vector<CurvePoint> b = curveOf(model, shuffled);
  for (std::size_t i = 0; i < shuffled.size(); ++i) {
    const auto j = static_cast<std::size_t>(
        std::find(descending.begin(), descending.end(), shuffled[i]) - descending.begin());
    EXPECT_TRUE(dispfit_test::sameBits(b[i].phaseVelocity, a[j].phaseVelocity)) << shuffled[i];
  }
}

// Alone, a frequency's walk evaluates D at every step from the start and
// refines from the bracket alone; in a list the root is first looked for
// where the higher frequencies' roots predict it, and otherwise the steps
// well below the next higher frequency's root are passed with one sign
// test. Both must find the same zero, each within 1e-5 m/s of it, and the
// list needs fewer evaluations than its frequencies alone. (Random model 23
// has its fundamental mode turn away from its line where it meets a mode
// trapped in a buried slow layer, near 75 Hz.)
TEST(DispersionCurve, AFrequencyAloneGivesTheValueItHasInTheList) {
  std::vector<NamedModel> models = fieldModels();
  std::mt19937_64 rng(3301);
  for (int i = 0; i < 40; ++i) {
    models.push_back({"random", dispfit_test::randomVariedModel(rng)});
  }
  const std::vector<double> hz = everyFiveHertz();
  for (std::size_t m = 0; m < models.size(); ++m) {
    SCOPED_TRACE(::testing::Message() << "model " << m << ", " << models[m].name);
    std::uint64_t inList = 0;
    std::uint64_t alone = 0;
    const std::vector<CurvePoint> list = curveOf(models[m].layers, hz, CurveKind::phase, &inList);
    for (std::size_t j = 0; j < hz.size(); ++j) {
      const CurvePoint single = curveOf(models[m].layers, {hz[j]}, CurveKind::phase, &alone)[0];
      ASSERT_EQ(single.hasRoot, list[j].hasRoot) << hz[j] << " Hz";
      if (single.hasRoot) {
        EXPECT_NEAR(single.phaseVelocity, list[j].phaseVelocity, 2e-5)
            << hz[j] << " Hz: " << single.phaseVelocity << " alone, " << list[j].phaseVelocity
            << " in the list";
      }
    }
    // Where every frequency has a root, the fundamental mode rises well
    // above the start as the frequency falls to 5 Hz.
    const bool rootEverywhere =
        std::all_of(list.begin(), list.end(), [](const CurvePoint& p) { return p.hasRoot; });
    if (m < fieldModels().size() && rootEverywhere) {
      EXPECT_LT(inList, alone);
    }
  }
}

TEST(DispersionCurve, NormallyDispersiveModelsAgreeWithTheForwardEntry) {
  // Where every layer is faster than the one above, the forward entry's
  // walk from 0.8 x the top layer's S velocity meets the fundamental mode
  // first: a second search, of its own steps and refinement. Its false
  // position is only sure to stop within 0.1 m/s of the zero (its probe
  // distance; at 150 Hz on the four rising layers it stops 1.7 mm/s off),
  // which bounds the agreement; its single-precision model, 2 pi and
  // results add about 1e-5 m/s.
  struct Row {
    const char* name;
    std::vector<float> thickness, vs, density;  // m, m/s, g/cm3
  };
  const Row rows[] = {
      {"5/200, 10/400, 800", {5.0f, 10.0f, 0.0f}, {200.0f, 400.0f, 800.0f}, {1.8f, 2.0f, 2.2f}},
      {"four rising layers",
       {2.0f, 3.0f, 6.0f, 0.0f},
       {120.0f, 180.0f, 300.0f, 500.0f},
       {1.7f, 1.8f, 1.9f, 2.1f}}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const int n = static_cast<int>(row.vs.size());
    std::vector<float> hz(30), forward(30);
    std::vector<double> frequencies;
    for (int j = 0; j < 30; ++j) {
      hz[j] = static_cast<float>(150 - 5 * j);
      frequencies.push_back(hz[j]);
    }
    swcore::EngineState state{};
    swcore::runForward(state, {n, row.thickness.data(), row.vs.data(), row.density.data(), 30,
                               hz.data(), forward.data()});
    std::vector<ModelLayer> model;
    for (int i = 0; i < n; ++i) {
      model.push_back({i + 1 < n ? row.thickness[i] : 1.0, row.vs[i], row.density[i] * 1000.0});
    }
    const std::vector<CurvePoint> curve = curveOf(model, frequencies);
    for (int j = 0; j < 30; ++j) {
      SCOPED_TRACE(::testing::Message() << hz[j] << " Hz");
      ASSERT_TRUE(curve[j].hasRoot);
      EXPECT_NEAR(curve[j].phaseVelocity, forward[j], 0.1);
    }
  }
}

TEST(DispersionCurve, BadInputIsRefusedWithItsReason) {
  const ModelLayer good{5.0, 200.0, 1800.0};
  const ModelLayer halfSpace{0.0, 500.0, 2000.0};  // its thickness is not read
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  struct Row {
    const char* name;
    std::vector<ModelLayer> model;
    std::vector<double> frequencies;
    std::size_t outputs;
    CurveStatus expected;
  };
  const std::vector<Row> rows{
      {"no layers", {}, {10.0}, 1, CurveStatus::noLayers},
      {"51 layers", std::vector<ModelLayer>(51, good), {10.0}, 1, CurveStatus::tooManyLayers},
      {"zero thickness", {{0.0, 200.0, 1800.0}, halfSpace}, {10.0}, 1, CurveStatus::badThickness},
      {"NaN thickness", {{nan, 200.0, 1800.0}, halfSpace}, {10.0}, 1, CurveStatus::badThickness},
      {"negative Vs", {{5.0, -200.0, 1800.0}, halfSpace}, {10.0}, 1, CurveStatus::badShearVelocity},
      {"infinite Vs", {good, {0.0, inf, 2000.0}}, {10.0}, 1, CurveStatus::badShearVelocity},
      {"zero density", {{5.0, 200.0, 0.0}, halfSpace}, {10.0}, 1, CurveStatus::badDensity},
      {"NaN Vp", {{5.0, 200.0, 1800.0, nan}, halfSpace}, {10.0}, 1, CurveStatus::badPVelocity},
      {"Vp/Vs 1.41",
       {{5.0, 200.0, 1800.0, 282.0}, halfSpace},
       {10.0},
       1,
       CurveStatus::pToShearRatioTooLow},
      {"zero frequency", {good, halfSpace}, {10.0, 0.0}, 2, CurveStatus::badFrequency},
      {"negative frequency", {good, halfSpace}, {-5.0}, 1, CurveStatus::badFrequency},
      {"NaN frequency", {good, halfSpace}, {nan}, 1, CurveStatus::badFrequency},
      {"short output", {good, halfSpace}, {10.0, 20.0}, 1, CurveStatus::outputSizeMismatch},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    DispersionCurveSolver solver;
    std::vector<CurvePoint> out(row.outputs);
    EXPECT_EQ(solver.compute(row.model, row.frequencies, CurveKind::phase, out), row.expected);
    EXPECT_STRNE(swcore::describe(row.expected), "ok");
  }
  // The edges that are still good: 50 layers, Vp/Vs exactly sqrt 2.
  DispersionCurveSolver solver;
  std::vector<CurvePoint> out(1);
  std::vector<ModelLayer> fifty(49, good);
  fifty.push_back(halfSpace);
  EXPECT_EQ(solver.compute(fifty, std::vector<double>{10.0}, CurveKind::phase, out),
            CurveStatus::ok);
  const std::vector<ModelLayer> edge{{5.0, 200.0, 1800.0, 200.0 * std::sqrt(2.0)}, halfSpace};
  EXPECT_EQ(solver.compute(edge, std::vector<double>{10.0}, CurveKind::phase, out),
            CurveStatus::ok);
  EXPECT_TRUE(out[0].hasRoot);
}

}  // namespace
