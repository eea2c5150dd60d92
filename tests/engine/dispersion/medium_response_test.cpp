// SPDX-License-Identifier: GPL-3.0-or-later
// The vertical surface response of each Rayleigh mode to a vertical force at
// the surface, and the forward rules built on it: the response against
// Lamb's closed form for a half-space and against the residues of the
// independent determinant's surface response (worked below); the rules
// against the curve solver and against a stiff crust over a soft layer.
#include "dispersion/medium_response.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <numbers>
#include <random>
#include <span>
#include <string>
#include <vector>

#include "dispersion/observed_curve.h"
#include "layered_determinant.h"
#include "test_models.h"

namespace {

using swcore::CurveKind;
using swcore::CurvePoint;
using swcore::Eigenfunction;
using swcore::ForwardRule;
using swcore::ForwardRuleSettings;
using swcore::ModelLayer;
using swcore::ObservedPoint;
using swcore::WaveType;

constexpr double kPi = std::numbers::pi;

std::vector<CurvePoint> rayleighModes(const std::vector<ModelLayer>& model, double hz, int modes) {
  swcore::DispersionCurveSolver solver;
  std::vector<CurvePoint> out(static_cast<std::size_t>(modes));
  EXPECT_EQ(solver.computeModes(model, std::vector<double>{hz}, {WaveType::rayleigh, modes}, out),
            swcore::CurveStatus::ok);
  return out;
}

double responseOf(const std::vector<ModelLayer>& model, double hz, double c) {
  Eigenfunction e;
  EXPECT_EQ(e.compute(model, WaveType::rayleigh, hz, c), Eigenfunction::Status::ok);
  return swcore::verticalSurfaceResponse(e, hz);
}

TEST(MediumResponse, HalfSpaceMatchesLambsRayleighPole) {
  // A vertical surface traction p e^{ikx} on a half-space moves its surface by
  // u_z = p k_b^2 n_a / (mu F(k)), F = (2k^2 - k_b^2)^2 - 4 k^2 n_a n_b,
  // n = sqrt(k^2 - k_v^2), k_v = omega / v (Lamb; Aki & Richards, ch. 7).
  // The pole at the Rayleigh wavenumber k_R gives, far from a point force,
  // |u_z| = 1/2 k_R |Res| sqrt(2 / (pi k_R r)), Res = k_b^2 n_a / (mu F'(k_R)).
  const double beta = 300.0, alpha = 600.0, rho = 2000.0;
  const std::vector<ModelLayer> model{{1.0, beta, rho, alpha}};
  for (const double hz : {2.0, 10.0, 45.0}) {
    SCOPED_TRACE(::testing::Message() << hz << " Hz");
    const CurvePoint mode = rayleighModes(model, hz, 1)[0];
    const double omega = 2.0 * kPi * hz;
    const double k = omega / mode.phaseVelocity;
    const double kb = omega / beta, ka = omega / alpha;
    const double na = std::sqrt(k * k - ka * ka), nb = std::sqrt(k * k - kb * kb);
    const double g = 2.0 * k * k - kb * kb;
    const double slope =
        8.0 * k * g - 8.0 * k * na * nb - 4.0 * k * k * (k * nb / na + na * k / nb);
    const double residue = kb * kb * na / (rho * beta * beta * std::abs(slope));
    const double expected = 0.5 * k * residue * std::sqrt(2.0 / (kPi * k));
    // 1e-6: the root's tolerance (1e-5 m/s) moves k and F' by about that.
    EXPECT_NEAR(responseOf(model, hz, mode.phaseVelocity), expected, 1e-6 * expected);
  }
}

TEST(MediumResponse, ModesCompareAsTheResiduesOfTheIndependentDeterminant) {
  // The surface displacement of a unit normal traction at wavenumber k is
  // -WT / TS of the independent determinant's surface minors; near mode n it
  // is Res_n / (k - k_n), and the mode's response is 1/2 k_n |Res_n|
  // sqrt(2 / (pi k_n)), in the determinant's units. Its ratios between modes
  // are the responses' ratios whatever the units. Carried up from the
  // half-space only, the minors stand for a mode only where it does not
  // decay toward the surface: a model whose layers stiffen downward.
  const std::vector<ModelLayer> model{
      {5.0, 200.0, 1800.0}, {10.0, 400.0, 2000.0}, {1.0, 800.0, 2200.0}};
  int compared = 0;
  for (const double hz : {10.0, 30.0, 80.0}) {
    const std::vector<CurvePoint> modes = rayleighModes(model, hz, 4);
    const double omega = 2.0 * kPi * hz;
    const dispfit_test::LayeredDeterminant det(dispfit_test::layersFor(model), omega);
    const auto residueForm = [&](double c) {
      const double k = omega / (c / 1000.0);
      const double dk = 1e-6 * k;
      const auto inverse = [&](double kk) {
        const std::array<double, 6> y = det.surfaceMinors(omega / kk);
        return -y[5] / y[3];
      };
      const double residue = 2.0 * dk / (inverse(k + dk) - inverse(k - dk));
      return 0.5 * k * std::abs(residue) * std::sqrt(2.0 / (kPi * k));
    };
    const double reference = residueForm(modes[0].phaseVelocity);
    const double ours = responseOf(model, hz, modes[0].phaseVelocity);
    for (std::size_t n = 1; n < modes.size(); ++n) {
      if (!modes[n].hasRoot) continue;
      SCOPED_TRACE(::testing::Message() << hz << " Hz, mode " << n);
      const double expected = residueForm(modes[n].phaseVelocity) / reference;
      const double ratio = responseOf(model, hz, modes[n].phaseVelocity) / ours;
      // 1e-5: the differences over 1e-6 of k and the roots' tolerance. A
      // mode a thousand times weaker at the surface than the fundamental
      // (one at 30 Hz is 2e-6 of it) is carried up by the determinant with
      // the rounding of the stronger motions: 1e-2 there.
      EXPECT_NEAR(ratio, expected, (expected > 1e-3 ? 1e-5 : 1e-2) * expected);
      ++compared;
    }
  }
  EXPECT_GE(compared, 6);
}

TEST(MediumResponse, CoarseSubLayersGiveTheFineResponses) {
  // The rule reads each mode's response from sub-layers four times as thick
  // as the fine ones and the curve solver's root as it is: over random
  // models, thick layers at high frequencies among them (a sub-layer's phase
  // up to 8), the responses of modes 0-4 stay within 1e-3 of the fine ones,
  // far inside the share of 10 % they are compared at. (6e-4 at the worst,
  // modes of 140 Hz whose motion grows steeply with depth, where the root's
  // 1e-5 m/s moves the motion; from the fine zero the thicker sub-layers
  // alone give 7e-5.)
  std::mt19937_64 rng(20261210);
  int compared = 0;
  double worst = 0.0;
  for (int trial = 0; trial < 24; ++trial) {
    const std::vector<ModelLayer> model = dispfit_test::randomVariedModel(rng);
    for (const double hz : {5.0, 30.0, 140.0}) {
      const std::vector<CurvePoint> modes = rayleighModes(model, hz, 5);
      for (std::size_t n = 0; n < modes.size(); ++n) {
        if (!modes[n].hasRoot) continue;
        SCOPED_TRACE(::testing::Message() << "model " << trial << ", " << hz << " Hz, mode " << n);
        Eigenfunction fine;
        Eigenfunction coarse;
        ASSERT_EQ(fine.compute(model, WaveType::rayleigh, hz, modes[n].phaseVelocity),
                  Eigenfunction::Status::ok);
        ASSERT_EQ(coarse.compute(model, WaveType::rayleigh, hz, modes[n].phaseVelocity,
                                 Eigenfunction::Resolution::coarse),
                  Eigenfunction::Status::ok);
        const double expected = swcore::verticalSurfaceResponse(fine, hz);
        if (!(expected > 0.0)) continue;  // trapped too deep for the surface normalisation
        const double response = swcore::verticalSurfaceResponse(coarse, hz);
        EXPECT_NEAR(response, expected, 1e-3 * expected);
        worst = std::max(worst, std::abs(response - expected) / expected);
        ++compared;
      }
    }
  }
  std::printf("%d modes, coarse responses within %.1e of the fine ones\n", compared, worst);
  EXPECT_GT(compared, 150);
}

// 6 m of 353 m/s over 4.5 m of 150 m/s over 2.8 m of 104 m/s over 400 m/s:
// a stiff crust over ever softer layers, as a search fitting a soft site by
// its lowest roots can find.
std::vector<ModelLayer> stiffOverSoft() {
  return {{6.0, 353.0, 1900.0}, {4.5, 150.0, 1900.0}, {2.8, 104.0, 1900.0}, {1.0, 400.0, 1900.0}};
}

TEST(MediumResponse, AModeTrappedUnderAStiffCrustBarelyMovesTheSurface) {
  // At 80 Hz the lowest root lies just above the 104 m/s layer's velocity,
  // trapped 10.5 m down under 6 m of 353 m/s, where its motion decays as
  // e^{-k h r} with k h r near 7 in the crust alone: against the modes that
  // reach the surface its response is below one part in 10^4.
  const std::vector<CurvePoint> modes = rayleighModes(stiffOverSoft(), 80.0, 5);
  ASSERT_TRUE(modes[4].hasRoot);
  EXPECT_LT(modes[0].phaseVelocity, 110.0);
  double largest = 0.0;
  for (const CurvePoint& m : modes) {
    largest = std::max(largest, responseOf(stiffOverSoft(), 80.0, m.phaseVelocity));
  }
  EXPECT_LT(responseOf(stiffOverSoft(), 80.0, modes[0].phaseVelocity), 1e-4 * largest);
}

std::vector<double> logFrequencies() {
  std::vector<double> hz;
  for (double f = 80.0; f >= 5.0; f /= 1.15) hz.push_back(f);
  return hz;
}

TEST(ObservedCurve, LowestRootIsTheCurveSolversFundamentalBitForBit) {
  std::mt19937_64 rng(1234);
  for (int i = 0; i < 10; ++i) {
    const std::vector<ModelLayer> model = dispfit_test::randomVariedModel(rng);
    const std::vector<double> hz = logFrequencies();
    std::vector<CurvePoint> fundamental(hz.size());
    swcore::DispersionCurveSolver solver;
    ASSERT_EQ(solver.compute(model, hz, CurveKind::phase, fundamental), swcore::CurveStatus::ok);
    swcore::ObservedCurveSolver observed;
    std::vector<ObservedPoint> out(hz.size());
    ASSERT_EQ(observed.compute(model, hz, {ForwardRule::lowestRoot}, out), swcore::CurveStatus::ok);
    for (std::size_t j = 0; j < hz.size(); ++j) {
      ASSERT_EQ(out[j].hasRoot, fundamental[j].hasRoot);
      EXPECT_TRUE(dispfit_test::sameBits(out[j].phaseVelocity, fundamental[j].phaseVelocity));
      EXPECT_EQ(out[j].mode, fundamental[j].hasRoot ? 0 : -1);
    }
  }
}

TEST(ObservedCurve, SurfaceObservedTakesTheModeASurfaceArrayRecords) {
  const std::vector<double> hz = logFrequencies();
  swcore::ObservedCurveSolver solver;
  std::vector<ObservedPoint> lowest(hz.size()), observed(hz.size());
  ASSERT_EQ(solver.compute(stiffOverSoft(), hz, {ForwardRule::lowestRoot}, lowest),
            swcore::CurveStatus::ok);
  ASSERT_EQ(solver.compute(stiffOverSoft(), hz, {}, observed), swcore::CurveStatus::ok);
  int higher = 0;
  for (std::size_t j = 0; j < hz.size(); ++j) {
    SCOPED_TRACE(::testing::Message() << hz[j] << " Hz");
    ASSERT_TRUE(observed[j].hasRoot);
    // Never below the lowest root; above 40 Hz (wavelengths under 3 m,
    // inside the crust and the layer below it) a mode that reaches the
    // surface, faster than the soft layers' trapped modes; above 55 Hz the
    // crust's own Rayleigh wave, near 0.93 of its 353 m/s (mode 9 of 12 at
    // 80 Hz).
    EXPECT_GE(observed[j].phaseVelocity, lowest[j].phaseVelocity - 1e-4);
    if (hz[j] > 40.0) {
      EXPECT_GT(observed[j].mode, 0);
      EXPECT_GT(observed[j].phaseVelocity, 150.0);
    }
    if (hz[j] > 55.0) {
      EXPECT_NEAR(observed[j].phaseVelocity, 0.95 * 353.0, 0.05 * 353.0);
    }
    higher += observed[j].mode > 0 ? 1 : 0;
  }
  EXPECT_GT(higher, 5);

  // A soft site whose layers stiffen downward: its surface-observed
  // fundamental is its fundamental mode throughout.
  const std::vector<ModelLayer> soft{
      {2.0, 120.0, 1900.0}, {4.0, 146.0, 1900.0}, {8.0, 180.0, 1900.0}, {1.0, 300.0, 1900.0}};
  ASSERT_EQ(solver.compute(soft, hz, {}, observed), swcore::CurveStatus::ok);
  for (const ObservedPoint& p : observed) {
    EXPECT_EQ(p.mode, 0);
  }
}

TEST(ObservedCurve, TheShareDecidesBetweenTheModes) {
  // At 80 Hz on the stiff crust: a share of 1 takes the mode of the largest
  // response, a share below the trapped lowest root's (about 3e-37 of the
  // largest) the lowest root, 10 % the lowest mode with a tenth of the
  // largest.
  const std::vector<double> hz{80.0};
  swcore::ObservedCurveSolver solver;
  std::vector<ObservedPoint> out(1);
  ASSERT_EQ(solver.compute(stiffOverSoft(), hz, {ForwardRule::surfaceObserved, 1.0}, out),
            swcore::CurveStatus::ok);
  const std::span<const double> responses = solver.lastResponses();
  const auto largest = std::max_element(responses.begin(), responses.end()) - responses.begin();
  EXPECT_EQ(out[0].mode, largest);
  ASSERT_EQ(solver.compute(stiffOverSoft(), hz, {ForwardRule::surfaceObserved, 1e-40}, out),
            swcore::CurveStatus::ok);
  EXPECT_EQ(out[0].mode, 0);
  ASSERT_EQ(solver.compute(stiffOverSoft(), hz, {}, out), swcore::CurveStatus::ok);
  const std::span<const double> again = solver.lastResponses();
  for (int k = 0; k < out[0].mode; ++k) {
    EXPECT_LT(again[static_cast<std::size_t>(k)], 0.1 * again[static_cast<std::size_t>(largest)]);
  }
  EXPECT_GE(again[static_cast<std::size_t>(out[0].mode)],
            0.1 * again[static_cast<std::size_t>(largest)]);
}

TEST(ObservedCurve, NamedModesAreTakenWhateverTheRule) {
  const std::vector<ModelLayer> model{
      {5.0, 200.0, 1800.0}, {10.0, 400.0, 2000.0}, {1.0, 800.0, 2200.0}};
  const std::vector<double> hz{60.0, 30.0, 10.0, 4.0};
  const std::vector<int> named{swcore::kAnyMode, 2, 1, 1};
  swcore::DispersionCurveSolver solver;
  std::vector<CurvePoint> modes(hz.size() * 3);
  ASSERT_EQ(solver.computeModes(model, hz, {WaveType::rayleigh, 3}, modes),
            swcore::CurveStatus::ok);
  for (const ForwardRule rule : {ForwardRule::lowestRoot, ForwardRule::surfaceObserved}) {
    SCOPED_TRACE(swcore::ruleName(rule));
    swcore::ObservedCurveSolver observed;
    std::vector<ObservedPoint> out(hz.size());
    ASSERT_EQ(observed.computeWithModes(model, hz, named, {rule}, out), swcore::CurveStatus::ok);
    EXPECT_EQ(out[0].mode, 0);  // the rule's: the fundamental dominates there
    EXPECT_EQ(out[1].mode, 2);
    EXPECT_NEAR(out[1].phaseVelocity, modes[1 * 3 + 2].phaseVelocity, 1e-9);
    EXPECT_EQ(out[2].mode, 1);
    EXPECT_NEAR(out[2].phaseVelocity, modes[2 * 3 + 1].phaseVelocity, 1e-9);
    // Mode 1 does not exist at 4 Hz: no root there.
    ASSERT_FALSE(modes[3 * 3 + 1].hasRoot);
    EXPECT_FALSE(out[3].hasRoot);
    EXPECT_EQ(out[3].mode, -1);
  }
  swcore::ObservedCurveSolver observed;
  std::vector<ObservedPoint> out(hz.size());
  EXPECT_EQ(observed.computeWithModes(model, hz, std::vector<int>{0, 1}, {}, out),
            swcore::CurveStatus::outputSizeMismatch);
  EXPECT_EQ(observed.computeWithModes(model, hz, std::vector<int>{0, 1, -2, 0}, {}, out),
            swcore::CurveStatus::badModeCount);
}

TEST(ObservedCurve, SettingsOutsideTheirRangesAreRefusedAndTheRuleIsNamed) {
  EXPECT_EQ(swcore::ruleSettingsFault({}), "");
  EXPECT_NE(swcore::ruleSettingsFault({ForwardRule::surfaceObserved, 0.0, 5}), "");
  EXPECT_NE(swcore::ruleSettingsFault({ForwardRule::surfaceObserved, 1.5, 5}), "");
  EXPECT_NE(swcore::ruleSettingsFault({ForwardRule::surfaceObserved, 0.1, 0}), "");
  EXPECT_NE(swcore::describeRule({}).find("10 %"), std::string::npos);
  EXPECT_NE(swcore::describeRule({}).find("all modes below"), std::string::npos);
  EXPECT_NE(swcore::describeRule({ForwardRule::surfaceObserved, 0.25, 5}).find("modes 0-4"),
            std::string::npos);
  EXPECT_NE(swcore::describeRule({ForwardRule::lowestRoot}).find("lowest root"), std::string::npos);
}

}  // namespace
