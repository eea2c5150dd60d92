// SPDX-License-Identifier: GPL-3.0-or-later
// A result as the export writes it: the metadata every file carries, and
// the local fit's tables and chart series.
#include "site/exported_result.h"

#include <gtest/gtest.h>

#include "site/local_fit_result.h"

namespace dispfit {
namespace {

TEST(ExportedResult, TheMetadataOpensEveryTableAsCommentLines) {
  const ExportMetadata metadata{{"measured curve site.csv"},
                                "2025-01-02T03:04:05Z",
                                "1.0 (abc)",
                                {"local inversion, Vs 50 to 1000 m/s"},
                                "unweighted RMS"};
  const std::vector<std::string> lines = metadataLines(metadata, "local fit");
  EXPECT_EQ(lines, (std::vector<std::string>{
                       "Result: local fit", "Program: DispFit 1.0 (abc)",
                       "Date: 2025-01-02T03:04:05Z", "Input: measured curve site.csv",
                       "Settings: local inversion, Vs 50 to 1000 m/s", "Misfit: unweighted RMS"}));
  // A line break inside a line would end its comment early.
  EXPECT_EQ(withCommentLines({"a", "b\nc"}, "f,c\n1,2\n"), "# a\n# b c\nf,c\n1,2\n");
  EXPECT_EQ(textLines("x\ny\n"), (std::vector<std::string>{"x", "y"}));
}

// Two measured points of 180 m/s with a band, fitted by 181 and 179 m/s; a
// layer of 4 m of 150 m/s over 300 m/s. The data constrain half the longest
// wavelength, 180 / 10 / 2 = 9 m, and the Vs chart reaches 1.5 times the
// deeper of that and the last interface: 13.5 m.
TEST(LocalFitResult, TablesAndSeriesAreThoseOfTheFit) {
  MeasuredCurve measured;
  measured.points = {{20.0, 180.0, VelocityBand{175.0, 185.0}, 2},
                     {10.0, 180.0, VelocityBand{176.0, 184.0}, 3}};
  measured.inverted = measured.points;
  LocalFitInputs inputs{ParsedLayers{{4.0f, 0.0f}, {150.0f, 300.0f}, {1.8f, 1.9f}},
                        true,
                        measured,
                        {181.0f, 179.0f},
                        {},
                        {}};
  const LocalFitResult result(inputs);
  EXPECT_EQ(result.name(), "local fit");
  const std::vector<ResultTable> tables = result.tables();
  ASSERT_EQ(tables.size(), 3u);
  EXPECT_EQ(tables[0].suffix, "_curve.csv");
  EXPECT_EQ(tables[1].suffix, "_model.csv");
  EXPECT_EQ(tables[2].suffix, "_vs30.txt");
  EXPECT_NE(tables[0].text.find("20,9,180,175,185,181\n"), std::string::npos) << tables[0].text;

  const ResultCharts charts = result.charts();
  ASSERT_EQ(charts.dispersion.size(), 4u);  // the points, both ends of the band, the fit
  EXPECT_EQ(charts.dispersion[0].style, LineStyle::Markers);
  EXPECT_EQ(charts.dispersion[3].name, "fitted");
  EXPECT_EQ(charts.dispersion[3].points,
            (std::vector<std::pair<double, double>>{{20.0, 181.0}, {10.0, 179.0}}));
  EXPECT_DOUBLE_EQ(charts.profileDepth, 13.5);
  ASSERT_EQ(charts.profile.size(), 1u);
  EXPECT_EQ(charts.profile[0].points.front(), (std::pair<double, double>{150.0, 0.0}));
  EXPECT_EQ(charts.profile[0].points.back(), (std::pair<double, double>{300.0, 13.5}));

  inputs.fitted = false;
  EXPECT_EQ(LocalFitResult(inputs).name(), "table model");
}

}  // namespace
}  // namespace dispfit
