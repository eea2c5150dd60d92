#include "batch/batch_files.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <sstream>

#include "files/free_format_reader.h"
#include "files/text_file.h"

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
