// SPDX-License-Identifier: GPL-3.0-or-later
// Observed dispersion curves in text files, in two layouts:
//
// Free format (FIT.TXT and dispfit-invert's CURVE): the number of data, then
// one line per datum: frequency (Hz) and phase velocity (m/s); whatever else
// the line holds is skipped (FIT.TXT may carry a third column of its own).
//
// Curve table (headed column text, see column_text.h): one row per datum,
// columns frequency (Hz), phase velocity (m/s), and optionally either a
// standard deviation (m/s) or a low and a high bound (m/s) of the velocity.
// Header names: frequency, freq or f; velocity, phase velocity, vr or c;
// sigma, std or standard deviation; low or lower; high or upper; any case,
// units in brackets allowed ("f (Hz)"). Instead of the frequency the header
// may name the wavelength (wavelength or lambda, m) or the period (period or
// T, s); the values are then kept as given, for the caller to convert. A
// column named mode gives each datum's mode, a whole number from 0 (the
// fundamental) to 99, without a unit.
// Without a header a row of two, three or four values is read as frequency,
// velocity [, deviation | , low, high].
//
// Every parse function takes the whole text and the name that errors give
// the file, and applies the input rules (input_rules.h) under the caller's
// limits. On failure it returns false with what is wrong in `error`: "<name>,
// line <n>: <what>" for a fault of the text, "<name>: <what>" for a count or
// value of the free format (which names its layer or datum) and leaves `curve` unspecified.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "files/input_rules.h"

namespace swcore {

// Hz and m/s, one entry per datum in the order of the file. Exactly one of
// frequency, wavelength and period holds the data's abscissae.
struct CurveFile {
  std::vector<double> frequency;
  std::vector<double> velocity;
  std::vector<double> deviation;   // empty when the file gives none
  std::vector<double> lowBound;    // empty when the file gives no bounds
  std::vector<double> highBound;   // likewise
  std::vector<double> wavelength;  // m, when the header names it instead of the frequency
  std::vector<double> period;      // s, likewise
  std::vector<std::size_t> line;   // the file line of each datum, from 1
  std::vector<int> mode = {};      // 0 the fundamental; empty when the file names no mode

  bool operator==(const CurveFile&) const = default;
};

bool parseFreeFormatCurve(std::string_view text, const std::string& sourceName,
                          const InputLimits& limits, CurveFile& curve, std::string& error);

bool parseCurveTable(std::string_view text, const std::string& sourceName,
                     const InputLimits& limits, CurveFile& curve, std::string& error);

// The free format when the first line that is neither blank nor a comment
// holds a single value (the count), the curve table otherwise (with or
// without a header). `limits` serve the free format; a table may hold up to
// `tableLimits.maxData` rows.
bool parseCurveText(std::string_view text, const std::string& sourceName, const InputLimits& limits,
                    const InputLimits& tableLimits, CurveFile& curve, std::string& error);

}  // namespace swcore
