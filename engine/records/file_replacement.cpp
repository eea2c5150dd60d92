#include "records/file_replacement.h"

#include <cerrno>
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

bool replaceFileContents(const std::filesystem::path& path,
                         const std::function<void(std::FILE*)>& fill, std::string& error) {
  std::filesystem::path partial = path;
  partial += ".new";
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

bool replaceFileText(const std::filesystem::path& path, std::string_view text, std::string& error) {
  return replaceFileContents(
      path, [text](std::FILE* out) { std::fwrite(text.data(), 1, text.size(), out); }, error);
}

}  // namespace swcore
