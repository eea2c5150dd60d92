// SPDX-License-Identifier: GPL-3.0-or-later
// A measured curve file read through the engine's curve reader and brought
// to frequency, in descending order, each point keeping its file line.
#include "site/measured_curve_file.h"

#include <gtest/gtest.h>

#include <filesystem>
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

namespace dispfit {
namespace {

std::string exchangeFile(const std::string& name) {
  return (std::filesystem::path(EXCHANGE_FILES_DIR) / name).string();
}

// The column names of the field's programs, units converted: maswavespy's
// wavelength with c_mean, c_low and c_up (f = c / lambda: 150 / 2 = 75 Hz);
// a curve in km/s with its sd (0.1505 km/s is 150.5 m/s); periods with min
// and max bounds (1 / 0.025 s = 40 Hz).
TEST(MeasuredCurveFile, TheColumnNamesOfOtherProgramsAreRead) {
  struct Row {
    const char* file;
    std::vector<double> frequencies;  // Hz, descending
    std::vector<double> velocities;   // m/s
    std::vector<double> lows;         // m/s, the band's low ends
    std::vector<double> highs;
  };
  const Row rows[] = {
      {"maswavespy_curve.csv",
       {75, 45, 27.5, 16.25},
       {150, 180, 220, 260},
       {145, 174, 212.5, 251},
       {155, 186, 227.5, 269}},
      {"kilometres_per_second.txt",
       {40, 20, 10},
       {150, 180, 220.5},
       {145, 174, 213},
       {155, 186, 228}},
      {"period_min_max.txt", {40, 20, 10}, {150, 180, 220}, {145, 174, 213}, {155, 186, 227}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.file);
    const CurvePreparation prepared = readMeasuredCurveFile(exchangeFile(row.file));
    ASSERT_TRUE(prepared.curve) << prepared.error;
    const std::vector<MeasuredPoint>& points = prepared.curve->points;
    ASSERT_EQ(points.size(), row.frequencies.size());
    for (std::size_t i = 0; i < points.size(); ++i) {
      SCOPED_TRACE(i);
      // 1e-9: the km/s factor and f = c / lambda round once each.
      EXPECT_NEAR(points[i].frequency, row.frequencies[i], 1e-9);
      EXPECT_NEAR(points[i].velocity, row.velocities[i], 1e-9);
      ASSERT_TRUE(points[i].band);
      EXPECT_NEAR(points[i].band->low, row.lows[i], 1e-9);
      EXPECT_NEAR(points[i].band->high, row.highs[i], 1e-9);
    }
  }
}

// A header of names no program shares is refused with the header and the
// names a curve table takes; choosing the columns, by number or by name,
// reads it.
TEST(MeasuredCurveFile, AHeaderNotUnderstoodIsReadWithTheColumnsChosen) {
  const std::string path = exchangeFile("unknown_header.csv");
  const CurvePreparation refused = readMeasuredCurveFile(path);
  ASSERT_FALSE(refused.curve);
  EXPECT_NE(refused.error.find("line 1: the header names a column \"freq_hz\" that this table "
                               "does not know (the header reads \"freq_hz, vel_best, vel_sd\")"),
            std::string::npos)
      << refused.error;
  EXPECT_NE(refused.error.find("velocity (velocity, phase velocity, vr, c, vph, c mean, mean"),
            std::string::npos);
  EXPECT_TRUE(curveHeaderNeedsChoice("freq_hz,vel_best,vel_sd\n40,150,5\n"));
  EXPECT_FALSE(curveHeaderNeedsChoice("f,c,sigma\n40,150,5\n"));
  EXPECT_FALSE(curveHeaderNeedsChoice("40,150,5\n"));
  for (const char* choice : {"f=1,v=2,sigma=3", "frequency=freq_hz,v=vel_best,sd=vel_sd"}) {
    SCOPED_TRACE(choice);
    swcore::ColumnChoice columns;
    std::string error;
    ASSERT_TRUE(swcore::parseCurveColumnChoice(choice, columns, error)) << error;
    const CurvePreparation read = readMeasuredCurveFile(path, columns);
    ASSERT_TRUE(read.curve) << read.error;
    ASSERT_EQ(read.curve->points.size(), 3u);
    EXPECT_EQ(read.curve->points[2].frequency, 10.0);
    EXPECT_EQ(read.curve->points[2].velocity, 220.0);
    EXPECT_EQ(read.curve->points[2].band->low, 213.0);  // 220 - 7
  }
  swcore::ColumnChoice columns;
  std::string error;
  EXPECT_FALSE(swcore::parseCurveColumnChoice("f=1,speed=2", columns, error));
  EXPECT_EQ(error.rfind("\"speed\" names no column of this table", 0), 0u) << error;
  EXPECT_FALSE(swcore::parseCurveColumnChoice("f=0,v=2", columns, error));
  EXPECT_FALSE(swcore::parseCurveColumnChoice("f=1,f=2", columns, error));
  ASSERT_TRUE(swcore::parseCurveColumnChoice("f=1,v=7", columns, error));
  EXPECT_EQ(readMeasuredCurveFile(path, columns).error,
            path + ", line 1: the velocity column is column 7, but the line has 3 columns");
}

// Another program's file that gives each point's mode: the Rayleigh phase
// velocities of every mode are kept, each point with its mode, for the fits
// to take against that mode; Love waves and group velocities are left out.
TEST(MeasuredCurveFile, PointsOfAnotherProgramsFileKeepTheirModes) {
  const CurvePreparation prepared = readMeasuredCurveFile(exchangeFile("curve.surf96"));
  ASSERT_TRUE(prepared.curve) << prepared.error;
  // Three R C lines of mode 0 (40, 20 and 10 Hz) and one of mode 1 (20 Hz).
  ASSERT_EQ(prepared.curve->points.size(), 4u);
  EXPECT_TRUE(namesModes(prepared.curve->points));
  int higher = 0;
  for (const MeasuredPoint& point : prepared.curve->points) {
    ASSERT_TRUE(point.mode.has_value());
    if (*point.mode == 1) {
      ++higher;
      EXPECT_DOUBLE_EQ(point.frequency, 20.0);
      EXPECT_NEAR(point.velocity, 310.0, 1e-9);
    }
    if (point.frequency == 10.0) {
      // 0.2200 km/s with an error of 0.0070 km/s: the band 213 .. 227 m/s.
      EXPECT_NEAR(point.band->low, 213.0, 1e-9);
    }
  }
  EXPECT_EQ(higher, 1);
  for (const std::string& note : prepared.curve->notes) {
    EXPECT_EQ(note.find("higher modes left out"), std::string::npos) << note;
  }
}

}  // namespace
}  // namespace dispfit
