// SPDX-License-Identifier: GPL-3.0-or-later
// Layered models in the plain text that Geopsy's gpdc and gpell read: the
// layer count, then one line per layer, top first, the half-space last,
//
//   thickness (m)  Vp (m/s)  Vs (m/s)  density (kg/m3)  [Qp  Qs]
//
// the half-space's thickness written 0. A file may hold several models one
// after the other; the first is read.
#pragma once

#include <string>
#include <string_view>

#include "files/input_rules.h"
#include "files/model_file.h"

namespace dispfit {

// True when the first line that is neither blank nor a '#' comment holds a
// lone whole number and the next such line four or six numbers, the third an
// S velocity (10 m/s or more) and the fourth a density in kg/m3 (100 or
// more): the gpdc layout, which the batch run's three numbers a layer (with
// a stray fourth, a density in g/cm3 third) cannot be.
bool looksLikeGpdcModel(std::string_view text);

// The first model of `text`: thickness (m), Vs and Vp (m/s), density in
// g/cm3 (the file's kg/m3 over 1000). False, with "<source>, line <n>,
// column <c>: <what>", for a count that is not a whole number within
// `limits`, a layer line that is not four or six numbers, a density below
// 100 kg/m3 (g/cm3 given for kg/m3) or a value the input rules refuse.
bool parseGpdcModel(std::string_view text, const std::string& source,
                    const swcore::InputLimits& limits, swcore::ModelFile& model,
                    std::string& error);

// The model in the gpdc layout, Vp = 3 Vs where `model` gives none, the
// density in kg/m3, the half-space's thickness 0; every number in its
// shortest exact form.
std::string formatGpdcModel(const swcore::ModelFile& model);

}  // namespace dispfit
