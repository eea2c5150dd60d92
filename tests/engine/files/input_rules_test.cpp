// SPDX-License-Identifier: GPL-3.0-or-later
// The input rules at their edges: what single precision can hold, the
// velocity ceiling and the signs, and the count limits.
#include "files/input_rules.h"

#include <gtest/gtest.h>

#include <span>
#include <string>
#include <vector>

namespace swcore {
namespace {

TEST(InputRules, LayerValuesAtTheirEdges) {
  struct Case {
    const char* name;
    LayerQuantity quantity;
    bool halfSpace;
    double value;
    std::string expected;  // empty: accepted
  };
  // FLT_MAX = 3.40282347e38; a double rounds to infinity from FLT_MAX plus
  // half its ulp (2^103 = 1.01e31), 3.40282357e38, on. The smallest
  // subnormal float is 2^-149 = 1.4e-45; below half of it (7e-46) a double
  // rounds to 0.
  const Case cases[] = {
      {"thickness 0", LayerQuantity::Thickness, false, 0.0, ""},
      {"negative thickness", LayerQuantity::Thickness, false, -0.5,
       "the thickness of layer 3 is negative"},
      {"negative half-space thickness (not used)", LayerQuantity::Thickness, true, -0.5, ""},
      {"half-space thickness of 1e39", LayerQuantity::Thickness, true, 1e39,
       "the thickness of layer 3 (1e+39) is beyond the single-precision range"},
      {"thickness just below FLT_MAX + ulp/2", LayerQuantity::Thickness, false, 3.4028235e38, ""},
      {"thickness just above FLT_MAX + ulp/2", LayerQuantity::Thickness, false, 3.4028236e38,
       "the thickness of layer 3 (3.4028236e+38) is beyond the single-precision range"},
      {"thickness of 1e-320 (becomes 0)", LayerQuantity::Thickness, false, 1e-320, ""},
      {"Vs just below the ceiling", LayerQuantity::ShearVelocity, false, 9999.999, ""},
      {"Vs at the ceiling", LayerQuantity::ShearVelocity, false, 10000.0,
       "the S velocity of layer 3 (10000 m/s) is not below 10000 m/s"},
      {"Vs of 0", LayerQuantity::ShearVelocity, false, 0.0,
       "the S velocity of layer 3 must be positive"},
      {"Vs of 1e-320", LayerQuantity::ShearVelocity, false, 1e-320,
       "the S velocity of layer 3 (1e-320) is 0 in single precision"},
      {"Vs of 1e-45 (a subnormal float)", LayerQuantity::ShearVelocity, false, 1e-45, ""},
      {"density of 1e-320", LayerQuantity::Density, false, 1e-320,
       "the density of layer 3 (1e-320) is 0 in single precision"},
      {"negative density", LayerQuantity::Density, true, -2.0,
       "the density of layer 3 must be positive"},
      {"density of 1e308", LayerQuantity::Density, false, 1e308,
       "the density of layer 3 (1e+308) is beyond the single-precision range"},
      {"Vp above the S velocity ceiling", LayerQuantity::PVelocity, false, 12000.0, ""},
      {"Vp of 0", LayerQuantity::PVelocity, false, 0.0,
       "the P velocity of layer 3 must be positive"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(layerValueFault(c.quantity, 2, c.halfSpace, c.value), c.expected);
  }
}

TEST(InputRules, DatumValuesAtTheirEdges) {
  struct Case {
    const char* name;
    DatumQuantity quantity;
    double value;
    std::string expected;
  };
  const Case cases[] = {
      {"frequency 0", DatumQuantity::Frequency, 0.0, "the frequency of datum 1 must be positive"},
      {"negative frequency", DatumQuantity::Frequency, -5.0,
       "the frequency of datum 1 must be positive"},
      {"frequency of 1e39", DatumQuantity::Frequency, 1e39,
       "the frequency of datum 1 (1e+39) is beyond the single-precision range"},
      {"velocity 0 (a forward run's placeholder)", DatumQuantity::Velocity, 0.0, ""},
      {"negative velocity", DatumQuantity::Velocity, -1.0, "the velocity of datum 1 is negative"},
      {"velocity of 20 km/s", DatumQuantity::Velocity, 20000.0,
       "the velocity of datum 1 (20000 m/s) is not below 10000 m/s"},
      {"deviation 0", DatumQuantity::Deviation, 0.0, ""},
      {"negative deviation", DatumQuantity::Deviation, -3.0,
       "the standard deviation of datum 1 is negative"},
      {"high bound at the ceiling", DatumQuantity::HighBound, 10000.0,
       "the high bound of datum 1 (10000 m/s) is not below 10000 m/s"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(datumValueFault(c.quantity, 0, c.value), c.expected);
  }
}

// A table's rows need not stand on consecutive lines (comments, blank lines
// between them): the message names the line of the first row past the limit.
TEST(InputRules, LayerRowsPastTheLimitAreNamedByTheirLine) {
  const InputLimits limits{2, 50};
  const std::vector<std::size_t> lines{3, 5, 9, 12};
  EXPECT_EQ(layerRowsFault(std::span(lines).first(2), "m.txt", limits), "");
  EXPECT_EQ(layerRowsFault(std::span(lines).first(3), "m.txt", limits),
            "m.txt, line 9: 3 layers (from 1 to 2 can be used)");
  EXPECT_EQ(layerRowsFault(lines, "m.txt", limits),
            "m.txt, line 9: 4 layers (from 1 to 2 can be used)");
  EXPECT_EQ(layerRowsFault({}, "m.txt", limits), "m.txt: 0 layers (from 1 to 2 can be used)");
}

TEST(InputRules, CountsRunFromOneToTheProgramsLimit) {
  const InputLimits limits{20, 50};
  EXPECT_EQ(layerCountFault(0, limits), "0 layers (from 1 to 20 can be used)");
  EXPECT_EQ(layerCountFault(1, limits), "");
  EXPECT_EQ(layerCountFault(20, limits), "");
  EXPECT_EQ(layerCountFault(21, limits), "21 layers (from 1 to 20 can be used)");
  EXPECT_EQ(dataCountFault(0, limits), "0 data (from 1 to 50 can be used)");
  EXPECT_EQ(dataCountFault(-1, limits), "-1 data (from 1 to 50 can be used)");
  EXPECT_EQ(dataCountFault(50, limits), "");
  EXPECT_EQ(dataCountFault(51, limits), "51 data (from 1 to 50 can be used)");
}

}  // namespace
}  // namespace swcore
