// SPDX-License-Identifier: GPL-3.0-or-later
// A layered model from any file the programs read: DispFit's own layouts
// (the free format of SHR.TXT and the model table, files/model_file.h, which
// PREFIX_best.csv is) and the model files of gpdc and of CPS (model96), told
// apart by what they hold rather than by their names.
#pragma once

#include <string>
#include <string_view>

#include "files/input_rules.h"
#include "files/model_file.h"

namespace dispfit {

enum class ModelFormat {
  DispFit,  // the free format or a model table
  Gpdc,     // gpdc's layer lines with Vp and density in kg/m3
  Model96,  // CPS model96
};

// How messages name the format: "a model96 file".
std::string_view modelFormatName(ModelFormat format);

// The format: a first line MODEL... model96, a count followed by a line of
// four or six numbers gpdc, anything else DispFit's own.
ModelFormat modelFormatOf(std::string_view text);

// Reads `text` in its format under `limits` and the input rules: m, m/s and
// g/cm3, with the P velocity where the format gives one. False with what is
// wrong in `error`, naming `source` and, where it applies, the line (and for
// the other programs' formats the column); `format` is set either way.
bool readModelFormats(std::string_view text, const std::string& source,
                      const swcore::InputLimits& limits, swcore::ModelFile& model,
                      ModelFormat& format, std::string& error);

}  // namespace dispfit
