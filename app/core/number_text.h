// SPDX-License-Identifier: GPL-3.0-or-later
// Numbers as text and text as numbers: the one place where the programs,
// their reports and their tables write and read numbers. Everything here uses
// the full stop as decimal separator and never groups digits, whatever the
// user's locale.
//
// Three kinds of writing, each for its own reader:
//   - figures people read (reports, panels, the exported tables a
//     spreadsheet opens) carry the digits the quantity carries: a thickness
//     or depth to 0.01 m, a velocity to 0.1 m/s (see Figure);
//   - machine tables that a program reads back (a model table, an ensemble
//     of models) carry the shortest digits that read back to the same value;
//   - texts whose form is fixed from outside keep it: the window's model
//     table (the general format with 15 significant digits) and the
//     inversion report's two patterns ("0.00E+00" and "0.0").
// Reading takes one decimal syntax for every field and option.
//
// The shortest exact digits and the reading of one field are the engine's
// (records/number_text.h, files/number_field.h): the engine's own records
// and file readers need them inside the library. This module is the
// programs' door to them; nothing in app/ or tools/ formats or parses a
// number on its own.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace dispfit {

// ---------------------------------------------------------------------------
// Reading

// Reads a decimal number: optional sign, digits with an optional decimal
// point, optional exponent; blanks around it are accepted. Empty, partial
// ("1.8x") or non-numeric ("abc", "inf", "nan", "0x10") texts and values
// beyond the double range give no value.
std::optional<double> parseDecimal(std::string_view text);

// parseDecimal, further limited to what a single-precision cell can hold.
std::optional<float> parseSingle(std::string_view text);

// A whole number written without a point or exponent ("3", "-4", "+5"; not
// "3.0", "0x10" or a value beyond 64 bits); blanks around it are accepted.
std::optional<std::int64_t> parseWhole(std::string_view text);

// ---------------------------------------------------------------------------
// Figures people read

// The quantities of the reports and exported tables, each with the digits it
// carries. A picked phase velocity is good to a few m/s and a layer boundary
// to some centimetres, so more digits would only be noise to the reader.
enum class Figure {
  Length,     // m, to 0.01: thicknesses, layer tops and bottoms, wavelengths
  Depth,      // m, to 0.1: depths reached by averages and profiles, the depth constrained
  Velocity,   // m/s, to 0.1: Vs, Vp, phase velocities, VsZ, a misfit in the window's status
  Density,    // g/cm3, to 0.01
  Misfit,     // m/s or normalised, to 0.01: misfits and acceptance figures in reports
  Ratio,      // to 0.001: Poisson's ratio
  Frequency,  // Hz, 6 significant digits: frequencies span decades
};

// The value rounded to the figure's digits in fixed notation, trailing zeros
// kept so that a column lines up: 2.5 m as a Length is "2.50".
std::string figureText(double value, Figure figure);

// The value rounded to the figure's digits, written without trailing zeros,
// for comma-separated tables: 2.5 m is "2.5", 10 m is "10", and 1.3740849908589505 m "1.37".
std::string roundedText(double value, Figure figure);

// The double nearest roundedText(value, figure): a model written to the
// digits people read, as a table that programs read back.
double roundedValue(double value, Figure figure);

// Fixed notation with `decimals` digits after the point (0 to 17).
std::string fixedText(double value, int decimals);

// Scientific notation with `decimals` digits after the point (0 to 17), a
// lower-case e and at least two exponent digits: 1 with 6 decimals is
// "1.000000e+00", for quantities that span many decades (a mode's motion
// against depth).
std::string scientificText(double value, int decimals);

// `text` right-aligned in `width` characters; a longer text is kept whole.
std::string rightAligned(const std::string& text, std::size_t width);

// ---------------------------------------------------------------------------
// Machine tables

// The shortest text that reads back to exactly `value`: 0.1f as "0.1",
// 1.0 / 3.0 as "0.3333333333333333". Not-a-number and infinities read "nan",
// "inf" and "-inf".
std::string exactText(double value);
std::string exactText(float value);

// value / 10^places in the shortest digits of `value` itself, the decimal
// point moved: a file in km/s gets 123.6 m/s as "0.1236", where
// exactText(123.6 / 1000) gives "0.12359999999999999". Read back and scaled,
// it gives `value` to within a rounding of the last bit.
std::string shiftedText(double value, int places);

// The double nearest the shortest decimal of a single-precision value, so
// that 1.8f goes on as 1.8 and not as 1.7999999523162842 into a table of
// doubles.
double decimalValue(float value);

// ---------------------------------------------------------------------------
// Texts of a form fixed from outside

// The window's model table: the general format with up to 15 significant
// digits, fixed notation while the integer part has at most 15 digits and the
// magnitude is at least 1e-5, otherwise scientific ("1.5E-6", "1E20").
// Trailing zeros are dropped. 1.8f widened to double gives "1.79999995231628".
std::string formatGeneral(double value);

// The inversion report's patterns: the value's decimal expansion taken to 18
// significant digits, then rounded half away from zero to the pattern's.
// "0.00E+00": one leading digit, two decimals, the letter E, an exponent
// sign always and at least two exponent digits (1.234e-4 -> "1.23E-04",
// 0 -> "0.00E+00", 1e100 -> "1.00E+100").
std::string formatScientific(double value);
// "0.0": fixed notation with one decimal (12.25 -> "12.3", 2.55f -> "2.5"
// because 2.55f lies just below 2.55).
std::string formatOneDecimal(double value);

}  // namespace dispfit
