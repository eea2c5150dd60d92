// SPDX-License-Identifier: GPL-3.0-or-later
// The lowest modes of Rayleigh and Love waves from the curve solver: against
// the zeros of the independent determinants found by a fine scan, against
// the cut-off frequencies of Love modes in a layer over a half-space (worked
// below), against the fundamental mode of compute(), each frequency alone
// against the list, group velocities against the slope of the phase curves.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <numbers>
#include <random>
#include <vector>

#include "dispersion/dispersion_curve.h"
#include "layered_determinant.h"
#include "love_determinant.h"
#include "test_models.h"

namespace {

using swcore::CurveKind;
using swcore::CurvePoint;
using swcore::CurveStatus;
using swcore::DispersionCurveSolver;
using swcore::ModelLayer;
using swcore::ModeRequest;
using swcore::WaveType;

constexpr double kTwoPi = 2.0 * std::numbers::pi;

std::vector<CurvePoint> modesOf(const std::vector<ModelLayer>& model, const std::vector<double>& hz,
                                const ModeRequest& request, std::uint64_t* evaluations = nullptr) {
  DispersionCurveSolver solver;
  std::vector<CurvePoint> out(hz.size() * static_cast<std::size_t>(request.modes));
  EXPECT_EQ(solver.computeModes(model, hz, request, out), CurveStatus::ok);
  if (evaluations != nullptr) {
    *evaluations += solver.evaluationCount();
  }
  return out;
}

const char* nameOf(WaveType wave) {
  return wave == WaveType::love ? "Love" : "Rayleigh";
}

// The zeros of the independent determinant of `wave` from 0.8 x the slowest
// S velocity up to just below the half-space's, on a grid whose points lie
// `relativeStep` x c apart, bisected.
std::vector<double> determinantZeros(const std::vector<ModelLayer>& model, double hz, WaveType wave,
                                     double relativeStep, std::size_t most) {
  const std::vector<dispfit_test::Layer> layers = dispfit_test::layersFor(model);
  double slowest = layers[0].vs;
  for (const dispfit_test::Layer& l : layers) {
    slowest = std::min(slowest, l.vs);
  }
  const double omega = kTwoPi * hz;
  const dispfit_test::LayeredDeterminant rayleigh(layers, omega);
  const dispfit_test::LoveDeterminant love(layers, omega);
  const auto det = [&](double c) { return wave == WaveType::love ? love(c) : rayleigh(c); };
  const double top = layers.back().vs * (1.0 - 1e-10);
  std::vector<double> zeros;
  double x0 = 0.8 * slowest;
  double f0 = det(x0);
  while (x0 < top && zeros.size() < most) {
    const double x1 = std::min(top, x0 * (1.0 + relativeStep));
    const double f1 = det(x1);
    if (!std::isfinite(f1)) {
      x0 = x1;  // a layer's own velocity, where the determinants' eigenvectors degenerate
      continue;
    }
    if (f0 * f1 < 0.0) {
      const std::vector<double> z = dispfit_test::signChanges(det, x0, x1, 1);
      zeros.insert(zeros.end(), z.begin(), z.end());
    }
    x0 = x1;
    f0 = f1;
  }
  return zeros;
}

TEST(Modes, RandomModelsGiveTheLowestZerosOfTheIndependentDeterminants) {
#ifdef DISPFIT_SANITIZED_BUILD
  constexpr int kModels = 6;
#else
  constexpr int kModels = 24;
#endif
  constexpr int kModes = 4;
  std::mt19937_64 rng(9043);
  int found = 0;
  int absent = 0;
  for (int i = 0; i < kModels; ++i) {
    const std::vector<ModelLayer> model = dispfit_test::randomVariedModel(rng);
    const std::vector<double> hz{120.0, 45.0, 16.0, 6.0};
    for (const WaveType wave : {WaveType::rayleigh, WaveType::love}) {
      SCOPED_TRACE(::testing::Message()
                   << "model " << i << " (" << model.size() << " layers), " << nameOf(wave));
      const std::vector<CurvePoint> modes = modesOf(model, hz, {wave, kModes, CurveKind::phase});
      for (std::size_t j = 0; j < hz.size(); ++j) {
        SCOPED_TRACE(::testing::Message() << hz[j] << " Hz");
        // 2e-4 of c: zeros closer than that are left to the close-pair tests.
        const std::vector<double> zeros = determinantZeros(model, hz[j], wave, 2e-4, kModes);
        for (std::size_t k = 0; k < static_cast<std::size_t>(kModes); ++k) {
          const CurvePoint& point = modes[j * kModes + k];
          ASSERT_EQ(point.hasRoot, k < zeros.size()) << "mode " << k;
          if (!point.hasRoot) {
            EXPECT_TRUE(std::isnan(point.phaseVelocity));
            ++absent;
            continue;
          }
          // The determinants' zeros and the engine's agree to about 1e-9
          // km/s; the refinement stops within 1e-8 km/s of the zero.
          EXPECT_NEAR(point.phaseVelocity / 1000.0, zeros[k], 2e-8) << "mode " << k;
          ++found;
        }
      }
    }
  }
  std::printf("%d modes found, %d absent\n", found, absent);
  EXPECT_GT(found, 2 * absent / 3);
  EXPECT_GT(absent, 0);
}

TEST(Modes, LoveModesOfALayerOverAHalfSpaceAppearAtTheirCutOffFrequencies) {
  // 10 m of 200 m/s over 400 m/s: mode n reaches the half-space velocity,
  // where k h r1 = n pi with k = omega / b2, at
  // f_n = n / (2 h sqrt(1/b1^2 - 1/b2^2)) = n x 11.547 Hz; above f_n it
  // exists, below it it does not.
  const std::vector<ModelLayer> model{{10.0, 200.0, 1800.0}, {1.0, 400.0, 2000.0}};
  const double cutOff =
      1.0 / (2.0 * 10.0 * std::sqrt(1.0 / (200.0 * 200.0) - 1.0 / (400.0 * 400.0)));
  EXPECT_NEAR(cutOff, 11.547, 1e-3);
  std::vector<double> hz;
  for (int n = 4; n >= 1; --n) {
    hz.push_back(n * cutOff * 1.01);
    hz.push_back(n * cutOff * 0.99);
  }
  const std::vector<CurvePoint> modes = modesOf(model, hz, {WaveType::love, 6, CurveKind::phase});
  for (std::size_t j = 0; j < hz.size(); ++j) {
    const int expected = static_cast<int>(std::floor(hz[j] / cutOff)) + 1;
    for (int k = 0; k < 6; ++k) {
      EXPECT_EQ(modes[j * 6 + static_cast<std::size_t>(k)].hasRoot, k < expected)
          << hz[j] << " Hz, mode " << k;
    }
  }
}

TEST(Modes, HalfSpaceCarriesOneRayleighModeAndNoLoveWave) {
  const std::vector<ModelLayer> model{{1.0, 300.0, 2000.0}};
  const std::vector<double> hz{100.0, 10.0};
  const std::vector<CurvePoint> rayleigh = modesOf(model, hz, {WaveType::rayleigh, 3});
  const std::vector<CurvePoint> love = modesOf(model, hz, {WaveType::love, 3});
  for (std::size_t j = 0; j < hz.size(); ++j) {
    ASSERT_TRUE(rayleigh[j * 3].hasRoot);
    EXPECT_NEAR(rayleigh[j * 3].phaseVelocity, 300.0 * dispfit_test::halfSpaceRayleighRatio(),
                1e-5);
    EXPECT_FALSE(rayleigh[j * 3 + 1].hasRoot);
    EXPECT_FALSE(rayleigh[j * 3 + 2].hasRoot);
    for (std::size_t k = 0; k < 3; ++k) {
      EXPECT_FALSE(love[j * 3 + k].hasRoot);
    }
  }
}

std::vector<double> everyFiveHertz() {
  std::vector<double> hz;
  for (int f = 150; f >= 5; f -= 5) {
    hz.push_back(f);
  }
  return hz;
}

// Models of the curve tests that trouble a search: a stiff crust, a soft
// layer in the middle, a slow half-space.
std::vector<std::vector<ModelLayer>> fieldModels() {
  return {
      {{4.0, 400.0, 2000.0}, {12.0, 180.0, 1800.0}, {1.0, 700.0, 2200.0}},
      {{3.0, 250.0, 1900.0}, {5.0, 120.0, 1700.0}, {10.0, 350.0, 2000.0}, {1.0, 600.0, 2100.0}},
      {{10.0, 400.0, 2000.0}, {1.0, 250.0, 2000.0}},
      {{5.0, 200.0, 1800.0}, {10.0, 400.0, 2000.0}, {1.0, 800.0, 2200.0}},
  };
}

TEST(Modes, ModeZeroIsTheFundamentalModeOfTheCurve) {
  std::vector<std::vector<ModelLayer>> models = fieldModels();
  std::mt19937_64 rng(515);
  for (int i = 0; i < 30; ++i) {
    models.push_back(dispfit_test::randomVariedModel(rng));
  }
  const std::vector<double> hz = everyFiveHertz();
  for (std::size_t m = 0; m < models.size(); ++m) {
    SCOPED_TRACE(::testing::Message() << "model " << m);
    DispersionCurveSolver solver;
    std::vector<CurvePoint> fundamental(hz.size());
    ASSERT_EQ(solver.compute(models[m], hz, CurveKind::phaseAndGroup, fundamental),
              CurveStatus::ok);
    const std::vector<CurvePoint> modes =
        modesOf(models[m], hz, {WaveType::rayleigh, 1, CurveKind::phaseAndGroup});
    for (std::size_t j = 0; j < hz.size(); ++j) {
      ASSERT_EQ(modes[j].hasRoot, fundamental[j].hasRoot) << hz[j] << " Hz";
      if (modes[j].hasRoot) {
        // Both within 1e-5 m/s of one zero; the group velocity comes from the
        // zeros refined to 1e-14 of c about it, whichever end of the
        // tolerance the search stopped at: 1e-7 relative is ten times the
        // differences' rounding.
        EXPECT_NEAR(modes[j].phaseVelocity, fundamental[j].phaseVelocity, 2e-5) << hz[j];
        EXPECT_NEAR(modes[j].groupVelocity, fundamental[j].groupVelocity,
                    1e-7 * fundamental[j].groupVelocity)
            << hz[j];
      }
    }
  }
}

// Models drawn as the posterior's prior draws them: 2 to 6 layers, each S
// velocity anywhere in 80-1000 m/s whatever the layers above (stiff layers
// over soft ones, soft ones buried), thicknesses 0.5-15 m.
std::vector<ModelLayer> priorLikeModel(std::mt19937_64& rng) {
  const auto uniform = [&rng](double lo, double hi) {
    return std::uniform_real_distribution<double>(lo, hi)(rng);
  };
  const int n = std::uniform_int_distribution<int>(2, 6)(rng);
  std::vector<ModelLayer> model;
  for (int i = 0; i < n; ++i) {
    const double vs = uniform(80.0, 1000.0);
    model.push_back({uniform(0.5, 15.0), vs, uniform(1700.0, 2200.0), vs * uniform(1.7, 3.0)});
  }
  return model;
}

// Thirty frequencies from 5 to 80 Hz, evenly spaced in their logarithm, from
// the highest down: the calibration's curves.
std::vector<double> calibrationFrequencies() {
  std::vector<double> hz;
  for (int i = 29; i >= 0; --i) {
    hz.push_back(5.0 * std::pow(16.0, i / 29.0));
  }
  return hz;
}

// Dense lists, where each mode is looked for where the higher frequencies
// predict it, and walked for from the mode below where it moved too fast
// for that or where the phase above the mode below leaves room for a pair:
// the zeros must still be the lowest of the independent determinant, none
// skipped and none taken twice, on the curve tests' models and on random
// ones with soft layers under stiff ones, Rayleigh and Love.
TEST(Modes, DenseListsGiveTheLowestZerosOfTheIndependentDeterminants) {
#ifdef DISPFIT_SANITIZED_BUILD
  constexpr int kRandomModels = 2;
#else
  constexpr int kRandomModels = 16;
#endif
  constexpr int kModes = 4;
  // 0.1 % of c: two zeros this close, modes at an osculation, can lie within
  // one step of the walk without the dip its check looks for; they are left
  // to the close-pair tests.
  constexpr double kClosePair = 1e-3;
  std::vector<std::vector<ModelLayer>> models = fieldModels();
  // A thick slow layer under a thin stiff one, a slower one below it: as c
  // passes 173 m/s the zeros of the modes trapped in the thick layer appear
  // just above it (Love modes 3 and 4 at 70 Hz), between mode 2 and the
  // prediction of mode 3.
  models.push_back({{0.5, 286.0, 1995.0, 755.0},
                    {22.05, 173.0, 1905.0, 1633.0},
                    {7.3, 151.0, 2130.0, 1386.0},
                    {1.0, 453.6, 2345.0, 1430.0}});
  std::mt19937_64 rng(6113);
  for (int i = 0; i < kRandomModels; ++i) {
    models.push_back(dispfit_test::randomVariedModel(rng));
    models.push_back(priorLikeModel(rng));
  }
  int found = 0;
  int checked = 0;
  int closePairs = 0;
  for (std::size_t m = 0; m < models.size(); ++m) {
    const std::vector<double> hz = m % 2 == 0 ? everyFiveHertz() : calibrationFrequencies();
    for (const WaveType wave : {WaveType::rayleigh, WaveType::love}) {
      SCOPED_TRACE(::testing::Message()
                   << "model " << m << " (" << models[m].size() << " layers), " << nameOf(wave));
      const std::vector<CurvePoint> modes =
          modesOf(models[m], hz, {wave, kModes, CurveKind::phase});
      // Every third frequency checked (the scans are the test's cost); the
      // search ran over all of them.
      for (std::size_t j = m % 3; j < hz.size(); j += 3) {
        SCOPED_TRACE(::testing::Message() << hz[j] << " Hz");
        ++checked;
        std::vector<double> zeros = determinantZeros(models[m], hz[j], wave, 2e-4, kModes + 1);
        if (std::adjacent_find(zeros.begin(), zeros.end(), [](double a, double b) {
              return b - a < kClosePair * b;
            }) != zeros.end()) {
          ++closePairs;
          continue;
        }
        zeros.resize(std::min<std::size_t>(zeros.size(), kModes));
        for (std::size_t k = 0; k < static_cast<std::size_t>(kModes); ++k) {
          const CurvePoint& point = modes[j * kModes + k];
          ASSERT_EQ(point.hasRoot, k < zeros.size()) << "mode " << k;
          if (point.hasRoot) {
            // As above: the determinant's zeros to about 1e-9 km/s, the
            // search's within 1e-8 km/s.
            ASSERT_NEAR(point.phaseVelocity / 1000.0, zeros[k], 2e-8) << "mode " << k;
            ++found;
          }
        }
      }
    }
  }
  EXPECT_GT(found, 2 * checked);
  // Such pairs stand at about 3 % of the frequencies here.
  EXPECT_LT(closePairs, checked / 10);
}

// Thirteen layers, the top 22 m of 104 m/s over 19 m of 106 and 12 m of 89
// m/s: Love mode 2 rises from 103.1 m/s at 17.3 Hz to 103.9 at 15.7 Hz, the
// line of its last roots running on to 105.5 m/s, where mode 4 lies. The
// modes trapped in the top layer begin just above its velocity, and as the
// line passes it, it passes two of them (modes 2 and 3 at 103.9 and 105.2
// m/s), whose signs cancel at its bracket. With the top requested mode the
// last one (three modes) and with a mode above it (four), every zero at the
// calibration's frequencies is the determinant's.
TEST(Modes, AModePassingAThickLayersVelocityDoesNotPassTheModesTrappedInIt) {
  const std::vector<ModelLayer> model = {
      {21.852, 103.677, 2085.68, 380.247},   {18.7983, 105.728, 2072.97, 526.346},
      {12.0366, 89.0241, 2003.26, 160.415},  {1.01173, 81.9425, 1739.75, 201.292},
      {13.4357, 240.635, 1577.32, 899.320},  {16.8914, 244.352, 1927.78, 1618.56},
      {14.6524, 293.347, 1574.12, 711.916},  {0.651633, 376.099, 2265.09, 1640.28},
      {23.9137, 377.682, 2033.49, 2710.23},  {2.33303, 489.808, 2228.00, 4125.85},
      {0.943520, 659.457, 2218.27, 5683.50}, {1.05305, 823.940, 2197.80, 2391.45},
      {1.0, 1588.53, 1650.67, 4213.74}};
  const std::vector<double> hz = calibrationFrequencies();
  for (const int requested : {3, 4}) {
    SCOPED_TRACE(::testing::Message() << requested << " modes");
    const auto count = static_cast<std::size_t>(requested);
    const std::vector<CurvePoint> modes =
        modesOf(model, hz, {WaveType::love, requested, CurveKind::phase});
    for (std::size_t j = 0; j < hz.size(); ++j) {
      SCOPED_TRACE(::testing::Message() << hz[j] << " Hz");
      const std::vector<double> zeros = determinantZeros(model, hz[j], WaveType::love, 2e-4, 5);
      ASSERT_GE(zeros.size(), count);
      for (std::size_t k = 0; k < count; ++k) {
        const CurvePoint& point = modes[j * count + k];
        ASSERT_TRUE(point.hasRoot) << "mode " << k;
        // The determinant's zeros to about 1e-9 km/s, the search's within
        // 1e-8 km/s.
        EXPECT_NEAR(point.phaseVelocity / 1000.0, zeros[k], 2e-8) << "mode " << k;
      }
    }
  }
}

// Nineteen layers of 2 m with S velocities rising from 120 to 660 m/s, the
// seventh slowed to 150 m/s, over 700 m/s: the modes crowd, and between 145
// and 80 Hz the parabola through a mode's last three roots misses the zero
// now and then by a little more than the bracket it asks for.
std::vector<ModelLayer> twentyLayers() {
  std::vector<ModelLayer> model;
  for (int i = 0; i < 19; ++i) {
    model.push_back({2.0, 120.0 + 30.0 * i, 1700.0 + 20.0 * i});
  }
  model[6].shearVelocity = 150.0;
  model.push_back({1.0, 700.0, 2200.0});
  return model;
}

// A prediction that misses its zero narrowly is tried again in a wider
// bracket, not abandoned for a walk from the mode below in steps a quarter
// of the zeros' spacing (about 90 evaluations at such a frequency here).
// Each frequency of the smooth band then costs two bracket ends, the
// refinement's two to four points and a widening or two: at most 8 per
// mode. The zeros are the determinant's.
TEST(Modes, AMissedPredictionIsWidenedRatherThanWalkedFor) {
  constexpr int kModes = 3;
  const std::vector<ModelLayer> model = twentyLayers();
  std::vector<double> hz;
  for (int f = 150; f >= 80; f -= 5) {
    hz.push_back(f);
  }
  const ModeRequest request{WaveType::rayleigh, kModes, CurveKind::phase};
  std::uint64_t before = 0;
  for (std::size_t j = 0; j < hz.size(); ++j) {
    SCOPED_TRACE(::testing::Message() << hz[j] << " Hz");
    std::uint64_t evaluations = 0;
    const std::vector<double> list(hz.begin(), hz.begin() + static_cast<std::ptrdiff_t>(j) + 1);
    const std::vector<CurvePoint> modes = modesOf(model, list, request, &evaluations);
    if (j > 0) {
      EXPECT_LE(evaluations - before, 8u * kModes);
    }
    before = evaluations;
    const std::vector<double> zeros =
        determinantZeros(model, hz[j], WaveType::rayleigh, 2e-4, kModes);
    ASSERT_EQ(zeros.size(), static_cast<std::size_t>(kModes));
    for (std::size_t k = 0; k < kModes; ++k) {
      const CurvePoint& point = modes[j * kModes + k];
      ASSERT_TRUE(point.hasRoot) << "mode " << k;
      // As above: the determinant's zeros to about 1e-9 km/s, the search's
      // within 1e-8 km/s.
      EXPECT_NEAR(point.phaseVelocity / 1000.0, zeros[k], 2e-8) << "mode " << k;
    }
  }
}

// In a list each mode is looked for where the higher frequencies predict it;
// alone it is walked for from the start. Both must give the same zeros and
// the same modes absent, and the list fewer evaluations.
TEST(Modes, AFrequencyAloneGivesTheModesItHasInTheList) {
  std::vector<std::vector<ModelLayer>> models = fieldModels();
  std::mt19937_64 rng(8808);
  for (int i = 0; i < 20; ++i) {
    models.push_back(dispfit_test::randomVariedModel(rng));
  }
  const std::vector<double> hz = everyFiveHertz();
  constexpr int kModes = 3;
  for (const WaveType wave : {WaveType::rayleigh, WaveType::love}) {
    for (std::size_t m = 0; m < models.size(); ++m) {
      SCOPED_TRACE(::testing::Message() << nameOf(wave) << ", model " << m);
      std::uint64_t inList = 0;
      std::uint64_t alone = 0;
      const ModeRequest request{wave, kModes, CurveKind::phase};
      const std::vector<CurvePoint> list = modesOf(models[m], hz, request, &inList);
      for (std::size_t j = 0; j < hz.size(); ++j) {
        const std::vector<CurvePoint> single = modesOf(models[m], {hz[j]}, request, &alone);
        for (std::size_t k = 0; k < kModes; ++k) {
          const CurvePoint& a = single[k];
          const CurvePoint& b = list[j * kModes + k];
          ASSERT_EQ(a.hasRoot, b.hasRoot) << hz[j] << " Hz, mode " << k;
          if (a.hasRoot) {
            EXPECT_NEAR(a.phaseVelocity, b.phaseVelocity, 2e-5) << hz[j] << " Hz, mode " << k;
          }
        }
      }
      if (m < fieldModels().size()) {
        EXPECT_LT(inList, alone);
      }
    }
  }
}

TEST(Modes, GroupVelocityFollowsTheSlopeOfEachPhaseCurve) {
  const std::vector<ModelLayer> model = fieldModels()[3];
  for (const WaveType wave : {WaveType::rayleigh, WaveType::love}) {
    for (const double f : {40.0, 90.0}) {
      SCOPED_TRACE(::testing::Message() << nameOf(wave) << ", " << f << " Hz");
      const std::vector<CurvePoint> at = modesOf(model, {f}, {wave, 3, CurveKind::phaseAndGroup});
      // dc/df by central differences at two spacings, combined by
      // Richardson extrapolation (error of fourth order).
      const auto slope = [&](double h, std::size_t k) {
        const std::vector<CurvePoint> side =
            modesOf(model, {f * (1.0 + h), f * (1.0 - h)}, {wave, 3, CurveKind::phase});
        return (side[k].phaseVelocity - side[3 + k].phaseVelocity) / (2.0 * f * h);
      };
      for (std::size_t k = 0; k < 3; ++k) {
        ASSERT_TRUE(at[k].hasRoot) << "mode " << k;
        const double dcdf = (4.0 * slope(5e-3, k) - slope(1e-2, k)) / 3.0;
        const double c = at[k].phaseVelocity;
        const double expected = c / (1.0 - f / c * dcdf);
        // 1e-4 relative: the phase velocities' 1e-5 m/s over the spacing.
        EXPECT_NEAR(at[k].groupVelocity, expected, 1e-4 * expected) << "mode " << k;
      }
    }
  }
}

TEST(Modes, GroupVelocityOfAModeTrappedUnderAStiffCrust) {
  // 12.45 m of 369 m/s over 5.6 m of 104 m/s and softer layers: above 60 Hz
  // the fundamental mode is trapped in the 104 m/s layer, and the plain
  // reduction overflows in the crust, so the rescaled one decides, whose
  // slopes at that zero meant nothing (they gave c or c / 2).
  const std::vector<ModelLayer> model{
      {12.4507, 368.748, 2058.85, 2418.64},  {5.57371, 103.855, 1662.12, 678.623},
      {0.548318, 143.064, 2426.25, 1205.24}, {9.6318, 166.147, 1512.48, 366.907},
      {8.48543, 248.134, 2436.89, 1578.92},  {19.0484, 468.308, 2460.78, 3387.46},
      {17.3913, 470.084, 1895.19, 1331.83},  {22.871, 471.56, 1990.24, 3441.68},
      {14.3201, 695.834, 2200.1, 4702.92},   {0.713507, 1188.89, 1533.83, 4908.57}};
  for (const double f : {70.0, 90.0, 110.0, 140.0}) {
    SCOPED_TRACE(::testing::Message() << f << " Hz");
    DispersionCurveSolver solver;
    std::vector<CurvePoint> at(1), side(2);
    ASSERT_EQ(solver.compute(model, std::vector<double>{f}, CurveKind::phaseAndGroup, at),
              CurveStatus::ok);
    ASSERT_TRUE(at[0].hasRoot);
    const double c = at[0].phaseVelocity;
    EXPECT_LT(c, 106.0);  // trapped: just above the layer's 103.9 m/s
    // The slope of the phase curve over +-0.5 % (Richardson-combined with
    // +-1 %), good to 1e-4 relative of U.
    const auto slope = [&](double h) {
      solver.compute(model, std::vector<double>{f * (1.0 + h), f * (1.0 - h)}, CurveKind::phase,
                     side);
      return (side[0].phaseVelocity - side[1].phaseVelocity) / (2.0 * f * h);
    };
    const double dcdf = (4.0 * slope(5e-3) - slope(1e-2)) / 3.0;
    const double expected = c / (1.0 - f / c * dcdf);
    EXPECT_NEAR(at[0].groupVelocity, expected, 1e-4 * expected);
  }
}

TEST(Modes, ModeCountsOutsideTheirRangeAndShortOutputsAreRefused) {
  const std::vector<ModelLayer> model{{5.0, 200.0, 1800.0}, {1.0, 500.0, 2000.0}};
  const std::vector<double> hz{10.0, 20.0};
  DispersionCurveSolver solver;
  std::vector<CurvePoint> out(2 * swcore::kMaxModes + 2);
  for (const int modes : {0, -1, swcore::kMaxModes + 1}) {
    EXPECT_EQ(
        solver.computeModes(model, hz, {WaveType::rayleigh, modes},
                            std::span(out).first(2 * static_cast<std::size_t>(std::max(modes, 1)))),
        CurveStatus::badModeCount)
        << modes;
  }
  EXPECT_EQ(solver.computeModes(model, hz, {WaveType::love, 3}, std::span(out).first(5)),
            CurveStatus::outputSizeMismatch);
  EXPECT_EQ(solver.computeModes(model, hz, {WaveType::love, swcore::kMaxModes},
                                std::span(out).first(2 * swcore::kMaxModes)),
            CurveStatus::ok);
}

}  // namespace
