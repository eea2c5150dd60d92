// SPDX-License-Identifier: GPL-3.0-or-later
// The search ranges table: the columns it takes, and what it refuses with
// which message.
#include "files/search_ranges_file.h"

#include <gtest/gtest.h>

#include <string>

namespace swcore {
namespace {

constexpr InputLimits kLimits{20, 0};

TEST(SearchRangesFile, ReadsColumnsByNameOrPosition) {
  const std::string texts[] = {
      "# two layers\nvs min (m/s), vs max (m/s), h min (m), h max (m), density (g/cm3)\n"
      "80, 400, 1, 10, 1.8\n200, 900, 0, 0, 2.0\n",
      // Another column order, tabs (names joined by underscores, as blanks
      // would split them), CRLF.
      "density\th_max\th_min\tvs_max\tvs_min\r\n1.8\t10\t1\t400\t80\r\n2.0\t0\t0\t900\t200\r\n",
      // Without a header: vs min, vs max, h min, h max, density.
      "80 400 1 10 1.8\n200 900 0 0 2.0\n",
  };
  for (const std::string& text : texts) {
    SCOPED_TRACE(text);
    SearchRangesFile ranges;
    std::string error;
    ASSERT_TRUE(parseSearchRanges(text, "r.txt", kLimits, ranges, error)) << error;
    EXPECT_EQ(ranges.vsMin, (std::vector<double>{80, 200}));
    EXPECT_EQ(ranges.vsMax, (std::vector<double>{400, 900}));
    EXPECT_EQ(ranges.hMin, (std::vector<double>{1, 0}));
    EXPECT_EQ(ranges.hMax, (std::vector<double>{10, 0}));
    EXPECT_EQ(ranges.density, (std::vector<double>{1.8, 2.0}));
    EXPECT_TRUE(ranges.vp.empty());
    EXPECT_TRUE(ranges.poissonMin.empty());
  }
  SearchRangesFile ranges;
  std::string error;
  ASSERT_TRUE(
      parseSearchRanges("vs min, vs max, h min, h max, density, poisson min, poisson max\n"
                        "80 400 1 10 1.8 0.3 0.45\n200 900 0 0 2.0 0 0.25\n",
                        "r.txt", kLimits, ranges, error))
      << error;
  EXPECT_EQ(ranges.poissonMin, (std::vector<double>{0.3, 0}));
  EXPECT_EQ(ranges.poissonMax, (std::vector<double>{0.45, 0.25}));
  ASSERT_TRUE(
      parseSearchRanges("vs min, vs max, h min, h max, density, vp (m/s)\n"
                        "80 400 1 10 1.8 1500\n",
                        "r.txt", kLimits, ranges, error))
      << error;
  EXPECT_EQ(ranges.vp, (std::vector<double>{1500}));
}

TEST(SearchRangesFile, RefusesWithFileAndLine) {
  const std::string header = "vs min, vs max, h min, h max, density\n";
  struct Row {
    std::string text;
    const char* says;
  };
  std::string tooMany = header;
  for (int i = 0; i < 21; ++i) tooMany += "80 400 1 10 1.8\n";
  const Row rows[] = {
      {"vs min, vs max, h min, density\n80 400 1 1.8\n",
       "r.txt, line 1: the header names no h max"},
      {header + "80 400 1 10 1.8\n0 900 0 0 2.0\n",
       "r.txt, line 3: vs min of layer 2 must be positive"},
      {header + "80 400 -1 10 1.8\n200 900 0 0 2.0\n", "line 2: h min of layer 1 must be positive"},
      {"vs min, vs max, h min, h max, density, poisson min, poisson max\n80 400 1 10 1.8 -0.1 "
       "0.3\n",
       "poisson min of layer 1 must not be negative"},
      {"vs min, vs max, h min, h max, density, poisson min\n80 400 1 10 1.8 0.1\n",
       "one end of Poisson's ratio's range"},
      {"vs min, vs max, h min, h max, density, vp, poisson min, poisson max\n80 400 1 10 1.8 900 "
       "0.1 "
       "0.2\n",
       "both vp and Poisson's ratio"},
      {header, "r.txt: "},
      {tooMany, "r.txt, line 22: 21 layers"},
      {"vs min (km/s), vs max, h min, h max, density\n0.08 0.4 1 10 1.8\n", "r.txt, line 1"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.text);
    SearchRangesFile ranges;
    std::string error;
    EXPECT_FALSE(parseSearchRanges(row.text, "r.txt", kLimits, ranges, error));
    EXPECT_NE(error.find(row.says), std::string::npos) << error;
  }
}

}  // namespace
}  // namespace swcore
