// SPDX-License-Identifier: GPL-3.0-or-later
// dispfit-curve as a user runs it: a model file and options in, a line per
// frequency or an error out, and the exit status telling which.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tool_run.h"

namespace {

namespace fs = std::filesystem;

using dispfit_test::contents;
using dispfit_test::quoted;
using dispfit_test::ToolRun;

// The fields of each output line.
std::vector<std::vector<std::string>> linesOf(const std::string& text) {
  std::vector<std::vector<std::string>> lines;
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream fields(line);
    std::vector<std::string> row;
    for (std::string field; fields >> field;) {
      row.push_back(field);
    }
    lines.push_back(row);
  }
  return lines;
}

class CurveTool : public dispfit_test::ToolTest {
 protected:
  CurveTool() : ToolTest(DISPFIT_CURVE_PATH, "dispfit-curve-test-") {}
};

TEST_F(CurveTool, HelpExplainsTheFileAndTheOptions) {
  const ToolRun result = run("--help");
  EXPECT_EQ(result.status, 0);
  for (const char* text : {"Usage: dispfit-curve MODEL", "thickness(m)  Vs(m/s)  density(g/cm3)",
                           "--freq F1,F2,...", "--fmin A --fmax B --count N", "--group", "none"}) {
    EXPECT_NE(result.out.find(text), std::string::npos) << text;
  }
}

TEST_F(CurveTool, HalfSpacePrintsItsRayleighVelocityAtEveryFrequency) {
  // With P = 3 S the Rayleigh equation (2 - x^2)^2 = 4 sqrt(1 - x^2 / 9)
  // sqrt(1 - x^2) has the root x = 0.947308: a half-space of 200 m/s
  // carries Rayleigh waves at 189.4615 m/s at every frequency, and without
  // dispersion the group velocity is the same.
  const fs::path model = write("SHR.TXT", "1\n0 200 1.8\n");
  const ToolRun result = run(quoted(model) + " --freq 150,2.5,40 --group");
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.err, "");
  const std::vector<std::vector<std::string>> expected{{"150", "189.4615", "189.4615"},
                                                       {"2.5", "189.4615", "189.4615"},
                                                       {"40", "189.4615", "189.4615"}};
  EXPECT_EQ(linesOf(result.out), expected) << result.out;
}

TEST_F(CurveTool, RangeGivesEvenlySpacedFrequenciesAndNoneWhereThereIsNoRoot) {
  // 10 m of 400 m/s over a 250 m/s half-space: at 1 Hz the wave lives in the
  // half-space, below its S velocity; at 100 Hz the layer carries it at
  // about 0.95 x 400 m/s, above the half-space's S velocity, so there is no
  // root there.
  const fs::path model = write("SHR.TXT", "2\n10 400 2.0\n0 250 2.0\n");
  const ToolRun result = run(quoted(model) + " --fmin 1 --fmax 100 --count 3");
  ASSERT_EQ(result.status, 0) << result.err;
  const std::vector<std::vector<std::string>> lines = linesOf(result.out);
  ASSERT_EQ(lines.size(), 3u) << result.out;
  EXPECT_EQ(lines[0][0], "1");
  EXPECT_EQ(lines[1][0], "50.5");
  EXPECT_EQ(lines[2][0], "100");
  ASSERT_EQ(lines[0].size(), 2u);
  EXPECT_LT(std::stod(lines[0][1]), 250.0);
  EXPECT_GT(std::stod(lines[0][1]), 0.87 * 250.0);
  EXPECT_EQ(lines[2], (std::vector<std::string>{"100", "none"}));
}

TEST_F(CurveTool, UsageAndFileFaultsExitWithTwoModelFaultsWithOne) {
  const fs::path model = write("SHR.TXT", "2\n5 200 1.8\n0 400 2.0\n");
  struct Row {
    const char* name;
    std::string arguments;
    int status;
    const char* message;
  };
  const std::vector<Row> rows{
      {"no model", "--freq 10", 2, "expected a model file"},
      {"missing file", quoted(dir_ / "missing.txt"), 2, "cannot open"},
      {"bad list", quoted(model) + " --freq 10,x", 2, "--freq needs numbers"},
      {"range without count", quoted(model) + " --fmin 1 --fmax 5", 2, "go together"},
      {"list and range", quoted(model) + " --freq 5 --fmin 1 --fmax 5 --count 2", 2, "either"},
      {"unknown option", quoted(model) + " --fast", 2, "unknown option --fast"},
      {"second model", quoted(model) + " " + quoted(model), 2, "unexpected argument"},
      {"count not whole", quoted(model) + " --fmin 1 --fmax 5 --count 2.5", 2, "whole number"},
      {"zero frequency", quoted(model) + " --freq 10,0", 1, "frequency"},
      {"zero thickness", quoted(write("thin.txt", "2\n0 200 1.8\n0 400 2.0\n")), 1, "thickness"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const ToolRun result = run(row.arguments);
    EXPECT_EQ(result.status, row.status);
    EXPECT_NE(result.err.find(row.message), std::string::npos) << result.err;
    EXPECT_EQ(result.out, "");
  }
}

}  // namespace
