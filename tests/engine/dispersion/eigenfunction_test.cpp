// SPDX-License-Identifier: GPL-3.0-or-later
// The motion of a mode against depth: against closed forms (the Rayleigh
// wave of a half-space, a Love wave in a layer over a half-space, both
// worked below), against the boundary conditions (no traction at the free
// surface, displacement and traction continuous at every interface), and its
// energy integrals against the group velocity of the curve solver and
// against Rayleigh's principle.
#include "dispersion/eigenfunction.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <random>
#include <vector>

#include "test_models.h"

namespace {

using swcore::CurveKind;
using swcore::CurvePoint;
using swcore::Eigenfunction;
using swcore::ModelLayer;
using swcore::WaveType;

constexpr double kTwoPi = 2.0 * std::numbers::pi;

const char* nameOf(WaveType wave) {
  return wave == WaveType::love ? "Love" : "Rayleigh";
}

// The lowest `modes` modes at one frequency.
std::vector<CurvePoint> modesAt(const std::vector<ModelLayer>& model, WaveType wave, double hz,
                                int modes) {
  swcore::DispersionCurveSolver solver;
  std::vector<CurvePoint> out(static_cast<std::size_t>(modes));
  EXPECT_EQ(solver.computeModes(model, std::vector<double>{hz},
                                {wave, modes, CurveKind::phaseAndGroup}, out),
            swcore::CurveStatus::ok);
  return out;
}

TEST(Eigenfunction, HalfSpaceRayleighWaveDecaysAsItsClosedForm) {
  // From the potentials phi = e^{-k ra z}, psi = i b e^{-k rb z} and no shear
  // traction at z = 0: b = -2 ra / (1 + rb^2), and
  // r1 ~ e^{-k ra z} + rb b e^{-k rb z}, r2 ~ ra e^{-k ra z} + b e^{-k rb z}
  // (ra, rb = sqrt(1 - c^2/alpha^2), sqrt(1 - c^2/beta^2)).
  const std::vector<ModelLayer> model{{1.0, 300.0, 2000.0, 600.0}};
  const double hz = 25.0;
  const CurvePoint mode = modesAt(model, WaveType::rayleigh, hz, 1)[0];
  Eigenfunction e;
  ASSERT_EQ(e.compute(model, WaveType::rayleigh, hz, mode.phaseVelocity),
            Eigenfunction::Status::ok);
  const double c = e.phaseVelocity();
  const double k = kTwoPi * hz / c;
  const double ra = std::sqrt(1.0 - c * c / (600.0 * 600.0));
  const double rb = std::sqrt(1.0 - c * c / (300.0 * 300.0));
  const double b = -2.0 * ra / (1.0 + rb * rb);
  const auto r1 = [&](double z) { return std::exp(-k * ra * z) + rb * b * std::exp(-k * rb * z); };
  const auto r2 = [&](double z) { return ra * std::exp(-k * ra * z) + b * std::exp(-k * rb * z); };
  // Normalised as the eigenfunction is: the larger surface displacement 1.
  const double norm = std::abs(r1(0.0)) >= std::abs(r2(0.0)) ? r1(0.0) : r2(0.0);
  for (const double z : {0.0, 1.0, 3.7, 10.0, 25.0, 60.0}) {
    SCOPED_TRACE(::testing::Message() << z << " m");
    const swcore::MotionAt m = e.at(z);
    EXPECT_NEAR(m.values[0], r1(z) / norm, 1e-10);
    EXPECT_NEAR(m.values[1], r2(z) / norm, 1e-10);
  }
}

TEST(Eigenfunction, LoveWaveInALayerOverAHalfSpaceIsACosineOverAnExponential) {
  // 10 m of 200 m/s (1800) over 400 m/s (2000): with no traction at z = 0,
  // l1 = cos(k s1 z) in the layer (s1 = sqrt(c^2/b1^2 - 1)) and
  // cos(k s1 h) e^{-k r2 (z - h)} below it (r2 = sqrt(1 - c^2/b2^2));
  // l2 = mu l1'.
  const std::vector<ModelLayer> model{{10.0, 200.0, 1800.0}, {1.0, 400.0, 2000.0}};
  const double hz = 30.0;
  const std::vector<CurvePoint> modes = modesAt(model, WaveType::love, hz, 3);
  for (std::size_t k = 0; k < 3; ++k) {
    SCOPED_TRACE(::testing::Message() << "mode " << k);
    ASSERT_TRUE(modes[k].hasRoot);
    Eigenfunction e;
    ASSERT_EQ(e.compute(model, WaveType::love, hz, modes[k].phaseVelocity),
              Eigenfunction::Status::ok);
    const double c = e.phaseVelocity();
    const double wavenumber = kTwoPi * hz / c;
    const double s1 = std::sqrt(c * c / (200.0 * 200.0) - 1.0);
    const double r2 = std::sqrt(1.0 - c * c / (400.0 * 400.0));
    const double mu1 = 1800.0 * 200.0 * 200.0;
    const double mu2 = 2000.0 * 400.0 * 400.0;
    for (const double z : {0.0, 2.5, 7.0, 10.0, 14.0, 40.0}) {
      SCOPED_TRACE(::testing::Message() << z << " m");
      const double l1 =
          z <= 10.0 ? std::cos(wavenumber * s1 * z)
                    : std::cos(wavenumber * s1 * 10.0) * std::exp(-wavenumber * r2 * (z - 10.0));
      const double l2 = z <= 10.0 ? -mu1 * wavenumber * s1 * std::sin(wavenumber * s1 * z)
                                  : -mu2 * wavenumber * r2 * l1;
      const swcore::MotionAt m = e.at(z);
      EXPECT_NEAR(m.values[0], l1, 1e-9);
      // Tractions in Pa for 1 m: the scale mu k is about 4e7 Pa here.
      EXPECT_NEAR(m.values[1], l2, 1e-9 * mu2 * wavenumber);
    }
  }
}

// Models the field meets (m, m/s, kg/m3, m/s), and random ones.
std::vector<std::vector<ModelLayer>> someModels() {
  std::vector<std::vector<ModelLayer>> models{
      {{5.0, 200.0, 1800.0}, {10.0, 400.0, 2000.0}, {1.0, 800.0, 2200.0}},
      {{4.0, 400.0, 2000.0}, {12.0, 180.0, 1800.0}, {1.0, 700.0, 2200.0}},
      {{3.0, 250.0, 1900.0}, {5.0, 120.0, 1700.0}, {10.0, 350.0, 2000.0}, {1.0, 600.0, 2100.0}},
      {{5.0, 150.0, 1900.0, 1500.0}, {15.0, 250.0, 2000.0, 1600.0}, {1.0, 500.0, 2100.0, 1800.0}},
  };
  std::mt19937_64 rng(6131);
  for (int i = 0; i < 12; ++i) {
    models.push_back(dispfit_test::randomVariedModel(rng));
  }
  return models;
}

TEST(Eigenfunction, NoTractionAtTheSurfaceAndContinuityAtEveryInterface) {
  int checked = 0;
  for (const std::vector<ModelLayer>& model : someModels()) {
    for (const WaveType wave : {WaveType::rayleigh, WaveType::love}) {
      for (const double hz : {6.0, 35.0, 120.0}) {
        const std::vector<CurvePoint> modes = modesAt(model, wave, hz, 3);
        for (std::size_t k = 0; k < 3; ++k) {
          if (!modes[k].hasRoot) {
            continue;
          }
          SCOPED_TRACE(::testing::Message() << nameOf(wave) << ", " << model.size() << " layers, "
                                            << hz << " Hz, mode " << k);
          Eigenfunction e;
          ASSERT_EQ(e.compute(model, wave, hz, modes[k].phaseVelocity), Eigenfunction::Status::ok);
          const std::vector<double> interfaces = e.interfaceDepths();
          // The scales of the motion: its largest displacement and traction
          // anywhere (at the interfaces and on a grid down to twice the
          // deepest interface and a wavelength below it).
          std::vector<double> depths = interfaces;
          const double bottom =
              (interfaces.empty() ? 0.0 : 2.0 * interfaces.back()) + e.phaseVelocity() / hz;
          for (int i = 0; i <= 200; ++i) {
            depths.push_back(bottom * i / 200.0);
          }
          const int tractions = wave == WaveType::love ? 1 : 2;
          double displacement = 0.0;
          double traction = 0.0;
          for (const double z : depths) {
            const swcore::MotionAt m = e.at(z);
            const int first = wave == WaveType::love ? 1 : 2;
            for (int i = 0; i < first; ++i) {
              displacement = std::max(displacement, std::abs(m.values[i]));
            }
            for (int i = first; i < first + tractions; ++i) {
              traction = std::max(traction, std::abs(m.values[i]));
            }
          }
          if (!std::isfinite(displacement) || !std::isfinite(traction)) {
            continue;  // a mode trapped too deep for its motion to be written
          }
          // Rounding of the motion's largest parts, left where the mode is
          // small: 1e-9 of each scale.
          const swcore::MotionAt surface = e.at(0.0);
          const int firstTraction = wave == WaveType::love ? 1 : 2;
          for (int i = firstTraction; i < firstTraction + tractions; ++i) {
            EXPECT_LT(std::abs(surface.values[i]), 1e-9 * traction) << "traction " << i;
          }
          for (const double z : interfaces) {
            const swcore::MotionAt above = e.at(z * (1.0 - 1e-13));
            const swcore::MotionAt below = e.at(z * (1.0 + 1e-13));
            for (int i = 0; i < firstTraction + tractions; ++i) {
              const double scale = i < firstTraction ? displacement : traction;
              EXPECT_NEAR(above.values[i], below.values[i], 1e-9 * scale)
                  << "at " << z << " m, part " << i;
            }
          }
          ++checked;
        }
      }
    }
  }
  EXPECT_GT(checked, 150);
}

TEST(Eigenfunction, EnergyIntegralsGiveTheGroupVelocityAndMeetRayleighsPrinciple) {
  int checked = 0;
  double worst = 0.0;
  for (const std::vector<ModelLayer>& model : someModels()) {
    for (const WaveType wave : {WaveType::rayleigh, WaveType::love}) {
      for (const double hz : {4.0, 15.0, 50.0, 140.0}) {
        const std::vector<CurvePoint> modes = modesAt(model, wave, hz, 3);
        for (std::size_t k = 0; k < 3; ++k) {
          if (!modes[k].hasRoot || !std::isfinite(modes[k].groupVelocity)) {
            continue;
          }
          SCOPED_TRACE(::testing::Message() << nameOf(wave) << ", " << model.size() << " layers, "
                                            << hz << " Hz, mode " << k);
          Eigenfunction e;
          ASSERT_EQ(e.compute(model, wave, hz, modes[k].phaseVelocity), Eigenfunction::Status::ok);
          const swcore::EnergyIntegrals i = e.integrals();
          if (!std::isfinite(i.i1) || !(i.i1 > 0.0)) {
            continue;  // trapped too deep for the surface normalisation
          }
          // 1e-6 relative: the quadrature and the slope of the zeros are both
          // good to about 1e-8.
          const double u = modes[k].groupVelocity;
          EXPECT_NEAR(e.groupVelocity(), u, 1e-6 * u);
          worst = std::max(worst, std::abs(e.groupVelocity() - u) / u);
          // w^2 I1 = k^2 I2 + k I3 + I4 (Love: k^2 I2 + I3) at a mode, to the
          // quadrature's rounding.
          const double omega = kTwoPi * hz;
          const double wavenumber = omega / e.phaseVelocity();
          const double kinetic = omega * omega * i.i1;
          const double potential = wave == WaveType::love
                                       ? wavenumber * wavenumber * i.i2 + i.i3
                                       : wavenumber * wavenumber * i.i2 + wavenumber * i.i3 + i.i4;
          EXPECT_NEAR(potential, kinetic, 1e-9 * kinetic);
          ++checked;
        }
      }
    }
  }
  std::printf("%d modes, group velocities within %.1e\n", checked, worst);
  EXPECT_GT(checked, 200);
}

TEST(Eigenfunction, RefusesABadModelAndAVelocityThatIsNoZero) {
  Eigenfunction e;
  const std::vector<ModelLayer> bad{{0.0, 200.0, 1800.0}, {1.0, 400.0, 2000.0}};
  EXPECT_EQ(e.compute(bad, WaveType::rayleigh, 10.0, 300.0), Eigenfunction::Status::badModel);
  const std::vector<ModelLayer> good{{5.0, 200.0, 1800.0}, {1.0, 400.0, 2000.0}};
  EXPECT_EQ(e.compute(good, WaveType::rayleigh, -1.0, 300.0), Eigenfunction::Status::badModel);
  const CurvePoint mode = modesAt(good, WaveType::rayleigh, 20.0, 1)[0];
  EXPECT_EQ(e.compute(good, WaveType::rayleigh, 20.0, mode.phaseVelocity * 1.01),
            Eigenfunction::Status::noRoot);
  EXPECT_EQ(e.compute(good, WaveType::rayleigh, 20.0, mode.phaseVelocity),
            Eigenfunction::Status::ok);
}

}  // namespace
