// SPDX-License-Identifier: GPL-3.0-or-later
#include "table_files.h"

#include <iostream>

#include "records/file_replacement.h"

namespace dispfit {

bool writeTableFiles(const std::string& prefix,
                     std::span<const std::pair<std::string, std::string>> files) {
  for (const auto& [suffix, text] : files) {
    std::string error;
    const std::string path = prefix + suffix;
    if (!swcore::replaceFileText(path, text, error)) {
      std::cerr << "dispfit-invert: " << path << " could not be written: " << error << '\n';
      return false;
    }
  }
  return true;
}

}  // namespace dispfit
