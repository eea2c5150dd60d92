// The text files of the batch run: reading the model, the observed curve and
// the fix flags.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace swcore {

inline constexpr const char* kModelFileName = "SHR.TXT";
inline constexpr const char* kCurveFileName = "FIT.TXT";
inline constexpr const char* kFixFlagsFileName = "LX.TXT";
inline constexpr const char* kFittedCurveFileName = "TVF.TXT";
inline constexpr const char* kFittedParametersFileName = "HPV.TXT";

// The model as SHR.TXT holds it: m, m/s, g/cm3, one entry per layer.
struct ModelFile {
  std::vector<double> thickness;
  std::vector<double> shearVelocity;
  std::vector<double> density;
};

// The observed curve as FIT.TXT holds it: Hz and m/s, one entry per datum.
struct CurveFile {
  std::vector<double> frequency;
  std::vector<double> velocity;
};

// Each reader returns false with a message naming the file (and the line
// where the fault lies) when the file cannot be opened, ends early, holds
// something that is not a number, or holds a count or value the run cannot
// use: 1..50 layers, 0..50 data, positive S velocities, densities and
// frequencies, no negative thickness above the half-space.
bool readModelFile(const std::filesystem::path& path, ModelFile& model, std::string& error);
bool readCurveFile(const std::filesystem::path& path, CurveFile& curve, std::string& error);
bool readFixFlags(const std::filesystem::path& path, std::size_t count,
                  std::vector<std::int32_t>& flags, std::string& error);

}  // namespace swcore
