// SPDX-License-Identifier: GPL-3.0-or-later
// The chart's lines of a model's higher Rayleigh and Love modes, and the
// Rayleigh modes from the fundamental up drawn over a dispersion image.
#include "inversion/model_mode_lines.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

using dispfit::ModeLine;

// 10 m of 200 m/s (1.8 g/cm3) over 400 m/s (2.0 g/cm3).
const std::vector<float> kThickness = {10.0f, 0.0f};
const std::vector<float> kVs = {200.0f, 400.0f};
const std::vector<float> kDensity = {1.8f, 2.0f};

// Love waves in a layer over a half-space: c is a mode where
// tan(k h s1) = mu2 s2 / (mu1 s1), s1 = sqrt(c^2 / b1^2 - 1),
// s2 = sqrt(1 - c^2 / b2^2), k = 2 pi f / c. Returned: k h s1 less the
// arctangent, taken modulo pi, so that every mode gives 0.
double loveResidual(double f, double c) {
  const double kPi = 3.141592653589793;
  const double s1 = std::sqrt(c * c / (200.0 * 200.0) - 1.0);
  const double s2 = std::sqrt(1.0 - c * c / (400.0 * 400.0));
  const double mu1 = 1800.0 * 200.0 * 200.0;
  const double mu2 = 2000.0 * 400.0 * 400.0;
  const double phase = 2.0 * kPi * f / c * 10.0 * s1 - std::atan(mu2 * s2 / (mu1 * s1));
  return std::remainder(phase, kPi);
}

TEST(ModelModeLines, HigherRayleighModesThenLoveModesEachWhereItExists) {
  // Love mode n starts where k h sqrt(1/b1^2 - 1/b2^2) reaches n pi at
  // c = b2: n x 11.547 Hz. So at 5, 15 and 30 Hz mode 0 exists at all
  // three, mode 1 at 15 and 30, mode 2 at 30 only.
  const std::vector<double> frequencies = {30.0, 15.0, 5.0};
  const std::vector<ModeLine> lines =
      dispfit::modelModeLines(kThickness, kVs, kDensity, frequencies, {3, true});
  ASSERT_EQ(lines.size(), 5u);
  for (int k = 0; k < 2; ++k) {
    SCOPED_TRACE(k);
    EXPECT_EQ(lines[k].wave, swcore::WaveType::rayleigh);
    EXPECT_EQ(lines[k].mode, k + 1);
    ASSERT_FALSE(lines[k].velocities.empty());
    for (const double c : lines[k].velocities) {
      EXPECT_GT(c, 200.0);
      EXPECT_LT(c, 400.0);
    }
  }
  const std::vector<std::vector<double>> loveFrequencies = {
      {30.0, 15.0, 5.0}, {30.0, 15.0}, {30.0}};
  for (int k = 0; k < 3; ++k) {
    SCOPED_TRACE(k);
    const ModeLine& line = lines[2 + k];
    EXPECT_EQ(line.wave, swcore::WaveType::love);
    EXPECT_EQ(line.mode, k);
    EXPECT_EQ(line.frequencies, loveFrequencies[k]);
    for (std::size_t j = 0; j < line.frequencies.size(); ++j) {
      // 1e-5 rad: the velocity lies within 1e-5 m/s of the zero, and near
      // 200 m/s at 30 Hz k h s1 moves by 0.2 rad per m/s, 2e-6 rad.
      EXPECT_NEAR(loveResidual(line.frequencies[j], line.velocities[j]), 0.0, 1e-5)
          << line.frequencies[j];
    }
    // Higher modes are faster at one frequency.
    if (k > 0) {
      EXPECT_GT(line.velocities[0], lines[1 + k].velocities[0]);
    }
  }
}

TEST(ModelModeLines, OnlyTheFundamentalAsksForNoLineAndARefusedModelGivesNone) {
  const std::vector<double> frequencies = {30.0, 5.0};
  EXPECT_TRUE(dispfit::modelModeLines(kThickness, kVs, kDensity, frequencies, {1, false}).empty());
  // Rayleigh mode 1 is not carried at 5 Hz (its cut-off lies higher); its
  // line holds 30 Hz alone.
  const std::vector<ModeLine> second =
      dispfit::modelModeLines(kThickness, kVs, kDensity, frequencies, {2, false});
  ASSERT_EQ(second.size(), 1u);
  EXPECT_EQ(second[0].frequencies, std::vector<double>{30.0});
  const std::vector<float> noThickness = {0.0f, 0.0f};
  EXPECT_TRUE(dispfit::modelModeLines(noThickness, kVs, kDensity, frequencies, {3, true}).empty());
}

// The Rayleigh velocity of a half-space of shear velocity b with Vp = 3 Vs,
// as the window holds models: x = c^2 / b^2 is the root in (0.5, 1) of
// (2 - x)^2 - 4 sqrt(1 - x / 9) sqrt(1 - x), found by bisection (the
// function is -0.50 at 0.5 and 1 at 1).
double rayleighVelocity(double b) {
  double low = 0.5, high = 1.0;
  for (int n = 0; n < 60; ++n) {
    const double x = 0.5 * (low + high);
    const double f = (2.0 - x) * (2.0 - x) - 4.0 * std::sqrt(1.0 - x / 9.0) * std::sqrt(1.0 - x);
    (f < 0.0 ? low : high) = x;
  }
  return b * std::sqrt(0.5 * (low + high));
}

TEST(RayleighModeLines, FromTheFundamentalUpItsEndsTheRayleighWavesOfTheLayerAndTheHalfSpace) {
  // At 100 Hz the fundamental's wavelength (under 2 m) is a fifth of the
  // layer's thickness and its velocity is the layer's Rayleigh velocity; at
  // 0.5 Hz its wavelength (about 740 m) is 74 layers deep and its velocity
  // the half-space's. Tolerances: 0.1 % at 100 Hz, where the half-space's
  // share falls as exp(-2 pi h / lambda), and 1 % at 0.5 Hz, where the
  // 10 m layer still slows a wave of 740 m a little.
  const std::vector<double> frequencies = {0.5, 30.0, 100.0};
  const std::vector<ModeLine> lines =
      dispfit::rayleighModeLines(kThickness, kVs, kDensity, frequencies, 3);
  ASSERT_EQ(lines.size(), 3u);
  for (int k = 0; k < 3; ++k) {
    SCOPED_TRACE(k);
    EXPECT_EQ(lines[k].wave, swcore::WaveType::rayleigh);
    EXPECT_EQ(lines[k].mode, k);
  }
  ASSERT_EQ(lines[0].frequencies, frequencies);
  EXPECT_NEAR(lines[0].velocities[0], rayleighVelocity(400.0), 0.01 * rayleighVelocity(400.0));
  EXPECT_NEAR(lines[0].velocities[2], rayleighVelocity(200.0), 0.001 * rayleighVelocity(200.0));
  // The higher modes begin above 0.5 Hz, lie above the fundamental at one
  // frequency and below the half-space's shear velocity.
  for (int k = 1; k < 3; ++k) {
    SCOPED_TRACE(k);
    ASSERT_FALSE(lines[k].frequencies.empty());
    EXPECT_GT(lines[k].frequencies.front(), 0.5);
    EXPECT_EQ(lines[k].frequencies.back(), 100.0);
    EXPECT_GT(lines[k].velocities.back(), lines[k - 1].velocities.back());
    EXPECT_LT(lines[k].velocities.back(), 400.0);
  }
  // The count is held to the window's most; no mode asks for no line, and
  // a refused model gives none.
  EXPECT_EQ(dispfit::rayleighModeLines(kThickness, kVs, kDensity, frequencies, 50).size(),
            static_cast<std::size_t>(dispfit::kMostDisplayedModes));
  EXPECT_TRUE(dispfit::rayleighModeLines(kThickness, kVs, kDensity, frequencies, 0).empty());
  const std::vector<float> noThickness = {0.0f, 0.0f};
  EXPECT_TRUE(dispfit::rayleighModeLines(noThickness, kVs, kDensity, frequencies, 3).empty());
}

}  // namespace
