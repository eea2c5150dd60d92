// SPDX-License-Identifier: GPL-3.0-or-later
#include "inversion/inversion_files.h"

#include "core/single_precision.h"
#include "files/curve_file.h"
#include "files/model_file.h"
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
  if (!swcore::parseModelText(text, name, kInversionFileLimits, file, error)) {
    return error;
  }
  model = {singles(file.thickness), singles(file.shearVelocity), singles(file.density)};
  return {};
}

std::string readObservedCurve(std::string_view text, const std::string& name,
                              ObservedCurve& curve) {
  swcore::CurveFile file;
  std::string error;
  if (!swcore::parseCurveText(text, name, kInversionFileLimits, kInversionFileLimits, file,
                              error)) {
    return error;
  }
  if (file.frequency.size() != file.velocity.size()) {
    return name + ": the header names a wavelength or period column; this curve takes frequencies";
  }
  curve = {singles(file.frequency), singles(file.velocity)};
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
