// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/model_table.h"

#include <gtest/gtest.h>

#include "table_translator.h"

namespace dispfit {

namespace {

const LayerTexts kTop{"5", "200", "1.8"};
const LayerTexts kMiddle{"10", "400", "2.0"};
const LayerTexts kHalfSpace{"0", "800", "2.2"};

TEST(ResizeLayerRows, GrowingKeepsEveryRowAndCopiesTheLastIntoNewRows) {
  const std::vector<LayerTexts> rows{kTop, kMiddle, kHalfSpace};
  EXPECT_EQ(resizeLayerRows(rows, 4),
            (std::vector<LayerTexts>{kTop, kMiddle, kHalfSpace, kHalfSpace}));
  EXPECT_EQ(resizeLayerRows(rows, 5).size(), 5u);
  EXPECT_EQ(resizeLayerRows(rows, 5)[4], kHalfSpace);
}

TEST(ResizeLayerRows, ShrinkingDropsTheLastRows) {
  const std::vector<LayerTexts> rows{kTop, kMiddle, kHalfSpace, {"7", "900", "2.4"}};
  EXPECT_EQ(resizeLayerRows(rows, 3), (std::vector<LayerTexts>{kTop, kMiddle, kHalfSpace}));
  EXPECT_EQ(resizeLayerRows(rows, 1), (std::vector<LayerTexts>{kTop}));
  EXPECT_EQ(resizeLayerRows(rows, 0), (std::vector<LayerTexts>{kTop}));  // never below one layer
}

TEST(ResizeLayerRows, EmptyCellsAreCopiedAsTheyAre) {
  const std::vector<LayerTexts> rows{kTop, {"", "800", "2.2"}};
  EXPECT_EQ(resizeLayerRows(rows, 3)[2], (LayerTexts{"", "800", "2.2"}));
  EXPECT_EQ(resizeLayerRows({}, 2), (std::vector<LayerTexts>(2)));
}

TEST(ReadLayerRows, ReadsEveryRowInSinglePrecision) {
  const TableReading reading = readLayerRows({kTop, kMiddle, {" 0 ", "800", "2.2"}});
  ASSERT_TRUE(reading.layers.has_value());
  EXPECT_EQ(reading.layers->count(), 3);
  EXPECT_EQ(reading.layers->thickness, (std::vector<float>{5.0f, 10.0f, 0.0f}));
  EXPECT_EQ(reading.layers->vs, (std::vector<float>{200.0f, 400.0f, 800.0f}));
  EXPECT_EQ(reading.layers->density, (std::vector<float>{1.8f, 2.0f, 2.2f}));
}

TEST(ReadLayerRows, NamesTheFirstBadCellRowByRowLeftToRight) {
  TableReading reading = readLayerRows({kTop, kMiddle, {"0", "800", "abc"}});
  EXPECT_FALSE(reading.layers.has_value());
  EXPECT_EQ(reading.bad.row, 3);
  EXPECT_EQ(reading.bad.column, 3);
  EXPECT_EQ(reading.bad.text, "abc");

  reading = readLayerRows({kTop, {"x", "400", "2"}, kMiddle, {"0", "", "2.2"}});
  EXPECT_EQ(reading.bad.row, 2);
  EXPECT_EQ(reading.bad.column, 1);

  reading = readLayerRows({kTop, {"10", "4OO", ""}});
  EXPECT_EQ(reading.bad.column, 2);
  EXPECT_EQ(reading.bad.text, "4OO");

  // Zero and negative values are numbers and pass.
  EXPECT_TRUE(readLayerRows({{"-1", "0", "-2"}}).layers.has_value());
}

TEST(ModelTableMessages, AreWordedAsShownToTheUser) {
  EXPECT_EQ(badRowMessage(3), "第 3 行输入的模型参数错误，请检查！");
  EXPECT_EQ(badRowMessage(12), "第 12 行输入的模型参数错误，请检查！");
  EXPECT_EQ(invalidNumberMessage("abc"), "'abc' is not a valid floating point value");
  EXPECT_EQ(invalidNumberMessage(""), "'' is not a valid floating point value");
}

// Each row is refused for the one reason its comment names; every other cell
// of the three-layer model is a sound value.
TEST(CheckLayerRows, RefusesWhatNoEarthHas) {
  struct Case {
    const char* name;
    std::vector<LayerTexts> rows;
    int row, column;
    CellFault fault;
  };
  const std::vector<Case> cases{
      {"negative thickness",
       {{"-5", "200", "1.8"}, kMiddle, kHalfSpace},
       1,
       1,
       CellFault::ThicknessNotPositive},
      {"zero thickness above the half-space",
       {kTop, {"0", "400", "2.0"}, kHalfSpace},
       2,
       1,
       CellFault::ThicknessNotPositive},
      {"zero velocity",
       {kTop, {"10", "0", "2.0"}, kHalfSpace},
       2,
       2,
       CellFault::VelocityNotPositive},
      {"negative velocity of the half-space",
       {kTop, kMiddle, {"0", "-800", "2.2"}},
       3,
       2,
       CellFault::VelocityNotPositive},
      {"velocity of 1e9 m/s",
       {kTop, {"10", "1e9", "2.0"}, kHalfSpace},
       2,
       2,
       CellFault::VelocityTooHigh},
      {"velocity exactly at 10 km/s",
       {kTop, kMiddle, {"0", "10000", "2.2"}},
       3,
       2,
       CellFault::VelocityTooHigh},
      {"zero density",
       {{"5", "200", "0"}, kMiddle, kHalfSpace},
       1,
       3,
       CellFault::DensityNotPositive},
      {"not a number, before a later bad value",
       {{"5", "2,0", "1.8"}, {"-1", "0", "0"}},
       1,
       2,
       CellFault::NotANumber},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const TableReading reading = checkLayerRows(c.rows);
    ASSERT_FALSE(reading.layers.has_value());
    EXPECT_EQ(reading.bad.row, c.row);
    EXPECT_EQ(reading.bad.column, c.column);
    EXPECT_EQ(reading.bad.fault, c.fault);
  }
}

TEST(CheckLayerRows, AcceptsSoundModelsWhateverTheHalfSpaceThickness) {
  // The half-space's thickness is not used: 0 or negative there is no fault.
  for (const char* halfSpaceThickness : {"0", "-3", "12"}) {
    SCOPED_TRACE(halfSpaceThickness);
    const TableReading reading =
        checkLayerRows({kTop, kMiddle, {halfSpaceThickness, "9999.5", "2.2"}});
    ASSERT_TRUE(reading.layers.has_value());
    EXPECT_EQ(reading.layers->vs[2], 9999.5f);
  }
  // A half-space alone has no thickness to check either.
  EXPECT_TRUE(checkLayerRows({{"0", "150", "1.8"}}).layers.has_value());
}

TEST(BadCellMessage, AddsTheColumnAndTheReasonBelowTheRowMessage) {
  EXPECT_EQ(badCellMessage({2, 1, "-5", CellFault::ThicknessNotPositive}),
            "第 2 行输入的模型参数错误，请检查！\nH 列「-5」厚度必须大于 0。");
  EXPECT_EQ(badCellMessage({1, 2, "1e9", CellFault::VelocityTooHigh}),
            "第 1 行输入的模型参数错误，请检查！\nVs 列「1e9」速度必须小于 10000 m/s。");
  EXPECT_EQ(badCellMessage({4, 3, "1,8", CellFault::NotANumber}),
            "第 4 行输入的模型参数错误，请检查！\nRho 列「1,8」不是数字，小数点请用英文句点“.”。");
}

// Every part of the message goes through the translator, the row number, the
// column and the cell's text into their places.
TEST(BadCellMessage, IsComposedInTheTranslatorsLanguage) {
  TableTranslator english;
  english.table = {{{"ModelTable", "第 %1 行输入的模型参数错误，请检查！"}, "Row %1 is wrong."},
                   {{"ModelTable", "%1 列「%2」%3"}, "Column %1, \"%2\": %3"},
                   {{"ModelTable", "密度必须大于 0。"}, "the density must be greater than 0."}};
  EXPECT_EQ(badCellMessage({3, 3, "0", CellFault::DensityNotPositive}, english),
            "Row 3 is wrong.\nColumn Rho, \"0\": the density must be greater than 0.");
  EXPECT_EQ(badRowMessage(12, english), "Row 12 is wrong.");
  // A reason the table lacks shows that it, too, was asked for.
  EXPECT_EQ(badCellMessage({1, 1, "-1", CellFault::ThicknessNotPositive}, english),
            "Row 1 is wrong.\nColumn H, \"-1\": [厚度必须大于 0。]");
}

TEST(SplitTextBlock, SplitsRowsAtLineEndsAndCellsAtTabs) {
  EXPECT_EQ(splitTextBlock("5\t200\t1.8\r\n10\t400\t2.0\r\n"),
            (TextBlock{{"5", "200", "1.8"}, {"10", "400", "2.0"}}));
  EXPECT_EQ(splitTextBlock("7"), (TextBlock{{"7"}}));
  EXPECT_EQ(splitTextBlock("1\t\t3\n\n4"), (TextBlock{{"1", "", "3"}, {""}, {"4"}}));
  EXPECT_TRUE(splitTextBlock("").empty());
}

TEST(PasteTextBlock, FillsCellsFromTheCurrentOneAndGrowsTheTable) {
  const std::vector<LayerTexts> rows{kTop, kHalfSpace};
  const TextBlock model{{"3", "150", "1.7"}, {"6", "300", "1.9"}, {"0", "700", "2.1"}};
  struct Case {
    const char* name;
    int row, column, maxRows;
    TextBlock block;
    std::vector<LayerTexts> expected;
  };
  const std::vector<Case> cases{
      {"whole model from the top left cell grows the table",
       1,
       1,
       20,
       model,
       {{"3", "150", "1.7"}, {"6", "300", "1.9"}, {"0", "700", "2.1"}}},
      {"one column pasted into the velocities",
       1,
       2,
       20,
       {{"210"}, {"820"}},
       {{"5", "210", "1.8"}, {"0", "820", "2.2"}}},
      {"cells beyond the density column are dropped",
       2,
       3,
       20,
       {{"2.3", "x", "y"}},
       {kTop, {"0", "800", "2.3"}}},
      {"rows beyond the largest table are dropped",
       2,
       1,
       3,
       model,
       {kTop, {"3", "150", "1.7"}, {"6", "300", "1.9"}}},
      {"a short block leaves the rows below as they are",
       1,
       1,
       20,
       {{"9"}},
       {{"9", "200", "1.8"}, kHalfSpace}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(pasteTextBlock(rows, c.row, c.column, c.block, c.maxRows), c.expected);
  }
}

}  // namespace

}  // namespace dispfit
