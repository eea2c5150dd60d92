// SPDX-License-Identifier: GPL-3.0-or-later
// Editing an offset's picks by hand, as the shot-records window does: a
// pick added or moved lands on the image's nearest frequency (one pick a
// frequency, a new one replacing the old), a pick deleted is gone, and a
// band dragged over the image picks its ridge anew inside it. Each change
// flags the picks against the array's limits again; the statistics are then
// recomputed from all offsets (offset_statistics.h).
#pragma once

#include <cstddef>
#include <optional>

#include "shots/masw_survey.h"

namespace dispfit {

// A rectangle of the image: frequencies and velocities, either order.
struct PickBand {
  double frequencyA = 0.0, frequencyB = 0.0;  // Hz
  double velocityA = 0.0, velocityB = 0.0;    // m/s
};

// Adds a pick at the image frequency nearest `frequency` with `velocity`
// (clamped to the image's velocities); the index of the pick afterwards.
std::size_t addPick(OffsetResult& offset, double frequency, double velocity);

// Moves pick `index` to the given point, as a delete and an add; the moved
// pick's index afterwards. An index past the picks changes nothing.
std::optional<std::size_t> movePick(OffsetResult& offset, std::size_t index, double frequency,
                                    double velocity);

void deletePick(OffsetResult& offset, std::size_t index);

// Replaces the picks inside the band's frequencies with the ridge followed
// inside the band (its velocities the window, the strongest peak at its
// middle frequency the seed); picks outside the band stay.
void repickInBand(OffsetResult& offset, const PickBand& band, const PickingRules& rules);

}  // namespace dispfit
