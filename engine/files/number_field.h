// SPDX-License-Identifier: GPL-3.0-or-later
// Numbers in the fields of a text file: the whole field is one decimal
// number, read the same whatever locale the host program set (a full stop is
// the decimal point, a comma never is). A leading '+' is accepted; hexadecimal
// forms, "inf" and "nan" are not numbers.
#pragma once

#include <cstdint>
#include <string_view>

namespace swcore {

// A finite double: false for anything else, also for a value beyond the
// double range ("1e999").
bool parseReal(std::string_view field, double& value);

// An integer of 32 bits written without a point or exponent ("3", "-4",
// "+5"; not "3.0", "0x10" or "99999999999").
bool parseInteger(std::string_view field, std::int32_t& value);

// True when the field begins the way a number does (a digit, or a sign or
// point followed by one): what tells a header line from a line of values.
bool looksNumeric(std::string_view field);

}  // namespace swcore
