// SPDX-License-Identifier: GPL-3.0-or-later
// Numbers as the engine writes them: the shortest text that reads back, fixed
// or scientific whichever is shorter, checked by hand on known values and
// against the C++ library's own shortest conversion on many others.
#include "records/number_text.h"

#include <gtest/gtest.h>
#include <locale.h>

#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <string>

namespace swcore {
namespace {

template <typename T>
std::string libraryShortest(T value) {
  std::array<char, 64> text{};
  const auto result = std::to_chars(text.data(), text.data() + text.size(), value);
  return std::string(text.data(), result.ptr);
}

template <typename T>
std::string engineText(T value) {
  return std::string(formatNumber(value).view());
}

TEST(NumberText, KnownDoubles) {
  EXPECT_EQ(engineText(5.0), "5");
  EXPECT_EQ(engineText(100.0), "100");
  EXPECT_EQ(engineText(1e-5), "1e-05");
  EXPECT_EQ(engineText(0.0001), "1e-04");  // shorter than 0.0001
  EXPECT_EQ(engineText(0.00012), "0.00012");
  EXPECT_EQ(engineText(1e6), "1e+06");
  EXPECT_EQ(engineText(1500000.0), "1500000");  // as long as 1.5e+06: fixed
  EXPECT_EQ(engineText(123e15), "1.23e+17");
  EXPECT_EQ(engineText(0.1 + 0.2), "0.30000000000000004");
  EXPECT_EQ(engineText(1.0 / 3.0), "0.3333333333333333");
  EXPECT_EQ(engineText(-2.5e-7), "-2.5e-07");
  EXPECT_EQ(engineText(0.0), "0");
  EXPECT_EQ(engineText(-0.0), "-0");
  EXPECT_EQ(engineText(std::numeric_limits<double>::max()), "1.7976931348623157e+308");
  EXPECT_EQ(engineText(std::numeric_limits<double>::denorm_min()), "5e-324");
  EXPECT_EQ(engineText(static_cast<double>(0.05f)), "0.05000000074505806");
}

TEST(NumberText, KnownFloats) {
  EXPECT_EQ(engineText(0.01f), "0.01");
  EXPECT_EQ(engineText(142.0961f), "142.0961");
  EXPECT_EQ(engineText(1.0f / 3.0f), "0.33333334");
  EXPECT_EQ(engineText(1e10f), "1e+10");
  EXPECT_EQ(engineText(std::numeric_limits<float>::denorm_min()), "1e-45");
  EXPECT_EQ(engineText(std::numeric_limits<float>::max()), "3.4028235e+38");
}

TEST(NumberText, IntegersAndNonFiniteValues) {
  EXPECT_EQ(engineText(std::int32_t{0}), "0");
  EXPECT_EQ(engineText(std::int32_t{-31}), "-31");
  EXPECT_EQ(engineText(std::numeric_limits<std::int32_t>::min()), "-2147483648");
  EXPECT_EQ(engineText(std::numeric_limits<double>::infinity()), "inf");
  EXPECT_EQ(engineText(-std::numeric_limits<double>::infinity()), "-inf");
  EXPECT_EQ(engineText(std::numeric_limits<double>::quiet_NaN()), "nan");
  EXPECT_EQ(engineText(-std::numeric_limits<double>::quiet_NaN()), "-nan");
  EXPECT_EQ(engineText(std::numeric_limits<float>::infinity()), "inf");
}

// Just above a power of two the gap below a number is half the gap above,
// which is where the nearest decimal of a length may fail to read back while
// another of the same length does.
TEST(NumberText, EveryPowerOfTwoAsTheLibraryWritesIt) {
  for (int e = -1074; e <= 1023; ++e) {
    const double value = std::ldexp(1.0, e);
    EXPECT_EQ(engineText(value), libraryShortest(value)) << "2^" << e;
  }
  for (int e = -149; e <= 127; ++e) {
    const float value = std::ldexp(1.0f, e);
    EXPECT_EQ(engineText(value), libraryShortest(value)) << "2^" << e;
  }
}

TEST(NumberText, RandomDoublesAsTheLibraryWritesThem) {
  std::mt19937_64 random(20261207);
  int checked = 0;
  while (checked < 40000) {
    const auto value = std::bit_cast<double>(random());
    if (!std::isfinite(value)) {
      continue;
    }
    ASSERT_EQ(engineText(value), libraryShortest(value)) << libraryShortest(value);
    ++checked;
  }
}

TEST(NumberText, RandomFloatsAsTheLibraryWritesThem) {
  std::mt19937 random(20261207);
  int checked = 0;
  while (checked < 40000) {
    const auto value = std::bit_cast<float>(static_cast<std::uint32_t>(random()));
    if (!std::isfinite(value)) {
      continue;
    }
    ASSERT_EQ(engineText(value), libraryShortest(value)) << libraryShortest(value);
    ++checked;
  }
}

// Values of the kind the engine prints: velocities, thicknesses, periods and
// misfits, short decimals and their arithmetic results.
TEST(NumberText, EngineLikeValuesAsTheLibraryWritesThem) {
  std::mt19937 random(7);
  std::uniform_int_distribution<int> digits(1, 99999);
  std::uniform_int_distribution<int> scale(-9, 6);
  for (int i = 0; i < 20000; ++i) {
    const double shortDecimal = digits(random) * std::pow(10.0, scale(random));
    ASSERT_EQ(engineText(shortDecimal), libraryShortest(shortDecimal));
    const double computed = 1.0 / shortDecimal;
    ASSERT_EQ(engineText(computed), libraryShortest(computed));
    const auto single = static_cast<float>(shortDecimal);
    ASSERT_EQ(engineText(single), libraryShortest(single));
  }
}

TEST(NumberText, LeavesTheThreadLocaleAsItWas) {
  const locale_t before = uselocale(static_cast<locale_t>(nullptr));
  EXPECT_EQ(engineText(0.15), "0.15");
  EXPECT_EQ(uselocale(static_cast<locale_t>(nullptr)), before);
}

}  // namespace
}  // namespace swcore
