// The text files of the command-line inversion: a layered model and an
// observed curve, in the free format of the engine's batch run (numbers
// separated by blanks, commas or line breaks; each read starts on a new
// line, continues over as many lines as it needs, and skips the rest of the
// last line it touches).
#pragma once

#include <istream>
#include <string>
#include <vector>

namespace dispfit {

// Model file: the layer count, then one "thickness Vs density" triple per
// layer (m, m/s, g/cm3), the half-space last.
struct LayeredModel {
  std::vector<float> thickness;
  std::vector<float> vs;
  std::vector<float> density;
};

// Curve file: the number of data, then one "frequency velocity" pair per
// line (Hz, m/s).
struct ObservedCurve {
  std::vector<float> freq;
  std::vector<float> velocity;
};

inline constexpr int kMaxFileLayers = 20;  // the window's limit
inline constexpr int kMaxFileData = 50;    // what the forward-model record holds

// Each returns an empty text on success, otherwise what is wrong, naming
// the file (name) and the line.
std::string readLayeredModel(std::istream& in, const std::string& name, LayeredModel& model);
std::string readObservedCurve(std::istream& in, const std::string& name, ObservedCurve& curve);

// The same for files on disk; a file that cannot be opened is an error.
std::string readLayeredModelFile(const std::string& path, LayeredModel& model);
std::string readObservedCurveFile(const std::string& path, ObservedCurve& curve);

}  // namespace dispfit
