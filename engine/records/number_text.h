// SPDX-License-Identifier: GPL-3.0-or-later
// Numbers as text: the shortest form that reads back to exactly the same
// value, in fixed or scientific notation, whichever is shorter (fixed on a
// tie), with a '.' as decimal point whatever locale the host program set.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace swcore {

// The text of one number, held by value.
class NumberText {
 public:
  // Room for a sign, 17 digits, a point, an exponent and leading zeros.
  static constexpr std::size_t kCapacity = 48;

  NumberText() = default;
  explicit NumberText(std::string_view text);

  std::string_view view() const { return {text_, length_}; }

 private:
  char text_[kCapacity] = {};
  std::size_t length_ = 0;
};

// Shortest text that reads back to exactly `value` (as a double, or as a
// float for the float overload). Not-a-number and infinities read "nan",
// "-nan", "inf" and "-inf".
NumberText formatNumber(double value);
NumberText formatNumber(float value);
NumberText formatNumber(std::int32_t value);

}  // namespace swcore
