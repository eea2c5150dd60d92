// SPDX-License-Identifier: GPL-3.0-or-later
// The envelope of accepted curves against a two-model case worked with the
// half-space Rayleigh equation, solved here by bisection.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "search/curve_envelope.h"

namespace {

using namespace dispfit;

// The Rayleigh velocity of a uniform half-space with Vp = 3 Vs, as a
// fraction of Vs: the root in (0, 1) of
//   (2 - x)^2 - 4 sqrt(1 - x) sqrt(1 - g x),  x = (c / Vs)^2,  g = (Vs / Vp)^2 = 1/9,
// which is negative just above 0 (its slope there is -2 + 2 g) and 1 at x = 1.
// By bisection: c / Vs = 0.947308 (Poisson's ratio 0.4375).
double rayleighFraction() {
  const double g = 1.0 / 9.0;
  const auto secular = [g](double x) {
    return (2.0 - x) * (2.0 - x) - 4.0 * std::sqrt(1.0 - x) * std::sqrt(1.0 - g * x);
  };
  double low = 1e-6, high = 1.0;
  for (int i = 0; i < 100; ++i) {
    const double middle = 0.5 * (low + high);
    (secular(middle) < 0.0 ? low : high) = middle;
  }
  return std::sqrt(0.5 * (low + high));
}

TrialModel model(std::vector<double> thickness, std::vector<double> vs) {
  TrialModel m{std::move(thickness), vs, vs, std::vector<double>(vs.size(), 1.9)};
  for (double& vp : m.vp) vp *= 3.0;
  return m;
}

// The engine's root is refined far below 0.01 m/s (a thousandth of its 5 m/s
// search step); the layered model's top layer at 100 Hz leaves a share of
// exp(-k h sqrt(1 - (c/Vs)^2)) = exp(-4.4 * 10 * 0.32), about 1e-6, of the
// motion in the half-space, well below that.
constexpr double kVelocityTolerance = 0.01;  // m/s

TEST(CurveEnvelope, TwoModelsTakeTurnsAtTheBandsEdges) {
  // A: 10 m of 150 m/s over 400 m/s, normally dispersive. B: 250 m/s
  // throughout, whose curve is flat at 0.947308 * 250 = 236.83 m/s.
  //   100 Hz: A lies in its top layer, 0.947308 * 150 = 142.10 m/s
  //           -> low from A, high from B
  //     2 Hz: wavelengths near 190 m reach far into A's half-space, so A is
  //           faster than B yet below 400 m/s -> low from B, high from A
  const double fraction = rayleighFraction();
  ASSERT_NEAR(fraction, 0.947308, 1e-6);
  const std::vector<TrialModel> models{model({10.0, 0.0}, {150.0, 400.0}),
                                       model({10.0, 0.0}, {250.0, 250.0})};
  const std::vector<MeasuredPoint> points{{100.0, 150.0, std::nullopt, 1},
                                          {2.0, 300.0, std::nullopt, 2}};
  // The expectations are of the fundamental modes: the lowest-root rule.
  const CurveMisfit curve(points, {swcore::ForwardRule::lowestRoot});
  ASSERT_EQ(curve.fault(), "");

  const std::vector<EnvelopePoint> envelope = curveEnvelope(models, curve);
  ASSERT_EQ(envelope.size(), 2u);
  {
    SCOPED_TRACE("100 Hz");
    EXPECT_EQ(envelope[0].frequency, 100.0);
    EXPECT_NEAR(envelope[0].low, fraction * 150.0, kVelocityTolerance);
    EXPECT_NEAR(envelope[0].high, fraction * 250.0, kVelocityTolerance);
  }
  {
    SCOPED_TRACE("2 Hz");
    EXPECT_EQ(envelope[1].frequency, 2.0);
    EXPECT_NEAR(envelope[1].low, fraction * 250.0, kVelocityTolerance);
    EXPECT_GT(envelope[1].high, fraction * 250.0 + 50.0);
    EXPECT_LT(envelope[1].high, 400.0);
  }
}

TEST(CurveEnvelope, OneModelIsItsOwnBandAndNoModelNone) {
  const double fraction = rayleighFraction();
  const std::vector<MeasuredPoint> points{{40.0, 200.0, std::nullopt, 1},
                                          {10.0, 220.0, std::nullopt, 2}};
  // The expectations are of the fundamental modes: the lowest-root rule.
  const CurveMisfit curve(points, {swcore::ForwardRule::lowestRoot});
  const std::vector<TrialModel> one{model({5.0, 0.0}, {300.0, 300.0})};
  const std::vector<EnvelopePoint> envelope = curveEnvelope(one, curve);
  ASSERT_EQ(envelope.size(), 2u);
  for (const EnvelopePoint& point : envelope) {
    SCOPED_TRACE(point.frequency);
    EXPECT_NEAR(point.low, fraction * 300.0, kVelocityTolerance);
    EXPECT_EQ(point.low, point.high);
  }
  EXPECT_TRUE(curveEnvelope({}, curve).empty());
}

}  // namespace
