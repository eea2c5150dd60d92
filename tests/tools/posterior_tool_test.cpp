// SPDX-License-Identifier: GPL-3.0-or-later
// dispfit-invert --bayes as a user runs it: a synthetic curve with its sigma
// column in, the report and the tables out; a curve without sigma sampled
// with its noise scale; refusals with exit status 2.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "dispersion/dispersion_curve.h"
#include "dispersion/observed_curve.h"
#include "synthetic_curve.h"
#include "tool_run.h"

namespace {

namespace fs = std::filesystem;

using dispfit_test::contents;
using dispfit_test::quoted;
using dispfit_test::ToolRun;

// The lines of a table after its header, split at commas.
std::vector<std::vector<std::string>> fieldsOf(const std::string& text, std::string& header) {
  std::istringstream in(text);
  std::vector<std::vector<std::string>> rows;
  std::getline(in, header);
  for (std::string line; std::getline(in, line);) {
    std::vector<std::string> row;
    std::istringstream fields(line);
    for (std::string field; std::getline(fields, field, ',');) {
      row.push_back(field.empty() || field[0] != ' ' ? field : field.substr(1));
    }
    rows.push_back(row);
  }
  return rows;
}

class PosteriorTool : public dispfit_test::ToolTest {
 protected:
  PosteriorTool() : ToolTest(DISPFIT_INVERT_PATH, "dispfit-posterior-test-") {}

  // The synthetic 3-layer curve with sigma = 2 % of each velocity, or none.
  fs::path curve(bool withSigma) {
    std::string table = withSigma ? "frequency (Hz), velocity (m/s), sigma (m/s)\n"
                                  : "frequency (Hz), velocity (m/s)\n";
    for (const dispfit::MeasuredPoint& p : dispfit_test::syntheticCurve()) {
      std::ostringstream row;
      row.precision(17);
      row << p.frequency << ", " << p.velocity;
      if (withSigma) row << ", " << 0.02 * p.velocity;
      row << '\n';
      table += row.str();
    }
    return write(withSigma ? "curve.csv" : "bare.csv", table);
  }
};

// A short run, and the same under the lowest root, which most checks here
// are of (ten times quicker than the default rule, which has tests of its
// own).
constexpr const char* kShortRun =
    "--samples 3000 --burn-in 6000 --start-models 400 --seed 3 --threads 2 ";
const std::string kSmallRun = std::string("--lowest-root ") + kShortRun;

TEST_F(PosteriorTool, ReportsTheModelOfTheProblemAndWritesTheTables) {
  const fs::path prefix = dir_ / "site";
  const ToolRun result =
      run(std::string("--bayes --layers 2-4 --vs-range 80 1000 --h-range 1 15 ") + kSmallRun +
          "--csv " + quoted(prefix) + " " + quoted(curve(true)));
  ASSERT_EQ(result.status, 0) << result.err;
  for (const char* line :
       {"Posterior: parallel tempering (Sambridge 2014), 8 chains at temperature 1",
        "Samples kept: 3000", "Likelihood: Gaussian, independent errors with each point's sigma",
        "the layer count uniform over 2 to 4 and sampled by reversible jump",
        "Convergence: split R-hat", "Acceptance of each move: Vs step", "birth", "death",
        "Tempering swap rates: T 1.00-", "Layer count probabilities:", " Vs30 ", "ASCE 7-22:  A ",
        "NEHRP (ASCE 7-16):", "Maximum a posteriori model",
        "Best-fit model (the highest likelihood", "conditional on the ranges holding the site",
        "Measured calibration (100 synthetic sites of 2 to 6 layers",
        "Forward rule: lowest root"}) {
    EXPECT_NE(result.out.find(line), std::string::npos) << line << "\n" << result.out;
  }

  std::string header;
  // Every system's class probabilities sum to 1.
  const auto classes = fieldsOf(contents(fs::path(prefix.string() + "_classes.csv")), header);
  EXPECT_EQ(header, "system, class, vs30 range, probability");
  std::map<std::string, double> sums;
  for (const auto& row : classes) sums[row[0]] += std::strtod(row[3].c_str(), nullptr);
  ASSERT_EQ(sums.size(), 3u);
  for (const auto& [system, sum] : sums) EXPECT_NEAR(sum, 1.0, 1e-12) << system;
  EXPECT_EQ(classes.size(), 4u + 5u + 8u);

  // The profile: every 0.1 m, its percentiles in order.
  const auto profile = fieldsOf(contents(fs::path(prefix.string() + "_profile.csv")), header);
  EXPECT_EQ(header,
            "depth (m), vs p5 (m/s), vs p10 (m/s), vs p50 (m/s), vs p90 (m/s), vs p95 (m/s)");
  ASSERT_GT(profile.size(), 100u);
  for (std::size_t i = 0; i < profile.size(); ++i) {
    EXPECT_NEAR(std::strtod(profile[i][0].c_str(), nullptr), 0.1 * static_cast<double>(i), 1e-9);
    for (std::size_t q = 1; q + 1 < profile[i].size(); ++q) {
      EXPECT_LE(std::strtod(profile[i][q].c_str(), nullptr),
                std::strtod(profile[i][q + 1].c_str(), nullptr));
    }
  }
  const auto summary = fieldsOf(contents(fs::path(prefix.string() + "_summary.csv")), header);
  ASSERT_EQ(summary.size(), 4u);
  EXPECT_EQ(summary[3][0], "Vs30");
  // The synthetic model's Vs30 (3 m of 150, 6 m of 300 over 600 m/s) is
  // 400 m/s; a 2 % curve puts it within the 5-95 % interval.
  EXPECT_LT(std::strtod(summary[3][1].c_str(), nullptr), 400.0 * 1.01);
  EXPECT_GT(std::strtod(summary[3][5].c_str(), nullptr), 400.0 * 0.99);

  const auto samples = fieldsOf(contents(fs::path(prefix.string() + "_samples.csv")), header);
  EXPECT_EQ(header,
            "chain, layers, vs1 (m/s), vs2 (m/s), vs3 (m/s), vs4 (m/s), h1 (m), h2 (m), h3 (m), "
            "log-likelihood");
  ASSERT_EQ(samples.size(), 3000u);
  for (const auto& row : samples) {
    const int layers = std::atoi(row[1].c_str());
    ASSERT_TRUE(layers >= 2 && layers <= 4);
    ASSERT_EQ(row.size(), 10u);
    // The columns of layers a sample lacks are empty, the others numbers.
    for (int l = 0; l < 4; ++l) EXPECT_EQ(row[2 + l].empty(), l >= layers);
  }
  const auto predictive = fieldsOf(contents(fs::path(prefix.string() + "_predictive.csv")), header);
  EXPECT_EQ(header, "frequency (Hz), observed (m/s), sigma (m/s), p10 (m/s), p50 (m/s), p90 (m/s)");
  ASSERT_EQ(predictive.size(), 30u);
  for (const auto& row : predictive) {
    const double observed = std::strtod(row[1].c_str(), nullptr);
    EXPECT_NEAR(std::strtod(row[2].c_str(), nullptr), 0.02 * observed, 1e-9 * observed);
    // The true model made the curve: its band lies within a few sigma of it.
    EXPECT_NEAR(std::strtod(row[4].c_str(), nullptr), observed, 0.03 * observed);
  }
  const auto interfaces = fieldsOf(contents(fs::path(prefix.string() + "_interfaces.csv")), header);
  EXPECT_EQ(header, "top (m), bottom (m), probability");
  EXPECT_FALSE(interfaces.empty());
}

TEST_F(PosteriorTool, ACurveWithoutSigmaSamplesItsNoiseScale) {
  const fs::path prefix = dir_ / "bare";
  const ToolRun result = run(
      std::string("--bayes --observed-fraction 0.1 --layers 3 --vs-range 80 1000 --h-range 1 15 ") +
      kShortRun + "--csv " + quoted(prefix) + " " + quoted(curve(false)));
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_NE(result.out.find("Forward rule: surface-observed fundamental"), std::string::npos)
      << result.out;
  EXPECT_NE(result.out.find("Measured calibration (under the surface-observed rule, 100 "
                            "synthetic sites of 3 layers"),
            std::string::npos)
      << result.out;
  EXPECT_NE(result.out.find("the curve gives no sigma, so a relative noise scale s"),
            std::string::npos)
      << result.out;
  EXPECT_NE(result.out.find("(hierarchical): median "), std::string::npos);
  EXPECT_NE(result.out.find("noise step"), std::string::npos);
  EXPECT_EQ(result.out.find("Layer count probabilities"), std::string::npos);
  std::string header;
  fieldsOf(contents(fs::path(prefix.string() + "_samples.csv")), header);
  EXPECT_NE(header.find(", noise scale, log-likelihood"), std::string::npos) << header;
  EXPECT_FALSE(fs::exists(prefix.string() + "_interfaces.csv"));
}

// A curve file of velocities `c` (m/s) at `hz`, each with a band of
// +-`share` of it.
std::string bandTable(const std::vector<double>& hz, const std::vector<double>& c, double share) {
  std::string table = "frequency (Hz), velocity (m/s), low (m/s), high (m/s)\n";
  for (std::size_t i = 0; i < hz.size(); ++i) {
    std::ostringstream row;
    row.precision(17);
    row << hz[i] << ", " << c[i] << ", " << (1.0 - share) * c[i] << ", " << (1.0 + share) * c[i]
        << '\n';
    table += row.str();
  }
  return table;
}

// What an array over a stiff crust on soft layers records, 6 m of 353 m/s
// over 4.5 m of 150 over 2.8 m of 104 over 400 m/s (Vp = 3 Vs, 1.9 g/cm3):
// its surface-observed fundamental at 24 frequencies from 5 to 80 Hz, higher
// modes above about 18 Hz, each with a band of +-2 %.
std::string stiffCrustRecordedCurve() {
  const std::vector<swcore::ModelLayer> layers{{6.0, 353.0, 1900.0, 1059.0},
                                               {4.5, 150.0, 1900.0, 450.0},
                                               {2.8, 104.0, 1900.0, 312.0},
                                               {0.0, 400.0, 1900.0, 1200.0}};
  std::vector<double> hz;
  for (int i = 0; i < 24; ++i) hz.push_back(5.0 + 75.0 * i / 23.0);
  std::vector<swcore::ObservedPoint> out(hz.size());
  swcore::ObservedCurveSolver solver;
  EXPECT_EQ(solver.compute(layers, hz, {}, out), swcore::CurveStatus::ok);
  EXPECT_GT(out.back().mode, 0);
  std::vector<double> c;
  for (const swcore::ObservedPoint& p : out) c.push_back(p.phaseVelocity);
  return bandTable(hz, c, 0.02);
}

// A soft site's curve, 2 m of 120 m/s, 4 m of 146, 8 m of 180 over 300 m/s
// (Vp = 3 Vs, 1.9 g/cm3): its lowest roots at 24 frequencies from 5 to 80 Hz,
// each with a band of +-1 %.
std::string softSiteCurve() {
  const std::vector<swcore::ModelLayer> layers{{2.0, 120.0, 1900.0, 360.0},
                                               {4.0, 146.0, 1900.0, 438.0},
                                               {8.0, 180.0, 1900.0, 540.0},
                                               {0.0, 300.0, 1900.0, 900.0}};
  std::vector<double> hz;
  for (int i = 0; i < 24; ++i) hz.push_back(5.0 * std::pow(16.0, i / 23.0));
  std::vector<swcore::CurvePoint> out(hz.size());
  swcore::DispersionCurveSolver solver;
  EXPECT_EQ(solver.compute(layers, hz, swcore::CurveKind::phase, out), swcore::CurveStatus::ok);
  std::vector<double> c;
  for (const swcore::CurvePoint& p : out) c.push_back(p.phaseVelocity);
  return bandTable(hz, c, 0.01);
}

TEST_F(PosteriorTool, WarnsWhereSamplesFitThroughModesAnArrayWouldNotRecord) {
  // Four free layers under the lowest root: a stiff crust over the soft
  // layers fits the soft curve by the modes trapped in them, and the chains
  // find such models. Their surface-observed curves are the crust's, far
  // off the data: the report, the intervals and the error stream say so.
  const ToolRun soft = run(std::string("--bayes --layers 4 --vs-range 80 1000 --h-range 0.5 15 ") +
                           kSmallRun + quoted(write("soft.csv", softSiteCurve())));
  ASSERT_EQ(soft.status, 0) << soft.err;
  for (const char* text : {"Forward-rule check: ",
                           "samples fit the curve through modes a surface array would not "
                           "record",
                           "(without --lowest-root)", "holding unrecorded modes)"}) {
    EXPECT_NE(soft.out.find(text), std::string::npos) << text << "\n" << soft.out;
  }
  EXPECT_NE(soft.err.find("fit the curve through modes a surface array would not record"),
            std::string::npos)
      << soft.err;

  // With the layers' Vs not decreasing with depth no crust can lie over
  // them: no sample departs, and nothing is warned.
  const ToolRun increasing =
      run(std::string("--bayes --layers 4 --vs-range 80 1000 --h-range 0.5 15 --increasing ") +
          kSmallRun + quoted(write("soft.csv", softSiteCurve())));
  ASSERT_EQ(increasing.status, 0) << increasing.err;
  EXPECT_NE(increasing.out.find("Forward-rule check: 0 of 200 samples (0 %)"), std::string::npos)
      << increasing.out;
  EXPECT_EQ(increasing.err.find("would not record"), std::string::npos) << increasing.err;
  // A 4-layer model makes that curve exactly: the best fit passes its test.
  EXPECT_NE(increasing.out.find("Fit check: the best fit's Q "), std::string::npos)
      << increasing.out;
  EXPECT_EQ(increasing.out.find("fits the curve within its sigma"), std::string::npos)
      << increasing.out;

  // Sampled under the surface-observed rule, the default, there is nothing
  // to check.
  const ToolRun observed =
      run(std::string("--bayes --layers 3 --vs-range 80 1000 "
                      "--h-range 0.5 15 --samples 1000 --burn-in 1000 --start-models 400 ") +
          quoted(write("soft.csv", softSiteCurve())));
  ASSERT_EQ(observed.status, 0) << observed.err;
  EXPECT_NE(observed.out.find("Forward rule: surface-observed fundamental"), std::string::npos)
      << observed.out;
  EXPECT_EQ(observed.out.find("Forward-rule check"), std::string::npos) << observed.out;
  // That rule's chains screen their proposals on the curve with the modes
  // they hold, and the report says how many the screen refused; the lowest
  // root has no modes to hold.
  EXPECT_NE(observed.out.find("Delayed acceptance: "), std::string::npos) << observed.out;
  EXPECT_EQ(soft.out.find("Delayed acceptance"), std::string::npos) << soft.out;
}

TEST_F(PosteriorTool, WarnsWhereNoModelFitsTheCurveWithinItsSigma) {
  // Under the lowest root no layered model reproduces the jumps between
  // modes of what the array recorded: the best fit's chi-square test fails
  // by far, and the report, the intervals and the error stream say so.
  const ToolRun crust = run(std::string("--bayes --layers 4 --vs-range 80 1000 --h-range 0.5 15 ") +
                            kSmallRun + quoted(write("crust.csv", stiffCrustRecordedCurve())));
  ASSERT_EQ(crust.status, 0) << crust.err;
  for (const char* text :
       {"Fit check: the best fit's Q ", "with 17 degrees of freedom",
        "Warning: no model of the ranges fits the curve within its sigma", "misfit beyond sigma"}) {
    EXPECT_NE(crust.out.find(text), std::string::npos) << text << "\n" << crust.out;
  }
  EXPECT_NE(crust.err.find("no model of the ranges fits the curve within its sigma"),
            std::string::npos)
      << crust.err;
}

TEST_F(PosteriorTool, RefusesBadRangesCountsAndCurvesUpFront) {
  const fs::path good = curve(true);
  const fs::path mixed = write("mixed.csv",
                               "frequency, velocity, sigma\n"
                               "40, 200, 4\n"
                               "20, 260, 0\n"
                               "10, 320, 6\n");
  struct Row {
    std::string arguments;
    const char* says;
  };
  const Row rows[] = {
      {"--bayes --layers 4-2 " + quoted(good), "is not a layer count range A-B"},
      {"--bayes --layers 0-3 " + quoted(good), "is not a layer count range A-B"},
      {"--bayes --layers 3 --vs-range 900 100 " + quoted(good), "--vs-range: LO lies above HI"},
      {"--bayes --layers 3 --samples 0 " + quoted(good), "--samples"},
      {"--bayes --layers 3 --models 10 " + quoted(good), "--models belongs to --global"},
      {"--bayes --layers 3 " + quoted(mixed), "refused"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.arguments);
    const ToolRun result = run(row.arguments);
    EXPECT_EQ(result.status, 2);
    EXPECT_EQ(result.out, "");
    if (std::string(row.says) != "refused") {
      EXPECT_NE(result.err.find(row.says), std::string::npos) << result.err;
    }
  }
  const ToolRun help = run("--help");
  EXPECT_NE(help.out.find("dispfit-invert --bayes [OPTIONS] CURVE"), std::string::npos);
}

}  // namespace
