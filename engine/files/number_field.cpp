// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/number_field.h"

#include <cctype>
#include <charconv>
#include <cmath>

namespace swcore {

namespace {

// from_chars takes a minus sign only; a plus sign is dropped, but not one
// before a minus ("+-1" is no number).
std::string_view withoutPlus(std::string_view field) {
  if (field.size() > 1 && field.front() == '+' && field[1] != '-') {
    field.remove_prefix(1);
  }
  return field;
}

template <typename T>
bool parseWhole(std::string_view text, T& value) {
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size();
}

bool isDigit(char c) {
  return std::isdigit(static_cast<unsigned char>(c)) != 0;
}

}  // namespace

bool parseReal(std::string_view field, double& value) {
  // from_chars accepts "inf" and "nan" but the digits alone are wanted.
  return parseWhole(withoutPlus(field), value) && std::isfinite(value);
}

bool parseInteger(std::string_view field, std::int32_t& value) {
  return parseWhole(withoutPlus(field), value);
}

bool looksNumeric(std::string_view field) {
  std::size_t i = 0;
  if (i < field.size() && (field[i] == '+' || field[i] == '-')) {
    ++i;
  }
  if (i < field.size() && field[i] == '.') {
    ++i;
  }
  return i < field.size() && isDigit(field[i]);
}

}  // namespace swcore
