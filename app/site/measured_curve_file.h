// A measured dispersion curve read from its text, through the project's one
// curve reader, and brought to a measured curve (see measured_curve.h).
//
// A text with a header is the curve table: any number of rows, thinned for
// the inversion when there are more than it fits. A text without one is the
// batch layout (FIT.TXT): the number of data, from 1 to the inversion's
// limit, then one line per datum.
#pragma once

#include <string>
#include <string_view>

#include "site/measured_curve.h"

namespace dispfit {

// The most rows a curve table may hold: far beyond any picked field curve,
// yet small enough that a wrong file is refused before it is drawn.
inline constexpr int kMaxMeasuredRows = 10000;

// Reads `text`, the contents of the file the user knows as `source`; on a
// fault of the text or of its values the preparation's error names the file
// and, where the fault has one, the line.
CurvePreparation readMeasuredCurveText(std::string_view text, const std::string& source);

}  // namespace dispfit
