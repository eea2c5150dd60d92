// SPDX-License-Identifier: GPL-3.0-or-later
// The command line of dispfit-invert: files, bounds, iteration limit, CSV
// prefix and suggested start, and what it refuses.
#include "invert_options.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

namespace dispfit {
namespace {

InvertCommand parsed(std::vector<std::string_view> arguments) {
  return parseInvertOptions(arguments);
}

TEST(InvertOptions, OptionsSetTheInversionLimits) {
  struct Case {
    const char* name;
    std::vector<std::string_view> arguments;
    InversionLimits limits;
  };
  // The window's settings: 50-1000 m/s, 0.1-5 m, 30 iterations.
  const InversionLimits window{50.0f, 1000.0f, 0.1f, 5.0f, 30};
  const Case cases[] = {
      {"none", {"m.txt", "c.txt"}, window},
      {"Vs bounds", {"--vs-bounds", "80", "1500.5", "m.txt", "c.txt"}, {80, 1500.5f, 0.1f, 5, 30}},
      {"thickness bounds after the files",
       {"m.txt", "c.txt", "--h-bounds", "0.5", "12"},
       {50, 1000, 0.5f, 12, 30}},
      {"iterations between the files",
       {"m.txt", "--iterations", "200", "c.txt"},
       {50, 1000, 0.1f, 5, 200}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const InvertCommand command = parsed(c.arguments);
    ASSERT_EQ(command.action, InvertCommand::Action::Run) << command.error;
    EXPECT_EQ(command.limits, c.limits);
    EXPECT_EQ(command.modelPath, "m.txt");
    EXPECT_EQ(command.curvePath, "c.txt");
  }
  EXPECT_EQ(limitsText(window), "Vs 50 to 1000 m/s, thickness 0.1 to 5 m, at most 30 iterations");
}

TEST(InvertOptions, SuggestionTakesOnlyTheCurveAndCsvItsPrefix) {
  const InvertCommand command = parsed({"--suggest", "4", "--csv", "out/site", "c.txt"});
  ASSERT_EQ(command.action, InvertCommand::Action::Run) << command.error;
  EXPECT_EQ(command.suggestedLayers, 4);
  EXPECT_EQ(command.csvPrefix, "out/site");
  EXPECT_EQ(command.curvePath, "c.txt");
  EXPECT_EQ(command.modelPath, "");
  EXPECT_EQ(parsed({"m.txt", "--help", "--bogus"}).action, InvertCommand::Action::Help);
}

TEST(InvertOptions, PVelocityRuleAndFilesOfOtherPrograms) {
  const InvertCommand command =
      parsed({"--poisson", "0.3", "--water-table=2.5", "--target", "t.target", "--surf96", "s.d",
              "--gpdc", "m.gpdc", "--model96", "m.mod", "--columns", "f=2,v=1", "m", "c"});
  ASSERT_EQ(command.action, InvertCommand::Action::Run) << command.error;
  EXPECT_EQ(command.vpRule, (VpRule{std::nullopt, 0.3, 2.5}));
  EXPECT_EQ(command.exchange.target, "t.target");
  EXPECT_EQ(command.exchange.surf96, "s.d");
  EXPECT_EQ(command.exchange.gpdc, "m.gpdc");
  EXPECT_EQ(command.exchange.model96, "m.mod");
  ASSERT_FALSE(command.exchange.columns.position.empty());
  EXPECT_EQ(command.exchange.columns.position[0], 2u);  // the frequency
  EXPECT_EQ(command.exchange.columns.position[1], 1u);  // the velocity
  EXPECT_EQ(parsed({"m", "c"}).vpRule, VpRule{});
}

TEST(InvertOptions, BadValuesAreRefused) {
  struct Case {
    const char* name;
    std::vector<std::string_view> arguments;
    std::string expected;
  };
  const Case cases[] = {
      {"low above high",
       {"--vs-bounds", "500", "100", "m", "c"},
       "--vs-bounds: LO 500 must lie below HI 100"},
      {"equal bounds", {"--h-bounds", "2", "2", "m", "c"}, "--h-bounds: LO 2 must lie below HI 2"},
      {"zero", {"--h-bounds", "0", "5", "m", "c"}, "--h-bounds: 0 must be positive"},
      {"negative", {"--vs-bounds", "-50", "1000", "m", "c"}, "--vs-bounds: -50 must be positive"},
      {"0 in single precision",
       {"--h-bounds", "1e-50", "5", "m", "c"},
       "--h-bounds: 1e-50 must be positive"},
      {"beyond single precision",
       {"--h-bounds", "0.1", "1e39", "m", "c"},
       "--h-bounds: 1e39 is beyond the single-precision range"},
      {"decimal comma",
       {"--h-bounds", "0,1", "5", "m", "c"},
       "--h-bounds: \"0,1\" is not a number (a full stop is the decimal separator)"},
      {"one value",
       {"m", "c", "--vs-bounds", "50"},
       "--vs-bounds needs two values, LO and HI (m/s)"},
      {"Vs of 10 km/s",
       {"--vs-bounds", "50", "10000", "m", "c"},
       "--vs-bounds: HI 10000 m/s must lie below 10000"},
      {"no iterations",
       {"--iterations", "0", "m", "c"},
       "--iterations: \"0\" is not a whole number from 1 to 10000"},
      {"more iterations than allowed",
       {"--iterations", "10001", "m", "c"},
       "--iterations: \"10001\" is not a whole number from 1 to 10000"},
      {"iterations not whole",
       {"--iterations", "2.5", "m", "c"},
       "--iterations: \"2.5\" is not a whole number from 1 to 10000"},
      {"21 layers suggested",
       {"--suggest", "21", "c"},
       "--suggest: \"21\" is not a whole number from 1 to 20"},
      {"unknown option", {"--verbose", "m", "c"}, "unknown option --verbose"},
      {"one file", {"c"}, "expected two files, MODEL and CURVE"},
      {"model with suggestion",
       {"--suggest", "3", "m", "c"},
       "with --suggest, expected one file, CURVE"},
      {"csv without prefix", {"m", "c", "--csv"}, "--csv needs a value"},
      // sqrt(2) x 1000 = 1414.2 m/s: the least Vp for the default Vs bound.
      {"Vp below sqrt(2) Vs",
       {"--vp", "1400", "m", "c"},
       "Vp 1400 m/s lies below sqrt(2) times the highest Vs (1000 m/s)"},
      {"Vp for wider bounds",
       {"--vp", "1500", "--vs-bounds", "50", "1200", "m", "c"},
       "lies below sqrt(2) times the highest Vs (1200 m/s)"},
      {"Poisson's ratio of 0.5", {"--poisson", "0.5", "m", "c"}, "Poisson's ratio must lie"},
      {"Vp and Poisson's ratio",
       {"--vp", "3000", "--poisson", "0.3", "m", "c"},
       "a fixed Vp and Poisson's ratio exclude each other"},
      {"water table at 0", {"--water-table", "0", "m", "c"}, "--water-table: 0 must be positive"},
      {"columns not NAME=COLUMN",
       {"--columns", "f1", "m", "c"},
       "--columns: \"f1\" does not say NAME=COLUMN"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const InvertCommand command = parsed(c.arguments);
    EXPECT_EQ(command.action, InvertCommand::Action::Error);
    EXPECT_NE(command.error.find(c.expected), std::string::npos) << command.error;
  }
}

}  // namespace
}  // namespace dispfit
