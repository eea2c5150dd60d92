// SPDX-License-Identifier: GPL-3.0-or-later
// The window's model table to and from model files, through the project's
// model readers (exchange/model_formats.h). A file opens as table rows; the
// table saves as the SHR.TXT layout (layer count, then thickness, Vs and
// density a line), which drives the forward run and dispfit-invert alike, as
// the headed model table when the file's name ends in .csv, as a CPS model96
// file for .mod or .mod96 and as a gpdc model for .gpdc (any case), the last
// two with the window's Vp = 3 Vs.
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

// Reads a model text (headed table, SHR.TXT layout, gpdc or model96) of at
// most maxLayers layers from the file the user knows as `source`.
ModelOpening readModelText(std::string_view text, const std::string& source, int maxLayers);

// The table's rows of `layers`, each number in the shortest decimal form
// that reads back to the same single-precision value.
std::vector<LayerTexts> layerTexts(const ParsedLayers& layers);

// Whether a model saved under `path` takes the headed table layout.
bool savesAsModelTable(const std::filesystem::path& path);

// The layouts a model is saved in, by the file name's extension.
enum class SavedModelLayout { Batch, Table, Model96, Gpdc };
SavedModelLayout savedModelLayout(const std::filesystem::path& path);

// The text of `layers` in the layout `path` asks for; each number in the
// shortest decimal form that reads back to the same single-precision value.
std::string modelFileText(const ParsedLayers& layers, const std::filesystem::path& path);

}  // namespace dispfit
