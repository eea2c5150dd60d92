// SPDX-License-Identifier: GPL-3.0-or-later
// Layered models in text files, in two layouts:
//
// Free format (SHR.TXT and dispfit-invert's MODEL): the layer count, then
// thickness (m), S velocity (m/s) and density (g/cm3) of each layer, top
// first, the half-space last; numbers separated by blanks, commas or line
// breaks (see free_format_reader.h). It has no room for a P velocity: a
// fourth number per layer would be read as the next layer's thickness, so a
// file holding more numbers than its count needs is refused.
//
// Model table (headed column text, see column_text.h): one row per layer,
// top first, the half-space last (its thickness is read but not used);
// columns thickness (m), Vs (m/s), density (g/cm3) and optionally Vp (m/s).
// Header names: thickness or h; vs; density or rho; vp; any case, units in
// brackets allowed ("Vs (m/s)"). Without a header the columns are in that
// order.
//
// Every parse function takes the whole text and the name that errors give
// the file, and applies the input rules (input_rules.h) under the caller's
// limits. On failure it returns false with what is wrong in `error`: "<name>,
// line <n>: <what>" for a fault of the text, "<name>: <what>" for a count or
// value of the free format (which names its layer or datum) and leaves `model` unspecified.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "files/input_rules.h"

namespace swcore {

// m, m/s, g/cm3, m/s; one entry per layer, top first, the half-space last.
struct ModelFile {
  std::vector<double> thickness;
  std::vector<double> shearVelocity;
  std::vector<double> density;
  std::vector<double> pVelocity;  // empty when the file gives none

  bool operator==(const ModelFile&) const = default;
};

bool parseFreeFormatModel(std::string_view text, const std::string& sourceName,
                          const InputLimits& limits, ModelFile& model, std::string& error);

bool parseModelTable(std::string_view text, const std::string& sourceName,
                     const InputLimits& limits, ModelFile& model, std::string& error);

// The model table when the text has a header, the free format otherwise.
bool parseModelText(std::string_view text, const std::string& sourceName, const InputLimits& limits,
                    ModelFile& model, std::string& error);

// The model table of `model`, with a header, every number in the shortest
// form that reads back to the same double: parseModelTable gives `model`
// back exactly.
std::string formatModelTable(const ModelFile& model);

}  // namespace swcore
