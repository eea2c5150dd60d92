// SPDX-License-Identifier: GPL-3.0-or-later
// Synthetic records against what a wave of known velocity must do: arrive
// at r / c after the wavelet's peak, fall off as 1 / sqrt(r), add up mode
// by mode, and carry noise of the asked size.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "layered_site.h"
#include "shots/synthetic_record.h"

namespace dispfit_test {
namespace {

using dispfit::ModalCurve;
using dispfit::ShotGather;

// A mode of one velocity at every frequency: the Ricker wavelet moves out
// undistorted.
ModalCurve constantMode(double velocity, double amplitude) {
  return ModalCurve{{0.5, 500.0}, {velocity, velocity}, {}, amplitude};
}

std::size_t peakSample(const std::vector<double>& trace) {
  return static_cast<std::size_t>(
      std::max_element(trace.begin(), trace.end(),
                       [](double a, double b) { return std::abs(a) < std::abs(b); }) -
      trace.begin());
}

TEST(SyntheticRecord, AWaveOfOneVelocityArrivesOnTimeAndSpreadsCylindrically) {
  dispfit::SyntheticShot shot = siteShot(5.0);
  shot.receiverPositions = {5.0, 35.0};  // 10 m and 40 m from the source at -5 m
  const ModalCurve modes[] = {constantMode(250.0, 1.0)};
  const ShotGather gather = dispfit::syntheticRecord(shot, modes);
  ASSERT_EQ(gather.traces.size(), 2u);
  // Peaks at the wavelet's delay plus r / c: 40 + 40 = 80 ms and 40 + 160 = 200 ms.
  EXPECT_EQ(peakSample(gather.traces[0]), 80u);
  EXPECT_EQ(peakSample(gather.traces[1]), 200u);
  // The peaks' ratio is sqrt(40 / 10) = 2, the wavelet's shape unchanged.
  const double near = gather.traces[0][80];
  const double far = gather.traces[1][200];
  EXPECT_NEAR(near / far, 2.0, 1e-6);
  // A Ricker wavelet's peak is positive.
  EXPECT_GT(near, 0.0);
}

TEST(SyntheticRecord, ModesAddUpWithTheirAmplitudes) {
  const dispfit::SyntheticShot shot = siteShot(10.0);
  const ModalCurve slow = constantMode(150.0, 1.0);
  const ModalCurve fast = constantMode(400.0, 0.5);
  const ModalCurve both[] = {slow, fast};
  const ModalCurve slowOnly[] = {slow};
  const ModalCurve fastTwice[] = {constantMode(400.0, 1.0)};
  const ShotGather sum = dispfit::syntheticRecord(shot, both);
  const ShotGather a = dispfit::syntheticRecord(shot, slowOnly);
  const ShotGather b = dispfit::syntheticRecord(shot, fastTwice);
  double largest = 0.0;
  for (const auto& trace : sum.traces) {
    for (const double s : trace) largest = std::max(largest, std::abs(s));
  }
  for (std::size_t j = 0; j < sum.traces.size(); ++j) {
    for (std::size_t k = 0; k < sum.sampleCount(); ++k) {
      ASSERT_NEAR(sum.traces[j][k], a.traces[j][k] + 0.5 * b.traces[j][k], 1e-12 * largest);
    }
  }
}

TEST(SyntheticRecord, AModeContributesOnlyWhereItExists) {
  // A mode given from 40 Hz on (a higher mode above its cut-off) leaves the
  // spectrum below 40 Hz to the others: with it alone, the record holds no
  // energy there. Checked through the record's own spectrum at 20 Hz.
  const dispfit::SyntheticShot shot = siteShot(10.0);
  const ModalCurve above40[] = {ModalCurve{{40.0, 200.0}, {300.0, 300.0}, {}, 1.0}};
  const ModalCurve whole[] = {ModalCurve{{1.0, 200.0}, {300.0, 300.0}, {}, 1.0}};
  const auto energyAt = [&](const ShotGather& gather, double f) {
    double re = 0.0, im = 0.0;
    for (std::size_t k = 0; k < gather.sampleCount(); ++k) {
      re += gather.traces[0][k] * std::cos(2.0 * M_PI * f * double(k) * gather.sampleInterval);
      im += gather.traces[0][k] * std::sin(2.0 * M_PI * f * double(k) * gather.sampleInterval);
    }
    return re * re + im * im;
  };
  const double partial = energyAt(dispfit::syntheticRecord(shot, above40), 20.0);
  const double full = energyAt(dispfit::syntheticRecord(shot, whole), 20.0);
  EXPECT_LT(partial, 1e-3 * full);
}

TEST(SyntheticRecord, NoiseHasTheAskedStandardDeviation) {
  const ModalCurve modes[] = {siteFundamental()};
  const ShotGather clean = dispfit::syntheticRecord(siteShot(10.0), modes);
  const ShotGather noisy = dispfit::syntheticRecord(siteShot(10.0, 0.05, 7), modes);
  double largest = 0.0;
  double squares = 0.0;
  std::size_t count = 0;
  for (std::size_t j = 0; j < clean.traces.size(); ++j) {
    for (std::size_t k = 0; k < clean.sampleCount(); ++k) {
      largest = std::max(largest, std::abs(clean.traces[j][k]));
      const double d = noisy.traces[j][k] - clean.traces[j][k];
      squares += d * d;
      ++count;
    }
  }
  // 36,000 samples: the estimate of the deviation is good to about 0.4 %.
  EXPECT_NEAR(std::sqrt(squares / double(count)), 0.05 * largest, 0.02 * 0.05 * largest);
}

TEST(SyntheticRecord, TheSitesFundamentalComesFromTheCurveCore) {
  const ModalCurve mode = siteFundamental();
  // Below the slowest layer's S velocity at high frequency (its Rayleigh
  // velocity, about 0.93 of 160 m/s), near the half-space's at low.
  EXPECT_NEAR(dispfit::modalVelocityAt(mode, 150.0), 0.93 * 160.0, 3.0);
  EXPECT_GT(dispfit::modalVelocityAt(mode, 2.0), 450.0);
  EXPECT_TRUE(std::isnan(dispfit::modalVelocityAt(mode, 0.5)));
}

}  // namespace
}  // namespace dispfit_test
