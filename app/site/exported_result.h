// SPDX-License-Identifier: GPL-3.0-or-later
// One result of the window as the export writes it: the local fit (or the
// table's model), the best-fit search, and any other kind that gives its
// name, its tables, the text of its report and the series of its two charts.
// The export writes one result at a time, so that every file of an export
// speaks of the same result, and names it in each of them.
//
// Units: Hz, m, m/s.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace dispfit {

// A block of the report's text; a fixed-width block keeps its columns.
struct ReportBlock {
  std::vector<std::string> lines;
  bool fixedWidth = false;
};

// One file of numbers: the suffix its name takes after the base
// ("_curve.csv") and its text.
struct ResultTable {
  std::string suffix;
  std::string text;
};

enum class LineStyle { Markers, Solid, Dashed };

// A series of a chart: (frequency Hz, phase velocity m/s) on the dispersion
// chart, (Vs m/s, depth m) on the Vs chart.
struct ChartLine {
  std::string name;
  std::vector<std::pair<double, double>> points;
  LineStyle style = LineStyle::Solid;
  std::uint32_t rgb = 0x000000;  // 0xRRGGBB
};

// The colours of the window's charts (window/window_style.h: Okabe and Ito's
// palette beside the computed curve's red), so that an exported chart reads
// as the one on screen. The translucent band and envelope become dashed
// lines here, in their colour mixed half with white.
inline constexpr std::uint32_t kMeasuredRgb = 0x0072B2;
inline constexpr std::uint32_t kBandRgb = 0xAADAF4;
inline constexpr std::uint32_t kComputedRgb = 0xFF0000;
inline constexpr std::uint32_t kFittedRgb = 0x009E73;
inline constexpr std::uint32_t kPercentileRgb = 0xCC79A7;
inline constexpr std::uint32_t kMedianRgb = 0x000000;
inline constexpr std::uint32_t kBestModelRgb = 0xE69F00;
inline constexpr std::uint32_t kEnvelopeRgb = 0xF2CF80;

struct ResultCharts {
  std::vector<ChartLine> dispersion;
  std::vector<ChartLine> profile;
  double profileDepth = 0.0;  // m, how deep the Vs chart reaches
};

class ExportedResult {
 public:
  virtual ~ExportedResult() = default;

  // "local fit", "best-fit search": how the files name the result.
  virtual std::string name() const = 0;
  // Its files of numbers, each written with the metadata as comment lines.
  virtual std::vector<ResultTable> tables() const = 0;
  // The report's text after the metadata block.
  virtual std::vector<ReportBlock> report() const = 0;
  virtual ResultCharts charts() const = 0;
};

// What every file of an export says of where it comes from.
struct ExportMetadata {
  std::vector<std::string> inputs;    // the files read: "measured curve: site.csv"
  std::string date;                   // ISO 8601, UTC
  std::string version;                // the program's
  std::vector<std::string> settings;  // one sentence each
  std::string misfit;                 // the definition of the misfit the result gives
};

// The metadata as lines: "Result: local fit", "Program: DispFit 1.0 (...)",
// "Date: ...", "Input: ...", "Settings: ...", "Misfit: ...".
std::vector<std::string> metadataLines(const ExportMetadata& metadata,
                                       const std::string& resultName);

// `text` with `lines` before it as comment lines ("# ..."), which the
// programs' table readers pass over.
std::string withCommentLines(const std::vector<std::string>& lines, const std::string& text);

// The lines of `text`, without their line ends.
std::vector<std::string> textLines(const std::string& text);

}  // namespace dispfit
