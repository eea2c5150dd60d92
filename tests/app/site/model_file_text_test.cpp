// SPDX-License-Identifier: GPL-3.0-or-later
// The window's model saved and opened again in both layouts, and the note
// on a P velocity the window cannot keep.
#include "site/model_file_text.h"

#include <gtest/gtest.h>

#include <string>

namespace dispfit {
namespace {

ParsedLayers threeLayers() {
  return {{5.0f, 10.0f, 0.0f}, {200.0f, 400.5f, 800.0f}, {1.8f, 2.0f, 2.2f}};
}

const std::vector<LayerTexts> kThreeLayerRows{
    {"5", "200", "1.8"}, {"10", "400.5", "2"}, {"0", "800", "2.2"}};

TEST(ModelFileText, LayoutFollowsTheExtension) {
  const struct {
    const char* path;
    bool table;
  } cases[] = {{"model.csv", true},  {"MODEL.CSV", true}, {"SHR.TXT", false},
               {"model.txt", false}, {"model", false},    {"dir.csv/model.dat", false}};
  for (const auto& row : cases) {
    SCOPED_TRACE(row.path);
    EXPECT_EQ(savesAsModelTable(row.path), row.table);
  }
}

TEST(ModelFileText, FreeFormatIsTheCountThenOneLayerALine) {
  // Written by hand: single-precision 1.8 is written as 1.8, not 1.79999995.
  EXPECT_EQ(modelFileText(threeLayers(), "SHR.TXT"), "3\n5 200 1.8\n10 400.5 2\n0 800 2.2\n");
}

TEST(ModelFileText, BothLayoutsReadBackToTheSameRows) {
  for (const char* path : {"SHR.TXT", "model.csv"}) {
    SCOPED_TRACE(path);
    const std::string text = modelFileText(threeLayers(), path);
    const ModelOpening opening = readModelText(text, path, 20);
    ASSERT_TRUE(opening.rows) << opening.error;
    EXPECT_EQ(*opening.rows, kThreeLayerRows);
    EXPECT_FALSE(opening.pVelocityNotThreeVs);
  }
  EXPECT_EQ(modelFileText(threeLayers(), "model.csv").rfind("#", 0), 0u);  // headed table
}

TEST(ModelFileText, PVelocityOtherThanThreeVsIsNoted) {
  const struct {
    const char* name;
    const char* text;
    bool noted;
  } cases[] = {
      {"exactly 3 Vs", "h, vs, rho, vp\n5, 200, 1.8, 600\n0, 400, 2, 1200\n", false},
      // 3 x 333.3 = 999.9; 1000 is 0.01 % off, a rounding of the file.
      {"rounded", "h, vs, rho, vp\n5, 333.3, 1.8, 1000\n0, 400, 2, 1200\n", false},
      {"Poisson solid", "h, vs, rho, vp\n5, 200, 1.8, 346.4\n0, 400, 2, 1200\n", true},
      {"no Vp column", "h, vs, rho\n5, 200, 1.8\n0, 400, 2\n", false},
  };
  for (const auto& row : cases) {
    SCOPED_TRACE(row.name);
    const ModelOpening opening = readModelText(row.text, "m.csv", 20);
    ASSERT_TRUE(opening.rows) << opening.error;
    EXPECT_EQ(opening.pVelocityNotThreeVs, row.noted);
  }
}

TEST(ModelFileText, RefusalNamesTheFileAndNothingIsOpened) {
  const ModelOpening tooMany = readModelText("3\n5 200 1.8\n0 400 2\n0 800 2.2\n", "SHR.TXT", 2);
  EXPECT_FALSE(tooMany.rows);
  EXPECT_NE(tooMany.error.find("SHR.TXT"), std::string::npos) << tooMany.error;
  const ModelOpening notANumber = readModelText("h, vs, rho\n5, x, 1.8\n", "m.csv", 20);
  EXPECT_FALSE(notANumber.rows);
  EXPECT_NE(notANumber.error.find("m.csv, line 2"), std::string::npos) << notANumber.error;
}

TEST(ModelFileText, LayerTextsAreTheShortestSinglePrecisionDecimals) {
  EXPECT_EQ(layerTexts(threeLayers()), kThreeLayerRows);
}

}  // namespace
}  // namespace dispfit
