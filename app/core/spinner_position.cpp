// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/spinner_position.h"

#include <algorithm>
#include <cctype>
#include <charconv>

namespace dispfit {

namespace {

std::string_view trimBlanks(std::string_view text) {
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) {
    text.remove_prefix(1);
  }
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) {
    text.remove_suffix(1);
  }
  return text;
}

}  // namespace

int steppedPosition(int current, std::string_view boxText, int delta, SpinnerRange range) {
  int start = current;
  const std::string_view text = trimBlanks(boxText);
  int typed = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), typed);
  if (!text.empty() && error == std::errc() && end == text.data() + text.size() &&
      typed >= range.minimum && typed <= range.maximum) {
    start = typed;
  }
  start = std::clamp(start, range.minimum, range.maximum);
  return std::clamp(start + delta, range.minimum, range.maximum);
}

}  // namespace dispfit
