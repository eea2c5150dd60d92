// SPDX-License-Identifier: GPL-3.0-or-later
// The files of the command-line inversion: a layered model (the starting
// model) and an observed curve, each in the free format of the engine's batch
// run, as a headed table (see files/model_file.h and files/curve_file.h in the
// engine) or in another program's format (exchange/model_formats.h,
// exchange/curve_formats.h), checked by the engine's input rules under the
// window's limits, and held in single precision as the window holds them.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/forward_model.h"
#include "core/window_limits.h"
#include "files/input_rules.h"

namespace dispfit {

// m, m/s, g/cm3 per layer, top first, the half-space last.
struct LayeredModel {
  std::vector<float> thickness;
  std::vector<float> vs;
  std::vector<float> density;
  std::vector<float> vp = {};  // m/s, where the file gives it; empty otherwise
};

// Hz and m/s per datum, in the order of the file.
struct ObservedCurve {
  std::vector<float> freq;
  std::vector<float> velocity;
};

// 1..20 layers as in the window, 1..50 data as the forward-model record holds.
inline constexpr swcore::InputLimits kInversionFileLimits{kWindowLayerLimit,
                                                          ForwardModel::kFreqCapacity};

// Each returns an empty text on success, otherwise what is wrong, naming the
// file (`name`) and, where the fault lies on one, the line.
std::string readLayeredModel(std::string_view text, const std::string& name, LayeredModel& model);
std::string readObservedCurve(std::string_view text, const std::string& name, ObservedCurve& curve);

// The same for files on disk; a file that cannot be opened or is a directory
// is an error.
std::string readLayeredModelFile(const std::string& path, LayeredModel& model);
std::string readObservedCurveFile(const std::string& path, ObservedCurve& curve);

}  // namespace dispfit
