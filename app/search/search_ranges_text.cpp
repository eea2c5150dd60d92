// SPDX-License-Identifier: GPL-3.0-or-later
#include "search/search_ranges_text.h"

#include "files/search_ranges_file.h"
#include "files/text_file.h"

namespace dispfit {

RangesReading readSearchRanges(std::string_view text, const std::string& source) {
  swcore::SearchRangesFile file;
  RangesReading reading;
  const swcore::InputLimits limits{static_cast<std::int64_t>(kMostSearchLayers), 0};
  if (!swcore::parseSearchRanges(text, source, limits, file, reading.error)) return reading;
  std::vector<LayerRanges> layers(file.vsMin.size());
  for (std::size_t i = 0; i < layers.size(); ++i) {
    LayerRanges& layer = layers[i];
    layer.vs = {file.vsMin[i], file.vsMax[i]};
    layer.thickness = {file.hMin[i], file.hMax[i]};
    layer.density = file.density[i];
    if (!file.vp.empty()) layer.vp = file.vp[i];
    if (!file.poissonMin.empty()) layer.poisson = Range{file.poissonMin[i], file.poissonMax[i]};
  }
  reading.layers = std::move(layers);
  return reading;
}

RangesReading readSearchRangesFile(const std::string& path) {
  std::string text;
  RangesReading reading;
  if (!swcore::readTextFile(path, "the ranges file " + path, text, reading.error)) return reading;
  return readSearchRanges(text, path);
}

}  // namespace dispfit
