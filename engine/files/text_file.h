// SPDX-License-Identifier: GPL-3.0-or-later
// A whole text file read into memory for the layouts' parse functions.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

namespace swcore {

// Files larger than this are not model, curve or flag files (a model of 50
// layers takes a few kilobytes); the limit keeps a device such as /dev/zero
// given by mistake from being read forever.
inline constexpr std::uintmax_t kMaxTextFileBytes = 16u << 20;

// Reads `path` into `text`. `label` names the file in the error: "cannot
// open <label>: <reason>", "<label> is a directory, not a file".
bool readTextFile(const std::filesystem::path& path, const std::string& label, std::string& text,
                  std::string& error);

}  // namespace swcore
