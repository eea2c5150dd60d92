// The dispersion-curve interface: the fundamental mode of any model against
// the independent determinant, its group velocity against the slope of its
// phase curve, and the input it refuses.
#include "dispersion/dispersion_curve.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <numbers>
#include <optional>
#include <random>
#include <vector>

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
std::optional<double> firstDeterminantZero(const dispfit_test::LayeredDeterminant& det, double lo,
                                           double hi) {
  const auto samples = static_cast<int>(std::ceil((hi - lo) / kScanSpacing));
  double x0 = lo;
  double f0 = det(x0);
  for (int i = 1; i <= samples; ++i) {
    const double x1 = std::min(hi, lo + kScanSpacing * i);
    const double f1 = det(x1);
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
  constexpr int kModels = 200;
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
  // The draw reaches every case the walk has to handle.
  EXPECT_GT(tally.noRoots, 0);
  EXPECT_GT(tally.beyondOverflow, 0);
}

}  // namespace
