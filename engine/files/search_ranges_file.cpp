// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/search_ranges_file.h"

#include <cmath>
#include <utility>

#include "files/column_table.h"
#include "files/line_message.h"

namespace swcore {

namespace {

enum RangeColumn : std::size_t {
  kVsMin,
  kVsMax,
  kHMin,
  kHMax,
  kDensity,
  kVp,
  kPoissonMin,
  kPoissonMax
};

constexpr std::string_view kVsMinNames[] = {"vs min", "vsmin"};
constexpr std::string_view kVsMaxNames[] = {"vs max", "vsmax"};
constexpr std::string_view kHMinNames[] = {"h min", "thickness min", "hmin"};
constexpr std::string_view kHMaxNames[] = {"h max", "thickness max", "hmax"};
constexpr std::string_view kDensityNames[] = {"density", "rho"};
constexpr std::string_view kVpNames[] = {"vp"};
constexpr std::string_view kPoissonMinNames[] = {"poisson min", "nu min"};
constexpr std::string_view kPoissonMaxNames[] = {"poisson max", "nu max"};
constexpr std::string_view kMetre[] = {"m"};
constexpr std::string_view kMetrePerSecond[] = {"m/s"};
constexpr std::string_view kGramPerCubicCentimetre[] = {"g/cm3", "g/cm^3", "g/cc"};
constexpr std::string_view kNoUnit[] = {"-", "1"};

constexpr ColumnDefinition kRangeColumns[] = {
    {"vs min", kVsMinNames, kMetrePerSecond},
    {"vs max", kVsMaxNames, kMetrePerSecond},
    {"h min", kHMinNames, kMetre},
    {"h max", kHMaxNames, kMetre},
    {"density", kDensityNames, kGramPerCubicCentimetre},
    {"vp", kVpNames, kMetrePerSecond},
    {"poisson min", kPoissonMinNames, kNoUnit},
    {"poisson max", kPoissonMaxNames, kNoUnit},
};
constexpr std::size_t kRequiredColumns = 5;  // up to the density

constexpr std::size_t kPlain[] = {kVsMin, kVsMax, kHMin, kHMax, kDensity};
constexpr ColumnOrder kRangeOrders[] = {kPlain};

std::vector<double>& valuesOf(SearchRangesFile& ranges, std::size_t column) {
  switch (column) {
    case kVsMin:
      return ranges.vsMin;
    case kVsMax:
      return ranges.vsMax;
    case kHMin:
      return ranges.hMin;
    case kHMax:
      return ranges.hMax;
    case kDensity:
      return ranges.density;
    case kVp:
      return ranges.vp;
    case kPoissonMin:
      return ranges.poissonMin;
    default:
      return ranges.poissonMax;
  }
}

std::string columnSetFault(const std::vector<bool>& present) {
  for (std::size_t k = 0; k < kRequiredColumns; ++k) {
    if (!present[k]) {
      return "the header names no " + std::string(kRangeColumns[k].name) + " column";
    }
  }
  if (present[kPoissonMin] != present[kPoissonMax]) {
    return "the header names one end of Poisson's ratio's range without the other";
  }
  if (present[kVp] && present[kPoissonMin]) {
    return "the header names both vp and Poisson's ratio; give one or the other";
  }
  return {};
}

// What is wrong with one value, empty when it can be used.
std::string valueFault(std::size_t column, std::size_t layer, bool halfSpace, double value) {
  const bool thickness = column == kHMin || column == kHMax;
  if (thickness && halfSpace) return {};
  const std::string where =
      std::string(kRangeColumns[column].name) + " of layer " + std::to_string(layer + 1);
  if (!std::isfinite(value)) return where + " is not a finite number";
  const bool poisson = column == kPoissonMin || column == kPoissonMax;
  if (poisson ? value < 0.0 : value <= 0.0) {
    return where + (poisson ? " must not be negative" : " must be positive");
  }
  return {};
}

}  // namespace

bool parseSearchRanges(std::string_view text, const std::string& sourceName,
                       const InputLimits& limits, SearchRangesFile& ranges, std::string& error) {
  ColumnTable table;
  if (!readColumnTable(text, sourceName, kRangeColumns, kRangeOrders, table, error)) {
    return false;
  }
  const std::size_t layers = table.rowCount();
  if (std::string fault = layerRowsFault(table.lines, sourceName, limits); !fault.empty()) {
    error = std::move(fault);
    return false;
  }
  if (const std::string fault = columnSetFault(table.present); !fault.empty()) {
    error = lineMessage(sourceName, table.headerLine, fault);
    return false;
  }
  ranges = {};
  for (std::size_t k = 0; k < std::size(kRangeColumns); ++k) {
    if (!table.present[k]) continue;
    for (std::size_t layer = 0; layer < layers; ++layer) {
      const std::string fault = valueFault(k, layer, layer + 1 == layers, table.columns[k][layer]);
      if (!fault.empty()) {
        error = lineMessage(sourceName, table.lines[layer], fault);
        return false;
      }
    }
    valuesOf(ranges, k) = table.columns[k];
  }
  ranges.line = table.lines;
  return true;
}

}  // namespace swcore
