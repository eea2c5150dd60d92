// SPDX-License-Identifier: GPL-3.0-or-later
// Matching the header of a column table to the columns a layout knows.
//
// A header field is a name, optionally followed by its unit in round or
// square brackets: "Vs (m/s)", "rho[g/cm3]". Names and units are compared
// without regard to case, with underscores read as blanks and runs of blanks
// as one. A unit, when given, must be one the column accepts: a velocity in
// km/s read as m/s would be off by a factor of 1000. A column may accept
// several units, each with the factor that brings its values to the column's
// own unit (km/s with 1000 for a column in m/s).
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace swcore {

struct ColumnDefinition {
  std::string_view name;                        // how messages name the column
  std::span<const std::string_view> spellings;  // accepted names, lower case
  std::span<const std::string_view> units;      // accepted units, lower case, without blanks
  // Per unit, the factor to the first unit's values; empty when every unit
  // means the same (1).
  std::span<const double> unitFactors = {};
};

inline constexpr std::size_t kNoColumn = static_cast<std::size_t>(-1);

// Finds the column of each definition in `header`: columnOf[k] is the index of the
// field naming definitions[k], or kNoColumn when the header does not name it.
// Returns false, with what is wrong in `what`, for a field no definition knows, a
// column named twice, or a unit the column does not accept.
bool matchColumns(const std::vector<std::string>& header,
                  std::span<const ColumnDefinition> definitions, std::vector<std::size_t>& columnOf,
                  std::string& what);

// The same, with factorOf[k] the factor that brings the values of
// definitions[k] to the column's own unit (1 when no unit or the column's own
// is given).
bool matchColumns(const std::vector<std::string>& header,
                  std::span<const ColumnDefinition> definitions, std::vector<std::size_t>& columnOf,
                  std::vector<double>& factorOf, std::string& what);

// The factor of the unit `field` gives in brackets for `definition` (1 for
// none); false with what is wrong in `what` for a unit the column does not
// accept.
bool unitFactor(std::string_view field, const ColumnDefinition& definition, double& factor,
                std::string& what);

// True when `field`, its unit left aside, is one of the definition's names.
bool namesColumn(std::string_view field, const ColumnDefinition& definition);

// True when `chosen` names the header field `field`: the same name once case,
// underscores and blanks are set aside, and, when `chosen` gives a unit, the
// same unit ("c_mean" and "c mean [m/s]" name "C_Mean [m/s]").
bool namesField(std::string_view chosen, std::string_view field);

// "frequency (frequency, freq, f), velocity (velocity, c, vr)": every column
// with the names it goes by, for messages that say what a table takes.
std::string acceptedNames(std::span<const ColumnDefinition> definitions);

}  // namespace swcore
