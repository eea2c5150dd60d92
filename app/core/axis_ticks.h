// SPDX-License-Identifier: GPL-3.0-or-later
// The labelled ticks of the charts' axes: round values (1, 2 or 5 times a
// power of ten) that give about the wanted number of intervals over a range,
// and never fewer than kLeastTicks labelled ticks inside it, on a linear or
// a logarithmic axis.
#pragma once

#include <vector>

namespace dispfit {

// Fewer labels than this leave a reader guessing the scale between them.
inline constexpr int kLeastTicks = 4;

double roundTickInterval(double span, int wantedIntervals = 5);

// The ticks of a linear axis over [lowest, highest]: multiples of a round
// interval, about five intervals, at least kLeastTicks of them inside the
// range (ends included). A range that is not finite or not positive has
// none.
struct LinearTicks {
  double interval = 1.0;
  std::vector<double> values;  // ascending, inside the range
};
LinearTicks linearTicks(double lowest, double highest);

// The ticks of a logarithmic axis over [lowest, highest] (both > 0), in the
// data's own values: the powers of ten alone when they give kLeastTicks or
// more, else 1, 2 and 5 times them, else every whole multiple 1 to 9 times
// them; at most ten of the sparsest set that has enough, so that the labels
// do not crowd. A range too short for any of these (under a factor of two or
// so) gets linearTicks. Ascending.
std::vector<double> logarithmicTicks(double lowest, double highest);

}  // namespace dispfit
