// SPDX-License-Identifier: GPL-3.0-or-later
// The UTF-8 byte-order mark that some editors put at the start of a text
// file. It is no part of the first line's content.
#pragma once

#include <string_view>

namespace swcore {

inline constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

inline std::string_view withoutByteOrderMark(std::string_view text) {
  if (text.substr(0, kUtf8ByteOrderMark.size()) == kUtf8ByteOrderMark) {
    text.remove_prefix(kUtf8ByteOrderMark.size());
  }
  return text;
}

}  // namespace swcore
