// SPDX-License-Identifier: GPL-3.0-or-later
// The numbers of a headed column text, sorted into the columns a layout
// knows. With a header the columns are found by name (see column_names.h);
// without one the width of the first row picks one of the layout's column
// orders. Every row must have as many fields as the first, and every field
// must be a number.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "files/column_names.h"

namespace swcore {

// The columns of a file without a header, as indices into the layout's
// definitions, one order per accepted width.
using ColumnOrder = std::span<const std::size_t>;

struct ColumnTable {
  std::size_t headerLine = 0;                // 0 when the file has no header
  std::vector<std::size_t> lines;            // line of each row
  std::vector<bool> present;                 // per definition: the file has the column
  std::vector<std::vector<double>> columns;  // per definition: one value per row (empty if absent)

  std::size_t rowCount() const { return lines.size(); }
};

// Reads `text` for the columns `definitions`; `orders` serve a file without a
// header. Returns false with "<source>, line <n>: <what>" in `error`.
// Whether the columns found make a complete table is the caller's check.
bool readColumnTable(std::string_view text, const std::string& sourceName,
                     std::span<const ColumnDefinition> definitions,
                     std::span<const ColumnOrder> orders, ColumnTable& table, std::string& error);

}  // namespace swcore
