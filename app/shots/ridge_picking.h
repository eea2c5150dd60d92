// SPDX-License-Identifier: GPL-3.0-or-later
// Automatic picking of a dispersion image: the fundamental mode's ridge
// followed from a seed, one frequency at a time.
//
// The seed is the user's point, or the strongest cell inside the velocity
// window of the frequency, among the middle half of the picked band, whose
// strongest cell stands highest above the row's mean (the sharpest ridge). From it the walk
// goes to higher and to lower frequencies; at each it takes the largest cell
// within `largestChange` (a share) of the last pick's velocity, inside the
// window. A cell is a pick when it is a true peak (higher than both its
// neighbours, inside the searched span) of at least `weakest` of its row's
// maximum; its velocity is refined by the parabola through it and its two
// neighbours. A frequency without a pick is passed, the walk going on from
// the last pick; after `missesAllowed` such frequencies in a row it stops.
#pragma once

#include <cstddef>
#include <optional>
#include <vector>

#include "shots/array_limits.h"
#include "shots/dispersion_image.h"

namespace dispfit {

struct Pick {
  double frequency = 0.0;    // Hz
  double velocity = 0.0;     // m/s
  double power = 0.0;        // the image's normalised value there
  bool insideLimits = true;  // inside the array's wavelength limits
};

struct SeedPoint {
  double frequency = 0.0;  // Hz
  double velocity = 0.0;   // m/s

  bool operator==(const SeedPoint&) const = default;
};

struct PickingRules {
  std::optional<double> lowestVelocity;   // m/s; none: the image's lowest
  std::optional<double> highestVelocity;  // m/s; none: the image's highest
  std::optional<double> lowestFrequency;  // Hz, the band picked; none: the image's
  std::optional<double> highestFrequency;
  std::optional<SeedPoint> seed;
  double largestChange = 0.1;  // share of the velocity from one frequency to the next
  double weakest = 0.2;        // of the row's maximum
  std::size_t missesAllowed = 3;

  bool operator==(const PickingRules&) const = default;
};

// The picks, by ascending frequency, each flagged against `limits`.
std::vector<Pick> followRidge(const DispersionImage& image, const PickingRules& rules,
                              const ArrayLimits& limits);

}  // namespace dispfit
