#include "inversion/inversion_files.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace dispfit {

namespace {

// Reads groups of numbers in free format, one read at a time.
class FreeFormatReader {
 public:
  FreeFormatReader(std::istream& in, const std::string& name) : in_(in), name_(name) {}

  // Reads count numbers starting on the next line; the rest of the last
  // line read is skipped. Returns an error text, empty on success.
  std::string read(int count, const char* what, std::vector<double>& values) {
    values.clear();
    std::string line;
    while (static_cast<int>(values.size()) < count) {
      if (!std::getline(in_, line)) {
        return name_ + ": the file ends before " + what + " (" + std::to_string(values.size()) +
               " of " + std::to_string(count) + " numbers read)";
      }
      ++lineNumber_;
      std::string token;
      std::istringstream tokens(separatorsToBlanks(line));
      while (static_cast<int>(values.size()) < count && tokens >> token) {
        double value = 0.0;
        if (!parse(token, value)) {
          return name_ + ", line " + std::to_string(lineNumber_) + ": \"" + token +
                 "\" is not a number (reading " + what + ")";
        }
        values.push_back(value);
      }
    }
    return {};
  }

  int lineNumber() const { return lineNumber_; }
  const std::string& name() const { return name_; }

 private:
  static std::string separatorsToBlanks(std::string line) {
    for (char& c : line) {
      if (c == ',' || c == '\t' || c == '\r') c = ' ';
    }
    return line;
  }

  static bool parse(const std::string& token, double& value) {
    errno = 0;
    char* end = nullptr;
    value = std::strtod(token.c_str(), &end);
    return end == token.c_str() + token.size() && errno != ERANGE && std::isfinite(value);
  }

  std::istream& in_;
  std::string name_;
  int lineNumber_ = 0;
};

// A count read as one number: a whole number within 1..limit.
std::string readCount(FreeFormatReader& reader, const char* what, int limit, int& count) {
  std::vector<double> values;
  if (std::string error = reader.read(1, what, values); !error.empty()) return error;
  const double value = values[0];
  if (value != std::floor(value) || value < 1.0 || value > limit) {
    std::ostringstream text;
    text << reader.name() << ", line " << reader.lineNumber() << ": " << what << " must be a whole "
         << "number from 1 to " << limit << ", not " << value;
    return text.str();
  }
  count = static_cast<int>(value);
  return {};
}

bool fitsSingle(double value) {
  return std::fabs(value) <= 3.4e38;
}

std::string outOfRange(const FreeFormatReader& reader, const char* what) {
  return reader.name() + ", line " + std::to_string(reader.lineNumber()) + ": " + what +
         " is too large for single precision";
}

}  // namespace

std::string readLayeredModel(std::istream& in, const std::string& name, LayeredModel& model) {
  FreeFormatReader reader(in, name);
  int layers = 0;
  if (std::string error = readCount(reader, "the layer count", kMaxFileLayers, layers);
      !error.empty()) {
    return error;
  }
  std::vector<double> values;
  const std::string what = "the " + std::to_string(layers) + " layers (thickness, Vs, density)";
  if (std::string error = reader.read(3 * layers, what.c_str(), values); !error.empty()) {
    return error;
  }
  model = {};
  for (int j = 0; j < layers; ++j) {
    for (int k = 0; k < 3; ++k) {
      if (!fitsSingle(values[3 * j + k])) return outOfRange(reader, "a layer value");
    }
    model.thickness.push_back(static_cast<float>(values[3 * j]));
    model.vs.push_back(static_cast<float>(values[3 * j + 1]));
    model.density.push_back(static_cast<float>(values[3 * j + 2]));
  }
  return {};
}

std::string readObservedCurve(std::istream& in, const std::string& name, ObservedCurve& curve) {
  FreeFormatReader reader(in, name);
  int count = 0;
  if (std::string error = readCount(reader, "the number of data", kMaxFileData, count);
      !error.empty()) {
    return error;
  }
  curve = {};
  std::vector<double> values;
  for (int i = 0; i < count; ++i) {
    const std::string what = "datum " + std::to_string(i + 1) + " (frequency, velocity)";
    if (std::string error = reader.read(2, what.c_str(), values); !error.empty()) return error;
    if (!fitsSingle(values[0]) || !fitsSingle(values[1])) return outOfRange(reader, "a datum");
    curve.freq.push_back(static_cast<float>(values[0]));
    curve.velocity.push_back(static_cast<float>(values[1]));
  }
  return {};
}

std::string readLayeredModelFile(const std::string& path, LayeredModel& model) {
  std::ifstream in(path);
  if (!in) return "cannot open the model file " + path;
  return readLayeredModel(in, path, model);
}

std::string readObservedCurveFile(const std::string& path, ObservedCurve& curve) {
  std::ifstream in(path);
  if (!in) return "cannot open the curve file " + path;
  return readObservedCurve(in, path, curve);
}

}  // namespace dispfit
