// SPDX-License-Identifier: GPL-3.0-or-later
// The viridis colour map: perceptually uniform (equal steps of the value
// look like equal steps of colour), readable in grey and by the common
// forms of colour blindness; dark blue at 0, yellow at 1.
#pragma once

#include <cstdint>

namespace dispfit {

struct Rgb {
  std::uint8_t r = 0, g = 0, b = 0;
};

// The colour of `value` in [0, 1] (clamped; not a number gives 0's colour).
Rgb viridis(double value);

}  // namespace dispfit
