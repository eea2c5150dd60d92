// SPDX-License-Identifier: GPL-3.0-or-later
// The text files of the batch run: reading the model, the observed curve and
// the fix flags.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "dispersion/engine_state.h"
#include "files/curve_file.h"
#include "files/input_rules.h"
#include "files/model_file.h"

namespace swcore {

inline constexpr const char* kModelFileName = "SHR.TXT";
inline constexpr const char* kCurveFileName = "FIT.TXT";
inline constexpr const char* kFixFlagsFileName = "LX.TXT";
inline constexpr const char* kFittedCurveFileName = "TVF.TXT";
inline constexpr const char* kFittedParametersFileName = "HPV.TXT";

// What the batch run can hold: 1..50 layers, 1..50 data.
inline constexpr InputLimits kBatchLimits{kMaxLayers, kMaxData};

// SHR.TXT and FIT.TXT in the free format (files/model_file.h,
// files/curve_file.h) and LX.TXT. Each reader returns false with a message
// naming the file (and the line where the fault lies) when the file cannot
// be opened or is a directory, ends early, holds something that is not a
// number, or holds a count or value the run cannot use (files/input_rules.h,
// under kBatchLimits).
bool readModelFile(const std::filesystem::path& path, ModelFile& model, std::string& error);
bool readCurveFile(const std::filesystem::path& path, CurveFile& curve, std::string& error);
bool readFixFlags(const std::filesystem::path& path, std::size_t count,
                  std::vector<std::int32_t>& flags, std::string& error);

// LX.TXT's text: `count` integers in free format, 0 freeing a parameter.
// Errors read "<sourceName>, line <n>: <what>".
bool parseFixFlags(std::string_view text, const std::string& sourceName, std::size_t count,
                   std::vector<std::int32_t>& flags, std::string& error);

}  // namespace swcore
