// SPDX-License-Identifier: GPL-3.0-or-later
// The window's model table to and from model files, through the project's
// one model reader. A file opens as table rows; the table saves as the
// SHR.TXT layout (layer count, then thickness, Vs and density a line), which
// drives the forward run and dispfit-invert alike, or as the headed model
// table when the file's name ends in .csv (any case).
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/model_table.h"

namespace dispfit {

struct ModelOpening {
  std::optional<std::vector<LayerTexts>> rows;  // the table's rows, top first
  bool pVelocityNotThreeVs = false;             // the file gives a Vp the window cannot keep
  std::string error;                            // when refused, naming the file and line
};

// Reads a model text (headed table or SHR.TXT layout) of at most maxLayers
// layers from the file the user knows as `source`.
ModelOpening readModelText(std::string_view text, const std::string& source, int maxLayers);

// The table's rows of `layers`, each number in the shortest decimal form
// that reads back to the same single-precision value.
std::vector<LayerTexts> layerTexts(const ParsedLayers& layers);

// Whether a model saved under `path` takes the headed table layout.
bool savesAsModelTable(const std::filesystem::path& path);

// The text of `layers` in the layout `path` asks for; each number in the
// shortest decimal form that reads back to the same single-precision value.
std::string modelFileText(const ParsedLayers& layers, const std::filesystem::path& path);

}  // namespace dispfit
