// SPDX-License-Identifier: GPL-3.0-or-later
#include "shots/record_file.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <vector>

#include "shots/seg2_reader.h"
#include "shots/segy_reader.h"
#include "shots/su_reader.h"

namespace dispfit {
namespace {

bool endsWith(const std::string& name, std::string_view ending) {
  if (name.size() < ending.size()) return false;
  return std::equal(ending.begin(), ending.end(), name.end() - ending.size(), [](char a, char b) {
    return std::tolower(static_cast<unsigned char>(a)) == b;
  });
}

}  // namespace

bool readRecordBytes(std::span<const std::uint8_t> bytes, const std::string& name,
                     ShotRecord& record, std::string& error) {
  if (looksLikeSeg2(bytes)) return readSeg2(bytes, name, record, error);
  if (endsWith(name, ".su")) return readSeismicUnix(bytes, name, record, error);
  if (endsWith(name, ".sgy") || endsWith(name, ".segy")) {
    return readSegy(bytes, name, record, error);
  }
  std::string asSegy;
  if (bytes.size() >= kSegyFileHeaderBytes && readSegy(bytes, name, record, asSegy)) return true;
  std::string asSu;
  if (readSeismicUnix(bytes, name, record, asSu)) return true;
  error = name + ": not a SEG-2 file (no ID 3A55 at its start), nor a SEG-Y file (" +
          (asSegy.empty() ? std::string("shorter than its 3600 header bytes")
                          : asSegy.substr(name.size() + 2)) +
          "), nor a Seismic Unix file";
  return false;
}

bool readRecordFile(const std::string& path, ShotRecord& record, std::string& error) {
  std::error_code code;
  if (std::filesystem::is_directory(path, code)) {
    error = path + ": is a folder, not a record file";
    return false;
  }
  const std::uintmax_t size = std::filesystem::file_size(path, code);
  if (code) {
    error = path + ": cannot be read (" + code.message() + ")";
    return false;
  }
  if (size > kMostRecordFileBytes) {
    error = path + ": " + std::to_string(size) + " bytes, more than a record file holds (" +
            std::to_string(kMostRecordFileBytes) + ")";
    return false;
  }
  std::ifstream in(path, std::ios::binary);
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
  if (!in || !in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(size))) {
    error = path + ": cannot be read";
    return false;
  }
  return readRecordBytes(bytes, path, record, error);
}

}  // namespace dispfit
