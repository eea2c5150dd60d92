#include "batch/file_replacement.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

namespace swcore {

namespace {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

std::string fileName(const std::filesystem::path& path) {
  return path.filename().string();
}

}  // namespace

bool replaceFile(const std::filesystem::path& path,
                 const std::function<void(const RecordWriter&)>& fill, std::string& error) {
  std::filesystem::path partial = path;
  partial += ".new";
  FileHandle out(std::fopen(partial.c_str(), "w"));
  if (!out) {
    error = "cannot write " + fileName(partial) + ": " + std::strerror(errno);
    return false;
  }
  fill(RecordWriter(out.get()));
  const bool written = std::ferror(out.get()) == 0;
  // Closing writes out what is still buffered, so it can fail too.
  const bool closed = std::fclose(out.release()) == 0;
  if (!written || !closed) {
    error = "writing " + fileName(partial) + " failed: " + std::strerror(errno);
    std::error_code ignored;
    std::filesystem::remove(partial, ignored);
    return false;
  }
  std::error_code ec;
  std::filesystem::rename(partial, path, ec);
  if (ec) {
    error = "cannot replace " + fileName(path) + ": " + ec.message();
    std::error_code ignored;
    std::filesystem::remove(partial, ignored);
    return false;
  }
  return true;
}

}  // namespace swcore
