// SPDX-License-Identifier: GPL-3.0-or-later
// The lines of a text file and the blank-separated fields of each, with the
// line and column where each field begins, so that the readers of the other
// programs' formats name the very place of a fault.
//
// A UTF-8 byte-order mark and CRLF line ends are accepted; lines and columns
// count from 1, columns in bytes (every format read here is ASCII).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace dispfit {

struct TextField {
  std::string_view text;
  std::size_t column = 0;
};

struct TextLine {
  std::size_t number = 0;  // from 1
  std::string_view text;   // without its line end
  std::vector<TextField> fields;

  bool blank() const { return fields.empty(); }
};

// Every line of `text`; `text` must outlive the result. Fields are separated
// by blanks, tabs and, where `commas` is true, commas.
std::vector<TextLine> textLines(std::string_view text, bool commas = false);

// "<source>, line <n>, column <c>: <what>" for the field.
std::string fieldMessage(const std::string& source, const TextLine& line, const TextField& field,
                         std::string_view what);

// The field read as a decimal number: false, with the message naming the
// field's place and `what` it should be, when it is none.
bool fieldNumber(const std::string& source, const TextLine& line, const TextField& field,
                 std::string_view what, double& value, std::string& error);

}  // namespace dispfit
