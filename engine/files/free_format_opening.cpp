// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/free_format_opening.h"

#include "files/column_text.h"
#include "files/line_message.h"

namespace swcore {

bool readFreeFormatCount(std::string_view text, std::string_view layout, CountFault countFault,
                         const InputLimits& limits, FreeFormatReader& reader, std::int32_t& count,
                         std::string& error) {
  if (const std::size_t header = findColumnHeader(text); header != 0) {
    std::string what = "a column header, but this file takes the free format: ";
    what += layout;
    error = lineMessage(reader.sourceName(), header, what);
    return false;
  }
  if (!reader.readInteger(count)) {
    error = reader.error();
    return false;
  }
  if (const std::string fault = countFault(count, limits); !fault.empty()) {
    error = reader.sourceName() + ": " + fault;
    return false;
  }
  return true;
}

}  // namespace swcore
