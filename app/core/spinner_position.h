// SPDX-License-Identifier: GPL-3.0-or-later
// The layer-count spinner's arithmetic: a position within a range, stepped by
// one without wrapping around, starting from the number its text box shows.
#pragma once

#include <string_view>

namespace dispfit {

struct SpinnerRange {
  int minimum = 1;
  int maximum = 20;
};

// The position after one step of delta (+1 or -1). The step starts from the
// whole number in the text box when it holds one within the range (the user
// may have typed it), otherwise from current. The result stays within the
// range; at either end it equals the start.
int steppedPosition(int current, std::string_view boxText, int delta, SpinnerRange range);

}  // namespace dispfit
