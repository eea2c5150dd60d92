// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/number_text.h"

#include <locale.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace swcore {

namespace {

// Significant digits that always read back: 17 for a double, 9 for a float.
template <typename T>
constexpr int kMaxDigits = sizeof(T) == sizeof(double) ? 17 : 9;

// The "C" numeric conventions on the calling thread while in scope.
class ClassicNumbers {
 public:
  ClassicNumbers()
      : classic_(newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr))),
        previous_(classic_ != static_cast<locale_t>(nullptr) ? uselocale(classic_)
                                                             : static_cast<locale_t>(nullptr)) {}
  ~ClassicNumbers() {
    if (classic_ != static_cast<locale_t>(nullptr)) {
      uselocale(previous_);
      freelocale(classic_);
    }
  }
  ClassicNumbers(const ClassicNumbers&) = delete;
  ClassicNumbers& operator=(const ClassicNumbers&) = delete;

 private:
  locale_t classic_;
  locale_t previous_;
};

// A decimal d1.d2...dn x 10^exponent, without sign.
struct Decimal {
  char digits[kMaxDigits<double> + 2] = {};
  int count = 0;
  int exponent = 0;
};

// The correctly rounded decimal of `value` with `count` significant digits.
Decimal roundedDecimal(double value, int count) {
  char text[NumberText::kCapacity];
  std::snprintf(text, sizeof text, "%.*e", count - 1, std::fabs(value));
  Decimal d;
  const char* p = text;
  for (; *p != 'e' && *p != '\0'; ++p) {
    if (*p >= '0' && *p <= '9') {
      d.digits[d.count++] = *p;
    }
  }
  if (*p == 'e') {
    d.exponent = static_cast<int>(std::strtol(p + 1, nullptr, 10));
  }
  return d;
}

// The decimal one unit higher in its last digit.
Decimal nextDecimalUp(Decimal d) {
  int i = d.count - 1;
  while (i >= 0 && d.digits[i] == '9') {
    d.digits[i--] = '0';
  }
  if (i >= 0) {
    ++d.digits[i];
  } else {
    d.digits[0] = '1';
    ++d.exponent;
  }
  return d;
}

void dropTrailingZeros(Decimal& d) {
  while (d.count > 1 && d.digits[d.count - 1] == '0') {
    --d.count;
  }
}

// Appends to a fixed buffer; the buffer is large enough for any double.
class TextBuilder {
 public:
  void put(char c) {
    if (length_ + 1 < sizeof text_) {
      text_[length_++] = c;
    }
  }
  void put(const char* s, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i) {
      put(s[i]);
    }
  }
  std::size_t length() const { return length_; }
  std::string_view view() const { return {text_, length_}; }

 private:
  char text_[NumberText::kCapacity * 8] = {};
  std::size_t length_ = 0;
};

// [-]d[.ddd]e(+|-)xx, at least two exponent digits.
TextBuilder scientificText(bool negative, const Decimal& d) {
  TextBuilder out;
  if (negative) {
    out.put('-');
  }
  out.put(d.digits[0]);
  if (d.count > 1) {
    out.put('.');
    out.put(d.digits + 1, static_cast<std::size_t>(d.count - 1));
  }
  char exponent[8];
  const int n = std::snprintf(exponent, sizeof exponent, "e%c%02d", d.exponent < 0 ? '-' : '+',
                              std::abs(d.exponent));
  out.put(exponent, static_cast<std::size_t>(n));
  return out;
}

// [-]ddd[.ddd] without an exponent. A whole number is written with all its
// digits: as short as the shortest digits padded with zeros, and exact.
TextBuilder fixedText(bool negative, double magnitude, const Decimal& d) {
  TextBuilder out;
  if (negative) {
    out.put('-');
  }
  if (d.exponent < 0) {
    out.put("0.", 2);
    for (int i = -1; i > d.exponent; --i) {
      out.put('0');
    }
    out.put(d.digits, static_cast<std::size_t>(d.count));
  } else if (d.exponent + 1 >= d.count) {
    char whole[NumberText::kCapacity * 8];
    const int n = std::snprintf(whole, sizeof whole, "%.0f", magnitude);
    out.put(whole, static_cast<std::size_t>(n));
  } else {
    out.put(d.digits, static_cast<std::size_t>(d.exponent + 1));
    out.put('.');
    out.put(d.digits + d.exponent + 1, static_cast<std::size_t>(d.count - d.exponent - 1));
  }
  return out;
}

template <typename T>
bool readsBack(std::string_view text, T value) {
  char buffer[NumberText::kCapacity * 8];
  const std::size_t n = text.size() < sizeof buffer - 1 ? text.size() : sizeof buffer - 1;
  std::memcpy(buffer, text.data(), n);
  buffer[n] = '\0';
  if constexpr (sizeof(T) == sizeof(float)) {
    return std::strtof(buffer, nullptr) == value;
  } else {
    return std::strtod(buffer, nullptr) == value;
  }
}

// A decimal of `count` significant digits that reads back to `magnitude`:
// the nearest one, or else the next one up. Just above a power of two the gap
// below a number is half the gap above it, so the next decimal up may read
// back where the nearest, lying below, does not.
template <typename T>
bool decimalThatReadsBack(T magnitude, int count, Decimal& found) {
  Decimal d = roundedDecimal(static_cast<double>(magnitude), count);
  if (!readsBack(scientificText(false, d).view(), magnitude)) {
    d = nextDecimalUp(d);
    if (!readsBack(scientificText(false, d).view(), magnitude)) {
      return false;
    }
  }
  dropTrailingZeros(d);
  found = d;
  return true;
}

// Fewest digits that read back; among decimals of that length the nearest.
// A length that reads back means every longer one does too, so the length is
// found by bisection; kMaxDigits<T> always reads back.
template <typename T>
Decimal shortestDecimal(T magnitude) {
  Decimal best = roundedDecimal(static_cast<double>(magnitude), kMaxDigits<T>);
  dropTrailingZeros(best);
  int low = 1;
  int high = kMaxDigits<T>;
  while (low < high) {
    const int middle = (low + high) / 2;
    Decimal d;
    if (decimalThatReadsBack(magnitude, middle, d)) {
      best = d;
      high = middle;
    } else {
      low = middle + 1;
    }
  }
  return best;
}

template <typename T>
NumberText shortestText(T value) {
  const bool negative = std::signbit(value);
  if (std::isnan(value)) {
    return NumberText(negative ? "-nan" : "nan");
  }
  if (std::isinf(value)) {
    return NumberText(negative ? "-inf" : "inf");
  }
  if (value == 0) {
    return NumberText(negative ? "-0" : "0");
  }
  const ClassicNumbers classic;
  const T magnitude = negative ? -value : value;
  const Decimal d = shortestDecimal(magnitude);
  const TextBuilder fixed = fixedText(negative, static_cast<double>(magnitude), d);
  const TextBuilder scientific = scientificText(negative, d);
  return NumberText(scientific.length() < fixed.length() ? scientific.view() : fixed.view());
}

}  // namespace

NumberText::NumberText(std::string_view text) {
  length_ = text.size() < kCapacity ? text.size() : kCapacity;
  std::memcpy(text_, text.data(), length_);
}

NumberText formatNumber(double value) {
  return shortestText(value);
}

NumberText formatNumber(float value) {
  return shortestText(value);
}

NumberText formatNumber(std::int32_t value) {
  char text[16];
  const int n = std::snprintf(text, sizeof text, "%d", static_cast<int>(value));
  return NumberText(std::string_view(text, static_cast<std::size_t>(n)));
}

}  // namespace swcore
