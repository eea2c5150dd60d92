// SPDX-License-Identifier: GPL-3.0-or-later
#include "site/model_file_text.h"

#include <algorithm>
#include <cmath>

#include "core/number_text.h"
#include "exchange/gpdc_model.h"
#include "exchange/model96.h"
#include "exchange/model_formats.h"
#include "files/model_file.h"

namespace dispfit {

namespace {

// The window computes with Vp = 3 Vs. A Vp within 0.1 % of that counts as
// the same: a file written with four significant digits rounds 3 Vs by at
// most 0.05 %.
constexpr double kVpRatioTolerance = 1e-3;

bool vpDiffersFromThreeVs(const swcore::ModelFile& model) {
  for (std::size_t i = 0; i < model.pVelocity.size(); ++i) {
    const double threeVs = 3.0 * model.shearVelocity[i];
    if (std::abs(model.pVelocity[i] - threeVs) > kVpRatioTolerance * threeVs) return true;
  }
  return false;
}

std::string lowerCase(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

}  // namespace

ModelOpening readModelText(std::string_view text, const std::string& source, int maxLayers) {
  swcore::ModelFile model;
  ModelOpening opening;
  ModelFormat format = ModelFormat::DispFit;
  if (!readModelFormats(text, source, {maxLayers, 0}, model, format, opening.error)) {
    return opening;
  }
  std::vector<LayerTexts> rows;
  for (std::size_t i = 0; i < model.shearVelocity.size(); ++i) {
    rows.push_back({formatGeneral(model.thickness[i]), formatGeneral(model.shearVelocity[i]),
                    formatGeneral(model.density[i])});
  }
  opening.rows = std::move(rows);
  opening.pVelocityNotThreeVs = vpDiffersFromThreeVs(model);
  return opening;
}

std::vector<LayerTexts> layerTexts(const ParsedLayers& layers) {
  std::vector<LayerTexts> rows;
  for (int i = 0; i < layers.count(); ++i) {
    rows.push_back(
        {exactText(layers.thickness[i]), exactText(layers.vs[i]), exactText(layers.density[i])});
  }
  return rows;
}

SavedModelLayout savedModelLayout(const std::filesystem::path& path) {
  const std::string extension = lowerCase(path.extension().string());
  if (extension == ".csv") return SavedModelLayout::Table;
  if (extension == ".mod" || extension == ".mod96") return SavedModelLayout::Model96;
  if (extension == ".gpdc") return SavedModelLayout::Gpdc;
  return SavedModelLayout::Batch;
}

bool savesAsModelTable(const std::filesystem::path& path) {
  return savedModelLayout(path) == SavedModelLayout::Table;
}

std::string modelFileText(const ParsedLayers& layers, const std::filesystem::path& path) {
  const SavedModelLayout layout = savedModelLayout(path);
  if (layout != SavedModelLayout::Batch) {
    swcore::ModelFile model;
    for (int i = 0; i < layers.count(); ++i) {
      model.thickness.push_back(decimalValue(layers.thickness[i]));
      model.shearVelocity.push_back(decimalValue(layers.vs[i]));
      model.density.push_back(decimalValue(layers.density[i]));
    }
    if (layout == SavedModelLayout::Model96) {
      return formatModel96(model, path.stem().string());
    }
    if (layout == SavedModelLayout::Gpdc) return formatGpdcModel(model);
    return swcore::formatModelTable(model);
  }
  std::string text = std::to_string(layers.count()) + "\n";
  for (int i = 0; i < layers.count(); ++i) {
    text += exactText(layers.thickness[i]) + " " + exactText(layers.vs[i]) + " " +
            exactText(layers.density[i]) + "\n";
  }
  return text;
}

}  // namespace dispfit
