// SPDX-License-Identifier: GPL-3.0-or-later
// The two ways the vertical terms are worked: a few slots at once in a block
// of lanes, and any number in array passes. Every value must be the same bit
// for bit, since the block serves the models of one or two layers and the
// passes all others, and both must give the plain formulas' values.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <tuple>
#include <vector>

#include "dispersion/vertical_terms.h"
#include "simd/exponential_kernel.h"
#include "simd/lane_vector.h"
#include "test_models.h"

namespace {

using dispfit_test::sameBits;
using swcore::Arithmetic;
using swcore::kBlockSlots;
using swcore::VerticalTerms;

// One velocity against the slots of a model of one or two layers.
// The arrays hold the padding the passes work too.
struct SlotCase {
  double cc;
  double k;
  double velocity2[swcore::kPassWidth];
  double slowness2[swcore::kPassWidth];  // 1 / v^2, for the quick terms
  double thickness[swcore::kPassWidth];
  int slots;
};

// Velocities around the slots' own (both sides, and exactly on one), thin
// and very thick layers (arguments beyond the kernel's range), one or two
// layers with padding after them.
std::vector<SlotCase> sampleCases() {
  std::mt19937_64 rng(90210);
  std::uniform_real_distribution<double> velocity(0.08, 2.7);
  std::uniform_real_distribution<double> ratio(0.5, 1.6);
  std::uniform_real_distribution<double> thickness(0.0005, 0.02);
  std::uniform_real_distribution<double> frequency(5.0, 150.0);
  std::vector<SlotCase> cases;
  for (int n = 0; n < 20000; ++n) {
    SlotCase s{};
    s.slots = n % 2 == 0 ? 2 : 4;
    for (int i = 0; i < swcore::kPassWidth; ++i) {
      const double v = velocity(rng);
      s.velocity2[i] = i < s.slots ? v * v : 1.0;
      s.thickness[i] = i < s.slots ? thickness(rng) : 0.0;
    }
    if (n % 7 == 0) {
      s.thickness[0] = 40.0;  // k h r far beyond the kernel's range
    }
    const double c = std::sqrt(s.velocity2[n % s.slots]) * ratio(rng);
    s.cc = n % 11 == 0 ? s.velocity2[n % s.slots] : c * c;  // c on a slot's velocity
    s.k = 6.2831854820251465 * frequency(rng) / std::sqrt(s.cc);
    for (int i = 0; i < swcore::kPassWidth; ++i) {
      s.slowness2[i] = 1.0 / s.velocity2[i];
    }
    cases.push_back(s);
  }
  return cases;
}

template <bool Rescale, Arithmetic kPassArithmetic = Arithmetic::plain>
void expectBlockEqualsPasses() {
  int compared = 0;
  for (const SlotCase& s : sampleCases()) {
    const auto block =
        swcore::blockTerms<Rescale>(s.cc, s.k, s.velocity2, nullptr, s.thickness, s.slots);
    VerticalTerms passes{};
    swcore::verticalTerms<Rescale, kPassArithmetic>(s.cc, s.k, s.velocity2, nullptr, s.thickness,
                                                    s.slots, passes);
    for (int i = 0; i < s.slots; ++i) {
      ASSERT_TRUE(sameBits(block.c[i], passes.c[i])) << s.cc << " slot " << i;
      ASSERT_TRUE(sameBits(block.s[i], passes.s[i])) << s.cc << " slot " << i;
      ASSERT_TRUE(sameBits(block.t[i], passes.t[i])) << s.cc << " slot " << i;
      ASSERT_TRUE(sameBits(block.scale[i], passes.scale[i])) << s.cc << " slot " << i;
      ++compared;
    }
  }
  EXPECT_EQ(compared, 60000);
}

TEST(VerticalTerms, BlockOfLanesEqualsArrayPassesBitForBit) {
  expectBlockEqualsPasses<false>();
}

TEST(VerticalTerms, RescaledBlockEqualsRescaledArrayPassesBitForBit) {
  expectBlockEqualsPasses<true>();
}

// The passes of the processors with fused multiply-adds: their kernel rounds
// differently inside, but what it settles and what it leaves to the library
// make the same values.
TEST(VerticalTerms, BlockEqualsArrayPassesWithFusedKernelBitForBit) {
  expectBlockEqualsPasses<false, Arithmetic::fused>();
  expectBlockEqualsPasses<true, Arithmetic::fused>();
}

// The terms of one slot worked in long double from the textbook functions:
// a reference whose own error is far below a double's rounding.
struct ReferenceTerms {
  long double c, s, t;
};

ReferenceTerms referenceTerms(double cc, double k, double velocity2, double thickness) {
  const long double q = 1.0L - static_cast<long double>(cc) / velocity2;
  const long double r = std::sqrt(std::fabs(q));
  const long double theta = static_cast<long double>(k) * thickness * r;
  if (q >= 0.0L) {
    return {std::cosh(theta), std::sinh(theta) / r, -r * std::sinh(theta)};
  }
  return {std::cos(theta), std::sin(theta) / r, r * std::sin(theta)};
}

// The quick terms of the literal form, in a block and in array passes (plain
// and fused), against that reference: as close to it as the library-valued
// terms are (within four times their error), or within a few units in the
// last place of the slot's terms' size (cosh and r sinh are about that
// large; sinh / r times r) and of their argument k h r: both forms round q
// and k h r, and near the slot's velocity, or for a thick layer, that moves
// the terms by more than their own rounding. Only the slots on their
// velocity (r = 0) and those beyond a double's range are left out.
template <Arithmetic kPassArithmetic>
void expectQuickTermsAsCloseAsTheLibraryTerms() {
  using swcore::TermPrecision;
  int compared = 0;
  for (const SlotCase& s : sampleCases()) {
    const auto library =
        swcore::blockTerms<false>(s.cc, s.k, s.velocity2, nullptr, s.thickness, s.slots);
    const auto block = swcore::blockTerms<false, kPassArithmetic, TermPrecision::quick>(
        s.cc, s.k, s.velocity2, s.slowness2, s.thickness, s.slots);
    VerticalTerms passes{};
    swcore::verticalTerms<false, kPassArithmetic, TermPrecision::quick>(
        s.cc, s.k, s.velocity2, s.slowness2, s.thickness, s.slots, passes);
    for (int i = 0; i < s.slots; ++i) {
      if (!std::isfinite(library.c[i] + library.s[i] + library.t[i])) {
        continue;
      }
      const ReferenceTerms reference = referenceTerms(s.cc, s.k, s.velocity2[i], s.thickness[i]);
      const long double r =
          std::sqrt(std::fabs(1.0L - static_cast<long double>(s.cc) / s.velocity2[i]));
      const long double size =
          std::max({std::fabs(reference.c), std::fabs(reference.t), std::fabs(reference.s) * r});
      // The relative error of k h r that rounding q = 1 - c^2/v^2 to a unit
      // of 1 brings (half of it over |q|, through the square root), and
      // that of holding k h r itself in a double: the terms move by it times
      // k h r times their size.
      const long double q = 1.0L - static_cast<long double>(s.cc) / s.velocity2[i];
      const long double argumentError = static_cast<long double>(s.k) * s.thickness[i] * r *
                                        0x1p-52L * (1.0L + 1.0L / std::fabs(q));
      const auto within = [&](double quick, double libraryValue, long double exact,
                              long double scale) {
        const long double libraryError = std::fabs(libraryValue - exact) * scale;
        const long double quickError = std::fabs(quick - exact) * scale;
        return quickError <= 4.0L * libraryError + (1e-14L + 4.0L * argumentError) * size;
      };
      for (const auto& [c, sTerm, t] : {std::tuple{block.c[i], block.s[i], block.t[i]},
                                        std::tuple{passes.c[i], passes.s[i], passes.t[i]}}) {
        ASSERT_TRUE(within(c, library.c[i], reference.c, 1.0L)) << s.cc << " slot " << i;
        ASSERT_TRUE(within(sTerm, library.s[i], reference.s, r)) << s.cc << " slot " << i;
        ASSERT_TRUE(within(t, library.t[i], reference.t, 1.0L)) << s.cc << " slot " << i;
      }
      ++compared;
    }
  }
  // Only the slots on their own velocity and beyond a double's range drop out.
  EXPECT_GT(compared, 50000);
}

TEST(VerticalTerms, QuickTermsAreAsCloseToTheTextbookFunctionsAsTheLibraryTerms) {
  expectQuickTermsAsCloseAsTheLibraryTerms<Arithmetic::plain>();
  expectQuickTermsAsCloseAsTheLibraryTerms<Arithmetic::fused>();
}

// Slots whose argument lies within the kernel's range or beyond it, is
// positive (a negative thickness), or exceeds 1e20 and is replaced by 20:
// their terms come from the exponential of the argument the formulas
// prescribe, written out here with the library's exp.
TEST(VerticalTerms, TermsTakeTheExponentialOfTheFormulasArgument) {
  const double cc = 0.01;  // c = 0.1 km/s
  const double k = 6.2831854820251465 * 150.0 / 0.1;
  const double velocity2 = 0.04;  // 0.2 km/s
  const double r = std::sqrt(1.0 - cc / velocity2);
  for (const double thickness : {0.0752, 0.0868, 0.2, 40.0, -0.05, -1e25}) {
    SCOPED_TRACE(::testing::Message() << "thickness " << thickness << " km");
    const double slotVelocity2[kBlockSlots] = {velocity2, 1.0, 1.0, 1.0};
    const double slotThickness[kBlockSlots] = {thickness, 0.0, 0.0, 0.0};
    double x = -k * thickness * r;
    if (x > 1e20) {
      x = 20.0;
    }
    const double e = std::exp(x) / 2.0;
    const double g = 1.0 / (4.0 * e);
    const auto plain = swcore::blockTerms<false>(cc, k, slotVelocity2, nullptr, slotThickness, 1);
    EXPECT_TRUE(sameBits(plain.c[0], e + g));
    EXPECT_TRUE(sameBits(plain.s[0], (e - g) / (-r)));
    EXPECT_TRUE(sameBits(plain.t[0], (e - g) * r));
    // Rescaled: the decaying half, whatever the sign of the argument.
    const double decaying = std::exp(-std::abs(x)) / 2.0;
    const auto rescaled = swcore::blockTerms<true>(cc, k, slotVelocity2, nullptr, slotThickness, 1);
    EXPECT_TRUE(sameBits(rescaled.scale[0], 2.0 * decaying));
    EXPECT_TRUE(sameBits(rescaled.c[0], 2.0 * decaying * decaying + 0.5));
  }
}

TEST(VerticalTerms, PlainTermsAreTheTextbookFunctions) {
  // One evanescent and one circular slot, against cosh/sinh and cos/sin
  // written out here.
  const double cc = 0.04;  // c = 0.2 km/s
  const double k = 6.2831854820251465 * 30.0 / 0.2;
  const double velocity2[kBlockSlots] = {0.09, 0.0256, 1.0, 1.0};  // 0.3 and 0.16 km/s
  const double thickness[kBlockSlots] = {0.005, 0.005, 0.0, 0.0};
  const auto out = swcore::blockTerms<false>(cc, k, velocity2, nullptr, thickness, 2);
  const double r0 = std::sqrt(1.0 - cc / velocity2[0]);
  const double r1 = std::sqrt(cc / velocity2[1] - 1.0);
  const double a0 = k * thickness[0] * r0;
  const double a1 = k * thickness[1] * r1;
  EXPECT_NEAR(out.c[0], std::cosh(a0), 1e-14 * std::cosh(a0));
  EXPECT_NEAR(out.s[0], std::sinh(a0) / r0, 1e-14 * std::cosh(a0) / r0);
  EXPECT_NEAR(out.t[0], -r0 * std::sinh(a0), 1e-14 * std::cosh(a0));
  EXPECT_NEAR(out.c[1], std::cos(a1), 1e-15);
  EXPECT_NEAR(out.s[1], std::sin(a1) / r1, 1e-15 / r1);
  EXPECT_NEAR(out.t[1], r1 * std::sin(a1), 1e-15);
}

TEST(NearestExponentialLanes, FourLanesAtOnceEqualOneAtATime) {
  using Block = swcore::LaneVector<4>;
  std::mt19937_64 rng(777);
  std::uniform_real_distribution<double> wide(-swcore::kKernelArgumentLimit,
                                              swcore::kKernelArgumentLimit);
  std::uniform_real_distribution<double> near(-12.0, 3.0);
  for (int n = 0; n < 100000; ++n) {
    Block x;
    for (int i = 0; i < 4; ++i) {
      x[i] = i % 2 == 0 ? wide(rng) : near(rng);
    }
    if (n == 0) {
      x[1] = 0.0;  // e^0 = 1, never reported settled
    }
    const auto lanes = swcore::nearestExponential(x);
    for (int i = 0; i < 4; ++i) {
      const auto one = swcore::nearestExponential(static_cast<double>(x[i]));
      ASSERT_TRUE(sameBits(lanes.value[i], one.value)) << x[i];
      ASSERT_TRUE(sameBits(lanes.slack[i], one.slack)) << x[i];
    }
  }
}

TEST(QuickExponentialLanes, FourLanesAtOnceEqualOneAtATime) {
  using Block = swcore::LaneVector<4>;
  std::mt19937_64 rng(778);
  std::uniform_real_distribution<double> wide(-swcore::kKernelArgumentLimit,
                                              swcore::kKernelArgumentLimit);
  for (int n = 0; n < 100000; ++n) {
    Block x;
    for (int i = 0; i < 4; ++i) {
      x[i] = wide(rng);
    }
    const Block lanes = swcore::quickExponential(x);
    for (int i = 0; i < 4; ++i) {
      ASSERT_TRUE(sameBits(lanes[i], swcore::quickExponential(static_cast<double>(x[i])))) << x[i];
    }
  }
}

TEST(LaneVector, AnyNotPositiveSeesEveryLaneAndUndefinedValues) {
  using Block = swcore::LaneVector<4>;
  EXPECT_FALSE(swcore::anyNotPositive(Block{1.0, 2.0, 3.0, 4.0}));
  for (int i = 0; i < 4; ++i) {
    for (const double bad : {0.0, -1.0, std::numeric_limits<double>::quiet_NaN()}) {
      Block v{1.0, 2.0, 3.0, 4.0};
      v[i] = bad;
      EXPECT_TRUE(swcore::anyNotPositive(v)) << i << " " << bad;
    }
  }
}

}  // namespace
