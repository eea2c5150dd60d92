// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/curve_file.h"

#include <algorithm>
#include <cmath>
#include <sstream>

#include "files/column_table.h"
#include "files/column_text.h"
#include "files/free_format_opening.h"
#include "files/free_format_reader.h"
#include "files/line_message.h"
#include "files/number_field.h"

namespace swcore {

namespace {

constexpr std::size_t kValuesPerDatum = 2;  // frequency and velocity in the free format

// Column indices, in the order of kCurveColumns.
enum CurveColumn : std::size_t {
  kFrequency,
  kVelocity,
  kDeviation,
  kLow,
  kHigh,
  kWavelength,
  kPeriod,
  kMode
};

constexpr DatumQuantity kColumnQuantities[] = {DatumQuantity::Frequency, DatumQuantity::Velocity,
                                               DatumQuantity::Deviation, DatumQuantity::LowBound,
                                               DatumQuantity::HighBound, DatumQuantity::Wavelength,
                                               DatumQuantity::Period};

// The names the field's programs head these columns with: spreadsheets and
// scripts, picking programs that write a mean with its spread ("c_mean",
// "c_low", "c_up"), and the CPS and Geopsy words.
constexpr std::string_view kFrequencyNames[] = {"frequency", "freq", "f", "frequencies",
                                                "frequency hz"};
constexpr std::string_view kVelocityNames[] = {
    "velocity",  "phase velocity",    "vr", "c", "vph", "c mean", "mean", "v", "vel", "vphase",
    "phase vel", "rayleigh velocity", "cr"};
constexpr std::string_view kDeviationNames[] = {
    "sigma", "std",     "standard deviation", "sd",      "stddev", "stdev",      "std dev", "c std",
    "c sd",  "c sigma", "c stddev",           "sigma c", "error",  "uncertainty"};
constexpr std::string_view kLowNames[] = {"low",     "lower", "min",         "c low",
                                          "c lower", "c min", "lower bound", "vmin"};
constexpr std::string_view kHighNames[] = {"high",    "upper", "max",         "c up", "c high",
                                           "c upper", "c max", "upper bound", "vmax"};
constexpr std::string_view kWavelengthNames[] = {"wavelength", "lambda", "wl", "wave length",
                                                 "wavelengths"};
constexpr std::string_view kPeriodNames[] = {"period", "t", "periods", "per"};
constexpr std::string_view kModeNames[] = {"mode"};
constexpr std::string_view kHertz[] = {"hz", "1/s"};
// A velocity in m/s, or in km/s, each value 1000 times as many m/s.
constexpr std::string_view kVelocityUnits[] = {"m/s", "km/s", "ms-1", "m.s-1", "kms-1", "km.s-1"};
constexpr double kVelocityFactors[] = {1.0, 1000.0, 1.0, 1.0, 1000.0, 1000.0};
constexpr std::string_view kLengthUnits[] = {"m", "km"};
constexpr double kLengthFactors[] = {1.0, 1000.0};
constexpr std::string_view kSecond[] = {"s"};

constexpr ColumnDefinition kCurveColumns[] = {
    {"frequency", kFrequencyNames, kHertz},
    {"velocity", kVelocityNames, kVelocityUnits, kVelocityFactors},
    {"standard deviation", kDeviationNames, kVelocityUnits, kVelocityFactors},
    {"low", kLowNames, kVelocityUnits, kVelocityFactors},
    {"high", kHighNames, kVelocityUnits, kVelocityFactors},
    {"wavelength", kWavelengthNames, kLengthUnits, kLengthFactors},
    {"period", kPeriodNames, kSecond},
    {"mode", kModeNames, {}},  // a number, no unit
};

// The highest mode number a datum may name: modes 0 to 99, the most the
// curve solver computes.
constexpr double kHighestMode = 99.0;

constexpr std::size_t kPlain[] = {kFrequency, kVelocity};
constexpr std::size_t kWithDeviation[] = {kFrequency, kVelocity, kDeviation};
constexpr std::size_t kWithBounds[] = {kFrequency, kVelocity, kLow, kHigh};
constexpr ColumnOrder kCurveOrders[] = {kPlain, kWithDeviation, kWithBounds};

std::vector<double>& valuesOf(CurveFile& curve, std::size_t column) {
  switch (column) {
    case kFrequency:
      return curve.frequency;
    case kVelocity:
      return curve.velocity;
    case kDeviation:
      return curve.deviation;
    case kLow:
      return curve.lowBound;
    case kHigh:
      return curve.highBound;
    case kWavelength:
      return curve.wavelength;
    default:
      return curve.period;
  }
}

// What is wrong with the set of columns a header names, empty when it can
// be used.
std::string columnSetFault(const std::vector<bool>& present) {
  const int abscissae = static_cast<int>(present[kFrequency]) +
                        static_cast<int>(present[kWavelength]) + static_cast<int>(present[kPeriod]);
  if (abscissae == 0) {
    return "the header names no frequency, wavelength or period column";
  }
  if (abscissae > 1) {
    return "the header names more than one of frequency, wavelength and period; give one";
  }
  if (!present[kVelocity]) {
    return "the header names no velocity column";
  }
  if (present[kLow] != present[kHigh]) {
    return "the header names a low or a high bound without the other";
  }
  if (present[kDeviation] && present[kLow]) {
    return "the header names both a standard deviation and bounds; give one or the other";
  }
  return {};
}

// True when the text has no header and its first row is the count that
// opens the free format: a lone value, or one followed by words ("2 data"),
// which the free format skips. A row of numbers only opens a table without
// a header.
bool startsWithCount(std::string_view text) {
  if (findColumnHeader(text) != 0) {
    return false;
  }
  ColumnText split;
  std::string ignored;
  if (!splitColumnText(text, {}, split, ignored) || split.rows.empty()) {
    return true;  // the free format's reader gives the better message
  }
  const std::vector<std::string>& first = split.rows.front().fields;
  double value = 0.0;
  return first.size() == 1 || std::any_of(first.begin() + 1, first.end(), [&](const auto& field) {
           return !parseReal(field, value);
         });
}

}  // namespace

bool parseFreeFormatCurve(std::string_view text, const std::string& sourceName,
                          const InputLimits& limits, CurveFile& curve, std::string& error) {
  std::istringstream in{std::string(text)};
  FreeFormatReader reader(in, sourceName);
  std::int32_t count = 0;
  if (!readFreeFormatCount(text, "the number of data, then frequency and velocity of each datum",
                           dataCountFault, limits, reader, count, error)) {
    return false;
  }
  curve = {};
  std::vector<double> pair;
  for (std::size_t datum = 0; datum < static_cast<std::size_t>(count); ++datum) {
    if (!reader.readReals(kValuesPerDatum, pair)) {
      error = reader.error();
      return false;
    }
    for (std::size_t k = 0; k < kValuesPerDatum; ++k) {
      const std::string fault = datumValueFault(kColumnQuantities[k], datum, pair[k]);
      if (!fault.empty()) {
        error = sourceName + ": " + fault;
        return false;
      }
      valuesOf(curve, k).push_back(pair[k]);
    }
    curve.line.push_back(reader.lineOfLastRead());
  }
  return true;
}

bool parseCurveTable(std::string_view text, const std::string& sourceName,
                     const InputLimits& limits, CurveFile& curve, std::string& error) {
  return parseCurveTable(text, sourceName, limits, {}, curve, error);
}

bool parseCurveTable(std::string_view text, const std::string& sourceName,
                     const InputLimits& limits, const ColumnChoice& columns, CurveFile& curve,
                     std::string& error) {
  ColumnTable table;
  const bool chosen = !columns.position.empty() || !columns.headerField.empty();
  if (!(chosen ? readChosenColumns(text, sourceName, kCurveColumns, columns, table, error)
               : readColumnTable(text, sourceName, kCurveColumns, kCurveOrders, table, error))) {
    return false;
  }
  const std::size_t data = table.rowCount();
  if (const std::string fault = dataCountFault(static_cast<std::int64_t>(data), limits);
      !fault.empty()) {
    error = data == 0 ? sourceName + ": " + fault
                      : lineMessage(sourceName,
                                    table.lines[static_cast<std::size_t>(limits.maxData)], fault);
    return false;
  }
  if (const std::string fault = columnSetFault(table.present); !fault.empty()) {
    error = lineMessage(sourceName, table.headerLine, fault);
    return false;
  }
  curve = {};
  for (std::size_t datum = 0; datum < data; ++datum) {
    for (std::size_t k = 0; k < std::size(kColumnQuantities); ++k) {
      if (!table.present[k]) {
        continue;
      }
      const std::string fault =
          datumValueFault(kColumnQuantities[k], datum, table.columns[k][datum]);
      if (!fault.empty()) {
        error = lineMessage(sourceName, table.lines[datum], fault);
        return false;
      }
    }
    if (table.present[kMode]) {
      const double mode = table.columns[kMode][datum];
      if (!(mode >= 0.0 && mode <= kHighestMode && mode == std::floor(mode))) {
        error = lineMessage(sourceName, table.lines[datum],
                            "the mode of datum " + std::to_string(datum + 1) +
                                " is not a whole number from 0 to 99");
        return false;
      }
    }
    if (table.present[kLow] && table.columns[kLow][datum] > table.columns[kHigh][datum]) {
      error = lineMessage(
          sourceName, table.lines[datum],
          "the low bound of datum " + std::to_string(datum + 1) + " is above its high bound");
      return false;
    }
  }
  for (std::size_t k = 0; k < std::size(kColumnQuantities); ++k) {
    valuesOf(curve, k) = table.columns[k];
  }
  for (const double mode : table.columns[kMode]) {
    curve.mode.push_back(static_cast<int>(mode));
  }
  curve.line = table.lines;
  return true;
}

bool parseCurveText(std::string_view text, const std::string& sourceName, const InputLimits& limits,
                    const InputLimits& tableLimits, CurveFile& curve, std::string& error) {
  return parseCurveText(text, sourceName, limits, tableLimits, {}, curve, error);
}

bool parseCurveText(std::string_view text, const std::string& sourceName, const InputLimits& limits,
                    const InputLimits& tableLimits, const ColumnChoice& columns, CurveFile& curve,
                    std::string& error) {
  const bool chosen = !columns.position.empty() || !columns.headerField.empty();
  if (!chosen && startsWithCount(text)) {
    return parseFreeFormatCurve(text, sourceName, limits, curve, error);
  }
  return parseCurveTable(text, sourceName, tableLimits, columns, curve, error);
}

bool parseCurveColumnChoice(std::string_view text, ColumnChoice& choice, std::string& error) {
  return parseColumnChoice(text, kCurveColumns, choice, error);
}

std::string curveColumnNames() {
  return acceptedNames(kCurveColumns);
}

bool curveHeaderKnown(std::string_view text) {
  ColumnText split;
  std::string error;
  if (!splitColumnText(text, {}, split, error) || split.headerLine == 0) return true;
  std::vector<std::size_t> columnOf;
  std::string what;
  if (!matchColumns(split.header, kCurveColumns, columnOf, what)) return false;
  std::vector<bool> present(columnOf.size());
  for (std::size_t k = 0; k < columnOf.size(); ++k) present[k] = columnOf[k] != kNoColumn;
  return columnSetFault(present).empty();
}

}  // namespace swcore
