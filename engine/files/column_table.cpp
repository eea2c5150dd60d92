// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/column_table.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

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

// The rows of `split` read into `table` from the columns columnOf gives,
// each value times its column's factor.
bool readRows(const ColumnText& split, const std::string& sourceName,
              std::span<const ColumnDefinition> definitions,
              const std::vector<std::size_t>& columnOf, const std::vector<double>& factorOf,
              std::size_t width, std::size_t widthLine, ColumnTable& table, std::string& error) {
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
      const double converted = value * factorOf[k];
      if (!std::isfinite(converted)) {
        error = lineMessage(sourceName, row.line,
                            quoted(field) + " is beyond the range of numbers once converted (" +
                                std::string(definitions[k].name) + ")");
        return false;
      }
      table.columns[k].push_back(converted);
    }
    table.lines.push_back(row.line);
  }
  return true;
}

// The definition one of whose names is `key`, or definitions.size().
std::size_t definitionNamed(std::string_view key, std::span<const ColumnDefinition> definitions) {
  for (std::size_t k = 0; k < definitions.size(); ++k) {
    if (namesColumn(key, definitions[k])) return k;
  }
  return definitions.size();
}

std::string joinedFields(const std::vector<std::string>& fields) {
  std::string text;
  for (const std::string& field : fields) text += (text.empty() ? "" : ", ") + field;
  return text;
}

std::string_view trimmedField(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
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
  std::vector<double> factorOf(definitions.size(), 1.0);
  std::string what;
  std::size_t width = split.header.size();
  std::size_t widthLine = split.headerLine;
  if (split.headerLine != 0) {
    if (!matchColumns(split.header, definitions, columnOf, factorOf, what)) {
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
  return readRows(split, sourceName, definitions, columnOf, factorOf, width, widthLine, table,
                  error);
}

bool parseColumnChoice(std::string_view text, std::span<const ColumnDefinition> definitions,
                       ColumnChoice& choice, std::string& error) {
  ColumnChoice read;
  read.position.assign(definitions.size(), 0);
  read.headerField.assign(definitions.size(), {});
  std::string_view rest = text;
  while (true) {
    const std::size_t comma = rest.find(',');
    const std::string_view item = rest.substr(0, comma);
    const std::size_t equals = item.find('=');
    const std::string_view key = trimmedField(item.substr(0, equals));
    const std::string_view column = equals == std::string_view::npos
                                        ? std::string_view()
                                        : trimmedField(item.substr(equals + 1));
    if (equals == std::string_view::npos || key.empty() || column.empty()) {
      error = quoted(item) + " does not say NAME=COLUMN (for example f=1,v=2,sigma=3)";
      return false;
    }
    const std::size_t k = definitionNamed(key, definitions);
    if (k == definitions.size()) {
      error = quoted(key) + " names no column of this table; its columns are " +
              acceptedNames(definitions);
      return false;
    }
    if (read.position[k] != 0 || !read.headerField[k].empty()) {
      error = "the " + std::string(definitions[k].name) + " column is chosen twice";
      return false;
    }
    std::int32_t number = 0;
    if (looksNumeric(column)) {
      if (!parseInteger(column, number) || number < 1) {
        error = quoted(column) + " is not a column number (from 1) for the " +
                std::string(definitions[k].name) + " column";
        return false;
      }
      read.position[k] = static_cast<std::size_t>(number);
    } else {
      read.headerField[k] = std::string(column);
    }
    if (comma == std::string_view::npos) break;
    rest.remove_prefix(comma + 1);
  }
  choice = std::move(read);
  return true;
}

bool readChosenColumns(std::string_view text, const std::string& sourceName,
                       std::span<const ColumnDefinition> definitions, const ColumnChoice& choice,
                       ColumnTable& table, std::string& error) {
  table = {};
  ColumnText split;
  if (!splitColumnText(text, sourceName, split, error)) {
    return false;
  }
  const bool headed = split.headerLine != 0;
  const std::size_t width =
      headed ? split.header.size() : (split.rows.empty() ? 0 : split.rows.front().fields.size());
  const std::size_t widthLine =
      headed ? split.headerLine : (split.rows.empty() ? 0 : split.rows.front().line);
  std::vector<std::size_t> columnOf(definitions.size(), kNoColumn);
  std::vector<double> factorOf(definitions.size(), 1.0);
  for (std::size_t k = 0; k < definitions.size(); ++k) {
    std::size_t column = kNoColumn;
    if (choice.position.size() > k && choice.position[k] != 0) {
      column = choice.position[k] - 1;
      if (column >= width) {
        error = lineMessage(sourceName, widthLine,
                            "the " + std::string(definitions[k].name) + " column is column " +
                                std::to_string(column + 1) + ", but the line has " +
                                std::to_string(width) + " columns");
        return false;
      }
    } else if (choice.headerField.size() > k && !choice.headerField[k].empty()) {
      const std::string& wanted = choice.headerField[k];
      const auto found = std::find_if(split.header.begin(), split.header.end(),
                                      [&](const std::string& f) { return namesField(wanted, f); });
      if (found == split.header.end()) {
        const std::string what = "no header field " + quoted(wanted) + " for the " +
                                 std::string(definitions[k].name) + " column";
        error = headed ? lineMessage(sourceName, split.headerLine,
                                     what + " (the header reads " +
                                         quoted(joinedFields(split.header)) + ")")
                       : sourceName + ": " + what + " (the file has no header)";
        return false;
      }
      column = static_cast<std::size_t>(found - split.header.begin());
    }
    if (column == kNoColumn) continue;
    if (headed) {
      std::string what;
      if (!unitFactor(split.header[column], definitions[k], factorOf[k], what)) {
        error = lineMessage(sourceName, split.headerLine, what);
        return false;
      }
    }
    columnOf[k] = column;
  }
  return readRows(split, sourceName, definitions, columnOf, factorOf, width, widthLine, table,
                  error);
}

}  // namespace swcore
