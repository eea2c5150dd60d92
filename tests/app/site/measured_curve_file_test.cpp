// SPDX-License-Identifier: GPL-3.0-or-later
// A measured curve file read through the engine's curve reader and brought
// to frequency, in descending order, each point keeping its file line.
#include "site/measured_curve_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace dispfit {
namespace {

TEST(MeasuredCurveFile, AbscissaeBecomeFrequenciesInDescendingOrder) {
  struct Case {
    const char* name;
    std::string text;
    std::vector<double> frequencies;  // Hz, as read back
    std::vector<int> lines;
    std::size_t notes;
  };
  const Case cases[] = {
      // Count on line 1, a blank line, then one datum a line.
      {"batch format", "3\n\n10 200\n40 150\n20 180\n", {40, 20, 10}, {4, 5, 3}, 0},
      // f = c / lambda: 200 / 20 = 10, 150 / 3.75 = 40, 180 / 9 = 20.
      {"wavelengths",
       "# picks\nlambda (m), c\n20, 200\n3.75, 150\n9, 180\n",
       {40, 20, 10},
       {4, 5, 3},
       1},
      // f = 1 / T: 1 / 0.1 = 10, 1 / 0.025 = 40, 1 / 0.05 = 20.
      {"periods",
       "period (s) c sigma\n0.1 200 4\n0.025 150 3\n0.05 180 3\n",
       {40, 20, 10},
       {3, 4, 2},
       1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const CurvePreparation prepared = readMeasuredCurve(c.text, "c.txt");
    ASSERT_TRUE(prepared.curve) << prepared.error;
    std::vector<double> frequencies;
    std::vector<int> lines;
    for (const MeasuredPoint& point : prepared.curve->points) {
      frequencies.push_back(point.frequency);
      lines.push_back(point.line);
    }
    EXPECT_EQ(frequencies, c.frequencies);
    EXPECT_EQ(lines, c.lines);
    EXPECT_EQ(prepared.curve->notes.size(), c.notes);
  }
}

TEST(MeasuredCurveFile, ModeColumnReachesEveryPoint) {
  // Mode 1 and mode 0 at 20 Hz, in wavelengths: 300 / 15 = 20, 180 / 9 = 20,
  // 200 / 20 = 10.
  const CurvePreparation prepared =
      readMeasuredCurve("lambda, c, mode\n20, 200, 0\n15, 300, 1\n9, 180, 0\n", "c.txt");
  ASSERT_TRUE(prepared.curve) << prepared.error;
  std::vector<std::optional<int>> modes;
  for (const MeasuredPoint& point : prepared.curve->points) modes.push_back(point.mode);
  EXPECT_EQ(modes, (std::vector<std::optional<int>>{1, 0, 0}));
  EXPECT_EQ(prepared.curve->inverted.size(), 3u);
  const CurvePreparation plain = readMeasuredCurve("f c\n10 200\n20 180\n30 170\n", "c.txt");
  ASSERT_TRUE(plain.curve);
  EXPECT_FALSE(plain.curve->points.front().mode);
}

TEST(MeasuredCurveFile, FaultsOfReaderAndPreparationNameTheFile) {
  const char* const cases[][2] = {
      {"f c\n10 200\n20 x\n30 180\n", "c.txt, line 3: \"x\" is not a number (velocity)"},
      {"f c\n10 200\n20 190\n10 195\n", "c.txt, line 4: the frequency 10 Hz appears again"},
      {"1\n10 200\n", "c.txt: 1 point(s), at least 3 are needed"},
  };
  for (const auto& [text, expected] : cases) {
    SCOPED_TRACE(text);
    const CurvePreparation prepared = readMeasuredCurve(text, "c.txt");
    EXPECT_FALSE(prepared.curve);
    EXPECT_EQ(prepared.error.rfind(expected, 0), 0u) << prepared.error;
  }
  EXPECT_EQ(readMeasuredCurveFile("no/such/curve.txt").error.rfind("cannot open the curve file", 0),
            0u);
}

}  // namespace
}  // namespace dispfit
