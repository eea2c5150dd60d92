// SPDX-License-Identifier: GPL-3.0-or-later
// Dispersion data in the SURF96 lines of the Computer Programs in Seismology
// (surf96, srfdis96): one datum a line,
//
//   SURF96 WAVE TYPE FLAG MODE PERIOD VALUE ERROR [...]
//
// WAVE R (Rayleigh) or L (Love); TYPE C (phase velocity), U (group velocity)
// or G (attenuation); FLAG one letter the programs keep for themselves
// (usually X); MODE the mode, 0 the fundamental; PERIOD in s; VALUE and ERROR
// (its standard deviation) in km/s. Anything after ERROR is passed over, and
// so are blank lines and lines beginning with '#'.
//
// Notation: T period (s), c phase velocity, sigma its standard deviation
// (m/s in the curve, km/s in the file: c = 1000 VALUE).
#pragma once

#include <string>
#include <string_view>

#include "files/curve_file.h"

namespace dispfit {

// True when the first line that is neither blank nor a comment begins with
// "SURF96".
bool looksLikeSurf96(std::string_view text);

// The Rayleigh phase-velocity lines of `text`, every mode with its number:
// the periods in curve.period, c and sigma in m/s (no deviation when every
// ERROR is 0). Love, group and attenuation lines are left out with a note.
// False, with "<source>, line <n>, column <c>: <what>", for a line that is
// not a SURF96 line, a field that is not what its place takes, errors of 0
// beside positive ones, or no Rayleigh phase line at all.
bool parseSurf96Curve(std::string_view text, const std::string& source, swcore::CurveFile& curve,
                      std::string& error);

// The curve as SURF96 lines, one per datum in its order: "SURF96 R C X MODE
// T c sigma" with T = 1 / f, c and sigma in km/s (sigma half the width of a
// low-high band, 0 without a band), every number in its shortest exact form.
// `curve` gives frequencies; its mode, when given, each datum's mode.
std::string formatSurf96Curve(const swcore::CurveFile& curve);

}  // namespace dispfit
