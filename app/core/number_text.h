// SPDX-License-Identifier: GPL-3.0-or-later
// Conversion between numbers and the texts of the model table: the general
// format with 15 significant digits one way, a strict decimal reading the other. Both always use
// the full stop as decimal separator, whatever the user's locale.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace dispfit {

// General format with up to 15 significant digits: fixed notation while the
// integer part has at most 15 digits and the magnitude is at least 1e-5,
// otherwise scientific ("1.5E-6", "1E20"). Trailing zeros are dropped.
// 1.8f widened to double gives "1.79999995231628".
std::string formatGeneral(double value);

// Reads a decimal number: optional sign, digits with an optional decimal
// point, optional exponent; blanks around it are accepted. Empty, partial
// ("1.8x") or non-numeric ("abc", "inf", "nan") texts and values beyond the
// double range give no value.
std::optional<double> parseDecimal(std::string_view text);

// parseDecimal, further limited to what a single-precision cell can hold.
std::optional<float> parseSingle(std::string_view text);

}  // namespace dispfit
