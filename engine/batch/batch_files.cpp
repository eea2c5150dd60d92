// SPDX-License-Identifier: GPL-3.0-or-later
#include "batch/batch_files.h"

#include <cerrno>
#include <cstring>
#include <memory>
#include <sstream>

#include "files/free_format_reader.h"
#include "files/text_file.h"

namespace swcore {

namespace {

std::string fileName(const std::filesystem::path& path) {
  return path.filename().string();
}

}  // namespace

bool readModelFile(const std::filesystem::path& path, ModelFile& model, std::string& error) {
  std::string text;
  return readTextFile(path, fileName(path), text, error) &&
         parseFreeFormatModel(text, fileName(path), kBatchLimits, model, error);
}

bool readCurveFile(const std::filesystem::path& path, CurveFile& curve, std::string& error) {
  std::string text;
  return readTextFile(path, fileName(path), text, error) &&
         parseFreeFormatCurve(text, fileName(path), kBatchLimits, curve, error);
}

bool readFixFlags(const std::filesystem::path& path, std::size_t count,
                  std::vector<std::int32_t>& flags, std::string& error) {
  std::string text;
  return readTextFile(path, fileName(path), text, error) &&
         parseFixFlags(text, fileName(path), count, flags, error);
}

bool parseFixFlags(std::string_view text, const std::string& sourceName, std::size_t count,
                   std::vector<std::int32_t>& flags, std::string& error) {
  std::istringstream in{std::string(text)};
  FreeFormatReader reader(in, sourceName);
  if (!reader.readIntegers(count, flags)) {
    error = reader.error();
    return false;
  }
  return true;
}

}  // namespace swcore
