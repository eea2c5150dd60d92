// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/model_file.h"

#include <sstream>
#include <utility>

#include "files/column_table.h"
#include "files/column_text.h"
#include "files/free_format_opening.h"
#include "files/free_format_reader.h"
#include "files/line_message.h"
#include "records/number_text.h"

namespace swcore {

namespace {

constexpr std::size_t kValuesPerLayer = 3;  // thickness, Vs, density in the free format

constexpr LayerQuantity kTableQuantities[] = {LayerQuantity::Thickness,
                                              LayerQuantity::ShearVelocity, LayerQuantity::Density,
                                              LayerQuantity::PVelocity};

constexpr std::string_view kThicknessNames[] = {"thickness", "h"};
constexpr std::string_view kShearVelocityNames[] = {"vs", "s velocity", "shear velocity"};
constexpr std::string_view kDensityNames[] = {"density", "rho"};
constexpr std::string_view kPVelocityNames[] = {"vp", "p velocity"};
// Other units than the table's own, each with its factor to them: km as
// 1000 m, km/s as 1000 m/s, kg/m3 as a thousandth of a g/cm3.
constexpr std::string_view kLengthUnits[] = {"m", "km"};
constexpr double kLengthFactors[] = {1.0, 1000.0};
constexpr std::string_view kVelocityUnits[] = {"m/s", "km/s"};
constexpr double kVelocityFactors[] = {1.0, 1000.0};
constexpr std::string_view kDensityUnits[] = {"g/cm3", "g/cm^3", "g/cc", "kg/m3", "kg/m^3"};
constexpr double kDensityFactors[] = {1.0, 1.0, 1.0, 0.001, 0.001};

// In the order of kTableQuantities.
constexpr ColumnDefinition kModelColumns[] = {
    {"thickness", kThicknessNames, kLengthUnits, kLengthFactors},
    {"Vs", kShearVelocityNames, kVelocityUnits, kVelocityFactors},
    {"density", kDensityNames, kDensityUnits, kDensityFactors},
    {"Vp", kPVelocityNames, kVelocityUnits, kVelocityFactors},
};
constexpr std::size_t kRequiredModelColumns = 3;  // Vp is optional

constexpr std::size_t kWithoutVp[] = {0, 1, 2};
constexpr std::size_t kWithVp[] = {0, 1, 2, 3};
constexpr ColumnOrder kModelOrders[] = {kWithoutVp, kWithVp};

std::vector<double>& valuesOf(ModelFile& model, LayerQuantity quantity) {
  switch (quantity) {
    case LayerQuantity::Thickness:
      return model.thickness;
    case LayerQuantity::ShearVelocity:
      return model.shearVelocity;
    case LayerQuantity::Density:
      return model.density;
    case LayerQuantity::PVelocity:
      break;
  }
  return model.pVelocity;
}

}  // namespace

bool parseFreeFormatModel(std::string_view text, const std::string& sourceName,
                          const InputLimits& limits, ModelFile& model, std::string& error) {
  std::istringstream in{std::string(text)};
  FreeFormatReader reader(in, sourceName);
  std::int32_t count = 0;
  if (!readFreeFormatCount(text, "the layer count, then thickness, Vs and density of each layer",
                           layerCountFault, limits, reader, count, error)) {
    return false;
  }
  const auto layers = static_cast<std::size_t>(count);
  std::vector<double> values;
  if (!reader.readReals(kValuesPerLayer * layers, values)) {
    error = reader.error();
    return false;
  }
  // Before the values: a fourth column shifts them, and the fault to name is
  // the column, not the odd value it makes.
  if (const std::size_t extra = reader.lineOfUnreadNumber(); extra != 0) {
    error = lineMessage(sourceName, extra,
                        "a number after the " + std::to_string(layers) +
                            " layers' thickness, Vs and density; the free format holds no fourth "
                            "column (a P velocity needs the model table)");
    return false;
  }
  model = {};
  for (std::size_t i = 0; i < values.size(); ++i) {
    const std::size_t layer = i / kValuesPerLayer;
    const LayerQuantity quantity = kTableQuantities[i % kValuesPerLayer];
    const std::string fault = layerValueFault(quantity, layer, layer + 1 == layers, values[i]);
    if (!fault.empty()) {
      error = sourceName + ": " + fault;
      return false;
    }
    valuesOf(model, quantity).push_back(values[i]);
  }
  return true;
}

bool parseModelTable(std::string_view text, const std::string& sourceName,
                     const InputLimits& limits, ModelFile& model, std::string& error) {
  ColumnTable table;
  if (!readColumnTable(text, sourceName, kModelColumns, kModelOrders, table, error)) {
    return false;
  }
  const std::size_t layers = table.rowCount();
  if (std::string fault = layerRowsFault(table.lines, sourceName, limits); !fault.empty()) {
    error = std::move(fault);
    return false;
  }
  for (std::size_t k = 0; k < kRequiredModelColumns; ++k) {
    if (!table.present[k]) {
      error = lineMessage(sourceName, table.headerLine,
                          "the header names no " + std::string(kModelColumns[k].name) + " column");
      return false;
    }
  }
  model = {};
  for (std::size_t k = 0; k < std::size(kModelColumns); ++k) {
    if (!table.present[k]) {
      continue;
    }
    for (std::size_t layer = 0; layer < layers; ++layer) {
      const double value = table.columns[k][layer];
      const std::string fault =
          layerValueFault(kTableQuantities[k], layer, layer + 1 == layers, value);
      if (!fault.empty()) {
        error = lineMessage(sourceName, table.lines[layer], fault);
        return false;
      }
    }
    valuesOf(model, kTableQuantities[k]) = table.columns[k];
  }
  return true;
}

bool parseModelText(std::string_view text, const std::string& sourceName, const InputLimits& limits,
                    ModelFile& model, std::string& error) {
  if (findColumnHeader(text) != 0) {
    return parseModelTable(text, sourceName, limits, model, error);
  }
  return parseFreeFormatModel(text, sourceName, limits, model, error);
}

std::string formatModelTable(const ModelFile& model) {
  const bool withVp = !model.pVelocity.empty();
  std::string text =
      "# Layers top first; the last row is the half-space, whose thickness is not used.\n"
      "thickness (m), Vs (m/s), density (g/cm3)";
  text += withVp ? ", Vp (m/s)\n" : "\n";
  for (std::size_t i = 0; i < model.shearVelocity.size(); ++i) {
    text += formatNumber(model.thickness[i]).view();
    text += ", ";
    text += formatNumber(model.shearVelocity[i]).view();
    text += ", ";
    text += formatNumber(model.density[i]).view();
    if (withVp) {
      text += ", ";
      text += formatNumber(model.pVelocity[i]).view();
    }
    text += '\n';
  }
  return text;
}

}  // namespace swcore
