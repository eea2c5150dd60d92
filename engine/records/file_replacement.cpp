// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/file_replacement.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>
#include <string_view>
#include <system_error>
#include <vector>

namespace swcore {

namespace {

namespace fs = std::filesystem;

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

std::string fileName(const fs::path& path) {
  return path.filename().string();
}

fs::path withSuffix(const fs::path& path, std::string_view suffix) {
  fs::path result = path;
  result += suffix;
  return result;
}

void removeQuietly(const fs::path& path) {
  std::error_code ignored;
  fs::remove(path, ignored);
}

// True when something, even a dangling link, has this name.
bool nameTaken(const fs::path& path) {
  std::error_code ignored;
  return fs::exists(fs::symlink_status(path, ignored));
}

// The permissions of the regular file at `path`, when there is one.
std::optional<fs::perms> regularFilePermissions(const fs::path& path) {
  std::error_code ec;
  const fs::file_status status = fs::status(path, ec);
  if (ec || !fs::is_regular_file(status)) {
    return std::nullopt;
  }
  return status.permissions();
}

// Writes what `fill` puts into its stream, in full, into `partial` beside
// `path`, with the permissions of the file at `path`. On failure nothing is
// left.
bool writeBeside(const fs::path& path, const std::function<void(std::FILE*)>& fill,
                 const fs::path& partial, std::string& error) {
  FileHandle out(std::fopen(partial.c_str(), "w"));
  if (!out) {
    error = "cannot write " + fileName(partial) + ": " + std::strerror(errno);
    return false;
  }
  fill(out.get());
  const bool written = std::ferror(out.get()) == 0;
  // Closing writes out what is still buffered, so it can fail too.
  const bool closed = std::fclose(out.release()) == 0;
  if (!written || !closed) {
    error = "writing " + fileName(partial) + " failed: " + std::strerror(errno);
    removeQuietly(partial);
    return false;
  }
  if (const std::optional<fs::perms> permissions = regularFilePermissions(path)) {
    std::error_code ec;
    fs::permissions(partial, *permissions, fs::perm_options::replace, ec);
    if (ec) {
      error = "cannot give " + fileName(partial) + " the permissions of " + fileName(path) + ": " +
              ec.message();
      removeQuietly(partial);
      return false;
    }
  }
  return true;
}

bool renameIntoPlace(const fs::path& partial, const fs::path& path, std::string& error) {
  std::error_code ec;
  fs::rename(partial, path, ec);
  if (ec) {
    error = "cannot replace " + fileName(path) + ": " + ec.message();
    return false;
  }
  return true;
}

// Gives the file at `path` the further name `copy`, which must be free: a
// hard link, so the file keeps its contents, owner and permissions untouched,
// or a copy where the file system has no hard links.
std::error_code keepAs(const fs::path& path, const fs::path& copy) {
  std::error_code ec;
  fs::create_hard_link(path, copy, ec);
  if (ec && ec != std::errc::file_exists) {
    ec.clear();
    fs::copy_file(path, copy, fs::copy_options::none, ec);
  }
  return ec;
}

// The highest N of the backups `path.~N~` beside `path`, 0 when there is none.
std::uintmax_t highestBackupNumber(const fs::path& path) {
  const std::string prefix = fileName(path) + ".~";
  const fs::path folder = path.has_parent_path() ? path.parent_path() : fs::path(".");
  std::uintmax_t highest = 0;
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    if (name.size() < prefix.size() + 2 || name.compare(0, prefix.size(), prefix) != 0 ||
        name.back() != '~') {
      continue;
    }
    const char* first = name.data() + prefix.size();
    const char* last = name.data() + name.size() - 1;
    // A backup number has no leading zero: "~010~" is not backup 10.
    if (*first < '1' || *first > '9') {
      continue;
    }
    std::uintmax_t number = 0;
    const auto [parsedEnd, fault] = std::from_chars(first, last, number);
    if (fault == std::errc() && parsedEnd == last) {
      highest = std::max(highest, number);
    }
  }
  return highest;
}

// Keeps the file at `path` as its next numbered backup; `backup` names it.
bool makeNumberedBackup(const fs::path& path, fs::path& backup, std::string& error) {
  std::uintmax_t number = highestBackupNumber(path);
  std::error_code ec;
  do {
    // A backup made meanwhile under the chosen number moves us one further.
    backup = withSuffix(path, ".~" + std::to_string(++number) + "~");
    ec = keepAs(path, backup);
  } while (ec == std::errc::file_exists);
  if (ec) {
    error = "cannot keep " + fileName(path) + " as " + fileName(backup) + ": " + ec.message();
    return false;
  }
  return true;
}

// A file renamed into place, and how to undo it: its former contents under
// a second name, or none when there was no file before.
struct RenamedFile {
  fs::path path;
  fs::path former;
};

// Writes one output file's records beside it.
bool writeBeside(const OutputFile& file, const fs::path& partial, std::string& error) {
  return writeBeside(
      file.path, [&file](std::FILE* out) { file.fill(RecordWriter(out)); }, partial, error);
}

// One file of a set replaced together, with what writes its contents.
struct PendingFile {
  fs::path path;
  std::function<void(std::FILE*)> fill;
};

// Undoes the renames, the last first; a failure is added to `error`.
void restore(const std::vector<RenamedFile>& renamed, std::string& error) {
  for (auto it = renamed.rbegin(); it != renamed.rend(); ++it) {
    std::error_code ec;
    if (!it->former.empty()) {
      fs::rename(it->former, it->path, ec);
    } else {
      fs::remove(it->path, ec);
    }
    if (ec) {
      error += "; " + fileName(it->path) + " could not be restored: " + ec.message();
    }
  }
}

}  // namespace

bool replaceFile(const fs::path& path, const FileFill& fill, std::string& error) {
  const fs::path partial = withSuffix(path, ".new");
  if (!writeBeside({path, fill}, partial, error)) {
    return false;
  }
  if (!renameIntoPlace(partial, path, error)) {
    removeQuietly(partial);
    return false;
  }
  return true;
}

bool replaceFileKeepingBackup(const fs::path& path, const FileFill& fill, std::string& error) {
  const fs::path partial = withSuffix(path, ".new");
  if (!writeBeside({path, fill}, partial, error)) {
    return false;
  }
  fs::path backup;
  const bool backedUp = nameTaken(path);
  if (backedUp && !makeNumberedBackup(path, backup, error)) {
    removeQuietly(partial);
    return false;
  }
  if (!renameIntoPlace(partial, path, error)) {
    removeQuietly(partial);
    if (backedUp) {
      removeQuietly(backup);
    }
    return false;
  }
  return true;
}

bool replaceFileText(const fs::path& path, std::string_view text, std::string& error) {
  const fs::path partial = withSuffix(path, ".new");
  const auto fill = [text](std::FILE* out) { std::fwrite(text.data(), 1, text.size(), out); };
  if (!writeBeside(path, fill, partial, error)) {
    return false;
  }
  if (!renameIntoPlace(partial, path, error)) {
    removeQuietly(partial);
    return false;
  }
  return true;
}

namespace {

bool replaceAllTogether(std::span<const PendingFile> files, std::string& error) {
  std::vector<fs::path> partials;
  for (const PendingFile& file : files) {
    partials.push_back(withSuffix(file.path, ".new"));
    if (!writeBeside(file.path, file.fill, partials.back(), error)) {
      partials.pop_back();
      for (const fs::path& partial : partials) {
        removeQuietly(partial);
      }
      return false;
    }
  }
  std::vector<RenamedFile> renamed;
  const auto giveUp = [&](std::size_t from) {
    restore(renamed, error);
    for (std::size_t i = from; i < partials.size(); ++i) {
      removeQuietly(partials[i]);
    }
    return false;
  };
  for (std::size_t i = 0; i < files.size(); ++i) {
    RenamedFile entry{files[i].path, {}};
    // The last file needs no way back: if its rename fails, it is unchanged.
    if (nameTaken(entry.path) && i + 1 < files.size()) {
      entry.former = withSuffix(entry.path, ".restore");
      removeQuietly(entry.former);
      if (const std::error_code ec = keepAs(entry.path, entry.former)) {
        error = "cannot keep " + fileName(entry.path) + " until " + fileName(files.back().path) +
                " is written: " + ec.message();
        return giveUp(i);
      }
    }
    if (!renameIntoPlace(partials[i], entry.path, error)) {
      if (!entry.former.empty()) {
        removeQuietly(entry.former);
      }
      return giveUp(i);
    }
    renamed.push_back(entry);
  }
  for (const RenamedFile& entry : renamed) {
    if (!entry.former.empty()) {
      removeQuietly(entry.former);
    }
  }
  return true;
}

}  // namespace

bool replaceFilesTogether(std::span<const OutputFile> files, std::string& error) {
  std::vector<PendingFile> pending;
  for (const OutputFile& file : files) {
    pending.push_back({file.path, [&file](std::FILE* out) { file.fill(RecordWriter(out)); }});
  }
  return replaceAllTogether(pending, error);
}

bool replaceFileTextsTogether(std::span<const OutputText> files, std::string& error) {
  std::vector<PendingFile> pending;
  for (const OutputText& file : files) {
    pending.push_back({file.path, [&file](std::FILE* out) {
                         std::fwrite(file.text.data(), 1, file.text.size(), out);
                       }});
  }
  return replaceAllTogether(pending, error);
}

}  // namespace swcore
