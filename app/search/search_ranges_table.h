// SPDX-License-Identifier: GPL-3.0-or-later
// The search dialog's table of each layer's ranges, without its widgets: a
// row of texts per layer (Vs min and max, h min and max, density), top first,
// the half-space last; how the rows follow the layer count; how their cells
// read, through the programs' one decimal parser; and the one P-velocity
// rule a set of layers shares, which the dialog's form can show.
//
// Units: m, m/s, g/cm3.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "search/search_request.h"
#include "search/search_space.h"

namespace dispfit {

enum RangeColumn : int { VsMin, VsMax, HMin, HMax, DensityColumn, kRangeColumns };

using RangeRow = std::array<std::string, kRangeColumns>;

// A layer's ranges as the table shows them: the shortest texts that read back
// to the very values, so that what a file gave reads back unchanged.
RangeRow rangeRow(const LayerRanges& layer);

// The row of the form's uniform ranges.
RangeRow uniformRangeRow(Range vs, Range thickness, double density);

// The rows after the layer count changed to `count` (>= 1): the top layers
// keep their rows and the half-space its own, last; a new layer comes above
// the half-space as `fresh`, and a layer removed goes from above it. An
// empty table grows from `fresh`.
std::vector<RangeRow> resizeRangeRows(const std::vector<RangeRow>& rows, int count,
                                      const RangeRow& fresh);

// A cell that does not read as a number: its layer from 1 and its column.
struct BadRangeCell {
  int layer = 0;
  RangeColumn column = VsMin;
  std::string text;
};

// The layers the rows give (vs, thickness, density; no P velocity of their
// own), or the first cell in reading order that is not a number (a full stop
// before the decimals, blanks around allowed). The half-space's thickness
// cells are not read: its thickness is not used.
struct RangeTableReading {
  std::optional<std::vector<LayerRanges>> layers;
  BadRangeCell bad;  // when there are no layers
};
RangeTableReading readRangeRows(const std::vector<RangeRow>& rows);

// The P-velocity rule of the form that every layer's own follows: Vp = 3 Vs
// for layers with neither a Vp nor a Poisson's ratio range, a fixed Vp, or a
// Poisson's ratio range, the same in every layer. None when the layers differ
// (or there are none): each then keeps its own.
struct SharedPVelocity {
  PVelocityRule rule = PVelocityRule::ThreeTimesVs;
  double fixedVp = 0.0;  // m/s, with PVelocityRule::Fixed
  Range poisson;         // with PVelocityRule::PoissonRange
};
std::optional<SharedPVelocity> sharedPVelocity(const std::vector<LayerRanges>& layers);

}  // namespace dispfit
