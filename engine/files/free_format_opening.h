// SPDX-License-Identifier: GPL-3.0-or-later
// The opening both free-format files share: no column header, then the count
// of what follows, checked against the input rules.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "files/free_format_reader.h"
#include "files/input_rules.h"

namespace swcore {

// Why a count cannot be used, or an empty text; layerCountFault and
// dataCountFault are of this kind.
using CountFault = std::string (*)(std::int64_t count, const InputLimits& limits);

// Reads the count that opens `text` through `reader`, which reads `text`.
// Refused, with the reason in `error`: a column header (named with
// `layout`, what the free format holds instead), a count that is not an
// integer, and one `countFault` finds at fault.
bool readFreeFormatCount(std::string_view text, std::string_view layout, CountFault countFault,
                         const InputLimits& limits, FreeFormatReader& reader, std::int32_t& count,
                         std::string& error);

}  // namespace swcore
