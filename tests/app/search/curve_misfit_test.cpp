// SPDX-License-Identifier: GPL-3.0-or-later
// The misfit the search ranks by, against values worked by hand.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <span>
#include <vector>

#include "search/curve_misfit.h"

namespace {

using namespace dispfit;

TEST(CurveMisfit, NormalisedByHalfTheBandOrPlainMetresPerSecond) {
  // Bands: sigma 10 (a +-10 band) and 5 (low 95, high 105 around 100).
  // Residuals 10 and -5 give normalised residuals 1 and -1: misfit 1.
  const std::vector<MeasuredPoint> banded{{20.0, 200.0, VelocityBand{190.0, 210.0}, 1},
                                          {10.0, 100.0, VelocityBand{95.0, 105.0}, 2}};
  const CurveMisfit normalised(banded);
  ASSERT_EQ(normalised.fault(), "");
  EXPECT_EQ(normalised.kind(), MisfitKind::Normalised);
  EXPECT_DOUBLE_EQ(normalised.of(std::vector<double>{210.0, 95.0}), 1.0);
  // Residuals 3 and 4 m/s without bands: sqrt((9 + 16) / 2) = 3.5355.
  const std::vector<MeasuredPoint> plain{{20.0, 200.0, std::nullopt, 1},
                                         {10.0, 100.0, std::nullopt, 2}};
  const CurveMisfit metres(plain);
  EXPECT_EQ(metres.kind(), MisfitKind::MetresPerSecond);
  EXPECT_NEAR(metres.of(std::vector<double>{203.0, 104.0}), std::sqrt(12.5), 1e-12);
  // A frequency without a root rejects the model.
  EXPECT_EQ(metres.of(std::vector<double>{203.0, std::numeric_limits<double>::quiet_NaN()}),
            std::numeric_limits<double>::infinity());
  EXPECT_EQ(misfitName(MisfitKind::Normalised), "normalised misfit");
  EXPECT_EQ(misfitName(MisfitKind::MetresPerSecond), "misfit (m/s)");
}

TEST(CurveMisfit, RefusesCurvesItCannotWeigh) {
  EXPECT_NE(CurveMisfit(std::vector<MeasuredPoint>{}).fault(), "");
  const std::vector<MeasuredPoint> mixed{{20.0, 200.0, VelocityBand{190.0, 210.0}, 1},
                                         {10.0, 100.0, std::nullopt, 2}};
  EXPECT_NE(CurveMisfit(mixed).fault().find("some points have a band"), std::string::npos);
  const std::vector<MeasuredPoint> flat{{20.0, 200.0, VelocityBand{200.0, 200.0}, 7}};
  EXPECT_NE(CurveMisfit(flat).fault().find("line 7"), std::string::npos);
}

TEST(CurveMisfit, HalfSpaceModelMatchesRayleighVelocity) {
  // A half-space of Vs 200 m/s and Vp = sqrt(3) Vs (Poisson's ratio 1/4)
  // carries Rayleigh waves at 0.9194 Vs at every frequency (the root of
  // Rayleigh's equation for nu = 1/4, sqrt(2 - 2/sqrt(3)) x Vs).
  const double rayleigh = 200.0 * std::sqrt(2.0 - 2.0 / std::sqrt(3.0));
  const std::vector<MeasuredPoint> points{{50.0, rayleigh, std::nullopt, 1},
                                          {5.0, rayleigh, std::nullopt, 2}};
  const CurveMisfit curve(points);
  MisfitEvaluator evaluator(curve);
  const TrialModel halfSpace{{0.0}, {200.0}, {200.0 * std::sqrt(3.0)}, {1.9}};
  // 1e-4 m/s: the solver's root tolerance of 1e-5 m/s with room.
  EXPECT_LT(evaluator.misfit(halfSpace), 1e-4);
}

}  // namespace

namespace {

// 6 m of 353 m/s over 4.5 m of 150 m/s over 2.8 m of 104 m/s over a
// 400 m/s half-space, Vp = 3 Vs, 1.9 g/cm3: the stiff crust over soft layers
// a search fitting a soft site by the lowest roots chose.
TrialModel stiffOverSoft() {
  return {{6.0, 4.5, 2.8, 0.0},
          {353.0, 150.0, 104.0, 400.0},
          {1059.0, 450.0, 312.0, 1200.0},
          {1.9, 1.9, 1.9, 1.9}};
}

// A field curve of the kind that model fitted: the lowest roots of the model
// at 24 frequencies from 80 down to 5 Hz, a band of +-1 % at each point. At
// the short wavelengths they are modes trapped in the buried soft layers
// (107 to 150 m/s), which is what a soft site's curve shows there.
std::vector<MeasuredPoint> lowestRootCurve(const TrialModel& model) {
  std::vector<double> hz;
  for (int i = 23; i >= 0; --i) hz.push_back(5.0 * std::pow(16.0, i / 23.0));
  std::vector<MeasuredPoint> points;
  for (std::size_t j = 0; j < hz.size(); ++j) {
    points.push_back({hz[j], 1.0, std::nullopt, static_cast<int>(j + 1)});
  }
  const CurveMisfit plain(points, {swcore::ForwardRule::lowestRoot});
  MisfitEvaluator evaluator(plain);
  const std::span<const double> c = evaluator.curveOf(model);
  for (std::size_t j = 0; j < points.size(); ++j) {
    points[j].velocity = c[j];
    points[j].band = VelocityBand{0.99 * c[j], 1.01 * c[j]};
  }
  return points;
}

TEST(CurveMisfit, StiffCrustNoLongerFitsTheSoftCurveItsBuriedModesMatch) {
  const std::vector<MeasuredPoint> points = lowestRootCurve(stiffOverSoft());
  ASSERT_LT(points.front().velocity, 110.0);  // 80 Hz: a mode trapped in the 104 m/s layer
  // Under the lowest root the model lies on the curve: misfit 0, inside the
  // band everywhere.
  const CurveMisfit lowest(points, {swcore::ForwardRule::lowestRoot});
  MisfitEvaluator lowestEvaluator(lowest);
  EXPECT_LT(lowestEvaluator.misfit(stiffOverSoft()), 1e-6);
  // Under the default rule its curve at the short wavelengths is what a
  // surface array would record of it, the crust's Rayleigh wave near
  // 330 m/s: far outside a band of 1 %.
  const CurveMisfit observed(points);
  ASSERT_EQ(observed.rule().rule, swcore::ForwardRule::surfaceObserved);
  MisfitEvaluator evaluator(observed);
  const double misfit = evaluator.misfit(stiffOverSoft());
  EXPECT_GT(misfit, 10.0);
  const std::span<const int> modes = evaluator.modesOf();
  EXPECT_GT(modes.front(), 0);  // 80 Hz
  int outside = 0;
  const std::span<const double> curve = evaluator.curveOf(stiffOverSoft());
  for (std::size_t j = 0; j < points.size(); ++j) {
    outside += points[j].band->contains(curve[j]) ? 0 : 1;
  }
  EXPECT_GT(outside, 8);

  // A soft site whose layers stiffen downward keeps its fit: its
  // surface-observed fundamental is its fundamental mode.
  const TrialModel soft{{2.0, 4.0, 8.0, 0.0},
                        {120.0, 146.0, 180.0, 300.0},
                        {360.0, 438.0, 540.0, 900.0},
                        {1.9, 1.9, 1.9, 1.9}};
  const std::vector<MeasuredPoint> softPoints = lowestRootCurve(soft);
  const CurveMisfit softCurve(softPoints);
  MisfitEvaluator softEvaluator(softCurve);
  // 1e-4: computeModes' zeros, within 1e-5 m/s as compute's, over a band of
  // about 1.2 m/s.
  EXPECT_LT(softEvaluator.misfit(soft), 1e-4);
}

TEST(CurveMisfit, PointsThatNameTheirModeAreFittedByThatMode) {
  // The stiff crust over soft layers at 40 and 20 Hz carries modes 0 to 2
  // (dispfit-curve --modes 3): points that are its mode 1 and mode 2 there
  // fit it exactly when they say so, under either rule.
  const TrialModel model = stiffOverSoft();
  const std::vector<double> hz{40.0, 40.0, 20.0};
  const int modes[] = {1, 2, 1};
  std::vector<MeasuredPoint> points;
  for (std::size_t j = 0; j < hz.size(); ++j) {
    points.push_back({hz[j], 1.0, std::nullopt, static_cast<int>(j + 2), modes[j]});
  }
  {
    const CurveMisfit named(points, {swcore::ForwardRule::lowestRoot});
    MisfitEvaluator evaluator(named);
    const std::vector<double> c(evaluator.curveOf(model).begin(), evaluator.curveOf(model).end());
    ASSERT_EQ(c.size(), 3u);
    EXPECT_EQ(std::vector<int>(evaluator.modesOf().begin(), evaluator.modesOf().end()),
              (std::vector<int>{1, 2, 1}));
    for (std::size_t j = 0; j < points.size(); ++j) points[j].velocity = c[j];
    // Modes of one frequency are distinct zeros, each above the last.
    EXPECT_GT(c[1], c[0]);
  }
  for (const swcore::ForwardRule rule :
       {swcore::ForwardRule::lowestRoot, swcore::ForwardRule::surfaceObserved}) {
    SCOPED_TRACE(swcore::ruleName(rule));
    const CurveMisfit named(points, {rule});
    MisfitEvaluator evaluator(named);
    EXPECT_LT(evaluator.misfit(model), 1e-9);
  }
  // Unnamed, the rule's choice at each point fits neither velocity of 40 Hz.
  std::vector<MeasuredPoint> unnamed = points;
  for (MeasuredPoint& point : unnamed) point.mode.reset();
  const CurveMisfit rule(unnamed, {swcore::ForwardRule::lowestRoot});
  MisfitEvaluator ruleEvaluator(rule);
  EXPECT_GT(ruleEvaluator.misfit(model), 10.0);
  // A mode the model does not carry there has no root: the model is
  // rejected. At 5 Hz the model carries only its fundamental.
  std::vector<MeasuredPoint> absent = points;
  absent.push_back({5.0, 300.0, std::nullopt, 5, 1});
  const CurveMisfit absentCurve(absent);
  MisfitEvaluator absentEvaluator(absentCurve);
  EXPECT_EQ(absentEvaluator.misfit(model), std::numeric_limits<double>::infinity());
}

}  // namespace
