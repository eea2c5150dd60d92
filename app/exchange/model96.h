// SPDX-License-Identifier: GPL-3.0-or-later
// Layered models in the model96 files of the Computer Programs in
// Seismology (surf96, sprep96, hprep96): eleven lines that say what the
// model is, a column header, then one line per layer, top first,
//
//   MODEL.01                     the word MODEL
//   a title
//   ISOTROPIC
//   KGS                          units: km, g/cm3, s
//   FLAT EARTH
//   1-D
//   CONSTANT VELOCITY
//   LINE08 .. LINE11             kept for later use
//   H(KM) VP(KM/S) VS(KM/S) RHO(GM/CC) QP QS ETAP ETAS FREFP FREFS
//   0.0050 0.6000 0.2000 1.8000 0 0 0 0 1 1
//   ...                          the last layer, the half-space, with H 0
#pragma once

#include <string>
#include <string_view>

#include "files/input_rules.h"
#include "files/model_file.h"

namespace dispfit {

// True when the first line that is neither blank nor a '#' comment begins
// with the word MODEL (any case).
bool looksLikeModel96(std::string_view text);

// The model: thickness (m, the file's km times 1000), Vs and Vp (m/s, km/s
// times 1000), density (g/cm3). Refused, with "<source>, line <n>, column
// <c>: <what>": another model than an isotropic flat-earth 1-D one in KGS
// units, a layer line that is not ten numbers (four at the least: H, Vp, Vs,
// rho), a count outside `limits` or a value the input rules refuse.
bool parseModel96(std::string_view text, const std::string& source,
                  const swcore::InputLimits& limits, swcore::ModelFile& model, std::string& error);

// The model96 text of `model` titled `title`, Vp = 3 Vs where `model` gives
// none, Q 0 (no attenuation), reference frequencies 1 Hz; every number in its
// shortest exact form.
std::string formatModel96(const swcore::ModelFile& model, std::string_view title);

}  // namespace dispfit
