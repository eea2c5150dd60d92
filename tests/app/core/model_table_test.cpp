#include "core/model_table.h"

#include <gtest/gtest.h>

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

}  // namespace

}  // namespace dispfit
