// SPDX-License-Identifier: GPL-3.0-or-later
// The dispersion curves gpdc (Geopsy) prints for a layered model: comment
// lines that say what follows, then two numbers a line, the frequency (Hz)
// and the slowness (s/m) of one mode:
//
//   # Layered model 1: value=0.0123      (when more than one model is printed)
//   # 2 Rayleigh dispersion mode(s)
//   # CPU Time = 0 ms
//   # Mode 0
//   2.0  0.0045
//   ...
//   # Mode 1
//   ...
//   # 1 Love dispersion mode(s)
//   ...
//
// Notation: f frequency (Hz), s slowness (s/m), c = 1 / s phase velocity (m/s).
#pragma once

#include <string>
#include <string_view>

#include "files/curve_file.h"

namespace dispfit {

// True when a comment line reads "# Mode N" or "... dispersion mode(s)".
bool looksLikeGpdcCurve(std::string_view text);

// The Rayleigh modes of the first model in `text`, each datum with its
// mode: frequencies in curve.frequency, c = 1 / s in m/s. Love modes and the
// curves of further models are left out with a note. False, with "<source>,
// line <n>, column <c>: <what>", for a data line before any "# Mode", a line
// that is not two numbers, a slowness that is not positive, or no Rayleigh
// datum at all.
bool parseGpdcCurve(std::string_view text, const std::string& source, swcore::CurveFile& curve,
                    std::string& error);

}  // namespace dispfit
