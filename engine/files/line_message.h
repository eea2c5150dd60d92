// SPDX-License-Identifier: GPL-3.0-or-later
// The one form of every message about a line of a text file.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace swcore {

// "<sourceName>, line <line>: <what>"
inline std::string lineMessage(std::string_view sourceName, std::size_t line,
                               std::string_view what) {
  std::string message(sourceName);
  message += ", line ";
  message += std::to_string(line);
  message += ": ";
  message += what;
  return message;
}

// "<sourceName>, line <line>, column <column>: <what>", for a fault at one
// character of a line (columns count characters from 1).
inline std::string lineColumnMessage(std::string_view sourceName, std::size_t line,
                                     std::size_t column, std::string_view what) {
  std::string message(sourceName);
  message += ", line ";
  message += std::to_string(line);
  message += ", column ";
  message += std::to_string(column);
  message += ": ";
  message += what;
  return message;
}

// The text in double quotes, as messages show what a file or option wrote.
inline std::string quoted(std::string_view text) {
  std::string result;
  result.reserve(text.size() + 2);
  result += '"';
  result += text;
  result += '"';
  return result;
}

}  // namespace swcore
