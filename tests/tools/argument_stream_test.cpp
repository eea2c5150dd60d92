// SPDX-License-Identifier: GPL-3.0-or-later
// The one option reader: values after the option or after '=', each kind of
// value read and refused in the same words for every program.
#include "argument_stream.h"

#include <gtest/gtest.h>

#include <vector>

namespace dispfit {
namespace {

TEST(ArgumentStream, ValuesFollowTheOptionOrItsEqualsSign) {
  const std::vector<std::string_view> arguments{"--models",  "500",    "--seed=7",
                                                "curve.csv", "--csv=", "-"};
  ArgumentStream in(arguments);
  std::string error;
  std::int64_t models = 0;
  std::int64_t seed = 0;
  ASSERT_EQ(in.next(), "--models");
  ASSERT_TRUE(in.whole("--models", 1, 1000, models, error)) << error;
  ASSERT_EQ(in.next(), "--seed");
  ASSERT_TRUE(in.whole("--seed", 0, 100, seed, error)) << error;
  EXPECT_EQ(models, 500);
  EXPECT_EQ(seed, 7);
  const std::string_view file = in.next();
  EXPECT_EQ(file, "curve.csv");
  EXPECT_FALSE(ArgumentStream::isOption(file));
  ASSERT_EQ(in.next(), "--csv");
  std::string prefix;
  EXPECT_FALSE(in.text("--csv", prefix, error));  // "--csv=" gives an empty value
  EXPECT_EQ(error, "--csv: the value is empty");
  const std::string_view dash = in.next();
  EXPECT_FALSE(ArgumentStream::isOption(dash));  // "-" alone is an argument
  EXPECT_TRUE(in.empty());
}

TEST(ArgumentStream, EachKindOfValueIsReadOrRefusedInTheSameWords) {
  struct Row {
    const char* name;
    std::vector<std::string_view> arguments;  // the option, then what follows it
    bool (*read)(ArgumentStream&, std::string&);
    std::string error;  // empty when the read succeeds
  };
  const auto real = [](ArgumentStream& in, std::string& error) {
    double value = 0.0;
    return in.real("--x", value, error);
  };
  const auto positive = [](ArgumentStream& in, std::string& error) {
    double value = 0.0;
    return in.positive("--x", value, error);
  };
  const auto whole = [](ArgumentStream& in, std::string& error) {
    std::int64_t value = 0;
    return in.whole("--x", 1, 20, value, error);
  };
  const auto list = [](ArgumentStream& in, std::string& error) {
    std::vector<double> values;
    return in.realList("--x", values, error);
  };
  const auto flag = [](ArgumentStream& in, std::string& error) { return in.flag("--x", error); };
  const std::string notNumber = "is not a number (a full stop is the decimal separator)";
  const Row rows[] = {
      {"a number", {"--x", "-2.5e3"}, real, ""},
      {"a sign before a sign", {"--x", "+-1"}, real, "--x: \"+-1\" " + notNumber},
      {"a decimal comma", {"--x", "1,5"}, real, "--x: \"1,5\" " + notNumber},
      {"not finite", {"--x", "inf"}, real, "--x: \"inf\" " + notNumber},
      {"beyond a double", {"--x", "1e400"}, real, "--x: \"1e400\" " + notNumber},
      {"no value", {"--x"}, real, "--x needs a value"},
      {"zero where positive", {"--x", "0"}, positive, "--x: 0 must be positive"},
      {"negative where positive", {"--x=-3"}, positive, "--x: -3 must be positive"},
      {"whole in range", {"--x", "+20"}, whole, ""},
      {"whole above range", {"--x", "21"}, whole, "--x: \"21\" is not a whole number from 1 to 20"},
      {"whole with a point",
       {"--x", "3.0"},
       whole,
       "--x: \"3.0\" is not a whole number from 1 to 20"},
      {"a list", {"--x", "150,50,5"}, list, ""},
      {"a list with a gap",
       {"--x", "10,,5"},
       list,
       "--x needs numbers separated by commas, not \"10,,5\" (a full stop is the decimal "
       "separator)"},
      {"a flag", {"--x"}, flag, ""},
      {"a flag with a value", {"--x=1"}, flag, "--x takes no value"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    ArgumentStream in(row.arguments);
    ASSERT_EQ(in.next(), "--x");
    std::string error;
    EXPECT_EQ(row.read(in, error), row.error.empty());
    EXPECT_EQ(error, row.error);
  }
}

TEST(ArgumentStream, ListsKeepTheirOrderAndHelpIsKnownByBothNames) {
  const std::vector<std::string_view> arguments{"--freq=150,2.5,40"};
  ArgumentStream in(arguments);
  ASSERT_EQ(in.next(), "--freq");
  std::vector<double> values;
  std::string error;
  ASSERT_TRUE(in.realList("--freq", values, error)) << error;
  EXPECT_EQ(values, (std::vector<double>{150.0, 2.5, 40.0}));
  EXPECT_TRUE(ArgumentStream::isHelp("--help"));
  EXPECT_TRUE(ArgumentStream::isHelp("-h"));
  EXPECT_FALSE(ArgumentStream::isHelp("--helps"));
  EXPECT_EQ(unknownOption("--fast"), "unknown option --fast");
}

}  // namespace
}  // namespace dispfit
