// SPDX-License-Identifier: GPL-3.0-or-later
// A measured curve file, read through the engine's one curve reader and
// brought to a measured curve (measured_curve.h).
//
// The file is either in the batch run's free format (the number of data,
// 1 to 50, then frequency and phase velocity of each) or a curve table, with
// or without a header: frequency (Hz) or wavelength (m) or period (s), phase
// velocity (m/s), optionally a standard deviation or a low and a high bound
// (m/s). A table may hold more points than the inversion fits.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "files/input_rules.h"
#include "site/measured_curve.h"

namespace dispfit {

// The most rows a curve table may hold: far beyond the tens to hundreds of
// picks of a field curve, and small enough that a wrong file (a whole
// record's samples) is refused before it is thinned.
inline constexpr std::int64_t kMeasuredTableRows = 10000;

// `name` is how messages name the file. The error names the file and, where
// the fault lies on one, the line.
CurvePreparation readMeasuredCurve(std::string_view text, const std::string& name);

// The same for a file on disk; one that cannot be opened or is a directory is
// an error.
CurvePreparation readMeasuredCurveFile(const std::string& path);

}  // namespace dispfit
