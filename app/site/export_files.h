// SPDX-License-Identifier: GPL-3.0-or-later
// The files one export of the results writes, all named from one base the
// user chooses: the base "site" gives the result's tables (the local fit's
// site_curve.csv, site_model.csv and site_vs30.txt), a site_<chart>.png and
// .svg for every chart, and site_report.pdf.
#pragma once

#include <cstddef>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

namespace dispfit {

enum class ExportPart { Table, ChartPng, ChartSvg, ReportPdf };

struct ExportFile {
  ExportPart part;
  std::size_t index = 0;  // Table: which of the tables; ChartPng and ChartSvg: which chart
  std::filesystem::path path;
};

// The name given to the base inside a folder chosen as the destination.
inline constexpr const char* kExportBaseInFolder = "dispfit";

// The base the names grow from. In a chosen folder it is kExportBaseInFolder;
// a chosen file name loses an extension the export itself writes (.csv, .txt,
// .png, .svg, .pdf, in any case), so that "site.pdf" gives "site_report.pdf",
// and keeps any other ("site.v2" gives "site.v2_report.pdf").
std::filesystem::path exportBase(const std::filesystem::path& chosen, bool chosenIsFolder);

// Every file of one export from `base`, in writing order: the result's
// tables (each named by its suffix, "_curve.csv"), a picture and a drawing
// per chart (named by chartNames, which must be distinct file-name parts),
// and the report.
std::vector<ExportFile> exportFiles(const std::filesystem::path& base,
                                    std::span<const std::string> tableSuffixes,
                                    std::span<const std::string> chartNames);

}  // namespace dispfit
