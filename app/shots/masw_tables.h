// SPDX-License-Identifier: GPL-3.0-or-later
// The text tables of a MASW run, always with a full stop as decimal point.
//
// Curve table: the headed curve table that the inversion and the window
// read ("frequency (Hz), velocity (m/s), sigma (m/s)", or the wavelength in
// m first for statistics by wavelength), each row followed by a comment with
// the number of offsets behind it ("# 5 offsets"), which the readers pass
// over as any comment.
// Picks table: "source (m), offset (m), frequency (Hz), velocity (m/s),
// inside", one row per pick of every offset, inside 1 for a pick within the
// array's limits, 0 outside.
#pragma once

#include <span>
#include <string>

#include "shots/offset_statistics.h"

namespace dispfit {

std::string curveTableText(std::span<const CurveStatistic> curve, StatisticsDomain domain);
std::string picksTableText(std::span<const OffsetPicks> offsets);

}  // namespace dispfit
