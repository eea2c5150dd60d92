// SPDX-License-Identifier: GPL-3.0-or-later
// The report's number patterns (decimal
// expansion to 18 digits, then half away from zero), and the report text.
#include "inversion/inversion_report.h"

#include <gtest/gtest.h>

#include <limits>
#include <vector>

#include "core/number_text.h"

#include "table_translator.h"

namespace dispfit {

namespace {

TEST(NumberPattern, ScientificHasTwoDecimalsAndASignedTwoDigitExponent) {
  EXPECT_EQ(formatScientific(1.234e-4), "1.23E-04");
  EXPECT_EQ(formatScientific(0.0), "0.00E+00");
  EXPECT_EQ(formatScientific(1.0), "1.00E+00");
  EXPECT_EQ(formatScientific(12345.0), "1.23E+04");
  EXPECT_EQ(formatScientific(-0.0025), "-2.50E-03");
  EXPECT_EQ(formatScientific(1e100), "1.00E+100");
  EXPECT_EQ(formatScientific(static_cast<double>(0.001f)), "1.00E-03");
  EXPECT_EQ(formatScientific(std::numeric_limits<double>::quiet_NaN()), "NAN");
  EXPECT_EQ(formatScientific(std::numeric_limits<double>::infinity()), "INF");
}

TEST(NumberPattern, ScientificRoundsHalfAwayFromZeroWithCarry) {
  EXPECT_EQ(formatScientific(1.125), "1.13E+00");  // exact tie in binary
  EXPECT_EQ(formatScientific(-1.125), "-1.13E+00");
  EXPECT_EQ(formatScientific(9.996), "1.00E+01");  // carry into the exponent
  EXPECT_EQ(formatScientific(9.9949), "9.99E+00");
  EXPECT_EQ(formatScientific(0.0999999), "1.00E-01");
  // 2.675 is stored just below 2.675.
  EXPECT_EQ(formatScientific(2.675), "2.67E+00");
}

TEST(NumberPattern, OneDecimalIsFixedNotation) {
  EXPECT_EQ(formatOneDecimal(12.5), "12.5");
  EXPECT_EQ(formatOneDecimal(150.0), "150.0");
  EXPECT_EQ(formatOneDecimal(525.0f), "525.0");
  EXPECT_EQ(formatOneDecimal(0.0), "0.0");
  EXPECT_EQ(formatOneDecimal(static_cast<double>(0.1f)), "0.1");
  EXPECT_EQ(formatOneDecimal(12.25), "12.3");  // exact tie rounds away from zero
  EXPECT_EQ(formatOneDecimal(-3.25), "-3.3");
  EXPECT_EQ(formatOneDecimal(0.05), "0.1");
  EXPECT_EQ(formatOneDecimal(0.04), "0.0");
  EXPECT_EQ(formatOneDecimal(0.96), "1.0");
  EXPECT_EQ(formatOneDecimal(999.96), "1000.0");
  EXPECT_EQ(formatOneDecimal(1234567.89), "1234567.9");
  // The single-precision 2.55 is 2.5499999523..., below the tie.
  EXPECT_EQ(formatOneDecimal(static_cast<double>(2.55f)), "2.5");
}

TEST(InversionReport, ListsIterationsMisfitAndLayersTopFirst) {
  const std::vector<float> params = {180.0f, 320.5f, 640.25f, 2.0f, 4.75f, 2.55f};
  const std::string expected =
      "\t反演结果\n\n拟合情况：\n"
      "迭代次数：7\n"
      "拟 合 差：1.23E-04"
      "\n\n模型参数：\n#      H       Vs\n"
      "1   2.0   180.0\n"
      "2   4.8   320.5\n"
      "3   2.5   640.3\n";
  EXPECT_EQ(inversionReport(7, 1.234e-4f, 6, params.data()), expected);
}

// The labels come from the translator; the numbers and the columns stay.
TEST(InversionReport, LabelsAreInTheTranslatorsLanguage) {
  TableTranslator english;
  english.table = {{{"InversionReport", "反演结果"}, "Inversion result"},
                   {{"InversionReport", "拟合情况："}, "Fit:"},
                   {{"InversionReport", "迭代次数：%1"}, "Iterations: %1"},
                   {{"InversionReport", "拟 合 差：%1"}, "Misfit:     %1"},
                   {{"InversionReport", "模型参数："}, "Model:"}};
  const std::vector<float> params = {150.0f, 2.0f};
  EXPECT_EQ(inversionReport(1, 0.0f, 2, params.data(), english),
            "\tInversion result\n\nFit:\nIterations: 1\nMisfit:     0.00E+00\n\nModel:\n"
            "#      H       Vs\n1   2.0   150.0\n");
}

TEST(InversionReport, PerfectFitShowsZeroMisfit) {
  const std::vector<float> params = {150.0f, 2.0f};
  EXPECT_EQ(inversionReport(1, 0.0f, 2, params.data()),
            "\t反演结果\n\n拟合情况：\n迭代次数：1\n拟 合 差：0.00E+00\n\n模型参数：\n"
            "#      H       Vs\n1   2.0   150.0\n");
}

// Twelve layers: two-digit layer numbers, thicknesses from 0.1 to 12.5 m,
// velocities from 95 to 1000 m/s. Every row must be as long as the widest,
// with each column's last character in the same place.
TEST(InversionReport, ColumnsStayAlignedForMoreThanNineLayers) {
  std::vector<float> params(24);
  for (int g = 0; g < 12; ++g) {
    params[g] = g == 0 ? 95.0f : 1000.0f - 50.0f * static_cast<float>(g);
    params[12 + g] = g == 11 ? 12.5f : 0.1f + static_cast<float>(g);
  }
  const std::string report = inversionReport(3, 1e-3f, 24, params.data());
  const std::string rows = report.substr(report.find("Vs\n") + 3);
  std::vector<std::string> lines;
  for (std::size_t start = 0; start < rows.size();) {
    const std::size_t end = rows.find('\n', start);
    lines.push_back(rows.substr(start, end - start));
    start = end + 1;
  }
  ASSERT_EQ(lines.size(), 12u);
  EXPECT_EQ(lines[0], " 1    0.1    95.0");
  EXPECT_EQ(lines[11], "12   12.5   450.0");
  for (const std::string& line : lines) {
    SCOPED_TRACE(line);
    EXPECT_EQ(line.size(), lines[0].size());
    EXPECT_NE(line[1], ' ');   // units digit of the layer number
    EXPECT_EQ(line[7], '.');   // decimal point of H
    EXPECT_EQ(line[15], '.');  // decimal point of Vs
  }
}

}  // namespace

}  // namespace dispfit
