// SPDX-License-Identifier: GPL-3.0-or-later
// The user's inversion settings: which are refused, and the report's line.
#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "inversion/window_inversion.h"
#include "table_translator.h"

namespace dispfit {
namespace {

TEST(InversionLimits, DefaultsAreTheWindowsSettingsAndNeedNoReportLine) {
  const InversionLimits defaults;
  EXPECT_EQ(defaults.vsLower, 50.0f);
  EXPECT_EQ(defaults.vsUpper, 1000.0f);
  EXPECT_EQ(defaults.thicknessLower, 0.1f);
  EXPECT_EQ(defaults.thicknessUpper, 5.0f);
  EXPECT_EQ(defaults.maxIterations, 30);
  EXPECT_EQ(inversionLimitsFault(defaults), "");
  EXPECT_EQ(inversionLimitsLine(defaults), "");
}

TEST(InversionLimits, FaultsAreRefused) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const struct {
    const char* name;
    InversionLimits limits;
    const char* fault;  // a part of the message; empty when usable
  } cases[] = {
      {"narrow but sound", {100, 101, 0.5f, 0.6f, 1}, ""},
      {"Vs just below the engine's ceiling", {50, 9999, 0.1f, 5, 200}, ""},
      {"Vs lower equals upper", {300, 300, 0.1f, 5, 30}, "Vs 的下限"},
      {"Vs lower above upper", {400, 300, 0.1f, 5, 30}, "Vs 的下限"},
      {"Vs zero", {0, 300, 0.1f, 5, 30}, "Vs 的下限"},
      {"Vs not a number", {nan, 300, 0.1f, 5, 30}, "Vs 的下限"},
      {"Vs at 10 km/s", {50, 10000, 0.1f, 5, 30}, "小于 10000 m/s"},
      {"thickness negative", {50, 1000, -1, 5, 30}, "厚度的下限"},
      {"thickness reversed", {50, 1000, 5, 1, 30}, "厚度的下限"},
      {"no iteration", {50, 1000, 0.1f, 5, 0}, "迭代次数须在 1 到 10000 之间"},
      {"as many iterations as allowed", {50, 1000, 0.1f, 5, 10000}, ""},
      {"too many iterations", {50, 1000, 0.1f, 5, 10001}, "迭代次数须在 1 到 10000 之间"},
  };
  for (const auto& row : cases) {
    SCOPED_TRACE(row.name);
    const std::string fault = inversionLimitsFault(row.limits);
    if (*row.fault == '\0') {
      EXPECT_EQ(fault, "");
    } else {
      EXPECT_NE(fault.find(row.fault), std::string::npos) << fault;
    }
  }
}

TEST(InversionLimits, ChangedLimitsAreNamedInTheReportLine) {
  EXPECT_EQ(inversionLimitsLine({100, 600, 0.5f, 3, 50}),
            "反演设置：Vs 100–600 m/s，厚度 0.5–3 m，最多 50 次迭代");
}

TEST(InversionLimits, TextsAreInTheTranslatorsLanguage) {
  TableTranslator english;
  english.table = {{{"InversionLimits", "反演设置：Vs %1–%2 m/s，厚度 %3–%4 m，最多 %5 次迭代"},
                    "Vs %1-%2 m/s, h %3-%4 m, %5 iterations"},
                   {{"InversionLimits", "迭代次数须在 1 到 %1 之间。"}, "From 1 to %1."}};
  EXPECT_EQ(inversionLimitsLine({100, 600, 0.5f, 3, 50}, english),
            "Vs 100-600 m/s, h 0.5-3 m, 50 iterations");
  EXPECT_EQ(inversionLimitsFault({50, 1000, 0.1f, 5, 0}, english), "From 1 to 10000.");
  EXPECT_EQ(inversionLimitsFault({0, 300, 0.1f, 5, 30}, english),
            "[Vs 的下限须为正数且小于上限。]");
}

}  // namespace
}  // namespace dispfit
