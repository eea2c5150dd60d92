// SPDX-License-Identifier: GPL-3.0-or-later
// The two display patterns of the inversion report: the value's decimal
// expansion taken to 18 significant digits, then rounded half away from zero
// to the pattern's digits.
#pragma once

#include <string>

namespace dispfit {

// Pattern "0.00E+00": one leading digit, two decimals, the letter E, an
// exponent sign always and at least two exponent digits
// (1.234e-4 -> "1.23E-04", 0 -> "0.00E+00", 1e100 -> "1.00E+100").
std::string formatScientific(double value);

// Pattern "0.0": fixed notation with one decimal (12.25 -> "12.3",
// 2.55f -> "2.5" because 2.55f lies just below 2.55).
std::string formatOneDecimal(double value);

}  // namespace dispfit
