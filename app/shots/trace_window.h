// SPDX-License-Identifier: GPL-3.0-or-later
// The part of each trace a dispersion image looks at: a time window, moved
// out with the distance from the source where a mute asks for it, with
// cosine tapers at its ends.
//
// A trace at distance r keeps the times (after the shot)
//   from  start + r / fastVelocity   to  end + r / slowVelocity,
// r / v counting as 0 where the velocity is not given (a fixed window).
// Each end falls to zero over a half cosine of `taper` seconds outside the
// kept times, so the window cuts no edge into the spectrum.
#pragma once

#include <optional>
#include <span>

namespace dispfit {

struct TraceWindow {
  std::optional<double> start;         // s; none: from the first sample
  std::optional<double> end;           // s; none: to the last sample
  std::optional<double> fastVelocity;  // m/s, the mute's front moveout
  std::optional<double> slowVelocity;  // m/s, the mute's back moveout
  double taper = 0.01;                 // s

  bool empty() const { return !start && !end; }

  bool operator==(const TraceWindow&) const = default;
};

// Multiplies `samples` (first sample at `delay` s after the shot, one every
// `interval` s) by the window for distance `r`.
void applyWindow(const TraceWindow& window, double r, double delay, double interval,
                 std::span<double> samples);

}  // namespace dispfit
