// SPDX-License-Identifier: GPL-3.0-or-later
// dispfit-curve as a user runs it: a model file and options in, a line per
// frequency or an error out, and the exit status telling which.
#include <gtest/gtest.h>

#include <cmath>
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
                           "--freq F1,F2,...", "--fmin A --fmax B --count N", "--group", "none",
                           "--modes N", "--love", "--eigen FREQ MODE", "--observed"}) {
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

TEST_F(CurveTool, ModesStandSideBySideWithNoneBelowTheirCutOff) {
  // 10 m of 200 m/s over 400 m/s: Love mode n appears at n x 11.547 Hz
  // (where k h sqrt(1/b1^2 - 1/b2^2) reaches n pi at c = b2), so at 30 Hz
  // modes 0 to 2 exist and mode 3 does not; at 5 Hz only mode 0. Rayleigh's
  // mode 0 is the fundamental the plain command prints.
  const fs::path model = write("SHR.TXT", "2\n10 200 1.8\n0 400 2.0\n");
  const ToolRun love = run(quoted(model) + " --freq 30,5 --modes 4 --love --group");
  ASSERT_EQ(love.status, 0) << love.err;
  const std::vector<std::vector<std::string>> lines = linesOf(love.out);
  ASSERT_EQ(lines.size(), 2u) << love.out;
  ASSERT_EQ(lines[0].size(), 9u) << love.out;
  EXPECT_EQ(lines[0][0], "30");
  for (std::size_t field = 1; field <= 6; ++field) {
    EXPECT_NE(lines[0][field], "none") << field;
  }
  // Phase velocities rise with the mode number, between the two S velocities.
  EXPECT_GT(std::stod(lines[0][1]), 200.0);
  EXPECT_LT(std::stod(lines[0][1]), std::stod(lines[0][3]));
  EXPECT_LT(std::stod(lines[0][3]), std::stod(lines[0][5]));
  EXPECT_LT(std::stod(lines[0][5]), 400.0);
  EXPECT_EQ(lines[0][7], "none");
  EXPECT_EQ(lines[0][8], "none");
  EXPECT_EQ(lines[1][0], "5");
  EXPECT_NE(lines[1][1], "none");
  for (std::size_t field = 3; field <= 8; ++field) {
    EXPECT_EQ(lines[1][field], "none") << field;
  }

  const ToolRun rayleigh = run(quoted(model) + " --freq 30,5 --modes 2");
  const ToolRun fundamental = run(quoted(model) + " --freq 30,5");
  ASSERT_EQ(rayleigh.status, 0) << rayleigh.err;
  const std::vector<std::vector<std::string>> modes = linesOf(rayleigh.out);
  const std::vector<std::vector<std::string>> plain = linesOf(fundamental.out);
  ASSERT_EQ(modes.size(), 2u);
  ASSERT_EQ(plain.size(), 2u);
  for (std::size_t j = 0; j < 2; ++j) {
    ASSERT_EQ(modes[j].size(), 3u) << rayleigh.out;
    EXPECT_EQ(modes[j][1], plain[j][1]);
  }
}

TEST_F(CurveTool, EigenPrintsTheMotionOfAModeAgainstDepth) {
  // 10 m of 200 m/s over 400 m/s, Love mode 1 at 30 Hz: in the layer the
  // displacement is cos(k s1 z), s1 = sqrt(c^2/200^2 - 1), with no traction
  // at the surface and one node inside the layer (mode 1).
  const fs::path model = write("SHR.TXT", "2\n10 200 1.8\n0 400 2.0\n");
  const ToolRun result = run(quoted(model) + " --eigen 30 1 --love");
  ASSERT_EQ(result.status, 0) << result.err;
  const std::vector<std::vector<std::string>> lines = linesOf(result.out);
  ASSERT_GT(lines.size(), 200u);
  EXPECT_EQ(lines[0][0], "#");
  EXPECT_NE(result.out.find("Love mode 1 at 30 Hz"), std::string::npos) << result.out;
  const std::size_t phase = result.out.find("phase velocity ");
  ASSERT_NE(phase, std::string::npos);
  const double c = std::stod(result.out.substr(phase + 15));
  const double k = 2.0 * 3.141592653589793 * 30.0 / c;
  const double s1 = std::sqrt(c * c / (200.0 * 200.0) - 1.0);
  int rows = 0;
  int signChanges = 0;
  double previous = 1.0;
  for (const std::vector<std::string>& line : lines) {
    if (line.empty() || line[0] == "#") {
      continue;
    }
    ASSERT_EQ(line.size(), 3u);
    const double z = std::stod(line[0]);
    const double v = std::stod(line[1]);
    if (rows == 0) {
      EXPECT_EQ(z, 0.0);
      EXPECT_DOUBLE_EQ(v, 1.0);
      EXPECT_LT(std::abs(std::stod(line[2])), 1e-3);  // Pa, against 1e7 Pa inside
    }
    if (z <= 10.0) {
      // 1e-4: c is printed to 1e-4 m/s, which moves k s1 z by up to 2e-5 here.
      EXPECT_NEAR(v, std::cos(k * s1 * z), 1e-4) << z;
      signChanges += (v < 0.0) != (previous < 0.0) ? 1 : 0;
      previous = v;
    }
    ++rows;
  }
  EXPECT_EQ(signChanges, 1);
  EXPECT_GT(rows, 200);
}

TEST_F(CurveTool, ObservedPrintsTheModeASurfaceArrayRecordsWithItsNumber) {
  // 6 m of 353 m/s over 4.5 m of 150 m/s over 2.8 m of 104 m/s over 400 m/s:
  // at 80 Hz the lowest root is trapped in the 104 m/s layer (below
  // 110 m/s), what a surface array records is the crust's Rayleigh wave (a
  // higher mode, near 0.95 x 353 m/s); at 10 Hz both are the fundamental.
  const fs::path model = write("SHR.TXT", "4\n6 353 1.9\n4.5 150 1.9\n2.8 104 1.9\n0 400 1.9\n");
  const ToolRun lowest = run(quoted(model) + " --freq 80,10");
  const ToolRun observed = run(quoted(model) + " --freq 80,10 --observed");
  ASSERT_EQ(observed.status, 0) << observed.err;
  const std::vector<std::vector<std::string>> l = linesOf(lowest.out);
  const std::vector<std::vector<std::string>> o = linesOf(observed.out);
  ASSERT_EQ(o.size(), 2u);
  ASSERT_EQ(o[0].size(), 3u);
  EXPECT_LT(std::stod(l[0][1]), 110.0);
  EXPECT_NEAR(std::stod(o[0][1]), 0.95 * 353.0, 0.05 * 353.0);
  EXPECT_GT(std::stoi(o[0][2]), 0);
  EXPECT_EQ(o[1][1], l[1][1]);
  EXPECT_EQ(o[1][2], "0");
  // A share of 1e-40 takes the lowest root even at 80 Hz.
  const ToolRun all = run(quoted(model) + " --freq 80 --observed --observed-fraction 1e-40");
  ASSERT_EQ(all.status, 0) << all.err;
  EXPECT_EQ(linesOf(all.out)[0], (std::vector<std::string>{"80", l[0][1], "0"}));
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
      {"no mode", quoted(model) + " --modes 0", 2,
       "--modes: \"0\" is not a whole number from 1 to 100"},
      {"half a mode", quoted(model) + " --modes 1.5", 2, "\"1.5\" is not a whole number"},
      {"too many modes", quoted(model) + " --modes 101", 2, "\"101\" is not a whole number"},
      {"eigen without mode", quoted(model) + " --eigen 10", 2, "--eigen needs a value"},
      {"eigen, half a mode", quoted(model) + " --eigen 10 0.5", 2,
       "\"0.5\" is not a whole number from 0 to 99"},
      {"eigen and a list", quoted(model) + " --eigen 10 0 --freq 5", 2, "--eigen prints one mode"},
      {"observed with group", quoted(model) + " --observed --group", 2, "--observed prints one"},
      {"fraction alone", quoted(model) + " --observed-fraction 0.2", 2, "goes with --observed"},
      {"fraction 0", quoted(model) + " --observed --observed-fraction 0", 2, "0 must be positive"},
      {"fraction 2", quoted(model) + " --observed --observed-fraction 2", 2,
       "above 0 and at most 1"},
      {"eigen of an absent mode", quoted(model) + " --eigen 2 3", 1, "carries no Rayleigh mode 3"},
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
