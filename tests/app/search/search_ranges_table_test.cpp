// SPDX-License-Identifier: GPL-3.0-or-later
// The search dialog's table of each layer's ranges without its widgets: its
// rows' texts, how they follow the layer count, how their cells read, and
// the P-velocity rule the layers share.
#include "search/search_ranges_table.h"

#include <gtest/gtest.h>

namespace dispfit {
namespace {

RangeRow row(const char* vsMin, const char* vsMax = "1000", const char* hMin = "1",
             const char* hMax = "15", const char* density = "1.9") {
  return {vsMin, vsMax, hMin, hMax, density};
}

TEST(RangeRows, TextsReadBackToTheValuesTheyShow) {
  EXPECT_EQ(uniformRangeRow({80, 1000}, {0.5, 15}, 1.85), row("80", "1000", "0.5", "15", "1.85"));
  // 0.1 + 0.2 is not 0.3: the text says what the value is.
  EXPECT_EQ(rangeRow({{0.1 + 0.2, 1}, {1, 2}, 2, std::nullopt, std::nullopt})[VsMin],
            "0.30000000000000004");
}

TEST(RangeRows, FollowTheLayerCountKeepingTheHalfSpaceLast) {
  const std::vector<RangeRow> four{row("100"), row("200"), row("300"), row("900")};
  const RangeRow fresh = row("80");
  const struct {
    const char* name;
    std::vector<RangeRow> rows;
    int count;
    std::vector<RangeRow> resized;
  } cases[] = {
      {"the same count", four, 4, four},
      {"a layer more, above the half-space",
       four,
       5,
       {row("100"), row("200"), row("300"), fresh, row("900")}},
      {"two layers fewer, from above the half-space", four, 2, {row("100"), row("900")}},
      {"the half-space alone", four, 1, {row("900")}},
      {"an empty table grows from the fresh row", {}, 2, {fresh, fresh}},
      {"a count below one is one", four, 0, {row("900")}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(resizeRangeRows(c.rows, c.count, fresh), c.resized);
  }
}

TEST(RangeRows, ReadThroughTheOneDecimalParser) {
  const RangeTableReading good =
      readRangeRows({row(" 80 ", "300.5", "0.5", "4", "1.8"), row("200", "900", "—", "", "2")});
  ASSERT_TRUE(good.layers);
  ASSERT_EQ(good.layers->size(), 2u);
  EXPECT_EQ((*good.layers)[0].vs, (Range{80, 300.5}));
  EXPECT_EQ((*good.layers)[0].thickness, (Range{0.5, 4}));
  EXPECT_EQ((*good.layers)[0].density, 1.8);
  EXPECT_EQ((*good.layers)[1].thickness, Range{});  // the half-space's is not read
  EXPECT_FALSE((*good.layers)[1].vp);

  // The first bad cell in reading order, named by layer and column: a
  // decimal comma, an empty cell, a word, a value with trailing letters.
  const struct {
    const char* name;
    std::vector<RangeRow> rows;
    int layer;
    RangeColumn column;
    const char* text;
  } cases[] = {
      {"decimal comma", {row("80", "450,5"), row("900")}, 1, VsMax, "450,5"},
      {"empty", {row("80"), row("100", "200", ""), row("900")}, 2, HMin, ""},
      {"a word in the half-space",
       {row("80"), row("900", "1000", "1", "1", "dense")},
       2,
       DensityColumn,
       "dense"},
      {"trailing letters before a later fault", {row("80x", "1,5")}, 1, VsMin, "80x"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const RangeTableReading reading = readRangeRows(c.rows);
    EXPECT_FALSE(reading.layers);
    EXPECT_EQ(reading.bad.layer, c.layer);
    EXPECT_EQ(reading.bad.column, c.column);
    EXPECT_EQ(reading.bad.text, c.text);
  }
}

TEST(SharedPVelocity, TheFormsRuleWhenEveryLayerHasTheSame) {
  const auto layer = [](std::optional<double> vp, std::optional<Range> poisson) {
    return LayerRanges{{100, 200}, {1, 2}, 1.9, vp, poisson};
  };
  const std::optional<SharedPVelocity> threeVs =
      sharedPVelocity({layer(std::nullopt, std::nullopt), layer(std::nullopt, std::nullopt)});
  ASSERT_TRUE(threeVs);
  EXPECT_EQ(threeVs->rule, PVelocityRule::ThreeTimesVs);
  const std::optional<SharedPVelocity> fixed = sharedPVelocity({layer(1500, std::nullopt)});
  ASSERT_TRUE(fixed);
  EXPECT_EQ(fixed->rule, PVelocityRule::Fixed);
  EXPECT_EQ(fixed->fixedVp, 1500);
  const std::optional<SharedPVelocity> poisson = sharedPVelocity(
      {layer(std::nullopt, Range{0.3, 0.45}), layer(std::nullopt, Range{0.3, 0.45})});
  ASSERT_TRUE(poisson);
  EXPECT_EQ(poisson->rule, PVelocityRule::PoissonRange);
  EXPECT_EQ(poisson->poisson, (Range{0.3, 0.45}));
  // Layers that differ keep their own; so does a layer with a Vp beside one
  // without.
  EXPECT_FALSE(sharedPVelocity(
      {layer(std::nullopt, Range{0.4, 0.45}), layer(std::nullopt, Range{0.25, 0.3})}));
  EXPECT_FALSE(sharedPVelocity({layer(1500, std::nullopt), layer(std::nullopt, std::nullopt)}));
  EXPECT_FALSE(sharedPVelocity({}));
}

}  // namespace
}  // namespace dispfit
