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

}  // namespace swcore
