// SPDX-License-Identifier: GPL-3.0-or-later
// The files one export of the results writes, all named from one base the
// user chooses: the base "site" gives the result's tables (the local fit's
// site_curve.csv, site_model.csv and site_vs30.txt), a site_<chart>.png and
// .svg for every chart, site_report.pdf and, with a measured curve, the
// curve for the field's other programs: site_measured.target (Geopsy's
// dinver) and site_measured.surf96 (CPS's surf96).
#pragma once

#include <cstddef>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

namespace dispfit {

enum class ExportPart { Table, ChartPng, ChartSvg, ReportPdf, MeasuredTarget, MeasuredSurf96 };

struct ExportFile {
  ExportPart part;
  std::size_t index = 0;  // Table: which of the tables; ChartPng and ChartSvg: which chart
  std::filesystem::path path;
};

// The name given to the base inside a folder chosen as the destination.
inline constexpr const char* kExportBaseInFolder = "dispfit";

// The base the names grow from. In a chosen folder it is kExportBaseInFolder;
// a chosen file name loses an extension the export itself writes (.csv, .txt,
// .png, .svg, .pdf, .target, .surf96, in any case), so that "site.pdf" gives "site_report.pdf",
// and keeps any other ("site.v2" gives "site.v2_report.pdf").
std::filesystem::path exportBase(const std::filesystem::path& chosen, bool chosenIsFolder);

// Every file of one export from `base`, in writing order: the result's
// tables (each named by its suffix, "_curve.csv"), a picture and a drawing
// per chart (named by chartNames, which must be distinct file-name parts),
// the report, and the measured curve's two files when there is one.
std::vector<ExportFile> exportFiles(const std::filesystem::path& base,
                                    std::span<const std::string> tableSuffixes,
                                    std::span<const std::string> chartNames,
                                    bool measuredCurve = false);

}  // namespace dispfit
