// SPDX-License-Identifier: GPL-3.0-or-later
// A hand edit of one offset's picks as the shot-records window makes it: a
// pick placed, a pick removed, or a band inside which the ridge was picked
// anew. An offset keeps its edits, so that they can be made again on a new
// image of the same records (pick_editing.h).
#pragma once

namespace dispfit {

// A rectangle of the image: frequencies and velocities, either order.
struct PickBand {
  double frequencyA = 0.0, frequencyB = 0.0;  // Hz
  double velocityA = 0.0, velocityB = 0.0;    // m/s
};

struct PickEdit {
  enum class Kind { placed, removed, band };
  Kind kind = Kind::placed;
  double frequency = 0.0;  // Hz, an image frequency: where a pick was placed or removed
  double velocity = 0.0;   // m/s: the placed pick's
  PickBand band;           // the band picked anew
};

}  // namespace dispfit
