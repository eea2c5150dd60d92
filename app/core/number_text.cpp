// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/number_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>
#include <utility>

#include "files/number_field.h"
#include "records/number_text.h"

namespace dispfit {

namespace {

constexpr int kSignificantDigits = 15;  // of the general format
// 6 significant digits of a frequency: 0.1 % of any value from 0.1 Hz to
// 1 kHz, below what a picked curve distinguishes.
constexpr int kFrequencyDigits = 6;

bool isBlank(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

std::string_view trimBlanks(std::string_view text) {
  while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
  return text;
}

std::string stripTrailingZeros(std::string digits) {
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
  return digits;
}

// Digits after the point that each figure carries; Frequency is counted in
// significant digits instead.
int decimalsOf(Figure figure) {
  switch (figure) {
    case Figure::Length:
    case Figure::Density:
    case Figure::Misfit:
      return 2;
    case Figure::Depth:
    case Figure::Velocity:
      return 1;
    case Figure::Ratio:
      return 3;
    case Figure::Frequency:
      break;
  }
  return 0;
}

// Decimals that give a frequency its significant digits.
int frequencyDecimals(double value) {
  if (!(std::fabs(value) > 0.0) || !std::isfinite(value)) return 0;
  const int integerDigits = static_cast<int>(std::floor(std::log10(std::fabs(value)))) + 1;
  return std::clamp(kFrequencyDigits - integerDigits, 0, 17);
}

int decimalsFor(double value, Figure figure) {
  return figure == Figure::Frequency ? frequencyDecimals(value) : decimalsOf(figure);
}

// A fixed text without the zeros after its last significant decimal, nor a
// point left alone ("2.50" -> "2.5", "10.00" -> "10").
std::string withoutTrailingZeros(std::string text) {
  if (text.find('.') != std::string::npos) {
    while (text.back() == '0') text.pop_back();
    if (text.back() == '.') text.pop_back();
  }
  return text;
}

// The exponent of a "%e" text, after its 'e': a sign and digits.
int exponentOf(std::string_view text) {
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  int exponent = 0;
  std::from_chars(text.data(), text.data() + text.size(), exponent);
  return exponent;
}

// A finite non-zero value as sign, significant digits d1 d2 d3 ... and the
// decimal exponent of d1, exact (every double has a finite expansion).
struct DecimalDigits {
  bool negative = false;
  std::string digits;
  int exponent = 0;
};

DecimalDigits exactDigits(double value) {
  // 767 significant digits cover the longest expansion of a double.
  char buffer[800];
  std::snprintf(buffer, sizeof buffer, "%.767e", std::fabs(value));
  const std::string text(buffer);
  const size_t e = text.find('e');
  DecimalDigits result;
  result.negative = std::signbit(value);
  result.digits = text.substr(0, 1) + text.substr(2, e - 2);
  result.exponent = exponentOf(std::string_view(text).substr(e + 1));
  return result;
}

// Keeps the first count digits, rounding half away from zero (none left
// for a negative count); a carry out of the first digit raises the exponent.
void roundDigits(DecimalDigits& number, int count) {
  if (count < 0) {
    number.digits = "0";
    return;
  }
  std::string& digits = number.digits;
  if (static_cast<int>(digits.size()) <= count) {
    digits.append(static_cast<size_t>(count) - digits.size(), '0');
    return;
  }
  const bool up = digits[static_cast<size_t>(count)] >= '5';
  digits.resize(static_cast<size_t>(count));
  if (!up) return;
  int i = count - 1;
  while (i >= 0 && digits[static_cast<size_t>(i)] == '9') {
    digits[static_cast<size_t>(i)] = '0';
    --i;
  }
  if (i >= 0) {
    ++digits[static_cast<size_t>(i)];
  } else {
    digits = "1" + digits;
    ++number.exponent;
  }
}

// A pattern first takes 18 significant digits, then rounds to its own.
DecimalDigits patternDigits(double value) {
  DecimalDigits number = exactDigits(value);
  roundDigits(number, 18);
  return number;
}

bool isZero(const std::string& digits) {
  return digits.find_first_not_of('0') == std::string::npos;
}

std::string nonFinite(double value) {
  if (std::isnan(value)) return "NAN";
  return value < 0 ? "-INF" : "INF";
}

}  // namespace

std::optional<double> parseDecimal(std::string_view text) {
  double value = 0.0;
  if (!swcore::parseReal(trimBlanks(text), value)) return std::nullopt;
  return value;
}

std::optional<float> parseSingle(std::string_view text) {
  const std::optional<double> value = parseDecimal(text);
  if (!value || std::fabs(*value) > static_cast<double>(std::numeric_limits<float>::max())) {
    return std::nullopt;
  }
  return static_cast<float>(*value);
}

std::optional<std::int64_t> parseWhole(std::string_view text) {
  text = trimBlanks(text);
  if (text.size() > 1 && text.front() == '+' && text[1] != '-') text.remove_prefix(1);
  std::int64_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size()) {
    return std::nullopt;
  }
  return value;
}

std::string figureText(double value, Figure figure) {
  std::string text = fixedText(value, decimalsFor(value, figure));
  // A small negative value rounded to zero reads as zero, without its sign.
  if (text.front() == '-' && text.find_first_not_of("-0.") == std::string::npos) text.erase(0, 1);
  return text;
}

std::string roundedText(double value, Figure figure) {
  if (!std::isfinite(value)) return exactText(value);
  return withoutTrailingZeros(figureText(value, figure));
}

double roundedValue(double value, Figure figure) {
  return parseDecimal(roundedText(value, figure)).value_or(value);
}

std::string fixedText(double value, int decimals) {
  if (!std::isfinite(value)) return exactText(value);
  // A double has at most 309 integer digits, and 17 decimals are asked at most.
  char buffer[352];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed,
                                    std::clamp(decimals, 0, 17));
  return std::string(buffer, result.ptr);
}

std::string scientificText(double value, int decimals) {
  if (!std::isfinite(value)) return exactText(value);
  // A sign, one digit, a point, 17 decimals and an exponent of at most e-324.
  char buffer[32];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value,
                                    std::chars_format::scientific, std::clamp(decimals, 0, 17));
  return std::string(buffer, result.ptr);
}

std::string rightAligned(const std::string& text, std::size_t width) {
  return text.size() >= width ? text : std::string(width - text.size(), ' ') + text;
}

std::string exactText(double value) {
  return std::string(swcore::formatNumber(value).view());
}

std::string exactText(float value) {
  return std::string(swcore::formatNumber(value).view());
}

std::string shiftedText(double value, int places) {
  if (!std::isfinite(value) || value == 0.0) return exactText(value == 0.0 ? 0.0 : value);
  // The shortest digits in scientific form, d.ddde±x: a sign, at most 17
  // digits, the point and an exponent of at most three digits.
  char buffer[32];
  const auto result =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific);
  const std::string scientific(buffer, result.ptr);
  const std::size_t e = scientific.find('e');
  const bool negative = scientific.front() == '-';
  std::string digits;
  for (std::size_t i = negative ? 1 : 0; i < e; ++i) {
    if (scientific[i] != '.') digits += scientific[i];
  }
  const int exponent = std::stoi(scientific.substr(e + 1)) - places;  // of the first digit
  const int count = static_cast<int>(digits.size());
  std::string text = negative ? "-" : "";
  // Plain decimals as far as a reader of a fixed-width file expects them.
  constexpr int kPlainDecimals = 20;
  if (exponent < -kPlainDecimals || exponent > kPlainDecimals) {
    text += digits.substr(0, 1);
    if (count > 1) text += '.' + digits.substr(1);
    return text + 'e' + std::to_string(exponent);
  }
  if (exponent < 0) return text + "0." + std::string(-exponent - 1, '0') + digits;
  if (count <= exponent + 1) return text + digits + std::string(exponent + 1 - count, '0');
  return text + digits.substr(0, exponent + 1) + '.' + digits.substr(exponent + 1);
}

double decimalValue(float value) {
  return parseDecimal(exactText(value)).value_or(static_cast<double>(value));
}

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

std::string formatScientific(double value) {
  if (!std::isfinite(value)) return nonFinite(value);
  if (value == 0.0) return "0.00E+00";
  DecimalDigits number = patternDigits(value);
  roundDigits(number, 3);
  number.digits.resize(3);  // a carry leaves "100" followed by a dropped 0
  char text[32];
  std::snprintf(text, sizeof text, "%s%c.%c%cE%c%02d", number.negative ? "-" : "", number.digits[0],
                number.digits[1], number.digits[2], number.exponent < 0 ? '-' : '+',
                std::abs(number.exponent));
  return text;
}

std::string formatOneDecimal(double value) {
  if (!std::isfinite(value)) return nonFinite(value);
  if (value == 0.0) return "0.0";
  DecimalDigits number = patternDigits(value);
  // Digits up to the first decimal: exponent + 2 of them.
  const int keep = number.exponent + 2;
  if (keep < 0) return "0.0";
  roundDigits(number, keep);
  std::string digits = number.digits;
  if (isZero(digits)) return "0.0";
  // Place the decimal point before the last kept digit.
  const int integerDigits = number.exponent + 1;
  if (integerDigits <= 0)
    digits = std::string(static_cast<size_t>(1 - integerDigits), '0') + digits;
  std::string text = number.negative ? "-" : "";
  text += digits.substr(0, digits.size() - 1) + "." + digits.substr(digits.size() - 1);
  return text;
}

}  // namespace dispfit
