// SPDX-License-Identifier: GPL-3.0-or-later
// One dispersion curve with its spread from the picks of several source
// offsets, after Vantassel & Cox (2022, J. Seismology, "SWprocess: a
// workflow for developing robust estimates of surface wave dispersion
// uncertainty"): each offset is picked on its own, and the offsets' picks
// are summarised where they meet.
//
// Notation:
//   n          offsets with a pick at a frequency (or in a wavelength bin)
//   v_1..v_n   their velocities (m/s);  mean  m = sum v / n
//   s          sample standard deviation, sqrt(sum (v - m)^2 / (n - 1))
//
// By frequency: the offsets' picks at one image frequency (every offset's
// image has the same frequencies). By log wavelength: bins of equal width in
// log10(wavelength), `binsPerDecade` to a decade with edges at whole
// multiples of the width; an offset with several picks in a bin counts once,
// with their mean velocity and wavelength, and the bin's wavelength is the
// mean over its offsets. Only picks inside the array's limits count. A
// frequency or bin seen at fewer than `leastOffsets` offsets (at least 2,
// since one offset gives no spread) is left out.
//
// What sigma is: the scatter of the velocity between source offsets, which
// carries the near-field and lateral-variability effects that move a pick
// from one offset to the next. It is not the error of the mean (that is
// sigma / sqrt(n)), and it says nothing of a bias every offset shares. A
// sigma below `sigmaFloor` (the caller gives half the image's velocity step,
// the resolution a pick has) is raised to it, so that identical picks do not
// claim a spread of zero.
#pragma once

#include <cstddef>
#include <span>
#include <vector>

#include "shots/ridge_picking.h"

namespace dispfit {

struct OffsetPicks {
  double sourcePosition = 0.0;  // m
  double sourceOffset = 0.0;    // m, signed (ShotGather::sourceOffset)
  std::vector<Pick> picks;
};

enum class StatisticsDomain { frequency, logWavelength };

struct StatisticsRules {
  StatisticsDomain domain = StatisticsDomain::frequency;
  std::size_t leastOffsets = 3;
  std::size_t binsPerDecade = 20;
  double sigmaFloor = 0.0;  // m/s

  bool operator==(const StatisticsRules&) const = default;
};

struct CurveStatistic {
  double frequency = 0.0;   // Hz: the picks' frequency, or velocity / wavelength of a bin
  double wavelength = 0.0;  // m
  double velocity = 0.0;    // m/s, mean
  double sigma = 0.0;       // m/s
  std::size_t offsets = 0;
};

// By descending frequency (ascending wavelength).
std::vector<CurveStatistic> combineOffsets(std::span<const OffsetPicks> offsets,
                                           const StatisticsRules& rules);

}  // namespace dispfit
