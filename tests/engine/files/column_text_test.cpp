// SPDX-License-Identifier: GPL-3.0-or-later
// Headed column text: how lines become a header and rows of fields, and how
// a header's names find a layout's columns.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "files/column_names.h"
#include "files/column_table.h"
#include "files/column_text.h"

namespace swcore {
namespace {

using Fields = std::vector<std::string>;

ColumnText split(const std::string& text) {
  ColumnText table;
  std::string error;
  EXPECT_TRUE(splitColumnText(text, "t.txt", table, error)) << error;
  return table;
}

// Every row is the same three fields "1", "2.5", "-3e2"; only the way the
// line writes them differs.
TEST(ColumnText, SeparatorsLineEndsAndMarks) {
  struct Case {
    const char* name;
    std::string text;
  };
  const Case cases[] = {
      {"blanks", "1 2.5 -3e2\n"},
      {"runs of blanks and tabs", "  1 \t 2.5\t\t-3e2  \n"},
      {"commas", "1,2.5,-3e2\n"},
      {"commas with blanks", "1 , 2.5,  -3e2\n"},
      {"semicolons", "1;2.5;-3e2\n"},
      {"CRLF", "1 2.5 -3e2\r\n"},
      {"byte-order mark",
       "\xEF\xBB\xBF"
       "1 2.5 -3e2\n"},
      {"no final line end", "1 2.5 -3e2"},
      {"comment after the values", "1 2.5 -3e2 # the top layer\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const ColumnText table = split(c.text);
    EXPECT_EQ(table.headerLine, 0u);
    ASSERT_EQ(table.rows.size(), 1u);
    EXPECT_EQ(table.rows[0].fields, (Fields{"1", "2.5", "-3e2"}));
    EXPECT_EQ(table.rows[0].line, 1u);
  }
}

TEST(ColumnText, CommentsAndBlankLinesArePassedOverButCounted) {
  const ColumnText table =
      split("# site A\n\n  # picked by hand\nf c\r\n\n150 142\n# gap\n145 143\n");
  EXPECT_EQ(table.headerLine, 4u);
  EXPECT_EQ(table.header, (Fields{"f", "c"}));
  ASSERT_EQ(table.rows.size(), 2u);
  EXPECT_EQ(table.rows[0].line, 6u);
  EXPECT_EQ(table.rows[1].line, 8u);
}

TEST(ColumnText, OnlyTheFirstLineCanBeAHeader) {
  struct Case {
    std::string text;
    std::size_t headerLine;
  };
  const Case cases[] = {
      {"h vs rho\n1 2 3\n", 1},
      {"\xEF\xBB\xBFh vs rho\n1 2 3\n", 1},
      {"# comment\nh vs rho\n1 2 3\n", 2},
      {"1 2 3\nh vs rho\n", 0},
      {"-1 2 3\n", 0},
      {"+1 2 3\n", 0},
      {".5 2 3\n", 0},
      {"-.5 2 3\n", 0},
      {"inf 2 3\n", 1},  // not a number this dialect reads
      {"", 0},
      {"# nothing but a comment\n", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(findColumnHeader(c.text), c.headerLine);
    EXPECT_EQ(split(c.text).headerLine, c.headerLine);
  }
}

// In a header split at blanks a bracketed unit stays with its name; in one
// split at commas a name may hold blanks.
TEST(ColumnText, HeaderNamesKeepTheirUnits) {
  EXPECT_EQ(split("thickness (m) Vs [m/s]  density\n").header,
            (Fields{"thickness (m)", "Vs [m/s]", "density"}));
  EXPECT_EQ(split("frequency (Hz), phase velocity (m/s)\n").header,
            (Fields{"frequency (Hz)", "phase velocity (m/s)"}));
}

TEST(ColumnText, AnEmptyFieldBetweenSeparatorsIsAnError) {
  const std::string texts[] = {"h,vs,rho\n1,,3\n", "h,vs,rho\n1,2,3,\n", "h,vs,rho\n;1;2;3\n"};
  const std::string expected[] = {"t.txt, line 2: field 2 is empty",
                                  "t.txt, line 2: field 4 is empty",
                                  "t.txt, line 2: field 1 is empty"};
  for (std::size_t i = 0; i < std::size(texts); ++i) {
    SCOPED_TRACE(texts[i]);
    ColumnText table;
    std::string error;
    EXPECT_FALSE(splitColumnText(texts[i], "t.txt", table, error));
    EXPECT_EQ(error, expected[i]);
  }
}

constexpr std::string_view kSpeedNames[] = {"vs", "shear velocity"};
constexpr std::string_view kDepthNames[] = {"h", "thickness"};
constexpr std::string_view kSpeedUnits[] = {"m/s"};
constexpr std::string_view kDepthUnits[] = {"m"};
constexpr ColumnDefinition kDefinitions[] = {{"Vs", kSpeedNames, kSpeedUnits},
                                             {"thickness", kDepthNames, kDepthUnits}};

TEST(ColumnNames, NamesAreMatchedWithoutRegardToCaseBlanksOrUnderscores) {
  const std::vector<Fields> headers = {
      {"VS", "H"},
      {"Shear_Velocity (M/S)", "thickness[m]"},
      {"  shear   velocity ", "Thickness ( m )"},
  };
  for (const Fields& header : headers) {
    SCOPED_TRACE(header[0]);
    std::vector<std::size_t> columnOf;
    std::string what;
    ASSERT_TRUE(matchColumns(header, kDefinitions, columnOf, what)) << what;
    EXPECT_EQ(columnOf, (std::vector<std::size_t>{0, 1}));
  }
  std::vector<std::size_t> columnOf;
  std::string what;
  ASSERT_TRUE(matchColumns({"h"}, kDefinitions, columnOf, what));
  EXPECT_EQ(columnOf, (std::vector<std::size_t>{kNoColumn, 0}));
}

TEST(ColumnNames, UnknownNamesRepeatedColumnsAndWrongUnitsAreRefused) {
  struct Case {
    Fields header;
    std::string expected;
  };
  const Case cases[] = {
      {{"vs", "depth"},
       "the header names a column \"depth\" that this table does not know (the header reads "
       "\"vs, depth\"); its columns are Vs (vs, shear velocity), thickness (h, thickness)"},
      {{"vs", "h", "Shear Velocity"}, "the header names the Vs column twice"},
      {{"vs (km/s)", "h"}, "\"vs (km/s)\": the Vs column takes m/s"},
      {{"vs", "h [ft]"}, "\"h [ft]\": the thickness column takes m"},
      {{"vs (m/s", "h"}, "\"vs (m/s\": the Vs column takes m/s"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.expected);
    std::vector<std::size_t> columnOf;
    std::string what;
    EXPECT_FALSE(matchColumns(c.header, kDefinitions, columnOf, what));
    EXPECT_EQ(what, c.expected);
  }
}

constexpr std::size_t kSpeedOnly[] = {0};
constexpr std::size_t kBoth[] = {0, 1};
constexpr ColumnOrder kOrders[] = {kSpeedOnly, kBoth};

TEST(ColumnTable, ValuesGoToTheColumnsTheHeaderNames) {
  ColumnTable table;
  std::string error;
  ASSERT_TRUE(readColumnTable("h vs\n2 150\n0 300\n", "t.txt", kDefinitions, kOrders, table, error))
      << error;
  EXPECT_EQ(table.headerLine, 1u);
  EXPECT_EQ(table.lines, (std::vector<std::size_t>{2, 3}));
  EXPECT_EQ(table.columns[0], (std::vector<double>{150, 300}));
  EXPECT_EQ(table.columns[1], (std::vector<double>{2, 0}));
  // Without a header the first row's width picks the order.
  ASSERT_TRUE(readColumnTable("150\n300\n", "t.txt", kDefinitions, kOrders, table, error)) << error;
  EXPECT_EQ(table.present, (std::vector<bool>{true, false}));
  EXPECT_EQ(table.columns[0], (std::vector<double>{150, 300}));
}

TEST(ColumnTable, RowsThatDoNotFitAreNamedWithTheirLine) {
  struct Case {
    std::string text;
    std::string expected;
  };
  const Case cases[] = {
      {"vs h\n150 2\n300\n", "t.txt, line 3: 1 values where line 1 has 2"},
      {"150 2\n300 0 7\n",
       "t.txt, line 2: 3 values where line 1 has 2 (numbers take a full stop "
       "as decimal point)"},
      {"vs;h\n150,5;2\n",
       "t.txt, line 2: 3 values where line 1 has 2 (numbers take a full stop "
       "as decimal point)"},
      {"1 2 3\n", "t.txt, line 1: 3 values on a line; without a header a row holds 1 or 2"},
      {"vs h\n150 2x\n", "t.txt, line 2: \"2x\" is not a number (thickness)"},
      {"vs h\n150 0x10\n", "t.txt, line 2: \"0x10\" is not a number (thickness)"},
      {"vs h\nnan 2\n", "t.txt, line 2: \"nan\" is not a number (Vs)"},
      {"vs h\n150 1e999\n", "t.txt, line 2: \"1e999\" is not a number (thickness)"},
      {"# units\nvs (km/s) h\n0.15 2\n", "t.txt, line 2: \"vs (km/s)\": the Vs column takes m/s"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    ColumnTable table;
    std::string error;
    EXPECT_FALSE(readColumnTable(c.text, "t.txt", kDefinitions, kOrders, table, error));
    EXPECT_EQ(error, c.expected);
  }
}

}  // namespace
}  // namespace swcore
