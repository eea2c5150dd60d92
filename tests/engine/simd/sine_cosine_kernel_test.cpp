// SPDX-License-Identifier: GPL-3.0-or-later
// The straight-line sine and cosine against the C library's, plain and
// fused, one double and a block of lanes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <random>
#include <type_traits>
#include <vector>

#include "simd/lane_vector.h"
#include "simd/sine_cosine_kernel.h"
#include "test_models.h"

namespace {

using dispfit_test::sameBits;
using swcore::Arithmetic;
using swcore::kSineCosineArgumentLimit;
using swcore::quickSineCosine;

// Across the whole range, where the vertical terms' arguments mostly lie
// (below a few hundred rad), and just either side of the multiples of
// pi/2 where the reduction changes quadrant and one of the two values
// passes through zero.
std::vector<double> sampleArguments(int count) {
  std::mt19937_64 rng(31415);
  std::uniform_real_distribution<double> wide(-kSineCosineArgumentLimit, kSineCosineArgumentLimit);
  std::uniform_real_distribution<double> near(-400.0, 400.0);
  std::uniform_int_distribution<int> multiple(-20000, 20000);
  std::uniform_real_distribution<double> offset(-1e-6, 1e-6);
  std::vector<double> x;
  for (int i = 0; i < count; ++i) {
    switch (i % 3) {
      case 0:
        x.push_back(wide(rng));
        break;
      case 1:
        x.push_back(near(rng));
        break;
      default:
        x.push_back(multiple(rng) * (std::numbers::pi / 2.0) + offset(rng));
    }
  }
  return x;
}

template <class Kernel>
class QuickSineCosine : public ::testing::Test {};
using Arithmetics = ::testing::Types<std::integral_constant<Arithmetic, Arithmetic::plain>,
                                     std::integral_constant<Arithmetic, Arithmetic::fused>>;
TYPED_TEST_SUITE(QuickSineCosine, Arithmetics);

// Within three units of 2^-53 of the library's values, the library's own
// error (below one unit in the last place) included: the kernel's
// truncation lies below half a unit, its reduction's error far below, and
// its last sum and product round within a unit each (2^-52 is the worst seen
// over these arguments, plain and fused).
TYPED_TEST(QuickSineCosine, IsWithinThreeUnitsOfTheLibrarysValues) {
  double worstSine = 0.0;
  double worstCosine = 0.0;
  for (const double x : sampleArguments(900000)) {
    const auto v = quickSineCosine<TypeParam::value>(x);
    worstSine = std::max(worstSine, std::abs(v.sine - std::sin(x)));
    worstCosine = std::max(worstCosine, std::abs(v.cosine - std::cos(x)));
  }
  EXPECT_LE(worstSine, 3.0 * 0x1p-53);
  EXPECT_LE(worstCosine, 3.0 * 0x1p-53);
  // A kernel with a wrong coefficient, a series cut short or a reduction
  // with pi/2 in fewer parts errs by far more at the top of the range; one
  // that is right still differs from the library somewhere.
  EXPECT_GT(worstSine + worstCosine, 0.0);
}

// sin is odd and cos even bit for bit: the reduction of -x is that of x
// negated, the series are odd and even in r, and the quadrant of -n gives
// the signs back.
TYPED_TEST(QuickSineCosine, SineIsOddAndCosineEvenExactly) {
  for (const double x : sampleArguments(30000)) {
    const auto plus = quickSineCosine<TypeParam::value>(x);
    const auto minus = quickSineCosine<TypeParam::value>(-x);
    ASSERT_TRUE(sameBits(minus.sine, -plus.sine)) << x;
    ASSERT_TRUE(sameBits(minus.cosine, plus.cosine)) << x;
  }
}

TYPED_TEST(QuickSineCosine, IsExactAtZeroAndFollowsTheQuadrants) {
  const auto zero = quickSineCosine<TypeParam::value>(0.0);
  EXPECT_EQ(zero.sine, 0.0);
  EXPECT_EQ(zero.cosine, 1.0);
  // Worked by hand: x = 1 rad in each quadrant, sin 1 = 0.8414709848078965
  // and cos 1 = 0.5403023058681398.
  constexpr double kSinOne = 0.8414709848078965;
  constexpr double kCosOne = 0.5403023058681398;
  const double half = std::numbers::pi / 2.0;
  const struct {
    double x, sine, cosine;
  } cases[] = {{1.0, kSinOne, kCosOne},
               {1.0 + half, kCosOne, -kSinOne},
               {1.0 + 2.0 * half, -kSinOne, -kCosOne},
               {1.0 + 3.0 * half, -kCosOne, kSinOne},
               {1.0 - half, -kCosOne, kSinOne}};
  for (const auto& c : cases) {
    const auto v = quickSineCosine<TypeParam::value>(c.x);
    // The argument's own rounding (x near 5.7 holds 2^-51) moves the values
    // by up to that.
    EXPECT_NEAR(v.sine, c.sine, 4e-16) << c.x;
    EXPECT_NEAR(v.cosine, c.cosine, 4e-16) << c.x;
  }
}

TEST(QuickSineCosineLanes, FourLanesAtOnceEqualOneAtATime) {
  using Block = swcore::LaneVector<4>;
  const std::vector<double> arguments = sampleArguments(40000);
  for (std::size_t j = 0; j + 4 <= arguments.size(); j += 4) {
    const Block x = swcore::loadLanes<Block>(&arguments[j]);
    const auto lanes = quickSineCosine(x);
    for (int i = 0; i < 4; ++i) {
      const auto one = quickSineCosine(arguments[j + static_cast<std::size_t>(i)]);
      ASSERT_TRUE(sameBits(lanes.sine[i], one.sine)) << x[i];
      ASSERT_TRUE(sameBits(lanes.cosine[i], one.cosine)) << x[i];
    }
  }
}

}  // namespace
