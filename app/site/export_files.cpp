// SPDX-License-Identifier: GPL-3.0-or-later
#include "site/export_files.h"

#include <algorithm>
#include <cctype>
#include <string_view>

namespace dispfit {

namespace {

bool writtenByTheExport(std::string extension) {
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  for (const std::string_view own :
       {".csv", ".txt", ".png", ".svg", ".pdf", ".target", ".surf96"}) {
    if (extension == own) return true;
  }
  return false;
}

// The base with `suffix` added to its file name.
std::filesystem::path named(const std::filesystem::path& base, const std::string& suffix) {
  std::filesystem::path path = base;
  path += suffix;
  return path;
}

}  // namespace

std::filesystem::path exportBase(const std::filesystem::path& chosen, bool chosenIsFolder) {
  if (chosenIsFolder) return chosen / kExportBaseInFolder;
  std::filesystem::path base = chosen;
  if (writtenByTheExport(chosen.extension().string())) base.replace_extension();
  return base;
}

std::vector<ExportFile> exportFiles(const std::filesystem::path& base,
                                    std::span<const std::string> tableSuffixes,
                                    std::span<const std::string> chartNames, bool measuredCurve) {
  std::vector<ExportFile> files;
  for (std::size_t i = 0; i < tableSuffixes.size(); ++i) {
    files.push_back({ExportPart::Table, i, named(base, tableSuffixes[i])});
  }
  for (std::size_t i = 0; i < chartNames.size(); ++i) {
    files.push_back({ExportPart::ChartPng, i, named(base, '_' + chartNames[i] + ".png")});
    files.push_back({ExportPart::ChartSvg, i, named(base, '_' + chartNames[i] + ".svg")});
  }
  files.push_back({ExportPart::ReportPdf, 0, named(base, "_report.pdf")});
  if (measuredCurve) {
    files.push_back({ExportPart::MeasuredTarget, 0, named(base, "_measured.target")});
    files.push_back({ExportPart::MeasuredSurf96, 0, named(base, "_measured.surf96")});
  }
  return files;
}

}  // namespace dispfit
