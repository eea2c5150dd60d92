// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/print_layout.h"

#include <gtest/gtest.h>

namespace dispfit {

namespace {

// A chart of 400 x 250 (ratio 1.6) on an A4 page of 2100 x 2970 units.
TEST(PrintedChartRect, PortraitPageIsLimitedByItsWidth) {
  const PageRect r = printedChartRect(2100.0, 2970.0, 400.0, 250.0);
  EXPECT_DOUBLE_EQ(r.left, 315.0);    // 15 % of 2100
  EXPECT_DOUBLE_EQ(r.width, 1470.0);  // 70 % of 2100
  EXPECT_DOUBLE_EQ(r.height, 1470.0 / 1.6);
  EXPECT_DOUBLE_EQ(r.top, (2970.0 - 1470.0 / 1.6) / 2.0);
}

// A4 landscape (inner 2079 x 1470, ratio 1.41) is still narrower than the
// chart; a wide page of 4000 x 1000 (inner 2800 x 700) is limited by height.
TEST(PrintedChartRect, WidePageIsLimitedByItsHeight) {
  PageRect r = printedChartRect(2970.0, 2100.0, 400.0, 250.0);
  EXPECT_DOUBLE_EQ(r.left, 445.5);
  EXPECT_DOUBLE_EQ(r.width, 2079.0);
  r = printedChartRect(4000.0, 1000.0, 400.0, 250.0);
  EXPECT_DOUBLE_EQ(r.top, 150.0);
  EXPECT_DOUBLE_EQ(r.height, 700.0);
  EXPECT_DOUBLE_EQ(r.width, 1120.0);
  EXPECT_DOUBLE_EQ(r.left, 1440.0);
}

TEST(PrintedChartRect, WithoutProportionsEverySideKeepsItsMargin) {
  const PageRect r = printedChartRect(1000.0, 2000.0, 400.0, 250.0, 15.0, false);
  EXPECT_DOUBLE_EQ(r.left, 150.0);
  EXPECT_DOUBLE_EQ(r.top, 300.0);
  EXPECT_DOUBLE_EQ(r.width, 700.0);
  EXPECT_DOUBLE_EQ(r.height, 1400.0);
}

TEST(PrintedChartRect, KeepsTheChartsProportionsAndStaysInsideTheMargins) {
  for (const auto& [w, h] : {std::pair{2100.0, 2970.0}, std::pair{2970.0, 2100.0},
                             std::pair{4000.0, 1000.0}, std::pair{1000.0, 625.0}}) {
    const PageRect r = printedChartRect(w, h, 400.0, 250.0);
    EXPECT_NEAR(r.width / r.height, 1.6, 1e-12);
    EXPECT_GE(r.left, 0.15 * w - 1e-9);
    EXPECT_GE(r.top, 0.15 * h - 1e-9);
    EXPECT_NEAR(r.left + r.width / 2.0, w / 2.0, 1e-9);
    EXPECT_NEAR(r.top + r.height / 2.0, h / 2.0, 1e-9);
  }
}

}  // namespace

}  // namespace dispfit
