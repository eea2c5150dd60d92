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
// header. Values given in another unit the header names are brought to the
// column's own (km/s times 1000 for a column in m/s). Returns false with
// "<source>, line <n>: <what>" in `error`. Whether the columns found make a
// complete table is the caller's check.
bool readColumnTable(std::string_view text, const std::string& sourceName,
                     std::span<const ColumnDefinition> definitions,
                     std::span<const ColumnOrder> orders, ColumnTable& table, std::string& error);

// Which column of a text holds each of a layout's quantities, as the user
// says it ("f=1,v=2,sigma=3", "f=freq,v=c_mean"): per definition, the
// column's number counted from 1, or the header field that heads it. A
// definition not chosen is not read, and neither are the other columns.
struct ColumnChoice {
  std::vector<std::size_t> position;     // per definition: from 1; 0 when chosen by name or not
  std::vector<std::string> headerField;  // per definition: the field named; empty when not
};

// Reads "key=column,key=column,...": each key one of a definition's names
// ("f", "frequency", "v", "sigma"), each column a number from 1 or a header
// field. False, with what is wrong in `error`, for an unknown key, a key
// given twice, an empty or zero column.
bool parseColumnChoice(std::string_view text, std::span<const ColumnDefinition> definitions,
                       ColumnChoice& choice, std::string& error);

// readColumnTable with the columns taken from `choice` instead of the
// header's names or the first row's width; a header line is passed over (its
// units still count) and may name columns the layout does not know.
bool readChosenColumns(std::string_view text, const std::string& sourceName,
                       std::span<const ColumnDefinition> definitions, const ColumnChoice& choice,
                       ColumnTable& table, std::string& error);

}  // namespace swcore
