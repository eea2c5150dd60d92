// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/column_table.h"

#include <algorithm>

#include "files/column_text.h"
#include "files/line_message.h"
#include "files/number_field.h"

namespace swcore {

namespace {

// columnOf[k] for a file without a header, from the width of its first row.
bool positionalColumns(std::size_t width, std::size_t definitionCount,
                       std::span<const ColumnOrder> orders, std::vector<std::size_t>& columnOf,
                       std::string& what) {
  const auto order = std::find_if(orders.begin(), orders.end(),
                                  [&](const ColumnOrder& o) { return o.size() == width; });
  if (order == orders.end()) {
    what = std::to_string(width) + " values on a line; without a header a row holds ";
    for (std::size_t i = 0; i < orders.size(); ++i) {
      what += i == 0 ? "" : (i + 1 == orders.size() ? " or " : ", ");
      what += std::to_string(orders[i].size());
    }
    return false;
  }
  columnOf.assign(definitionCount, kNoColumn);
  for (std::size_t column = 0; column < order->size(); ++column) {
    columnOf[(*order)[column]] = column;
  }
  return true;
}

// A row with more fields than the first most likely writes its numbers with a
// decimal comma, which splits each of them in two.
std::string widthFault(std::size_t found, std::size_t expected, std::size_t firstLine) {
  std::string what = std::to_string(found) + " values where line " + std::to_string(firstLine) +
                     " has " + std::to_string(expected);
  if (found > expected) {
    what += " (numbers take a full stop as decimal point)";
  }
  return what;
}

}  // namespace

bool readColumnTable(std::string_view text, const std::string& sourceName,
                     std::span<const ColumnDefinition> definitions,
                     std::span<const ColumnOrder> orders, ColumnTable& table, std::string& error) {
  table = {};
  ColumnText split;
  if (!splitColumnText(text, sourceName, split, error)) {
    return false;
  }
  std::vector<std::size_t> columnOf;
  std::string what;
  std::size_t width = split.header.size();
  std::size_t widthLine = split.headerLine;
  if (split.headerLine != 0) {
    if (!matchColumns(split.header, definitions, columnOf, what)) {
      error = lineMessage(sourceName, split.headerLine, what);
      return false;
    }
  } else if (!split.rows.empty()) {
    width = split.rows.front().fields.size();
    widthLine = split.rows.front().line;
    if (!positionalColumns(width, definitions.size(), orders, columnOf, what)) {
      error = lineMessage(sourceName, widthLine, what);
      return false;
    }
  }
  table.headerLine = split.headerLine;
  table.present.resize(definitions.size());
  table.columns.resize(definitions.size());
  for (std::size_t k = 0; k < definitions.size(); ++k) {
    table.present[k] = !columnOf.empty() && columnOf[k] != kNoColumn;
  }
  for (const ColumnRow& row : split.rows) {
    if (row.fields.size() != width) {
      error = lineMessage(sourceName, row.line, widthFault(row.fields.size(), width, widthLine));
      return false;
    }
    for (std::size_t k = 0; k < definitions.size(); ++k) {
      if (!table.present[k]) {
        continue;
      }
      const std::string& field = row.fields[columnOf[k]];
      double value = 0.0;
      if (!parseReal(field, value)) {
        error = lineMessage(
            sourceName, row.line,
            "\"" + field + "\" is not a number (" + std::string(definitions[k].name) + ")");
        return false;
      }
      table.columns[k].push_back(value);
    }
    table.lines.push_back(row.line);
  }
  return true;
}

}  // namespace swcore
