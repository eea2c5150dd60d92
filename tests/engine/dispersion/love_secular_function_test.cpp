// SPDX-License-Identifier: GPL-3.0-or-later
// The Love secular function: its zeros against Love's equation for one layer
// over a half-space (worked below) and against the independent determinant
// (love_determinant.h) for layered models; its rescaled form against the
// plain one.
#include "dispersion/love_secular_function.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <numbers>
#include <random>
#include <vector>

#include "love_determinant.h"
#include "test_models.h"

namespace {

using dispfit_test::Layer;
using dispfit_test::signChanges;
using swcore::LoveSecularFunction;

constexpr double kTwoPi = 2.0 * std::numbers::pi;

// A model held for the engine's function (km, km/s).
struct HeldModel {
  explicit HeldModel(const std::vector<Layer>& layers) {
    for (const Layer& l : layers) {
      thickness.push_back(l.thickness);
      vs.push_back(l.vs);
      vp.push_back(l.vp);
      density.push_back(l.density);
    }
  }
  swcore::SecularModel at(double omega) const {
    return {static_cast<int32_t>(vs.size()),
            thickness.data(),
            vs.data(),
            vp.data(),
            density.data(),
            omega};
  }
  std::vector<double> thickness, vs, vp, density;
};

// 10 m of 200 m/s (1.8) over a half-space of 400 m/s (2.0).
std::vector<Layer> layerOverHalfSpace() {
  return {{0.010, 0.2, 0.6, 1.8}, {0.0, 0.4, 1.2, 2.0}};
}

// Love's equation for one layer over a half-space, without the poles of its
// tangent: g(c) = mu1 r1 sin(k h r1) - mu2 r2 cos(k h r1) with
// r1 = sqrt(c^2/b1^2 - 1), r2 = sqrt(1 - c^2/b2^2), zero where
// tan(k h r1) = mu2 r2 / (mu1 r1) (Aki & Richards, ch. 7).
double loveEquation(const std::vector<Layer>& m, double omega, double c) {
  const double k = omega / c;
  const double r1 = std::sqrt(c * c / (m[0].vs * m[0].vs) - 1.0);
  const double r2 = std::sqrt(1.0 - c * c / (m[1].vs * m[1].vs));
  const double mu1 = m[0].density * m[0].vs * m[0].vs;
  const double mu2 = m[1].density * m[1].vs * m[1].vs;
  return mu1 * r1 * std::sin(k * m[0].thickness * r1) -
         mu2 * r2 * std::cos(k * m[0].thickness * r1);
}

TEST(LoveSecularFunction, LayerOverHalfSpaceHasTheZerosOfLovesEquation) {
  const std::vector<Layer> m = layerOverHalfSpace();
  const HeldModel held(m);
  for (const double hz : {5.0, 20.0, 60.0, 150.0}) {
    SCOPED_TRACE(::testing::Message() << hz << " Hz");
    const double omega = kTwoPi * hz;
    const LoveSecularFunction f(held.at(omega));
    const double lo = 0.2 * (1.0 + 1e-9);
    const double hi = 0.4 * (1.0 - 1e-9);
    const std::vector<double> expected =
        signChanges([&](double c) { return loveEquation(m, omega, c); }, lo, hi, 20000);
    const std::vector<double> found = signChanges(f, lo, hi, 20000);
    ASSERT_FALSE(expected.empty());
    ASSERT_EQ(found.size(), expected.size());
    for (std::size_t i = 0; i < found.size(); ++i) {
      EXPECT_NEAR(found[i], expected[i], 1e-11) << "zero " << i;
    }
  }
}

TEST(LoveSecularFunction, NoZeroLiesAtOrBelowTheSlowestVelocity) {
  // Below every S velocity the motion decays in every layer: F keeps one
  // sign from far below up to the slowest velocity, at any frequency.
  const std::vector<Layer> m{
      {0.004, 0.25, 0.75, 1.9}, {0.006, 0.12, 0.36, 1.7}, {0.0, 0.5, 1.5, 2.1}};
  const HeldModel held(m);
  for (const double hz : {2.0, 30.0, 150.0}) {
    const LoveSecularFunction f(held.at(kTwoPi * hz));
    EXPECT_TRUE(signChanges(f, 0.01, 0.12 * (1.0 - 1e-9), 5000).empty()) << hz;
  }
}

// Each zero of the independent determinant is a sign change of F with its
// terms valued at `precision`, and F has no other.
void expectTheZerosOfTheIndependentDeterminant(swcore::TermPrecision precision) {
  std::mt19937_64 rng(41);
  int zeros = 0;
  for (int i = 0; i < 30; ++i) {
    const std::vector<swcore::ModelLayer> model = dispfit_test::randomVariedModel(rng);
    const std::vector<Layer> layers = dispfit_test::layersFor(model);
    const HeldModel held(layers);
    double slowest = layers[0].vs;
    for (const Layer& l : layers) {
      slowest = std::min(slowest, l.vs);
    }
    const double top = layers.back().vs * (1.0 - 1e-9);
    if (!(slowest < top)) {
      continue;  // the half-space is the slowest: no Love wave
    }
    for (const double hz : {3.0, 25.0, 110.0}) {
      SCOPED_TRACE(::testing::Message() << "model " << i << ", " << hz << " Hz");
      const double omega = kTwoPi * hz;
      const LoveSecularFunction f(held.at(omega), swcore::fastestInstructionSet(), precision);
      const dispfit_test::LoveDeterminant det(layers, omega);
      const double bottom = slowest * (1.0 + 1e-9);  // where the determinant is defined
      const std::vector<double> expected = det.zeros(bottom, top, 4000);
      for (const double z : expected) {
        // F changes sign within 1e-9 km/s of each of the determinant's zeros.
        const double below = f.value(z - 1e-9 * z);
        const double above = f.value(z + 1e-9 * z);
        EXPECT_LT(below * above, 0.0) << "at " << z;
        ++zeros;
      }
      EXPECT_EQ(signChanges(f, bottom, top, 4000).size(), expected.size());
    }
  }
  EXPECT_GT(zeros, 100);
}

TEST(LoveSecularFunction, RandomModelsShareTheZerosOfTheIndependentDeterminant) {
  expectTheZerosOfTheIndependentDeterminant(swcore::TermPrecision::library);
}

// The quick terms the curve solver uses keep every zero and add none.
TEST(LoveSecularFunction, QuickTermsKeepTheZerosOfTheIndependentDeterminant) {
  expectTheZerosOfTheIndependentDeterminant(swcore::TermPrecision::quick);
}

TEST(LoveSecularFunction, RescaledFormKeepsTheSignWhereThePlainOneOverflows) {
  // 30 m of 150 m/s over 200 m of 300 m/s over 900 m/s at 150 Hz: k h r
  // reaches 1100 in the second layer just above 150 m/s (k = 6283 /km,
  // r = 0.87), past the 709 where exp overflows, and the plain terms do.
  const std::vector<Layer> m{
      {0.030, 0.15, 0.45, 1.8}, {0.200, 0.3, 0.9, 1.9}, {0.0, 0.9, 2.7, 2.2}};
  const HeldModel held(m);
  const LoveSecularFunction f(held.at(kTwoPi * 150.0));
  int overflowed = 0;
  for (double c = 0.1501; c < 0.9; c *= 1.003) {
    const double literal = f.literal(c);
    const double rescaled = f.rescaled(c);
    ASSERT_TRUE(std::isfinite(rescaled)) << c;
    if (std::isfinite(literal)) {
      EXPECT_EQ(std::signbit(literal), std::signbit(rescaled)) << c;
    } else {
      ++overflowed;
      EXPECT_EQ(f.value(c), rescaled);
    }
  }
  EXPECT_GT(overflowed, 0);
}

TEST(LoveSecularFunction, IsUndefinedForALayerCountOutsideTheArrays) {
  const double one[] = {0.1};
  for (const int32_t n : {0, 51}) {
    const LoveSecularFunction f(swcore::SecularModel{n, one, one, one, one, 100.0});
    EXPECT_TRUE(std::isnan(f(0.05))) << n;
  }
}

}  // namespace
