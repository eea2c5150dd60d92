// SPDX-License-Identifier: GPL-3.0-or-later
// The CSV tables a run writes beside each other, PREFIX + suffix each.
#pragma once

#include <span>
#include <string>
#include <utility>

namespace dispfit {

// Writes each (suffix, text) to PREFIX + suffix, each file replaced whole
// or left as it was; stops at the first that cannot be written, saying so
// on standard error, and returns false.
bool writeTableFiles(const std::string& prefix,
                     std::span<const std::pair<std::string, std::string>> files);

}  // namespace dispfit
