// SPDX-License-Identifier: GPL-3.0-or-later
#include "site/measured_curve.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "site/log_frequency_thinning.h"

namespace dispfit {

namespace {

// Rows of "frequency velocity" with lines counted from 2 (below a header).
std::vector<MeasuredRow> frequencyRows(const std::vector<std::pair<double, double>>& values) {
  std::vector<MeasuredRow> rows;
  int line = 2;
  for (const auto& [frequency, velocity] : values) {
    rows.push_back({frequency, velocity, std::nullopt, std::nullopt, std::nullopt, line++});
  }
  return rows;
}

bool mentions(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

TEST(MeasuredCurve, RefusesEachFaultNamingTheFileAndLine) {
  struct Row {
    const char* fault;
    std::vector<MeasuredRow> rows;
    Abscissa abscissa;
    std::vector<std::string> expectedParts;
  };
  std::vector<MeasuredRow> zeroSigma = frequencyRows({{30, 180}, {20, 200}, {10, 260}});
  zeroSigma[1].sigma = 0.0;
  std::vector<MeasuredRow> crossedBounds = frequencyRows({{30, 180}, {20, 200}, {10, 260}});
  crossedBounds[2].low = 270.0;
  crossedBounds[2].high = 250.0;
  std::vector<MeasuredRow> sameMode = frequencyRows({{30, 180}, {30, 300}, {30, 185}, {10, 260}});
  sameMode[0].mode = 0;
  sameMode[1].mode = 1;
  sameMode[2].mode = 0;
  sameMode[3].mode = 0;
  std::vector<MeasuredRow> negativeLow = frequencyRows({{30, 180}, {20, 200}, {10, 260}});
  negativeLow[0].low = -5.0;
  negativeLow[0].high = 190.0;
  const Row rows[] = {
      {"negative velocity",
       frequencyRows({{30, 180}, {20, 200}, {15, -220}, {10, 260}}),
       Abscissa::Frequency,
       {"field.txt, line 4:", "phase velocity", "positive"}},
      {"zero frequency",
       frequencyRows({{30, 180}, {0, 200}, {10, 260}}),
       Abscissa::Frequency,
       {"field.txt, line 3:", "frequency", "positive"}},
      {"zero wavelength",
       frequencyRows({{3, 180}, {0, 200}, {10, 260}}),
       Abscissa::Wavelength,
       {"field.txt, line 3:", "wavelength"}},
      {"negative period",
       frequencyRows({{0.1, 180}, {0.2, 200}, {-0.3, 260}}),
       Abscissa::Period,
       {"field.txt, line 4:", "period"}},
      {"zero standard deviation",
       zeroSigma,
       Abscissa::Frequency,
       {"field.txt, line 3:", "standard deviation"}},
      {"negative low bound", negativeLow, Abscissa::Frequency, {"field.txt, line 2:", "low bound"}},
      {"low above high",
       crossedBounds,
       Abscissa::Frequency,
       {"field.txt, line 4:", "low bound 270", "high bound 250"}},
      {"duplicate frequency",
       frequencyRows({{30, 180}, {20, 200}, {30, 185}, {10, 260}}),
       Abscissa::Frequency,
       {"field.txt, line 4:", "30 Hz", "first on line 2"}},
      {"duplicate frequency of one mode",
       sameMode,
       Abscissa::Frequency,
       {"field.txt, line 4:", "30 Hz", "for mode 0", "first on line 2"}},
      // 10 m at 100 m/s and 20 m at 200 m/s are both 10 Hz.
      {"duplicate after conversion",
       frequencyRows({{10, 100}, {20, 200}, {40, 300}}),
       Abscissa::Wavelength,
       {"field.txt, line 3:", "10 Hz", "first on line 2"}},
      {"velocities in km/s",
       frequencyRows({{30, 0.18}, {20, 0.2}, {10, 0.26}}),
       Abscissa::Frequency,
       {"field.txt, lines 2 to 4:", "km/s"}},
      {"two points",
       frequencyRows({{30, 180}, {10, 260}}),
       Abscissa::Frequency,
       {"field.txt:", "2 point", "at least 3"}},
      {"no points", {}, Abscissa::Frequency, {"field.txt:", "0 point"}},
      {"infinite velocity",
       frequencyRows({{30, 180}, {20, HUGE_VAL}, {10, 260}}),
       Abscissa::Frequency,
       {"field.txt, line 3:", "phase velocity"}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.fault);
    const CurvePreparation preparation = prepareMeasuredCurve(row.rows, row.abscissa, "field.txt");
    EXPECT_FALSE(preparation.curve.has_value());
    for (const std::string& part : row.expectedParts) {
      EXPECT_TRUE(mentions(preparation.error, part)) << preparation.error;
    }
  }
}

TEST(MeasuredCurve, AcceptsASlowPointAmongVelocitiesInMetresPerSecond) {
  const CurvePreparation preparation = prepareMeasuredCurve(
      frequencyRows({{30, 8}, {20, 200}, {10, 260}}), Abscissa::Frequency, "field.txt");
  ASSERT_TRUE(preparation.curve.has_value()) << preparation.error;
  EXPECT_EQ(preparation.curve->points.size(), 3u);
}

TEST(MeasuredCurve, ConvertsWavelengthsAndPeriodsAndSortsByDescendingFrequency) {
  // Wavelength rows: 10 m at 150 m/s is 15 Hz; 40 m at 200 m/s is 5 Hz;
  // 4 m at 120 m/s is 30 Hz.
  const CurvePreparation byWavelength = prepareMeasuredCurve(
      frequencyRows({{10, 150}, {40, 200}, {4, 120}}), Abscissa::Wavelength, "w.txt");
  ASSERT_TRUE(byWavelength.curve.has_value()) << byWavelength.error;
  const std::vector<MeasuredPoint>& w = byWavelength.curve->points;
  ASSERT_EQ(w.size(), 3u);
  EXPECT_DOUBLE_EQ(w[0].frequency, 30.0);
  EXPECT_EQ(w[0].line, 4);
  EXPECT_DOUBLE_EQ(w[1].frequency, 15.0);
  EXPECT_DOUBLE_EQ(w[2].frequency, 5.0);
  EXPECT_DOUBLE_EQ(w[2].wavelength(), 40.0);
  ASSERT_EQ(byWavelength.curve->notes.size(), 1u);
  EXPECT_TRUE(mentions(byWavelength.curve->notes[0], "wavelengths converted"));

  // Periods 0.2 s, 0.05 s, 0.1 s are 5, 20 and 10 Hz.
  const CurvePreparation byPeriod = prepareMeasuredCurve(
      frequencyRows({{0.2, 300}, {0.05, 180}, {0.1, 240}}), Abscissa::Period, "t.txt");
  ASSERT_TRUE(byPeriod.curve.has_value()) << byPeriod.error;
  const std::vector<MeasuredPoint>& t = byPeriod.curve->points;
  EXPECT_DOUBLE_EQ(t[0].frequency, 20.0);
  EXPECT_DOUBLE_EQ(t[1].frequency, 10.0);
  EXPECT_DOUBLE_EQ(t[2].frequency, 5.0);
  EXPECT_DOUBLE_EQ(t[2].velocity, 300.0);
  EXPECT_TRUE(mentions(byPeriod.curve->notes.at(0), "periods converted"));

  // Frequencies need no conversion and get no note.
  const CurvePreparation byFrequency = prepareMeasuredCurve(
      frequencyRows({{10, 240}, {20, 180}, {5, 300}}), Abscissa::Frequency, "f.txt");
  ASSERT_TRUE(byFrequency.curve.has_value());
  EXPECT_TRUE(byFrequency.curve->notes.empty());
  EXPECT_DOUBLE_EQ(byFrequency.curve->points[0].frequency, 20.0);
  EXPECT_EQ(byFrequency.curve->inverted.size(), 3u);
}

TEST(MeasuredCurve, ModesMayShareAFrequencyAndKeepTheirOrderThere) {
  std::vector<MeasuredRow> rows = frequencyRows({{10, 260}, {30, 300}, {30, 180}, {20, 200}});
  const int modes[] = {0, 1, 0, 0};
  for (std::size_t i = 0; i < rows.size(); ++i) rows[i].mode = modes[i];
  const CurvePreparation preparation = prepareMeasuredCurve(rows, Abscissa::Frequency, "m.txt");
  ASSERT_TRUE(preparation.curve.has_value()) << preparation.error;
  const std::vector<MeasuredPoint>& points = preparation.curve->points;
  ASSERT_EQ(points.size(), 4u);
  EXPECT_TRUE(namesModes(points));
  // Highest frequency first; the two at 30 Hz as the file has them.
  const int expectedLines[] = {3, 4, 5, 2};
  const int expectedModes[] = {1, 0, 0, 0};
  for (std::size_t i = 0; i < points.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(points[i].line, expectedLines[i]);
    EXPECT_EQ(points[i].mode, expectedModes[i]);
  }
  const CurvePreparation plain = prepareMeasuredCurve(
      frequencyRows({{30, 180}, {20, 200}, {10, 260}}), Abscissa::Frequency, "p.txt");
  ASSERT_TRUE(plain.curve.has_value());
  EXPECT_FALSE(namesModes(plain.curve->points));
}

TEST(MeasuredCurve, BandsComeFromTheStandardDeviationOrTheBounds) {
  std::vector<MeasuredRow> rows = frequencyRows({{30, 180}, {20, 200}, {10, 260}});
  rows[0].sigma = 9.0;
  rows[1].low = 190.0;
  rows[1].high = 215.0;
  const CurvePreparation preparation = prepareMeasuredCurve(rows, Abscissa::Frequency, "b.txt");
  ASSERT_TRUE(preparation.curve.has_value());
  const std::vector<MeasuredPoint>& points = preparation.curve->points;
  ASSERT_TRUE(points[0].band.has_value());
  EXPECT_DOUBLE_EQ(points[0].band->low, 171.0);
  EXPECT_DOUBLE_EQ(points[0].band->high, 189.0);
  EXPECT_DOUBLE_EQ(points[1].band->low, 190.0);
  EXPECT_DOUBLE_EQ(points[1].band->high, 215.0);
  EXPECT_FALSE(points[2].band.has_value());
}

TEST(MeasuredCurve, BandDeviationsAreHalfEachWidthOnlyWhereEveryPointHasABand) {
  // sigma 9 gives the band 171-189; the bounds 190-215 a half-width of 12.5.
  std::vector<MeasuredPoint> points{{30, 180, VelocityBand{171.0, 189.0}, 2},
                                    {20, 200, VelocityBand{190.0, 215.0}, 3}};
  const BandDeviations both = bandDeviations(points);
  EXPECT_EQ(both.fault, "");
  ASSERT_TRUE(both.sigmas.has_value());
  EXPECT_EQ(*both.sigmas, (std::vector<double>{9.0, 12.5}));

  std::vector<MeasuredPoint> bare = points;
  for (MeasuredPoint& point : bare) point.band.reset();
  const BandDeviations none = bandDeviations(bare);
  EXPECT_EQ(none.fault, "");
  EXPECT_FALSE(none.sigmas.has_value());

  std::vector<MeasuredPoint> mixed = points;
  mixed[1].band.reset();
  EXPECT_NE(bandDeviations(mixed).fault.find("some points have a band"), std::string::npos);
  EXPECT_FALSE(bandDeviations(mixed).sigmas.has_value());

  std::vector<MeasuredPoint> flat = points;
  flat[1].band = VelocityBand{200.0, 200.0};
  const BandDeviations zero = bandDeviations(flat);
  EXPECT_NE(zero.fault.find("line 3 has no width"), std::string::npos) << zero.fault;
  EXPECT_FALSE(zero.sigmas.has_value());
}

TEST(MeasuredCurve, ConstrainsHalfTheLongestWavelength) {
  // Wavelengths 200/20 = 10 m, 300/5 = 60 m, 250/10 = 25 m.
  const std::vector<MeasuredPoint> points{{20, 200, {}, 2}, {10, 250, {}, 3}, {5, 300, {}, 4}};
  EXPECT_DOUBLE_EQ(constrainedDepth(points), 30.0);
  EXPECT_DOUBLE_EQ(constrainedDepth({}), 0.0);
}

// n frequencies evenly spaced in log f from `highest` down to `lowest`.
std::vector<double> logSpaced(double highest, double lowest, std::size_t n) {
  std::vector<double> frequencies;
  for (std::size_t i = 0; i < n; ++i) {
    frequencies.push_back(
        highest * std::pow(lowest / highest, static_cast<double>(i) / static_cast<double>(n - 1)));
  }
  return frequencies;
}

TEST(LogFrequencyThinning, KeepsBothEndsAndPointsNearEvenLogSpacing) {
  struct Row {
    std::size_t n;
    std::size_t m;
  };
  const Row rows[] = {{51, 50}, {120, 50}, {1000, 50}, {60, 3}};
  for (const Row& row : rows) {
    SCOPED_TRACE(std::to_string(row.n) + " -> " + std::to_string(row.m));
    const std::vector<double> frequencies = logSpaced(80.0, 4.0, row.n);
    const std::vector<std::size_t> kept = thinnedIndices(frequencies, row.m);
    ASSERT_EQ(kept.size(), row.m);
    EXPECT_EQ(kept.front(), 0u);
    EXPECT_EQ(kept.back(), row.n - 1);
    // On an even log grid of step s the nearest point to any target lies
    // within s / 2 of it (plus rounding of the logarithms).
    const double span = std::log(80.0 / 4.0);
    const double step = span / static_cast<double>(row.n - 1);
    for (std::size_t k = 0; k < row.m; ++k) {
      if (k > 0) {
        EXPECT_GT(kept[k], kept[k - 1]);
      }
      const double target =
          std::log(80.0) - span * static_cast<double>(k) / static_cast<double>(row.m - 1);
      EXPECT_LE(std::abs(std::log(frequencies[kept[k]]) - target), 0.5 * step + 1e-12);
    }
  }
}

TEST(LogFrequencyThinning, StaysDistinctWhereThePointsCluster) {
  // 45 points crowded between 80 and 70 Hz, then 10 spread down to 2 Hz.
  // About 40 of the 50 targets lie below 40 Hz, where only the 10 sparse
  // points are: the choice must not run out of points for them, so it keeps
  // every sparse point and drops 5 of the cluster.
  std::vector<double> frequencies = logSpaced(80.0, 70.0, 45);
  const std::vector<double> sparse = logSpaced(40.0, 2.0, 10);
  frequencies.insert(frequencies.end(), sparse.begin(), sparse.end());
  const std::vector<std::size_t> kept = thinnedIndices(frequencies, 50);
  ASSERT_EQ(kept.size(), 50u);
  EXPECT_EQ(kept.front(), 0u);
  EXPECT_EQ(kept.back(), frequencies.size() - 1);
  const std::set<std::size_t> distinct(kept.begin(), kept.end());
  EXPECT_EQ(distinct.size(), 50u);
  for (std::size_t i = 45; i < 55; ++i) EXPECT_EQ(distinct.count(i), 1u) << i;
}

TEST(LogFrequencyThinning, KeepsEveryPointOfAShortCurve) {
  EXPECT_EQ(thinnedIndices({30.0, 20.0, 10.0}, 50), (std::vector<std::size_t>{0, 1, 2}));
}

TEST(MeasuredCurve, ThinsALongCurveForTheInversionAndKeepsEveryPointForDrawing) {
  const std::vector<double> frequencies = logSpaced(80.0, 5.0, 73);
  std::vector<MeasuredRow> rows;
  // In ascending order in the file, to see the sorting too.
  for (std::size_t i = frequencies.size(); i-- > 0;) {
    rows.push_back({frequencies[i], 150.0 + 1000.0 / frequencies[i], std::nullopt, std::nullopt,
                    std::nullopt, static_cast<int>(rows.size()) + 1});
  }
  const CurvePreparation preparation = prepareMeasuredCurve(rows, Abscissa::Frequency, "long.txt");
  ASSERT_TRUE(preparation.curve.has_value()) << preparation.error;
  const MeasuredCurve& curve = *preparation.curve;
  EXPECT_EQ(curve.points.size(), 73u);
  ASSERT_EQ(curve.inverted.size(), 50u);
  EXPECT_DOUBLE_EQ(curve.inverted.front().frequency, 80.0);
  EXPECT_DOUBLE_EQ(curve.inverted.back().frequency, curve.points.back().frequency);
  for (std::size_t i = 1; i < curve.inverted.size(); ++i) {
    EXPECT_GT(curve.inverted[i - 1].frequency, curve.inverted[i].frequency);
  }
  ASSERT_EQ(curve.notes.size(), 1u);
  EXPECT_TRUE(mentions(curve.notes[0], "73 points")) << curve.notes[0];
  EXPECT_TRUE(mentions(curve.notes[0], "50")) << curve.notes[0];
}

}  // namespace

}  // namespace dispfit
