// SPDX-License-Identifier: GPL-3.0-or-later
// Per-layer search ranges from a ranges file, through the engine's one
// reader of that layout (files/search_ranges_file.h).
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "search/search_space.h"

namespace dispfit {

struct RangesReading {
  std::optional<std::vector<LayerRanges>> layers;  // top first, the half-space last
  std::string error;                               // otherwise why not, naming the file and line
};

// The ranges of `text`, read from the file the user knows as `source`.
RangesReading readSearchRanges(std::string_view text, const std::string& source);

// The same for a file on disk.
RangesReading readSearchRangesFile(const std::string& path);

}  // namespace dispfit
