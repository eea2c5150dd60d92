// SPDX-License-Identifier: GPL-3.0-or-later
// A layer line of another program's model file: its first four fields,
// thickness, P velocity, S velocity and density in the file's units, read as
// numbers, brought to m, m/s and g/cm3 and checked by the input rules, a
// fault named by its line and column.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "exchange/text_fields.h"

namespace dispfit {

struct LayerLineUnits {
  std::array<std::string_view, 4> what;  // how a fault names each field: "H, km"
  std::array<double, 4> factor;          // to m, m/s, m/s and g/cm3
};

// Thickness, Vp, Vs and density of layer `layer` (from 0; `halfSpace` when it
// is the last) in m, m/s, m/s and g/cm3; false with `error` for a field that
// is no number or a value the input rules refuse. The line has four fields
// at least.
bool readLayerLine(const std::string& source, const TextLine& line, std::size_t layer,
                   bool halfSpace, const LayerLineUnits& units, std::array<double, 4>& values,
                   std::string& error);

}  // namespace dispfit
