// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/text_file.h"

#include <cerrno>
#include <cstring>
#include <fstream>

namespace swcore {

bool readTextFile(const std::filesystem::path& path, const std::string& label, std::string& text,
                  std::string& error) {
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec)) {
    error = label + " is a directory, not a file";
    return false;
  }
  std::ifstream in(path, std::ios::binary);
  if (!in.is_open()) {
    error = "cannot open " + label + ": " + std::strerror(errno);
    return false;
  }
  text.clear();
  char buffer[4096];
  while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
    text.append(buffer, static_cast<std::size_t>(in.gcount()));
    if (text.size() > kMaxTextFileBytes) {
      error = label + " is larger than " + std::to_string(kMaxTextFileBytes >> 20) +
              " MiB, which no model or curve file comes near";
      return false;
    }
  }
  if (in.bad()) {
    error = "cannot read " + label + ": " + std::strerror(errno);
    return false;
  }
  return true;
}

}  // namespace swcore
