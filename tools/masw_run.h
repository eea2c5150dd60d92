// SPDX-License-Identifier: GPL-3.0-or-later
// dispfit-masw's run after its command line was understood: the records
// read and placed, the survey analysed, the report printed and the files
// written.
#pragma once

#include <ostream>

#include "masw_options.h"

namespace dispfit {

inline constexpr int kMaswDone = 0;
inline constexpr int kMaswNoCurve = 1;
inline constexpr int kMaswUsageOrFileError = 2;

// The exit status. `report` gets the report (and the curve without --csv),
// `messages` the errors and, when `showProgress`, an updating progress line.
int runMasw(const MaswCommand& command, std::ostream& report, std::ostream& messages,
            bool showProgress);

}  // namespace dispfit
