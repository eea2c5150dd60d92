// SPDX-License-Identifier: GPL-3.0-or-later
// The frequencies and phase velocities a dispersion image is computed at:
// evenly spaced from the lowest to the highest, both included (the highest
// as far as a whole number of steps reaches).
#pragma once

#include <cmath>
#include <cstddef>

namespace dispfit {

struct EvenSteps {
  double first = 0.0;
  double last = 0.0;
  double step = 1.0;

  std::size_t count() const {
    // A last value within a millionth of a step of the grid counts as on it,
    // so 5 to 100 by 0.5 holds 191 values whatever the rounding of 0.5.
    return static_cast<std::size_t>(std::floor((last - first) / step + 1e-6)) + 1;
  }
  double at(std::size_t i) const { return first + double(i) * step; }

  bool operator==(const EvenSteps&) const = default;
};

struct ImageGrid {
  EvenSteps frequency{5.0, 100.0, 0.5};   // Hz
  EvenSteps velocity{50.0, 1000.0, 1.0};  // m/s

  bool operator==(const ImageGrid&) const = default;
};

}  // namespace dispfit
