// SPDX-License-Identifier: GPL-3.0-or-later
// The ranges a global search draws each layer's parameters from, in a
// headed column text (see column_text.h): one row per layer, top first, the
// half-space last (its thickness range is read but not used).
//
// Columns (header names in any case, units in brackets allowed):
//   vs min, vs max (m/s)          the S velocity's range
//   h min, h max (m)              the thickness's range
//   density (g/cm3)               fixed
//   vp (m/s)                      optional: a fixed P velocity
//   poisson min, poisson max      optional, instead of vp: Poisson's ratio's range
// With neither vp nor Poisson's ratio the P velocity is 3 Vs. Without a
// header a row holds the first five columns in this order. A header of
// two-word names needs commas or semicolons between its fields, or the words
// joined by an underscore ("vs_min"): blanks alone separate fields.
//
// The reader checks the table's shape and signs: every value positive but a
// Poisson's ratio (not negative) and the half-space's thickness (any number).
// Whether the ranges make sense together is the search's business.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "files/input_rules.h"

namespace swcore {

// One entry per layer, top first; the optional columns empty when absent.
struct SearchRangesFile {
  std::vector<double> vsMin;
  std::vector<double> vsMax;
  std::vector<double> hMin;
  std::vector<double> hMax;
  std::vector<double> density;
  std::vector<double> vp;
  std::vector<double> poissonMin;
  std::vector<double> poissonMax;
  std::vector<std::size_t> line;  // the file line of each layer, from 1

  bool operator==(const SearchRangesFile&) const = default;
};

// Reads the table of at most `limits.maxLayers` layers. False with
// "<name>, line <n>: <what>" or "<name>: <what>" in `error`.
bool parseSearchRanges(std::string_view text, const std::string& sourceName,
                       const InputLimits& limits, SearchRangesFile& ranges, std::string& error);

}  // namespace swcore
