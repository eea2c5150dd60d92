// SPDX-License-Identifier: GPL-3.0-or-later
// A measured curve file, read through the engine's one curve reader and
// brought to a measured curve (measured_curve.h).
//
// The file is either in the batch run's free format (the number of data,
// 1 to 50, then frequency and phase velocity of each), a curve table, with
// or without a header: frequency (Hz) or wavelength (m) or period (s), phase
// velocity (m/s or km/s), optionally a standard deviation or a low and a high
// bound, or a dispersion file of another program (a dinver target, gpdc
// output, SURF96 lines; exchange/curve_formats.h). A table may hold more
// points than the inversion fits.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "files/column_table.h"
#include "files/curve_file.h"
#include "files/input_rules.h"
#include "site/measured_curve.h"

namespace dispfit {

// The most rows a curve table may hold: far beyond the tens to hundreds of
// picks of a field curve, and small enough that a wrong file (a whole
// record's samples) is refused before it is thinned.
inline constexpr std::int64_t kMeasuredTableRows = 10000;

// `name` is how messages name the file. The error names the file and, where
// the fault lies on one, the line. `columns`, when it chooses any, says which
// column of a table is which (see swcore::parseCurveColumnChoice). Points of
// higher modes are left out with a note: the programs fit the fundamental
// mode.
CurvePreparation readMeasuredCurve(std::string_view text, const std::string& name,
                                   const swcore::ColumnChoice& columns = {});

// The same for a file on disk; one that cannot be opened or is a directory is
// an error.
CurvePreparation readMeasuredCurveFile(const std::string& path,
                                       const swcore::ColumnChoice& columns = {});

// True when `text` is a headed table whose header names columns a curve
// table does not know, so that the user must say which column is which.
bool curveHeaderNeedsChoice(std::string_view text);

// The measured points as a curve file of frequencies, velocities and bands
// (low and high bounds), for the writers of the other programs' formats.
swcore::CurveFile curveFileOf(const std::vector<MeasuredPoint>& points);

}  // namespace dispfit
