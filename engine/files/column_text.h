// SPDX-License-Identifier: GPL-3.0-or-later
// Headed column text: a table of numbers, one row per line, as spreadsheets
// and scripts write it.
//
//   - '#' begins a comment that runs to the end of its line; blank lines and
//     comment lines are passed over;
//   - the first line that is left may be a header naming the columns: it is
//     one when its first field does not begin like a number;
//   - fields are separated by commas or semicolons when the line holds one
//     (blanks around a field are then dropped, and an empty field is an
//     error), otherwise by blanks and tabs;
//   - CRLF line ends and a UTF-8 byte-order mark are accepted;
//   - numbers always take a full stop as decimal point.
//
// This layer only splits the text into a header and rows of fields; which
// columns a file holds and what their values may be is the business of the
// layout built on it.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace swcore {

struct ColumnRow {
  std::size_t line = 0;  // 1 for the first line of the text
  std::vector<std::string> fields;
};

struct ColumnText {
  std::size_t headerLine = 0;       // 0 when the text has no header
  std::vector<std::string> header;  // the header's fields, as written
  std::vector<ColumnRow> rows;      // the lines after the header
};

// Splits `text`; false with "<source>, line <n>: <what>" in `error` for an
// empty field between separators.
bool splitColumnText(std::string_view text, const std::string& sourceName, ColumnText& table,
                     std::string& error);

// The line of the header: the first line that is neither blank nor a
// comment, when its first field does not begin like a number. 0 when the
// text has no header.
std::size_t findColumnHeader(std::string_view text);

}  // namespace swcore
