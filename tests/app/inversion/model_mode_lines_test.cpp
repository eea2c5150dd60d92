// SPDX-License-Identifier: GPL-3.0-or-later
// The chart's lines of a model's higher Rayleigh and Love modes.
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

}  // namespace
