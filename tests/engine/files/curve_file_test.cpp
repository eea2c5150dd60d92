// SPDX-License-Identifier: GPL-3.0-or-later
// Observed curves in the free format and as a curve table.
#include "files/curve_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace swcore {
namespace {

constexpr InputLimits kLimits{20, 50};

CurveFile parsedTable(const std::string& text) {
  CurveFile curve;
  std::string error;
  EXPECT_TRUE(parseCurveTable(text, "c.txt", kLimits, curve, error)) << error;
  return curve;
}

TEST(CurveTable, ColumnsByHeaderOrByWidth) {
  struct Case {
    const char* name;
    std::string text;
    CurveFile expected;
  };
  const std::vector<double> f{150, 100};
  const std::vector<double> c{140, 160.5};
  const Case cases[] = {
      {"two columns, no header", "150 140\n100 160.5\n", {f, c, {}, {}, {}, {}, {}, {1, 2}}},
      {"deviation, no header", "150 140 2\n100 160.5 3\n", {f, c, {2, 3}, {}, {}, {}, {}, {1, 2}}},
      {"bounds, no header",
       "150 140 135 146\n100 160.5 150 170\n",
       {f, c, {}, {135, 150}, {146, 170}, {}, {}, {1, 2}}},
      {"header in another order",
       "Vr (m/s); Frequency (Hz)\n140;150\n160.5;100\n",
       {f, c, {}, {}, {}, {}, {}, {2, 3}}},
      {"spellings",
       "freq,phase velocity,std\n150,140,2\n100,160.5,3\n",
       {f, c, {2, 3}, {}, {}, {}, {}, {2, 3}}},
      {"bounds by name",
       "# picks\nf c upper lower\n150 140 146 135\n100 160.5 170 150\n",
       {f, c, {}, {135, 150}, {146, 170}, {}, {}, {3, 4}}},
      {"byte-order mark and CRLF",
       "\xEF\xBB\xBF"
       "f\tc\r\n150\t140\r\n100\t160.5\r\n",
       {f, c, {}, {}, {}, {}, {}, {2, 3}}},
      // Wavelengths and periods are kept as written; converting them needs
      // the velocity and is the caller's business.
      {"wavelength instead of frequency",
       "Wavelength (m), c (m/s), low, high\n0.9, 140, 135, 146\n1.6, 160.5, 150, 170\n",
       {{}, c, {}, {135, 150}, {146, 170}, {0.9, 1.6}, {}, {2, 3}}},
      {"period instead of frequency",
       "T [s]; vr\n0.02; 140\n0.05; 160.5\n",
       {{}, c, {}, {}, {}, {}, {0.02, 0.05}, {2, 3}}},
      // The mode each datum measured, without a unit, in any column.
      {"mode column",
       "Mode, f (Hz), c, sigma\n1, 150, 140, 2\n0, 100, 160.5, 3\n",
       {f, c, {2, 3}, {}, {}, {}, {}, {2, 3}, {1, 0}}},
      {"mode with bounds, written as a decimal",
       "f c low high mode\n150 140 135 146 12.0\n100 160.5 150 170 99\n",
       {f, c, {}, {135, 150}, {146, 170}, {}, {}, {2, 3}, {12, 99}}},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    EXPECT_EQ(parsedTable(k.text), k.expected);
  }
}

TEST(CurveTable, RefusalsNameTheLine) {
  struct Case {
    const char* name;
    std::string text;
    std::string expected;
  };
  std::string tooMany;
  for (int i = 0; i < 51; ++i) tooMany += std::to_string(150 - i) + " 140\n";
  const Case cases[] = {
      {"no data", "f c\n", "c.txt: 0 data (from 1 to 50 can be used)"},
      {"51 data", tooMany, "c.txt, line 51: 51 data (from 1 to 50 can be used)"},
      {"no velocity column", "f sigma\n150 2\n",
       "c.txt, line 1: the header names no velocity column"},
      {"low without high", "f c low\n150 140 135\n",
       "c.txt, line 1: the header names a low or a high bound without the other"},
      {"deviation and bounds", "f c sigma low high\n150 140 2 135 146\n",
       "c.txt, line 1: the header names both a standard deviation and bounds; give one or the "
       "other"},
      {"velocity in ft/s", "f (Hz), c (ft/s)\n150, 459\n",
       "c.txt, line 1: \"c (ft/s)\": the velocity column takes m/s, km/s, ms-1, m.s-1, kms-1 or "
       "km.s-1"},
      {"five values without a header", "150 140 1 2 3\n",
       "c.txt, line 1: 5 values on a line; without a header a row holds 2, 3 or 4"},
      {"frequency 0", "f c\n150 140\n0 150\n",
       "c.txt, line 3: the frequency of datum 2 must be positive"},
      {"velocity of 20 km/s", "f c\n150 20000\n",
       "c.txt, line 2: the velocity of datum 1 (20000 m/s) is not below 10000 m/s"},
      {"negative deviation", "f c sigma\n150 140 -2\n",
       "c.txt, line 2: the standard deviation of datum 1 is negative"},
      {"frequency and wavelength", "f lambda c\n150 0.9 140\n",
       "c.txt, line 1: the header names more than one of frequency, wavelength and period; give "
       "one"},
      {"no abscissa", "c sigma\n140 2\n",
       "c.txt, line 1: the header names no frequency, wavelength or period column"},
      {"wavelength in Hz", "lambda (Hz), c\n0.9, 140\n",
       "c.txt, line 1: \"lambda (Hz)\": the wavelength column takes m or km"},
      {"a name no program uses", "f, c_best, c_sd\n150, 140, 2\n",
       "c.txt, line 1: the header names a column \"c_best\" that this table does not know (the "
       "header reads \"f, c_best, c_sd\"); its columns are frequency (frequency, freq, f, "
       "frequencies, frequency hz), velocity (velocity, phase velocity, vr, c, vph, c mean, mean, "
       "v, vel, vphase, phase vel, rayleigh velocity, cr), standard deviation (sigma, std, "
       "standard "
       "deviation, sd, stddev, stdev, std dev, c std, c sd, c sigma, c stddev, sigma c, error, "
       "uncertainty), low (low, lower, min, c low, c lower, c min, lower bound, vmin), high (high, "
       "upper, max, c up, c high, c upper, c max, upper bound, vmax), wavelength (wavelength, "
       "lambda, wl, wave length, wavelengths), period (period, t, periods, per), mode (mode)"},
      {"period 0", "period c\n0.02 140\n0 150\n",
       "c.txt, line 3: the period of datum 2 must be positive"},
      {"low above high", "f c low high\n150 140 146 135\n",
       "c.txt, line 2: the low bound of datum 1 is above its high bound"},
      {"mode not whole", "f c mode\n150 140 0\n100 160.5 1.5\n",
       "c.txt, line 3: the mode of datum 2 is not a whole number from 0 to 99"},
      {"negative mode", "f c mode\n150 140 -1\n",
       "c.txt, line 2: the mode of datum 1 is not a whole number from 0 to 99"},
      {"mode 100", "f c mode\n150 140 100\n",
       "c.txt, line 2: the mode of datum 1 is not a whole number from 0 to 99"},
      {"mode with a unit", "f c mode (Hz)\n150 140 0\n",
       "c.txt, line 1: \"mode (Hz)\": the mode column takes no unit"},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    CurveFile curve;
    std::string error;
    EXPECT_FALSE(parseCurveTable(k.text, "c.txt", kLimits, curve, error));
    EXPECT_EQ(error, k.expected);
  }
}

TEST(FreeFormatCurve, PairsOneALineTheRestSkipped) {
  CurveFile curve;
  std::string error;
  ASSERT_TRUE(
      parseFreeFormatCurve("\xEF\xBB\xBF"
                           "2 data\r\n150 140 2.5\r\n100,160.5\r\n",
                           "c.txt", kLimits, curve, error))
      << error;
  EXPECT_EQ(curve, (CurveFile{{150, 100}, {140, 160.5}, {}, {}, {}, {}, {}, {2, 3}}));
}

// The dispatching parse: a count opens the free format, a header or a row of
// numbers a table, which may then be longer than the free format allows.
TEST(CurveText, CountOrTableDecidesTheLayout) {
  constexpr InputLimits kTableLimits{20, 1000};
  std::string sixty;
  for (int i = 0; i < 60; ++i) sixty += std::to_string(150 - i) + " 140\n";
  struct Case {
    const char* name;
    std::string text;
    std::size_t data;
    std::vector<double> firstDatum;  // frequency and velocity
  };
  const Case cases[] = {
      {"count alone", "1\n150 140\n", 1, {150, 140}},
      {"count with a word", "2 data\r\n150 140 2.5\r\n100,160.5\r\n", 2, {150, 140}},
      {"header", "f c\n150 140\n", 1, {150, 140}},
      {"rows of numbers", "150 140\n100 160.5\n90 170\n", 3, {150, 140}},
      {"60 rows of numbers", sixty, 60, {150, 140}},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    CurveFile curve;
    std::string error;
    ASSERT_TRUE(parseCurveText(k.text, "c.txt", kLimits, kTableLimits, curve, error)) << error;
    ASSERT_EQ(curve.frequency.size(), k.data);
    EXPECT_EQ((std::vector<double>{curve.frequency[0], curve.velocity[0]}), k.firstDatum);
  }
  CurveFile curve;
  std::string error;
  EXPECT_FALSE(parseCurveText("51\n" + sixty, "c.txt", kLimits, kTableLimits, curve, error));
  EXPECT_EQ(error, "c.txt: 51 data (from 1 to 50 can be used)");
}

TEST(FreeFormatCurve, Refusals) {
  struct Case {
    std::string text;
    std::string expected;
  };
  const Case cases[] = {
      {"0\n", "c.txt: 0 data (from 1 to 50 can be used)"},
      {"0x2\n150 140\n100 150\n", "c.txt, line 1: \"0x2\" is not an integer"},
      {"1\n-150 140\n", "c.txt: the frequency of datum 1 must be positive"},
      {"1\n150 1e39\n",
       "c.txt: the velocity of datum 1 (1e+39) is beyond the single-precision range"},
      {"f c\n150 140\n",
       "c.txt, line 1: a column header, but this file takes the free format: the number of data, "
       "then frequency and velocity of each datum"},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.text);
    CurveFile curve;
    std::string error;
    EXPECT_FALSE(parseFreeFormatCurve(k.text, "c.txt", kLimits, curve, error));
    EXPECT_EQ(error, k.expected);
  }
}

}  // namespace
}  // namespace swcore
