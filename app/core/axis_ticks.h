// SPDX-License-Identifier: GPL-3.0-or-later
// Tick spacing for the chart's axes: a round step (1, 2 or 5 times a power of
// ten) that gives about the wanted number of intervals over a range.
#pragma once

namespace dispfit {

double roundTickInterval(double span, int wantedIntervals = 5);

}  // namespace dispfit
