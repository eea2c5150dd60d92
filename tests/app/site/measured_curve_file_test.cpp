// A measured curve read from file text: both layouts, the lines refusals
// name, and thinning of a long table.
#include "site/measured_curve_file.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace dispfit {
namespace {

TEST(MeasuredCurveFile, HeadedTableWithDeviationGivesSortedPointsAndBands) {
  // CRLF line ends, a comment and a blank line before the data.
  const std::string text =
      "# picked from shot 3\r\nf (Hz), c (m/s), sigma (m/s)\r\n\r\n10, 200, 5\r\n"
      "30, 120, 3\r\n20, 150, 4\r\n";
  const CurvePreparation prepared = readMeasuredCurveText(text, "site.csv");
  ASSERT_TRUE(prepared.curve) << prepared.error;
  const std::vector<MeasuredPoint>& points = prepared.curve->points;
  ASSERT_EQ(points.size(), 3u);
  // Descending frequency; the band is c -/+ sigma; lines counted from the top.
  const struct {
    double f, c, low, high;
    int line;
  } expected[] = {{30, 120, 117, 123, 5}, {20, 150, 146, 154, 6}, {10, 200, 195, 205, 4}};
  for (std::size_t i = 0; i < points.size(); ++i) {
    SCOPED_TRACE("point " + std::to_string(i));
    EXPECT_DOUBLE_EQ(points[i].frequency, expected[i].f);
    EXPECT_DOUBLE_EQ(points[i].velocity, expected[i].c);
    ASSERT_TRUE(points[i].band);
    EXPECT_DOUBLE_EQ(points[i].band->low, expected[i].low);
    EXPECT_DOUBLE_EQ(points[i].band->high, expected[i].high);
    EXPECT_EQ(points[i].line, expected[i].line);
  }
  EXPECT_EQ(prepared.curve->inverted.size(), 3u);
}

TEST(MeasuredCurveFile, BatchLayoutIsReadWithoutBands) {
  const CurvePreparation prepared = readMeasuredCurveText("3\n10 200\n30 120\n20 150\n", "FIT.TXT");
  ASSERT_TRUE(prepared.curve) << prepared.error;
  ASSERT_EQ(prepared.curve->points.size(), 3u);
  EXPECT_DOUBLE_EQ(prepared.curve->points.front().frequency, 30.0);
  EXPECT_FALSE(prepared.curve->points.front().band);
  EXPECT_EQ(prepared.curve->points.front().line, 3);  // after the count line and 10 Hz
}

TEST(MeasuredCurveFile, RefusalsNameTheFileAndLine) {
  const struct {
    const char* name;
    const char* text;
    const char* expected;  // a part of the message
  } cases[] = {
      // The repeated frequency sits on line 4, after a comment on line 3.
      {"duplicate", "f, c\n10, 200\n# again\n10, 190\n20, 150\n", "dup.csv, line 4:"},
      {"batch repeat", "3\n10 200\n20 150\n10 190\n", "dup.csv, line 4:"},
      {"negative velocity", "f, c\n10, 200\n20, -150\n30, 120\n", "dup.csv"},
      {"two points", "f, c\n10, 200\n20, 150\n", "dup.csv"},
      {"km/s", "f, c\n10, 0.2\n20, 0.15\n30, 0.12\n", "dup.csv, lines 2 to 4:"},
      {"batch beyond 50", "51\n10 200\n", "dup.csv"},
  };
  for (const auto& row : cases) {
    SCOPED_TRACE(row.name);
    const CurvePreparation prepared = readMeasuredCurveText(row.text, "dup.csv");
    EXPECT_FALSE(prepared.curve);
    EXPECT_NE(prepared.error.find(row.expected), std::string::npos) << prepared.error;
  }
}

TEST(MeasuredCurveFile, LongTableIsThinnedForTheInversionAndKeptForDrawing) {
  // 80 points from 5 to 84 Hz: every point is drawn, 50 are fitted, and the
  // thinned set keeps both ends.
  std::string text = "frequency, velocity\n";
  for (int i = 0; i < 80; ++i) {
    text += std::to_string(5 + i) + ", " + std::to_string(300 - 2 * i) + "\n";
  }
  const CurvePreparation prepared = readMeasuredCurveText(text, "long.csv");
  ASSERT_TRUE(prepared.curve) << prepared.error;
  EXPECT_EQ(prepared.curve->points.size(), 80u);
  ASSERT_EQ(prepared.curve->inverted.size(), 50u);
  EXPECT_DOUBLE_EQ(prepared.curve->inverted.front().frequency, 84.0);
  EXPECT_DOUBLE_EQ(prepared.curve->inverted.back().frequency, 5.0);
  EXPECT_FALSE(prepared.curve->notes.empty());
}

}  // namespace
}  // namespace dispfit
