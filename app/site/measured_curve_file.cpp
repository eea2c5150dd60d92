// SPDX-License-Identifier: GPL-3.0-or-later
#include "site/measured_curve_file.h"

#include <optional>
#include <vector>

#include "core/forward_model.h"
#include "core/window_limits.h"
#include "files/curve_file.h"
#include "files/text_file.h"

namespace dispfit {

namespace {

// The free format holds as many data as the forward-model record.
constexpr swcore::InputLimits kFreeFormatLimits{kWindowLayerLimit, ForwardModel::kFreqCapacity};
constexpr swcore::InputLimits kTableLimits{kWindowLayerLimit, kMeasuredTableRows};

std::optional<double> entry(const std::vector<double>& values, std::size_t index) {
  if (values.empty()) return std::nullopt;
  return values[index];
}

// The abscissa column the file gives and its values.
Abscissa abscissaOf(const swcore::CurveFile& file, const std::vector<double>*& values) {
  if (!file.wavelength.empty()) {
    values = &file.wavelength;
    return Abscissa::Wavelength;
  }
  if (!file.period.empty()) {
    values = &file.period;
    return Abscissa::Period;
  }
  values = &file.frequency;
  return Abscissa::Frequency;
}

}  // namespace

CurvePreparation readMeasuredCurve(std::string_view text, const std::string& name) {
  swcore::CurveFile file;
  std::string error;
  if (!swcore::parseCurveText(text, name, kFreeFormatLimits, kTableLimits, file, error)) {
    return {std::nullopt, error};
  }
  const std::vector<double>* abscissae = nullptr;
  const Abscissa abscissa = abscissaOf(file, abscissae);
  std::vector<MeasuredRow> rows;
  rows.reserve(file.velocity.size());
  for (std::size_t i = 0; i < file.velocity.size(); ++i) {
    rows.push_back({(*abscissae)[i], file.velocity[i], entry(file.deviation, i),
                    entry(file.lowBound, i), entry(file.highBound, i),
                    static_cast<int>(file.line[i]),
                    file.mode.empty() ? std::nullopt : std::optional<int>(file.mode[i])});
  }
  return prepareMeasuredCurve(rows, abscissa, name);
}

CurvePreparation readMeasuredCurveFile(const std::string& path) {
  std::string text;
  std::string error;
  if (!swcore::readTextFile(path, "the curve file " + path, text, error)) {
    return {std::nullopt, error};
  }
  return readMeasuredCurve(text, path);
}

}  // namespace dispfit
