#include "batch/batch_files.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <memory>

#include "batch/free_format_reader.h"
#include "dispersion/engine_state.h"

namespace swcore {

namespace {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

std::string fileName(const std::filesystem::path& path) {
  return path.filename().string();
}

bool openForReading(const std::filesystem::path& path, std::ifstream& in, std::string& error) {
  in.open(path);
  if (!in.is_open()) {
    error = "cannot open " + fileName(path) + ": " + std::strerror(errno);
    return false;
  }
  return true;
}

bool readCount(FreeFormatReader& reader, const std::filesystem::path& path, int32_t lowest,
               int32_t highest, const char* what, int32_t& count, std::string& error) {
  if (!reader.readInteger(count)) {
    error = reader.error();
    return false;
  }
  if (count < lowest || count > highest) {
    error = fileName(path) + ": " + std::to_string(count) + " " + what + " (from " +
            std::to_string(lowest) + " to " + std::to_string(highest) + " can be used)";
    return false;
  }
  return true;
}

bool valueError(const std::filesystem::path& path, const std::string& what, std::size_t index,
                std::string& error) {
  error = fileName(path) + ": " + what + " " + std::to_string(index + 1) + " must be positive";
  return false;
}

bool checkModel(const std::filesystem::path& path, const ModelFile& model, std::string& error) {
  const std::size_t n = model.shearVelocity.size();
  for (std::size_t i = 0; i < n; ++i) {
    if (!(model.shearVelocity[i] > 0.0)) {
      return valueError(path, "the S velocity of layer", i, error);
    }
    if (!(model.density[i] > 0.0)) {
      return valueError(path, "the density of layer", i, error);
    }
    if (i + 1 < n && model.thickness[i] < 0.0) {
      error = fileName(path) + ": the thickness of layer " + std::to_string(i + 1) + " is negative";
      return false;
    }
  }
  return true;
}

}  // namespace

bool readModelFile(const std::filesystem::path& path, ModelFile& model, std::string& error) {
  std::ifstream in;
  if (!openForReading(path, in, error)) {
    return false;
  }
  FreeFormatReader reader(in, fileName(path));
  int32_t n = 0;
  if (!readCount(reader, path, 1, kMaxLayers, "layers", n, error)) {
    return false;
  }
  std::vector<double> triples;
  if (!reader.readReals(3 * static_cast<std::size_t>(n), triples)) {
    error = reader.error();
    return false;
  }
  model = {};
  for (std::size_t i = 0; i < triples.size(); i += 3) {
    model.thickness.push_back(triples[i]);
    model.shearVelocity.push_back(triples[i + 1]);
    model.density.push_back(triples[i + 2]);
  }
  return checkModel(path, model, error);
}

bool readCurveFile(const std::filesystem::path& path, CurveFile& curve, std::string& error) {
  std::ifstream in;
  if (!openForReading(path, in, error)) {
    return false;
  }
  FreeFormatReader reader(in, fileName(path));
  int32_t m = 0;
  if (!readCount(reader, path, 0, kMaxData, "data", m, error)) {
    return false;
  }
  curve = {};
  std::vector<double> pair;
  for (int32_t j = 0; j < m; ++j) {
    if (!reader.readReals(2, pair)) {
      error = reader.error();
      return false;
    }
    if (!(pair[0] > 0.0)) {
      return valueError(path, "the frequency of datum", static_cast<std::size_t>(j), error);
    }
    curve.frequency.push_back(pair[0]);
    curve.velocity.push_back(pair[1]);
  }
  return true;
}

bool readFixFlags(const std::filesystem::path& path, std::size_t count,
                  std::vector<std::int32_t>& flags, std::string& error) {
  std::ifstream in;
  if (!openForReading(path, in, error)) {
    return false;
  }
  FreeFormatReader reader(in, fileName(path));
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
