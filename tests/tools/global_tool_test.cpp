// SPDX-License-Identifier: GPL-3.0-or-later
// dispfit-invert --global as a user runs it: a synthetic curve in, the report
// and the three tables out, refusals with exit status 2.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "synthetic_curve.h"
#include "tool_run.h"

namespace {

namespace fs = std::filesystem;

using dispfit_test::contents;
using dispfit_test::quoted;
using dispfit_test::ToolRun;

// The rows of a comma-separated table after its header (and '#' comments),
// each as numbers; "inf" reads as infinity.
std::vector<std::vector<double>> rowsOf(const std::string& text, std::string& header) {
  std::istringstream in(text);
  std::vector<std::vector<double>> rows;
  header.clear();
  for (std::string line; std::getline(in, line);) {
    if (line.empty() || line[0] == '#') continue;
    if (header.empty()) {
      header = line;
      continue;
    }
    std::vector<double> row;
    std::istringstream fields(line);
    for (std::string field; std::getline(fields, field, ',');)
      row.push_back(std::strtod(field.c_str(), nullptr));
    rows.push_back(row);
  }
  return rows;
}

// Standard error is a file here, not a terminal: no progress line.
class GlobalTool : public dispfit_test::ToolTest {
 protected:
  GlobalTool() : ToolTest(DISPFIT_INVERT_PATH, "dispfit-global-test-") {}
};

TEST_F(GlobalTool, WritesReportAndThreeTablesThatReadBack) {
  // The search tests' synthetic 3-layer curve with its +-3 % band, written
  // as a headed table with the bounds; it is the model's fundamental mode,
  // fitted under the lowest-root rule.
  std::string table = "frequency (Hz), velocity (m/s), low (m/s), high (m/s)\n";
  for (const dispfit::MeasuredPoint& p : dispfit_test::syntheticCurve()) {
    std::ostringstream row;
    row.precision(17);
    row << p.frequency << ", " << p.velocity << ", " << p.band->low << ", " << p.band->high << '\n';
    table += row.str();
  }
  const fs::path curve = write("curve.csv", table);
  const fs::path prefix = dir_ / "site";
  const ToolRun result =
      run("--global --layers 3 --vs-range 80 1000 --h-range 1 15 --models 1200 "
          "--seed 4 --threads 2 --accept 2.5 --lowest-root --csv " +
          quoted(prefix) + " " + quoted(curve));
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.err, "");  // not a terminal: no progress line
  for (const char* line :
       {"Models drawn: 1200", "normalised misfit", "Forward rule: lowest root",
        "Accepted models: ", "Best model (normalised misfit",
        "Points inside the band (best model): ", " Vs30 ", "Depth the data constrain"}) {
    EXPECT_NE(result.out.find(line), std::string::npos) << line << "\n" << result.out;
  }

  std::string header;
  const auto models = rowsOf(contents(fs::path(prefix.string() + "_models.csv")), header);
  EXPECT_EQ(header,
            "index, vs1 (m/s), vs2 (m/s), vs3 (m/s), h1 (m), h2 (m), normalised misfit, accepted");
  ASSERT_EQ(models.size(), 1200u);
  std::size_t accepted = 0;
  double bestMisfit = INFINITY;
  std::size_t best = 0;
  for (std::size_t i = 0; i < models.size(); ++i) {
    const auto& row = models[i];
    ASSERT_EQ(row.size(), 8u);
    EXPECT_EQ(row[0], static_cast<double>(i));
    for (std::size_t k = 1; k <= 3; ++k) EXPECT_TRUE(row[k] >= 80.0 && row[k] <= 1000.0);
    for (std::size_t k = 4; k <= 5; ++k) EXPECT_TRUE(row[k] >= 1.0 && row[k] <= 15.0);
    // Accepted exactly when the normalised misfit is at most --accept's 2.5.
    EXPECT_EQ(row[7] == 1.0, row[6] <= 2.5) << "model " << i;
    accepted += row[7] == 1.0 ? 1 : 0;
    if (row[6] < bestMisfit) {
      bestMisfit = row[6];
      best = i;
    }
  }
  EXPECT_NE(result.out.find("Accepted models: " + std::to_string(accepted) + " of 1200"),
            std::string::npos);

  // The best model's table holds the best row's parameters, Vp = 3 Vs.
  const auto bestTable = rowsOf(contents(fs::path(prefix.string() + "_best.csv")), header);
  EXPECT_EQ(header, "thickness (m), Vs (m/s), density (g/cm3), Vp (m/s)");
  ASSERT_EQ(bestTable.size(), 3u);
  for (std::size_t layer = 0; layer < 3; ++layer) {
    EXPECT_NEAR(bestTable[layer][1], models[best][1 + layer], 1e-9 * models[best][1 + layer]);
    EXPECT_NEAR(bestTable[layer][3], 3.0 * bestTable[layer][1], 1e-9 * bestTable[layer][3]);
    EXPECT_DOUBLE_EQ(bestTable[layer][2], 1.9);
  }
  EXPECT_NEAR(bestTable[0][0], models[best][4], 1e-12 * models[best][4]);

  // The profile: every 0.1 m from 0, p10 <= p50 <= p90, down to 1.5 times
  // the constrained depth the report gives.
  const auto profile = rowsOf(contents(fs::path(prefix.string() + "_profile.csv")), header);
  EXPECT_EQ(header, "depth (m), vs p10 (m/s), vs p50 (m/s), vs p90 (m/s)");
  ASSERT_GT(profile.size(), 10u);
  for (std::size_t i = 0; i < profile.size(); ++i) {
    EXPECT_NEAR(profile[i][0], 0.1 * static_cast<double>(i), 1e-9);
    EXPECT_LE(profile[i][1], profile[i][2]);
    EXPECT_LE(profile[i][2], profile[i][3]);
  }
  const std::size_t at = result.out.find("half the longest measured wavelength): ");
  ASSERT_NE(at, std::string::npos);
  const double constrained = std::strtod(result.out.c_str() + at + 39, nullptr);
  EXPECT_NEAR(profile.back()[0], 1.5 * constrained, 0.1 + 0.05);  // the report rounds to 0.1 m
}

TEST_F(GlobalTool, RangesFileAndRefusals) {
  const fs::path curve = fs::path(DISPFIT_EXAMPLES_DIR) / "field_curve.csv";
  const fs::path ranges = write("ranges.csv",
                                "vs min, vs max, h min, h max, density, vp\n"
                                "80, 300, 0.5, 4, 1.8, 1500\n"
                                "100, 600, 1, 8, 1.9, 1500\n"
                                "200, 800, 0, 0, 2.0, 2000\n");
  ToolRun result = run("--global --params " + quoted(ranges) + " --models 300 " + quoted(curve));
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_NE(result.out.find("Models drawn: 300"), std::string::npos);
  EXPECT_NE(result.out.find("Forward rule: surface-observed fundamental (the lowest Rayleigh "
                            "mode whose vertical surface response to a vertical force is at "
                            "least 10 % of the largest among all modes below"),
            std::string::npos)
      << result.out;
  EXPECT_NE(result.out.find("1500.0"), std::string::npos) << result.out;  // the fixed Vp

  // A fixed Vp of 1000 below sqrt(2) x 800 = 1131: refused naming the file.
  const fs::path slow = write("slow.csv",
                              "vs min, vs max, h min, h max, density, vp\n"
                              "200, 800, 0, 0, 2.0, 1000\n");
  result = run("--global --params " + quoted(slow) + " " + quoted(curve));
  EXPECT_EQ(result.status, 2);
  EXPECT_NE(result.err.find("slow.csv: the half-space (layer 1): the fixed Vp"), std::string::npos)
      << result.err;
  EXPECT_EQ(result.out, "");

  result = run("--global --layers 3 --models 0 " + quoted(curve));
  EXPECT_EQ(result.status, 2);
  EXPECT_NE(result.err.find("--models"), std::string::npos);
  result = run("--global --layers 3 --iterations 4 " + quoted(curve));
  EXPECT_EQ(result.status, 2);
  result = run("--global --layers 3 " + quoted(dir_ / "missing.csv"));
  EXPECT_EQ(result.status, 2);
  EXPECT_NE(result.err.find("cannot open the curve file"), std::string::npos) << result.err;

  result = run("--help");
  EXPECT_EQ(result.status, 0);
  EXPECT_NE(result.out.find("dispfit-invert --global [OPTIONS] CURVE"), std::string::npos);
}

}  // namespace
