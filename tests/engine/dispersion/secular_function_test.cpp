// SPDX-License-Identifier: GPL-3.0-or-later
// The secular function D(c): its zeros, its continuity and its limits.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "dispersion/secular_function.h"
#include "literal_secular_function.h"
#include "test_models.h"

namespace {

using dispfit_test::Model;
using dispfit_test::sameBits;
using dispfit_test::signChanges;
using dispfit_test::stateFor;
using swcore::SecularFunction;

constexpr double kTwoPi = 2.0 * std::numbers::pi;

TEST(SecularFunction, HalfSpaceZeroIsTheRayleighVelocityAtEveryFrequency) {
  const double ratio = dispfit_test::halfSpaceRayleighRatio();
  EXPECT_NEAR(ratio, 0.9473075630937974, 1e-15);
  const Model half{{0.0}, {0.15}, {1.8}};
  for (double hz : {5.0, 40.0, 150.0}) {
    const SecularFunction d(stateFor(half, kTwoPi * hz));
    const std::vector<double> zeros = signChanges(d, 0.05, 0.1499, 997);
    ASSERT_EQ(zeros.size(), 1u) << hz;
    EXPECT_NEAR(zeros[0], ratio * 0.15, 1e-12);
    EXPECT_NEAR(zeros[0], 0.1420961, 5e-8);
    EXPECT_LT(d(0.1420961 - 1e-6), 0.0);
    EXPECT_GT(d(0.1420961 + 1e-6), 0.0);
  }
}

TEST(SecularFunction, ThreeLayerModelHasTheQuotedZerosBelowTheHalfSpaceVelocity) {
  const Model m{{0.005, 0.008, 0.0}, {0.18, 0.26, 0.42}, {1.8, 1.9, 2.1}};
  const SecularFunction d(stateFor(m, kTwoPi * 20.0));
  const std::vector<double> zeros = signChanges(d, 0.1, 0.4199, 3001);
  ASSERT_EQ(zeros.size(), 3u);
  EXPECT_NEAR(zeros[0], 0.1856023, 5e-8);
  EXPECT_NEAR(zeros[1], 0.2818073, 5e-8);
  EXPECT_NEAR(zeros[2], 0.3910027, 5e-8);
}

TEST(SecularFunction, IsContinuousWhereLayerTermsTurnFromHyperbolicToCircular) {
  const Model m{{0.005, 0.008, 0.0}, {0.18, 0.26, 0.42}, {1.8, 1.9, 2.1}};
  const SecularFunction d(stateFor(m, kTwoPi * 20.0));
  // S and P velocities of the two layers above the half-space.
  for (double v : {0.18, 0.26, 0.54, 0.78}) {
    const double below = d(v - 1e-9);
    const double above = d(v + 1e-9);
    const double scale = std::abs(d(v - 1e-3)) + std::abs(d(v + 1e-3));
    ASSERT_TRUE(std::isfinite(below) && std::isfinite(above)) << v;
    EXPECT_LT(std::abs(above - below), 1e-5 * scale) << v;
  }
}

TEST(SecularFunction, StaysRealAndFiniteAboveTheHalfSpaceVelocities) {
  for (const Model& m : {Model{{0.0}, {0.15}, {1.8}},
                         Model{{0.005, 0.008, 0.0}, {0.18, 0.26, 0.42}, {1.8, 1.9, 2.1}}}) {
    const SecularFunction d(stateFor(m, kTwoPi * 20.0));
    for (double c = 0.4234567; c < 3.0; c += 0.0137) {
      EXPECT_TRUE(std::isfinite(d(c))) << c;
    }
  }
}

TEST(SecularFunction, DensityUnitAndHalfSpaceThicknessDoNotMatter) {
  const Model m{{0.005, 0.008, 0.0}, {0.18, 0.26, 0.42}, {1.8, 1.9, 2.1}};
  Model scaled = m;
  for (double& rho : scaled.density) {
    rho *= 1000.0;
  }
  Model deeper = m;
  deeper.thickness.back() = 7.5;
  const SecularFunction d(stateFor(m, kTwoPi * 20.0));
  const SecularFunction ds(stateFor(scaled, kTwoPi * 20.0));
  const SecularFunction dd(stateFor(deeper, kTwoPi * 20.0));
  for (double c = 0.1; c < 0.6; c += 0.0123) {
    EXPECT_NEAR(ds(c), d(c), 1e-12 * std::abs(d(c))) << c;
    EXPECT_EQ(dd(c), d(c)) << c;
  }
}

TEST(SecularFunction, ThickSlowLayerOverflowsTheLiteralTermsButNotTheSearchValue) {
  const Model m{{0.2, 0.0}, {0.15, 0.3}, {1.8, 2.0}};
  const SecularFunction d(stateFor(m, kTwoPi * 150.0));
  // k h r of the P term: (2 pi 150 / 0.14) 0.2 sqrt(1 - 0.14^2 / 0.45^2), about 1280.
  EXPECT_FALSE(std::isfinite(d.literal(0.14)));
  EXPECT_TRUE(std::isfinite(d(0.14)));
  EXPECT_TRUE(std::isfinite(d.rescaled(0.14)));
}

// One and two layers over the half-space and a deeper model: each is worked
// in a way of its own, rescaled as well as literal.
TEST(SecularFunction, RescaledFormKeepsSignAndZerosOfTheLiteralOne) {
  const std::vector<Model> models{
      {{0.007, 0.0}, {0.2, 0.5}, {1.8, 2.1}},
      {{0.004, 0.006, 0.0}, {0.2, 0.12, 0.5}, {1.8, 1.7, 2.1}},
      {{0.004, 0.003, 0.006, 0.0}, {0.2, 0.12, 0.3, 0.5}, {1.8, 1.7, 1.9, 2.1}},
  };
  for (const Model& m : models) {
    SCOPED_TRACE(::testing::Message() << m.vs.size() << " layers");
    for (double hz : {10.0, 60.0}) {
      const SecularFunction d(stateFor(m, kTwoPi * hz));
      int compared = 0;
      for (double c = 0.0812345; c < 0.4999; c += 0.00071) {
        const double lit = d.literal(c);
        if (!std::isfinite(lit) || lit == 0.0) {
          continue;
        }
        ++compared;
        EXPECT_GT(lit / d.rescaled(c), 0.0) << c;
      }
      EXPECT_GT(compared, 500);
      const auto literal = [&d](double c) { return d.literal(c); };
      const auto rescaled = [&d](double c) { return d.rescaled(c); };
      const std::vector<double> a = signChanges(literal, 0.09, 0.4999, 1500);
      const std::vector<double> b = signChanges(rescaled, 0.09, 0.4999, 1500);
      EXPECT_FALSE(a.empty()) << hz << " Hz";
      ASSERT_EQ(a.size(), b.size());
      for (size_t i = 0; i < a.size(); ++i) {
        EXPECT_NEAR(a[i], b[i], 1e-12);
      }
    }
  }
}

TEST(SecularFunction, ValuesAgreeWithTheLiteralForm) {
  const std::vector<Model> models{
      {{0.0}, {0.15}, {1.8}},
      {{0.004, 0.0}, {0.12, 0.35}, {1.7, 2.0}},
      {{0.005, 0.008, 0.0}, {0.18, 0.26, 0.42}, {1.8, 1.9, 2.1}},
      {{0.002, 0.003, 0.0025, 0.004, 0.005, 0.0},
       {0.16, 0.24, 0.13, 0.35, 0.2, 0.6},
       {1.75, 1.85, 1.7, 1.95, 1.8, 2.2}},
  };
  for (const Model& m : models) {
    for (double hz : {5.0, 30.0, 150.0}) {
      const swcore::EngineState state = stateFor(m, kTwoPi * hz);
      const SecularFunction d(state);
      double largest = 0.0;
      std::vector<std::pair<double, double>> values;
      for (double c = 0.0712345; c < 2.0; c += 0.00317) {
        const double reference = dispfit_test::literalSecularFunction(state, c);
        if (!std::isfinite(reference)) {
          continue;
        }
        values.emplace_back(reference, d(c));
        largest = std::max(largest, std::abs(reference));
      }
      ASSERT_GT(values.size(), 100u);
      // Same value up to rounding, which the reduction's cancellations
      // magnify to about 1e-12: relative to the local size, and to the
      // function's range where it passes through zero.
      for (const auto& [reference, value] : values) {
        EXPECT_NEAR(value, reference, 1e-10 * std::abs(reference) + 1e-12 * largest)
            << m.vs.size() << " layers, " << hz << " Hz";
      }
    }
  }
}

// `layers` layers of 1 m over a half-space, the S velocity rising from
// 0.1 km/s by 0.02 km/s a layer with every fifth layer slower than the one
// above it.
Model manyThinLayers(int layers) {
  Model m;
  for (int i = 0; i <= layers; ++i) {
    m.thickness.push_back(i < layers ? 0.001 : 0.0);
    m.vs.push_back(0.1 + 0.02 * i - (i % 5 == 4 ? 0.05 : 0.0));
    m.density.push_back(1.7 + 0.01 * i);
  }
  return m;
}

// Models for each way the engine works D: the half-space alone, one and two
// layers over it (circular and hyperbolic terms side by side, a slower
// layer under a faster one), and deeper ones in array passes, one with more
// slots than one word of the library's marks.
std::vector<Model> everyWayOfWorking() {
  return {
      {{0.0}, {0.15}, {1.8}},
      {{0.004, 0.0}, {0.12, 0.35}, {1.7, 2.0}},
      {{0.006, 0.0}, {0.3, 0.2}, {1.9, 1.8}},
      {{0.005, 0.008, 0.0}, {0.18, 0.26, 0.42}, {1.8, 1.9, 2.1}},
      {{0.003, 0.002, 0.0}, {0.25, 0.11, 0.5}, {1.8, 1.7, 2.0}},
      {{0.002, 0.003, 0.0025, 0.0}, {0.16, 0.24, 0.13, 0.35}, {1.75, 1.85, 1.7, 1.95}},
      manyThinLayers(12),
      manyThinLayers(40),
  };
}

// The engine works the half-space alone, one and two layers over it, and
// deeper models each in a way of its own, and has code for several
// instruction sets; every way must form the literal form's values with the
// same operations. Velocities on both sides
// of every layer velocity (circular and hyperbolic terms side by side) and
// above the half-space's, at low and high frequency; only values the
// literal form leaves finite are compared.
TEST(SecularFunction, LiteralValuesAreThoseOfTheLiteralFormToTheBit) {
  const std::vector<Model> models = everyWayOfWorking();
  using swcore::InstructionSet;
  int setsRun = 0;
  for (const InstructionSet set :
       {InstructionSet::baseline, InstructionSet::avx2, InstructionSet::avx512}) {
    if (!swcore::processorHas(set)) {
      continue;
    }
    ++setsRun;
    for (const Model& m : models) {
      for (double hz : {5.0, 40.0, 150.0}) {
        SCOPED_TRACE(::testing::Message() << "instruction set " << static_cast<int>(set) << ", "
                                          << m.vs.size() << " layers, " << hz << " Hz");
        const swcore::EngineState state = stateFor(m, kTwoPi * hz);
        const SecularFunction d(state, set);
        int compared = 0;
        int differing = 0;
        for (double c = 0.0612345; c < 2.0; c += 0.000731) {
          const double reference = dispfit_test::literalSecularFunction(state, c);
          if (!std::isfinite(reference)) {
            continue;
          }
          ++compared;
          differing += sameBits(d.literal(c), reference) ? 0 : 1;
        }
        EXPECT_GT(compared, 2000);
        EXPECT_EQ(differing, 0);
      }
    }
  }
  EXPECT_GE(setsRun, 1);
}

// The quick terms, for every instruction set, on the same models: the
// literal form's values within its rounding (magnified by the reduction's
// cancellations as in ValuesAgreeWithTheLiteralForm), so the same sign
// wherever the literal form is not within that of zero, and finite where it is.
TEST(SecularFunction, QuickTermsGiveTheLiteralFormsValuesWithinItsRounding) {
  const std::vector<Model> models = everyWayOfWorking();
  using swcore::InstructionSet;
  for (const InstructionSet set :
       {InstructionSet::baseline, InstructionSet::avx2, InstructionSet::avx512}) {
    if (!swcore::processorHas(set)) {
      continue;
    }
    for (const Model& m : models) {
      for (double hz : {5.0, 40.0, 150.0}) {
        SCOPED_TRACE(::testing::Message() << "instruction set " << static_cast<int>(set) << ", "
                                          << m.vs.size() << " layers, " << hz << " Hz");
        const swcore::EngineState state = stateFor(m, kTwoPi * hz);
        const swcore::SecularModel model{state.layerCount, state.thickness, state.shearVelocity,
                                         state.pVelocity,  state.density,   state.omega};
        const SecularFunction quick(model, set, swcore::TermPrecision::quick);
        std::vector<std::pair<double, double>> values;
        double largest = 0.0;
        for (double c = 0.0612345; c < 2.0; c += 0.000731) {
          const double reference = dispfit_test::literalSecularFunction(state, c);
          if (std::isfinite(reference)) {
            values.emplace_back(reference, quick.literal(c));
            largest = std::max(largest, std::abs(reference));
          }
        }
        ASSERT_GT(values.size(), 2000u);
        // Rounding magnified by the cancellations of every layer's step: a
        // few layers give about 1e-12 of the function's range, as the
        // library-valued form does against another order of its operations;
        // 40 layers of 1 m at 5 Hz, a small fraction of a wavelength each,
        // twice the few-layer bound.
        const double layers = static_cast<double>(m.vs.size());
        for (const auto& [reference, value] : values) {
          ASSERT_NEAR(value, reference, layers * (1e-10 * std::abs(reference) + 1e-12 * largest));
        }
      }
    }
  }
}

// The decay factor that comes with the literal value is exp(-k h r) over
// the P and S terms evanescent at c, worked out here from the layers; the
// same from the library-valued and the quick terms, on the straight-line
// code of two layers and the array passes of deeper models, and
// underflowing to 0 beyond a double's range.
TEST(SecularFunction, DecayFactorIsTheProductOfTheEvanescentTermsDecay) {
  const std::vector<Model> models{
      {{0.005, 0.008, 0.0}, {0.18, 0.26, 0.42}, {1.8, 1.9, 2.1}},
      manyThinLayers(12),
  };
  for (const Model& m : models) {
    for (const double hz : {5.0, 150.0}) {
      const swcore::EngineState state = stateFor(m, kTwoPi * hz);
      const swcore::SecularModel model{state.layerCount, state.thickness, state.shearVelocity,
                                       state.pVelocity,  state.density,   state.omega};
      for (const auto precision : {swcore::TermPrecision::library, swcore::TermPrecision::quick}) {
        const SecularFunction d(model, swcore::fastestInstructionSet(), precision);
        // Off every layer's velocity, where the terms' r is not 0.
        for (const double c : {0.111, 0.213, 0.307, 0.5}) {
          double exponent = 0.0;
          for (int i = 0; i + 1 < state.layerCount; ++i) {
            for (const double v : {state.pVelocity[i], state.shearVelocity[i]}) {
              if (c < v) {
                exponent += state.omega / c * state.thickness[i] * std::sqrt(1.0 - c * c / (v * v));
              }
            }
          }
          double decay = 0.0;
          d.literal(c, decay);
          EXPECT_NEAR(decay, std::exp(-exponent), 1e-13 * std::exp(-exponent))
              << m.vs.size() << " layers, " << hz << " Hz, c = " << c;
        }
      }
    }
  }
  // 200 m of 0.3 km/s at 150 Hz: k h r near 1800 at 0.1 km/s.
  const Model thick{{0.2, 0.0}, {0.3, 0.6}, {1.8, 2.0}};
  const swcore::EngineState state = stateFor(thick, kTwoPi * 150.0);
  const SecularFunction d(state);
  double decay = 1.0;
  d.literal(0.1, decay);
  EXPECT_EQ(decay, 0.0);
}

TEST(SecularFunction, NegativeThicknessStaysFiniteWithTheLiteralSign) {
  // A trial model of an inversion can carry a negative thickness; its layer
  // terms then grow with k|h|r the other way round.
  const Model m{{-0.0022, 0.0084, 0.0}, {0.154, 0.048, 0.43}, {1.8, 1.9, 2.0}};
  for (double hz : {5.0, 150.0}) {
    const SecularFunction d(stateFor(m, kTwoPi * hz));
    int literalFinite = 0;
    int literalNot = 0;
    for (double c = 0.0101; c < 1.0; c += 0.00077) {
      const double value = d(c);
      ASSERT_TRUE(std::isfinite(value)) << hz << " Hz, c = " << c;
      const double lit = d.literal(c);
      if (std::isfinite(lit)) {
        ++literalFinite;
        EXPECT_EQ(value, lit);
        EXPECT_GT(d.rescaled(c) * lit, 0.0) << c;
      } else {
        ++literalNot;
      }
    }
    EXPECT_GT(literalFinite, 0);
    if (hz > 100.0) {
      EXPECT_GT(literalNot, 0);
    }
  }
}

TEST(SecularFunction, IsUndefinedForALayerCountOutsideTheArrays) {
  for (int32_t n : {0, -3, 51}) {
    swcore::EngineState s{};
    s.layerCount = n;
    s.omega = 100.0;
    const SecularFunction d(s);
    EXPECT_TRUE(std::isnan(d(0.2))) << n;
  }
}

TEST(SecularFunction, CountsItsEvaluations) {
  const Model half{{0.0}, {0.15}, {1.8}};
  const SecularFunction d(stateFor(half, 100.0));
  const std::uint64_t before = swcore::secularEvaluationCount;
  d(0.1);
  d(0.12);
  d.literal(0.1);  // the parts are not counted, only the evaluation the search uses
  EXPECT_EQ(swcore::secularEvaluationCount - before, 2u);
}

}  // namespace
