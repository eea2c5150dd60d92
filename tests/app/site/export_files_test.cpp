// SPDX-License-Identifier: GPL-3.0-or-later
// The names of an export's files, from the base the user chooses.
#include "site/export_files.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace dispfit {

namespace {

TEST(ExportFiles, BaseDropsOnlyTheExportsOwnExtensionsAndNamesAFolderBase) {
  const struct {
    const char* chosen;
    bool folder;
    const char* base;
  } rows[] = {
      {"out/site", false, "out/site"},
      {"out/site.pdf", false, "out/site"},
      {"out/site.CSV", false, "out/site"},  // a desktop may keep the user's capitals
      {"out/site.txt", false, "out/site"},
      {"out/site.surf96", false, "out/site"},
      {"out/site.v2", false, "out/site.v2"},  // not one of the export's: a part of the name
      {"out.d/site", false, "out.d/site"},    // a dot in the folder is no extension
      {"out/results", true, "out/results/dispfit"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.chosen);
    EXPECT_EQ(exportBase(row.chosen, row.folder).generic_string(), row.base);
  }
}

TEST(ExportFiles, EveryPartIsNamedFromTheBaseWithAPictureAndADrawingPerChart) {
  const std::vector<std::string> charts{"dispersion", "vs_depth"};
  // The local fit's tables: the two CSV names are those of dispfit-invert
  // --csv PREFIX, so one prefix names the same files whichever program wrote
  // them.
  const std::vector<std::string> tables{"_curve.csv", "_model.csv", "_vs30.txt"};
  const std::vector<ExportFile> files = exportFiles("out/site", tables, charts);
  const struct {
    ExportPart part;
    std::size_t index;
    const char* path;
  } expected[] = {
      {ExportPart::Table, 0, "out/site_curve.csv"},
      {ExportPart::Table, 1, "out/site_model.csv"},
      {ExportPart::Table, 2, "out/site_vs30.txt"},
      {ExportPart::ChartPng, 0, "out/site_dispersion.png"},
      {ExportPart::ChartSvg, 0, "out/site_dispersion.svg"},
      {ExportPart::ChartPng, 1, "out/site_vs_depth.png"},
      {ExportPart::ChartSvg, 1, "out/site_vs_depth.svg"},
      {ExportPart::ReportPdf, 0, "out/site_report.pdf"},
  };
  ASSERT_EQ(files.size(), std::size(expected));
  for (std::size_t i = 0; i < files.size(); ++i) {
    SCOPED_TRACE(expected[i].path);
    EXPECT_EQ(files[i].part, expected[i].part);
    EXPECT_EQ(files[i].index, expected[i].index);
    EXPECT_EQ(files[i].path.generic_string(), expected[i].path);
  }
}

// With a measured curve the same parts, then the curve for dinver and surf96
// after the report; without one none of the two.
TEST(ExportFiles, AMeasuredCurveAddsItsFilesForTheOtherPrograms) {
  const std::vector<std::string> charts{"dispersion", "vs_depth"};
  const std::vector<std::string> tables{"_best.csv"};
  const std::vector<ExportFile> plain = exportFiles("site", tables, charts);
  const std::vector<ExportFile> files = exportFiles("site", tables, charts, true);
  ASSERT_EQ(plain.size(), 6u);  // a table, two charts of two files each, the report
  ASSERT_EQ(files.size(), plain.size() + 2);
  for (std::size_t i = 0; i < plain.size(); ++i) EXPECT_EQ(files[i].path, plain[i].path);
  EXPECT_EQ(files[6].part, ExportPart::MeasuredTarget);
  EXPECT_EQ(files[6].path.generic_string(), "site_measured.target");
  EXPECT_EQ(files[7].part, ExportPart::MeasuredSurf96);
  EXPECT_EQ(files[7].path.generic_string(), "site_measured.surf96");
}

}  // namespace

}  // namespace dispfit
