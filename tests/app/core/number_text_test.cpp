// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/number_text.h"

#include <gtest/gtest.h>

#include <clocale>
#include <limits>
#include <locale>
#include <string>

namespace dispfit {

namespace {

// Expected texts follow the general format: 15 significant
// digits, fixed notation while the integer part has at most 15 digits and
// the magnitude is at least 1e-5, trailing zeros dropped.
TEST(FormatGeneral, WritesTableDefaultsInTheGeneralFormat) {
  EXPECT_EQ(formatGeneral(static_cast<double>(1.8f)), "1.79999995231628");
  EXPECT_EQ(formatGeneral(2.0), "2");
  EXPECT_EQ(formatGeneral(150.0), "150");
  EXPECT_EQ(formatGeneral(static_cast<double>(static_cast<float>(0.91 * 150.0))), "136.5");
  EXPECT_EQ(formatGeneral(0.0), "0");
  EXPECT_EQ(formatGeneral(-2.5), "-2.5");
}

TEST(FormatGeneral, RoundsToFifteenSignificantDigits) {
  EXPECT_EQ(formatGeneral(1.0 / 3.0), "0.333333333333333");
  EXPECT_EQ(formatGeneral(2.0 / 3.0), "0.666666666666667");
  EXPECT_EQ(formatGeneral(0.1), "0.1");  // 0.1000000000000000055... rounds back
  EXPECT_EQ(formatGeneral(static_cast<double>(2.2f)), "2.20000004768372");
  EXPECT_EQ(formatGeneral(999999999999999.9), "1E15");
}

TEST(FormatGeneral, SwitchesToScientificOutsideTheFixedRange) {
  EXPECT_EQ(formatGeneral(123456789012345.0), "123456789012345");
  EXPECT_EQ(formatGeneral(1e15), "1E15");
  EXPECT_EQ(formatGeneral(1.23e20), "1.23E20");
  EXPECT_EQ(formatGeneral(0.00001), "0.00001");
  EXPECT_EQ(formatGeneral(0.000123), "0.000123");
  EXPECT_EQ(formatGeneral(1.5e-6), "1.5E-6");
  EXPECT_EQ(formatGeneral(-4e-9), "-4E-9");
}

TEST(ParseDecimal, AcceptsDecimalNumbersWithBlanksAround) {
  EXPECT_DOUBLE_EQ(parseDecimal("1.8").value(), 1.8);
  EXPECT_DOUBLE_EQ(parseDecimal("  1.8  ").value(), 1.8);
  EXPECT_DOUBLE_EQ(parseDecimal("\t200\t").value(), 200.0);
  EXPECT_DOUBLE_EQ(parseDecimal("+3").value(), 3.0);
  EXPECT_DOUBLE_EQ(parseDecimal("-4.5").value(), -4.5);
  EXPECT_DOUBLE_EQ(parseDecimal(".5").value(), 0.5);
  EXPECT_DOUBLE_EQ(parseDecimal("5.").value(), 5.0);
  EXPECT_DOUBLE_EQ(parseDecimal("1e3").value(), 1000.0);
  EXPECT_DOUBLE_EQ(parseDecimal("1.5E-2").value(), 0.015);
  EXPECT_DOUBLE_EQ(parseDecimal("1.79999995231628").value(), 1.79999995231628);
}

TEST(ParseDecimal, RejectsEmptyPartialAndForeignTexts) {
  for (const char* text : {"", "   ", "1.8x", "x1.8", "abc", "1,8", "1 8", "inf", "nan", "0x10",
                           "1e", "e5", "--1", "+-1", ".", "-", "1e999", "1.8.1"}) {
    EXPECT_FALSE(parseDecimal(text).has_value()) << '"' << text << '"';
  }
}

TEST(ParseSingle, RejectsValuesASingleCannotHold) {
  EXPECT_FLOAT_EQ(parseSingle("1.8").value(), 1.8f);
  EXPECT_FALSE(parseSingle("1e39").has_value());
  EXPECT_FALSE(parseSingle("-1e39").has_value());
}

TEST(ParseWhole, TakesPlainIntegersOnly) {
  EXPECT_EQ(parseWhole("42"), 42);
  EXPECT_EQ(parseWhole(" +7 "), 7);
  EXPECT_EQ(parseWhole("-3"), -3);
  EXPECT_EQ(parseWhole("9223372036854775807"), INT64_MAX);
  for (const char* text : {"", "3.0", "1e3", "0x10", "+-1", "9223372036854775808", "4 2", "x"}) {
    EXPECT_FALSE(parseWhole(text).has_value()) << '"' << text << '"';
  }
}

// Each figure with the digits its quantity carries; the rounding is that of
// the value's exact binary expansion, so a tie that is not exact in binary
// goes the way its expansion lies (2.675 is 2.67499999999999982236431605997495353221893310546875).
TEST(FigureText, EachQuantityCarriesItsOwnDigits) {
  const struct {
    double value;
    Figure figure;
    const char* fixed;
    const char* rounded;
  } rows[] = {
      {1.3740849908589505, Figure::Length, "1.37", "1.37"},
      {2.5, Figure::Length, "2.50", "2.5"},
      {10.0, Figure::Length, "10.00", "10"},
      {2.675, Figure::Length, "2.67", "2.67"},
      {0.30000000000000004, Figure::Length, "0.30", "0.3"},
      {24.04, Figure::Depth, "24.0", "24"},
      {381.0, Figure::Velocity, "381.0", "381"},
      {250.25, Figure::Velocity, "250.2", "250.2"},  // an exact tie: to even
      {static_cast<double>(1.8f), Figure::Density, "1.80", "1.8"},
      {1.6149, Figure::Misfit, "1.61", "1.61"},
      {0.33333, Figure::Ratio, "0.333", "0.333"},
      {150.0, Figure::Frequency, "150.000", "150"},
      {11.1111111111, Figure::Frequency, "11.1111", "11.1111"},
      {0.0123456789, Figure::Frequency, "0.0123457", "0.0123457"},
      {-0.001, Figure::Length, "0.00", "0"},
      {-2.5, Figure::Velocity, "-2.5", "-2.5"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.fixed);
    EXPECT_EQ(figureText(row.value, row.figure), row.fixed);
    EXPECT_EQ(roundedText(row.value, row.figure), row.rounded);
  }
  EXPECT_EQ(roundedValue(1.3740849908589505, Figure::Length), 1.37);
  EXPECT_EQ(rightAligned("2.50", 6), "  2.50");
  EXPECT_EQ(rightAligned("half-space", 4), "half-space");
}

TEST(ScientificText, OneDigitBeforeThePointAndAtLeastTwoInTheExponent) {
  EXPECT_EQ(scientificText(1.0, 6), "1.000000e+00");
  EXPECT_EQ(scientificText(-3.166461e6, 6), "-3.166461e+06");
  EXPECT_EQ(scientificText(1.580309e-6, 6), "1.580309e-06");
  EXPECT_EQ(scientificText(6.3980304e3, 6), "6.398030e+03");  // rounds to nearest
  EXPECT_EQ(scientificText(2.5e-300, 2), "2.50e-300");
  EXPECT_EQ(scientificText(0.0, 3), "0.000e+00");
  EXPECT_EQ(scientificText(std::numeric_limits<double>::infinity(), 6), "inf");
}

TEST(ExactText, ReadsBackToTheSameValueInTheShortestDigits) {
  EXPECT_EQ(exactText(0.1f), "0.1");
  EXPECT_EQ(exactText(static_cast<double>(0.1f)), "0.10000000149011612");
  EXPECT_EQ(exactText(1.0 / 3.0), "0.3333333333333333");
  EXPECT_EQ(exactText(1e-5), "1e-05");
  for (const double value : {1.3740849908589505, 1e300, 5e-324, 123.456}) {
    EXPECT_EQ(parseDecimal(exactText(value)), value) << exactText(value);
  }
}

TEST(ShiftedText, WritesAnotherUnitInTheDigitsTheValueWasGivenIn) {
  // 123.6 / 1000 is the double 0.12359999999999999 (exactText's answer); the
  // value's own digits, "123.6", with the point three places on are wanted.
  struct Case {
    double value;
    int places;
    const char* text;
  };
  for (const Case& c :
       {Case{123.6, 3, "0.1236"}, Case{1.5211396, 3, "0.0015211396"},
        Case{606.07689, 3, "0.60607689"}, Case{0.0, 3, "0"}, Case{-2.5, 3, "-0.0025"},
        Case{1800.0, 0, "1800"}, Case{1.8, -3, "1800"}, Case{12345.678, 2, "123.45678"},
        Case{1.5e300, 3, "1.5e297"}, Case{2.5e-30, -3, "2.5e-27"}}) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(shiftedText(c.value, c.places), c.text);
  }
  // Whatever the digits, the text read back and scaled is the value to
  // within a rounding of the last bit (two roundings: reading, scaling).
  for (const double value : {1.3740849908589505, 1.0 / 3.0, 449.0231, 1e-7, 9999.999999999998}) {
    const std::string text = shiftedText(value, 3);
    SCOPED_TRACE(text);
    ASSERT_TRUE(parseDecimal(text).has_value());
    EXPECT_NEAR(*parseDecimal(text) * 1000.0, value, 2.0 * std::abs(value) * 0x1p-52);
  }
}

// A numeric facet with a comma, as a German locale has.
struct CommaDecimal : std::numpunct<char> {
  char do_decimal_point() const override { return ','; }
};

TEST(NumberText, IgnoresTheUsersLocale) {
  const std::locale previous =
      std::locale::global(std::locale(std::locale::classic(), new CommaDecimal));
  const std::string previousC = std::setlocale(LC_ALL, nullptr);
  // Use a comma-decimal C locale too where the system has one.
  const bool commaC = std::setlocale(LC_NUMERIC, "de_DE.UTF-8") != nullptr ||
                      std::setlocale(LC_NUMERIC, "zh_CN.UTF-8") != nullptr;
  const std::optional<double> read = parseDecimal("1.8");
  const std::optional<double> comma = parseDecimal("1,8");
  const std::string written = formatGeneral(static_cast<double>(1.8f));
  const std::string figure = figureText(1234.5, Figure::Velocity);
  const std::string exact = exactText(0.25);
  std::locale::global(previous);
  std::setlocale(LC_ALL, previousC.c_str());

  ASSERT_TRUE(read.has_value());
  EXPECT_DOUBLE_EQ(*read, 1.8);
  EXPECT_FALSE(comma.has_value());
  EXPECT_EQ(written, "1.79999995231628");
  EXPECT_EQ(figure, "1234.5");  // no digit grouping, a full stop
  EXPECT_EQ(exact, "0.25");
  RecordProperty("comma_c_locale", commaC ? "yes" : "no");
}

}  // namespace

}  // namespace dispfit
