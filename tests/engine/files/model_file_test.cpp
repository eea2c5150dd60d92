// SPDX-License-Identifier: GPL-3.0-or-later
// Layered models in the free format and as a model table: what each accepts,
// what each refuses and with which message, and the table's round trip.
#include "files/model_file.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace swcore {
namespace {

constexpr InputLimits kLimits{20, 50};

// 2 m of 150 m/s over 4.5 m of 300 m/s over a 500 m/s half-space.
const ModelFile kThreeLayers{{2, 4.5, 0}, {150, 300, 500}, {1.8, 1.9, 2.0}, {}};

ModelFile parsed(bool (*parse)(std::string_view, const std::string&, const InputLimits&, ModelFile&,
                               std::string&),
                 const std::string& text) {
  ModelFile model;
  std::string error;
  EXPECT_TRUE(parse(text, "m.txt", kLimits, model, error)) << error;
  return model;
}

TEST(ModelTable, HeaderSpellingsUnitsAndSeparators) {
  const std::string texts[] = {
      "thickness vs density\n2 150 1.8\n4.5 300 1.9\n0 500 2.0\n",
      "H (m)\tVs (m/s)\tRho (g/cm3)\n2\t150\t1.8\n4.5\t300\t1.9\n0\t500\t2.0\n",
      "THICKNESS[m];VS[m/s];DENSITY[g/cc]\r\n2;150;1.8\r\n4.5;300;1.9\r\n0;500;2.0\r\n",
      "\xEF\xBB\xBF# site A\nrho, vs, h\n1.8, 150, 2\n1.9, 300, 4.5\n2.0, 500, 0 # half-space\n",
      "Shear_Velocity (m/s), thickness (m), density (g/cm^3)\n150,2,1.8\n300,4.5,1.9\n500,0,2.0\n",
      // Without a header: thickness, Vs, density.
      "2 150 1.8\n4.5 300 1.9\n0 500 2.0\n",
  };
  for (const std::string& text : texts) {
    SCOPED_TRACE(text);
    EXPECT_EQ(parsed(&parseModelTable, text), kThreeLayers);
    EXPECT_EQ(parsed(&parseModelText, text.substr(0, 1) == "2" ? "3\n" + text : text), kThreeLayers)
        << "the same model through the dispatching parse";
  }
}

TEST(ModelTable, AnOptionalVpColumn) {
  ModelFile expected = kThreeLayers;
  expected.pVelocity = {300, 600, 1000};
  EXPECT_EQ(parsed(&parseModelTable, "vp h vs rho\n300 2 150 1.8\n600 4.5 300 1.9\n1000 0 500 2\n"),
            expected);
  EXPECT_EQ(parsed(&parseModelTable, "2 150 1.8 300\n4.5 300 1.9 600\n0 500 2 1000\n"), expected);
}

// A model given in km, km/s and kg/m3 (as CPS and Geopsy give theirs) is the
// same model: 0.002 km is 2 m, 0.15 km/s is 150 m/s, 1800 kg/m3 is 1.8 g/cm3.
TEST(ModelTable, OtherUnitsAreBroughtToTheTablesOwn) {
  ModelFile expected = kThreeLayers;
  expected.pVelocity = {300, 600, 1000};
  const ModelFile read =
      parsed(&parseModelTable,
             "H (km), Vs (km/s), rho (kg/m3), Vp [km/s]\n"
             "0.002, 0.15, 1800, 0.3\n0.0045, 0.3, 1900, 0.6\n0, 0.5, 2000, 1\n");
  ASSERT_EQ(read.shearVelocity.size(), 3u);
  for (std::size_t i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    // The factors are exact; the decimal inputs round once more in double.
    EXPECT_DOUBLE_EQ(read.thickness[i], expected.thickness[i]);
    EXPECT_DOUBLE_EQ(read.shearVelocity[i], expected.shearVelocity[i]);
    EXPECT_DOUBLE_EQ(read.density[i], expected.density[i]);
    EXPECT_DOUBLE_EQ(read.pVelocity[i], expected.pVelocity[i]);
  }
}

TEST(ModelTable, WrittenTablesReadBackExactly) {
  std::mt19937_64 random(20240611);
  std::uniform_real_distribution<double> thickness(0.1, 30.0);
  std::uniform_real_distribution<double> velocity(80.0, 2000.0);
  std::uniform_real_distribution<double> density(1.5, 2.5);
  for (int trial = 0; trial < 50; ++trial) {
    SCOPED_TRACE(trial);
    ModelFile model;
    const int layers = 1 + trial % 20;
    for (int i = 0; i < layers; ++i) {
      model.thickness.push_back(thickness(random));
      model.shearVelocity.push_back(velocity(random));
      model.density.push_back(density(random));
      if (trial % 2 == 1) model.pVelocity.push_back(2.0 * model.shearVelocity.back());
    }
    const std::string text = formatModelTable(model);
    EXPECT_EQ(parsed(&parseModelTable, text), model) << text;
    EXPECT_EQ(parsed(&parseModelText, text), model) << "a written table has a header";
  }
  // Values whose shortest text is long or needs an exponent.
  const ModelFile awkward{{1e-7, 1.0 / 3.0}, {0.1, 9999.999999999998}, {2.0 / 3.0, 1e-30}, {}};
  EXPECT_EQ(parsed(&parseModelTable, formatModelTable(awkward)), awkward);
}

TEST(ModelTable, RefusalsNameTheLine) {
  struct Case {
    const char* name;
    std::string text;
    std::string expected;
  };
  std::string tooMany = "h vs rho\n";
  for (int i = 0; i < 21; ++i) tooMany += "1 150 1.8\n";
  const Case cases[] = {
      {"empty", "", "m.txt: 0 layers (from 1 to 20 can be used)"},
      {"header only", "h vs rho\n", "m.txt: 0 layers (from 1 to 20 can be used)"},
      {"21 rows", tooMany, "m.txt, line 22: 21 layers (from 1 to 20 can be used)"},
      {"no density column", "# a\nh vs\n2 150\n",
       "m.txt, line 2: the header names no density column"},
      {"unknown column", "h vs rho qp\n2 150 1.8 30\n",
       "m.txt, line 1: the header names a column \"qp\" that this table does not know (the header "
       "reads \"h, vs, rho, qp\"); its columns are thickness (thickness, h), Vs (vs, s velocity, "
       "shear velocity), density (density, rho), Vp (vp, p velocity)"},
      {"Vs in ft/s", "h vs[ft/s] rho\n2 500 1.8\n",
       "m.txt, line 1: \"vs[ft/s]\": the Vs column takes m/s or km/s"},
      {"density in lb/ft3", "h vs rho (lb/ft3)\n2 150 112\n",
       "m.txt, line 1: \"rho (lb/ft3)\": the density column takes g/cm3, g/cm^3, g/cc, kg/m3 or "
       "kg/m^3"},
      {"two values without a header", "2 150\n",
       "m.txt, line 1: 2 values on a line; without a header a row holds 3 or 4"},
      {"short row", "h vs rho\n2 150 1.8\n0 500\n", "m.txt, line 3: 2 values where line 1 has 3"},
      {"decimal commas", "h;vs;rho\n2,5;150;1,8\n",
       "m.txt, line 2: 5 values where line 1 has 3 (numbers take a full stop as decimal point)"},
      {"not a number", "h vs rho\n2 150 1.8\n0 fast 2\n",
       "m.txt, line 3: \"fast\" is not a number (Vs)"},
      {"negative thickness", "h vs rho\n-2 150 1.8\n0 500 2\n",
       "m.txt, line 2: the thickness of layer 1 is negative"},
      {"Vs of 0", "h vs rho\n2 150 1.8\n0 0 2\n",
       "m.txt, line 3: the S velocity of layer 2 must be positive"},
      {"Vs of 20 km/s", "h vs rho\n2 20000 1.8\n0 500 2\n",
       "m.txt, line 2: the S velocity of layer 1 (20000 m/s) is not below 10000 m/s"},
      {"density of 1e-320", "h vs rho\n2 150 1e-320\n",
       "m.txt, line 2: the density of layer 1 (1e-320) is 0 in single precision"},
      {"Vp of 0", "h vs rho vp\n2 150 1.8 0\n",
       "m.txt, line 2: the P velocity of layer 1 must be positive"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ModelFile model;
    std::string error;
    EXPECT_FALSE(parseModelTable(c.text, "m.txt", kLimits, model, error));
    EXPECT_EQ(error, c.expected);
  }
}

TEST(FreeFormatModel, AcceptsItsOwnLayoutsAndAMarkedFile) {
  const std::string texts[] = {
      "3\n2 150 1.8\n4.5 300 1.9\n0 500 2.0\n",
      "3 layers\n2 150 1.8 4.5 300 1.9 0 500 2.0 half-space below\n",
      "\xEF\xBB\xBF"
      "3\r\n2,150,1.8\r\n4.5,300,1.9\r\n0,500,2.0\r\n\r\n",
  };
  for (const std::string& text : texts) {
    SCOPED_TRACE(text);
    EXPECT_EQ(parsed(&parseFreeFormatModel, text), kThreeLayers);
  }
}

// A fourth number per layer would be read as the next layer's thickness;
// such files are refused wherever the spare numbers end up.
TEST(FreeFormatModel, RefusesWhatItCouldOnlyMisread) {
  struct Case {
    const char* name;
    std::string text;
    std::string expected;
  };
  const Case cases[] = {
      {"Vp column, spare numbers on the last line read", "2\n2 150 1.8 300\n0 500 2 1000\n",
       "m.txt, line 3: a number after the 2 layers' thickness, Vs and density; the free format "
       "holds no fourth column (a P velocity needs the model table)"},
      {"Vp column, 3 x 4 numbers in exactly 3 lines, the fourth line unread",
       "4\n2 150 1.8 300\n2 200 1.8 400\n2 250 1.9 500\n0 500 2 1000\n",
       "m.txt, line 5: a number after the 4 layers' thickness, Vs and density; the free format "
       "holds no fourth column (a P velocity needs the model table)"},
      {"more layers than the count", "1\n0 500 2\n0 600 2\n",
       "m.txt, line 3: a number after the 1 layers' thickness, Vs and density; the free format "
       "holds no fourth column (a P velocity needs the model table)"},
      {"a model table", "h vs rho vp\n0 500 2 1000\n",
       "m.txt, line 1: a column header, but this file takes the free format: the layer count, "
       "then thickness, Vs and density of each layer"},
      {"hexadecimal count", "0x2\n", "m.txt, line 1: \"0x2\" is not an integer"},
      {"count 2.0", "2.0\n", "m.txt, line 1: \"2.0\" is not an integer"},
      {"21 layers", "21\n", "m.txt: 21 layers (from 1 to 20 can be used)"},
      {"negative thickness", "2\n-2 150 1.8\n0 500 2\n",
       "m.txt: the thickness of layer 1 is negative"},
      {"Vs of 1e39", "1\n0 1e39 2\n",
       "m.txt: the S velocity of layer 1 (1e+39) is beyond the single-precision range"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ModelFile model;
    std::string error;
    EXPECT_FALSE(parseFreeFormatModel(c.text, "m.txt", kLimits, model, error));
    EXPECT_EQ(error, c.expected);
  }
}

}  // namespace
}  // namespace swcore
