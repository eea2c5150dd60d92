// SPDX-License-Identifier: GPL-3.0-or-later
// A global search's ranges file. An accepted file holds 1 to 20 layers; when
// the search takes the ranges as a space, every corner and the centre of its
// unit cube is a model of finite positive thicknesses and velocities, with
// Vp at least sqrt(2) Vs.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "memory_file.h"
#include "search/search_ranges_text.h"
#include "search/search_space.h"

namespace {

void requireComputable(const dispfit::TrialModel& model, std::size_t layers) {
  fuzz::require(model.vs.size() == layers && model.vp.size() == layers &&
                model.thickness.size() == layers && model.density.size() == layers);
  for (std::size_t i = 0; i < layers; ++i) {
    fuzz::require(std::isfinite(model.vs[i]) && model.vs[i] > 0.0);
    fuzz::require(std::isfinite(model.density[i]) && model.density[i] > 0.0);
    // sqrt(2) less a rounding margin: Vp comes from Vs through a square root.
    fuzz::require(std::isfinite(model.vp[i]) && model.vp[i] >= 1.4142 * model.vs[i]);
    if (i + 1 < layers)
      fuzz::require(std::isfinite(model.thickness[i]) && model.thickness[i] > 0.0);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const dispfit::RangesReading reading = dispfit::readSearchRanges(text, "ranges");
  if (!reading.layers) {
    fuzz::require(!reading.error.empty());
    return 0;
  }
  fuzz::require(!reading.layers->empty() && reading.layers->size() <= dispfit::kMostSearchLayers);
  dispfit::SearchSpace space;
  space.layers = *reading.layers;
  if (!dispfit::searchSpaceFault(space).empty()) return 0;

  const dispfit::ParameterMap map(space);
  dispfit::TrialModel model;
  for (const double corner : {0.0, 0.5, 1.0}) {
    const std::vector<double> unit(map.dimension(), corner);
    map.model(unit, model);
    requireComputable(model, space.layers.size());
  }
  return 0;
}
