// SPDX-License-Identifier: GPL-3.0-or-later
// Replacing output files without ever leaving one truncated or half-written:
// each file is written in full beside its place and renamed over it. A
// replaced file can be kept as a numbered backup, and a set of files that
// belong together is replaced all or not at all.
#pragma once

#include <cstdio>
#include <filesystem>
#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "records/record_writer.h"

namespace swcore {

// Writes the records of one output file.
using FileFill = std::function<void(const RecordWriter&)>;

// One output file: where it goes and what it holds.
struct OutputFile {
  std::filesystem::path path;
  FileFill fill;
};

// Writes the records produced by `fill` into a new file beside `path` and
// renames it over `path` once it is complete; the new file takes the
// permissions of the one it replaces. On any failure `path` is left as it
// was, the partial file is removed and false is returned.
bool replaceFile(const std::filesystem::path& path, const FileFill& fill, std::string& error);

// As replaceFile, and a file already at `path` is kept as the numbered backup
// `path.~N~`, N one above the highest number such backups of `path` already
// carry (1 for the first), as `cp --backup=numbered` names them. On failure
// no backup is left behind.
bool replaceFileKeepingBackup(const std::filesystem::path& path, const FileFill& fill,
                              std::string& error);

// replaceFile with `text` as the whole new contents, byte for byte.
bool replaceFileText(const std::filesystem::path& path, std::string_view text, std::string& error);

// Replaces every file or none: all are written beside their places first,
// then renamed into place in order. When a rename fails, the files already
// renamed get their former contents back (or are removed if they did not
// exist), and false is returned.
bool replaceFilesTogether(std::span<const OutputFile> files, std::string& error);

// One output file given whole: where it goes and its bytes, which must
// outlive the call.
struct OutputText {
  std::filesystem::path path;
  std::string_view text;
};

// replaceFilesTogether with each file's contents given byte for byte, as
// replaceFileText takes them: pictures and documents rendered in memory.
bool replaceFileTextsTogether(std::span<const OutputText> files, std::string& error);

}  // namespace swcore
