// SPDX-License-Identifier: GPL-3.0-or-later
#include "inversion/number_pattern.h"

#include <cmath>
#include <cstdio>
#include <string>

namespace dispfit {

namespace {

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
  result.exponent = std::stoi(text.substr(e + 1));
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
