// SPDX-License-Identifier: GPL-3.0-or-later
// The posterior as the window exports it: the files dispfit-invert --bayes
// writes, a report that names the model it tabulates and says what the
// intervals are, and charts drawn from the posterior's own quantiles.
#include "sampling/posterior_result.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace {

using dispfit::ChartLine;
using dispfit::PosteriorResult;
using dispfit::PosteriorSummary;

// A two-layer posterior: 5 m of 200 m/s over a 400 m/s half-space as its
// maximum a posteriori model, two depths of credible Vs, two frequencies of
// predictive band; not converged.
PosteriorSummary smallSummary() {
  PosteriorSummary summary;
  summary.samples = 1000;
  summary.counts = {2, 2};
  summary.profileDepth = 30.0;
  summary.constrainedDepth = 20.0;
  summary.profile = {{0.0, {150, 160, 170, 200, 230, 240, 250}},
                     {10.0, {300, 320, 340, 400, 460, 480, 500}}};
  summary.predictive = {{20.0, 190.0, 4.0, 180, 185, 195, 205, 210},
                        {10.0, 260.0, 5.0, 240, 250, 262, 270, 280}};
  summary.maximumPosterior = {{5.0, 0.0}, {200.0, 400.0}, {600.0, 1200.0}, {1.8, 2.0}};
  summary.convergence.converged = false;
  return summary;
}

dispfit::MeasuredCurve twoPoints() {
  dispfit::MeasuredCurve curve;
  curve.points = {{20.0, 190.0, {}, 2, 0}, {10.0, 260.0, {}, 3, 0}};
  curve.inverted = curve.points;
  return curve;
}

const ChartLine& lineNamed(const std::vector<ChartLine>& lines, const std::string& name,
                           int nth = 0) {
  for (const ChartLine& line : lines) {
    if (line.name == name && nth-- == 0) return line;
  }
  throw std::runtime_error("no line " + name);
}

TEST(PosteriorResult, WritesTheSamplerToolsTablesAndSaysWhatItsIntervalsAre) {
  const PosteriorResult result(smallSummary(), twoPoints());
  EXPECT_EQ(result.name(), "posterior");
  std::vector<std::string> suffixes;
  for (const dispfit::ResultTable& table : result.tables()) {
    suffixes.push_back(table.suffix);
    EXPECT_FALSE(table.text.empty()) << table.suffix;
  }
  // No interface table: the layer count was fixed.
  EXPECT_EQ(suffixes,
            (std::vector<std::string>{"_posterior_profile.csv", "_posterior_summary.csv",
                                      "_posterior_classes.csv", "_posterior_predictive.csv"}));

  std::string report;
  for (const dispfit::ReportBlock& block : result.report()) {
    for (const std::string& line : block.lines) report += line + '\n';
  }
  EXPECT_NE(report.find("maximum a posteriori"), std::string::npos) << report;
  EXPECT_NE(report.find("not to be trusted"), std::string::npos) << report;  // not converged
  EXPECT_NE(report.find("Samples: 1000"), std::string::npos) << report;
  // The model table: 5 m of 200 m/s, then the half-space.
  EXPECT_NE(report.find("half-space"), std::string::npos) << report;
}

TEST(PosteriorResult, ChartsDrawTheQuantilesAndTheMaximumPosterioriSteps) {
  const PosteriorResult result(smallSummary(), twoPoints());
  const dispfit::ResultCharts charts = result.charts();
  EXPECT_EQ(lineNamed(charts.dispersion, "measured").points.size(), 2u);
  // Both ends of the band share a name: p10 then p90.
  const ChartLine& low = lineNamed(charts.dispersion, "samples' curves 10% / 90%", 0);
  const ChartLine& high = lineNamed(charts.dispersion, "samples' curves 10% / 90%", 1);
  EXPECT_EQ(low.points, (std::vector<std::pair<double, double>>{{20, 185}, {10, 250}}));
  EXPECT_EQ(high.points, (std::vector<std::pair<double, double>>{{20, 205}, {10, 270}}));
  EXPECT_EQ(lineNamed(charts.dispersion, "samples' median curve").points.front().second, 195);

  EXPECT_EQ(charts.profileDepth, 30.0);
  EXPECT_EQ(lineNamed(charts.profile, "median").points,
            (std::vector<std::pair<double, double>>{{200, 0}, {400, 10}}));
  EXPECT_EQ(lineNamed(charts.profile, "5% / 95%", 0).points.back(),
            (std::pair<double, double>{300, 10}));
  EXPECT_EQ(lineNamed(charts.profile, "5% / 95%", 1).points.back(),
            (std::pair<double, double>{500, 10}));
  // 200 m/s down to 5 m, then the half-space's 400 m/s down to the chart's foot.
  EXPECT_EQ(lineNamed(charts.profile, "maximum a posteriori model").points,
            (std::vector<std::pair<double, double>>{{200, 0}, {200, 5}, {400, 5}, {400, 30}}));
}

}  // namespace
