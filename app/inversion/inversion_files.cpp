// SPDX-License-Identifier: GPL-3.0-or-later
#include "inversion/inversion_files.h"

#include "core/single_precision.h"
#include "exchange/curve_formats.h"
#include "exchange/model_formats.h"
#include "files/text_file.h"

namespace dispfit {

namespace {

// The input rules have made sure every value is finite in single precision.
std::vector<float> singles(const std::vector<double>& values) {
  std::vector<float> result;
  result.reserve(values.size());
  for (const double value : values) {
    result.push_back(stored(value));
  }
  return result;
}

}  // namespace

std::string readLayeredModel(std::string_view text, const std::string& name, LayeredModel& model) {
  swcore::ModelFile file;
  std::string error;
  ModelFormat format = ModelFormat::DispFit;
  if (!readModelFormats(text, name, kInversionFileLimits, file, format, error)) {
    return error;
  }
  model = {singles(file.thickness), singles(file.shearVelocity), singles(file.density),
           singles(file.pVelocity)};
  return {};
}

std::string readObservedCurve(std::string_view text, const std::string& name,
                              ObservedCurve& curve) {
  swcore::CurveFile file;
  std::string error;
  CurveFormat format = CurveFormat::DispFit;
  if (!readCurveFormats(text, name, kInversionFileLimits, kInversionFileLimits, {}, file, format,
                        error)) {
    return error;
  }
  if (file.frequency.size() != file.velocity.size()) {
    return name + ": the file gives wavelengths or periods; this curve takes frequencies";
  }
  ObservedCurve read;
  for (std::size_t i = 0; i < file.velocity.size(); ++i) {
    if (i < file.mode.size() && file.mode[i] != 0) continue;  // the fundamental mode is fitted
    read.freq.push_back(stored(file.frequency[i]));
    read.velocity.push_back(stored(file.velocity[i]));
  }
  if (read.freq.empty()) {
    return name + ": no point of the fundamental mode (mode 0), which this curve fits";
  }
  curve = std::move(read);
  return {};
}

std::string readLayeredModelFile(const std::string& path, LayeredModel& model) {
  std::string text;
  std::string error;
  if (!swcore::readTextFile(path, "the model file " + path, text, error)) {
    return error;
  }
  return readLayeredModel(text, path, model);
}

std::string readObservedCurveFile(const std::string& path, ObservedCurve& curve) {
  std::string text;
  std::string error;
  if (!swcore::readTextFile(path, "the curve file " + path, text, error)) {
    return error;
  }
  return readObservedCurve(text, path, curve);
}

}  // namespace dispfit
