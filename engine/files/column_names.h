// SPDX-License-Identifier: GPL-3.0-or-later
// Matching the header of a column table to the columns a layout knows.
//
// A header field is a name, optionally followed by its unit in round or
// square brackets: "Vs (m/s)", "rho[g/cm3]". Names and units are compared
// without regard to case, with underscores read as blanks and runs of blanks
// as one. A unit, when given, must be one the column accepts: a velocity in
// km/s read as m/s would be off by a factor of 1000.
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
};

inline constexpr std::size_t kNoColumn = static_cast<std::size_t>(-1);

// Finds the column of each definition in `header`: columnOf[k] is the index of the
// field naming definitions[k], or kNoColumn when the header does not name it.
// Returns false, with what is wrong in `what`, for a field no definition knows, a
// column named twice, or a unit the column does not accept.
bool matchColumns(const std::vector<std::string>& header,
                  std::span<const ColumnDefinition> definitions, std::vector<std::size_t>& columnOf,
                  std::string& what);

}  // namespace swcore
