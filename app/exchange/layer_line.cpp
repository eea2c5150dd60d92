// SPDX-License-Identifier: GPL-3.0-or-later
#include "exchange/layer_line.h"

#include "files/input_rules.h"

namespace dispfit {

bool readLayerLine(const std::string& source, const TextLine& line, std::size_t layer,
                   bool halfSpace, const LayerLineUnits& units, std::array<double, 4>& values,
                   std::string& error) {
  constexpr swcore::LayerQuantity kQuantities[] = {
      swcore::LayerQuantity::Thickness, swcore::LayerQuantity::PVelocity,
      swcore::LayerQuantity::ShearVelocity, swcore::LayerQuantity::Density};
  for (std::size_t k = 0; k < values.size(); ++k) {
    if (!fieldNumber(source, line, line.fields[k], units.what[k], values[k], error)) return false;
    values[k] *= units.factor[k];
    const std::string fault = swcore::layerValueFault(kQuantities[k], layer, halfSpace, values[k]);
    if (!fault.empty()) {
      error = fieldMessage(source, line, line.fields[k], fault);
      return false;
    }
  }
  return true;
}

}  // namespace dispfit
