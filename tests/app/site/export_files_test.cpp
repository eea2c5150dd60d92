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

}  // namespace

}  // namespace dispfit
