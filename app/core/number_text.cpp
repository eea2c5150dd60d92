// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/number_text.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <limits>
#include <utility>

namespace dispfit {

namespace {

constexpr int kSignificantDigits = 15;

bool isBlank(char c) {
  return std::isspace(static_cast<unsigned char>(c)) != 0;
}
bool isDigit(char c) {
  return c >= '0' && c <= '9';
}

std::string_view trimBlanks(std::string_view text) {
  while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
  return text;
}

// True when text is [sign] digits [. digits] [e [sign] digits] with at
// least one mantissa digit.
bool isDecimalSyntax(std::string_view text) {
  std::size_t i = 0;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  std::size_t mantissaDigits = 0;
  while (i < text.size() && isDigit(text[i])) ++i, ++mantissaDigits;
  if (i < text.size() && text[i] == '.') {
    ++i;
    while (i < text.size() && isDigit(text[i])) ++i, ++mantissaDigits;
  }
  if (mantissaDigits == 0) return false;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    std::size_t exponentDigits = 0;
    while (i < text.size() && isDigit(text[i])) ++i, ++exponentDigits;
    if (exponentDigits == 0) return false;
  }
  return i == text.size();
}

std::string stripTrailingZeros(std::string digits) {
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
  return digits;
}

}  // namespace

std::string formatGeneral(double value) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value > 0 ? "INF" : "-INF";
  if (value == 0.0) return "0";

  // Round to 15 significant digits: d.dddddddddddddde±x
  char buffer[64];
  const auto written = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value),
                                     std::chars_format::scientific, kSignificantDigits - 1);
  const std::string_view scientific(buffer, static_cast<std::size_t>(written.ptr - buffer));
  const std::size_t ePos = scientific.find('e');
  int exponent = 0;
  const char* exponentStart = buffer + ePos + 1;
  if (*exponentStart == '+') ++exponentStart;
  std::from_chars(exponentStart, written.ptr, exponent);
  std::string digits(scientific.substr(0, 1));
  digits.append(scientific.substr(2, ePos - 2));
  digits = stripTrailingZeros(std::move(digits));

  std::string out;
  if (value < 0) out.push_back('-');
  if (exponent >= kSignificantDigits || std::fabs(value) < 1e-5) {
    out.push_back(digits[0]);
    if (digits.size() > 1) {
      out.push_back('.');
      out.append(digits, 1);
    }
    out.push_back('E');
    out.append(std::to_string(exponent));
    return out;
  }
  if (exponent < 0) {
    out.append("0.");
    out.append(static_cast<std::size_t>(-exponent - 1), '0');
    out.append(digits);
    return out;
  }
  const auto integerDigits = static_cast<std::size_t>(exponent) + 1;
  if (digits.size() <= integerDigits) {
    out.append(digits);
    out.append(integerDigits - digits.size(), '0');
  } else {
    out.append(digits, 0, integerDigits);
    out.push_back('.');
    out.append(digits, integerDigits);
  }
  return out;
}

std::optional<double> parseDecimal(std::string_view text) {
  text = trimBlanks(text);
  if (!isDecimalSyntax(text)) return std::nullopt;
  if (text.front() == '+') text.remove_prefix(1);  // from_chars takes no plus sign
  double value = 0.0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

std::optional<float> parseSingle(std::string_view text) {
  const std::optional<double> value = parseDecimal(text);
  if (!value || std::fabs(*value) > static_cast<double>(std::numeric_limits<float>::max())) {
    return std::nullopt;
  }
  return static_cast<float>(*value);
}

}  // namespace dispfit
