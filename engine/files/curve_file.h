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
// Header names as the field's programs write them: frequency, freq or f;
// velocity, phase velocity, vr, vph, c, c_mean or mean; sigma, sd, std or
// stddev; low, lower, min or c_low; high, upper, max or c_up (and a few more,
// see curveColumnNames); any case, units in round or square brackets ("f
// (Hz)", "c_mean [m/s]"), velocities and their spread in m/s or km/s (then
// read as 1000 times as many m/s), wavelengths in m or km. Instead of the
// frequency the header may name the wavelength (wavelength, lambda or wl) or
// the period (period or T, s); the values are then kept as given, for the
// caller to convert. Without a header a row of two, three or four values is
// read as frequency, velocity [, deviation | , low, high]. A column named
// mode gives each datum's mode, a whole number from 0 (the fundamental) to
// 99, without a unit. A column choice
// ("f=1,v=2,sigma=3") says instead which column is which.
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

#include "files/column_table.h"
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
  // The mode of each datum, 0 the fundamental, as the files that say so give
  // it (a mode column, SURF96 lines, Geopsy targets, gpdc output); empty when the file does
  // not say, every datum then being of the fundamental mode.
  std::vector<int> mode = {};
  // What a reader of another program's format did to the file's data (wave
  // types it left out, a band it derived), one sentence each.
  std::vector<std::string> notes = {};

  bool operator==(const CurveFile&) const = default;
};

bool parseFreeFormatCurve(std::string_view text, const std::string& sourceName,
                          const InputLimits& limits, CurveFile& curve, std::string& error);

bool parseCurveTable(std::string_view text, const std::string& sourceName,
                     const InputLimits& limits, CurveFile& curve, std::string& error);
// The same with the columns `columns` chooses (none chosen: by the header).
bool parseCurveTable(std::string_view text, const std::string& sourceName,
                     const InputLimits& limits, const ColumnChoice& columns, CurveFile& curve,
                     std::string& error);

// The free format when the first line that is neither blank nor a comment
// holds a single value (the count), the curve table otherwise (with or
// without a header). `limits` serve the free format; a table may hold up to
// `tableLimits.maxData` rows.
bool parseCurveText(std::string_view text, const std::string& sourceName, const InputLimits& limits,
                    const InputLimits& tableLimits, CurveFile& curve, std::string& error);
// The same; with columns chosen the text is always read as a table.
bool parseCurveText(std::string_view text, const std::string& sourceName, const InputLimits& limits,
                    const InputLimits& tableLimits, const ColumnChoice& columns, CurveFile& curve,
                    std::string& error);

// Reads a column choice for the curve table: keys are the columns' names
// (f, lambda, t, v, sigma, low, high, or any other name they go by).
bool parseCurveColumnChoice(std::string_view text, ColumnChoice& choice, std::string& error);

// Every column of the curve table with the names it goes by, for messages.
std::string curveColumnNames();

// False when `text` has a header whose names are not a curve table's (a
// column it does not know, or no velocity or abscissa among them): the
// columns must then be chosen. True for a text without a header.
bool curveHeaderKnown(std::string_view text);

}  // namespace swcore
