// SPDX-License-Identifier: GPL-3.0-or-later
#include "site/measured_curve_file.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "core/forward_model.h"
#include "core/window_limits.h"
#include "exchange/curve_formats.h"
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

CurvePreparation readMeasuredCurve(std::string_view text, const std::string& name,
                                   const swcore::ColumnChoice& columns) {
  swcore::CurveFile file;
  std::string error;
  CurveFormat format = CurveFormat::DispFit;
  if (!readCurveFormats(text, name, kFreeFormatLimits, kTableLimits, columns, file, format,
                        error)) {
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
  CurvePreparation prepared = prepareMeasuredCurve(rows, abscissa, name);
  if (prepared.curve) {
    prepared.curve->notes.insert(prepared.curve->notes.begin(), file.notes.begin(),
                                 file.notes.end());
  }
  return prepared;
}

CurvePreparation readMeasuredCurveFile(const std::string& path,
                                       const swcore::ColumnChoice& columns) {
  std::string text;
  std::string error;
  if (!swcore::readTextFile(path, "the curve file " + path, text, error)) {
    return {std::nullopt, error};
  }
  return readMeasuredCurve(text, path, columns);
}

bool curveHeaderNeedsChoice(std::string_view text) {
  return curveFormatOf(text) == CurveFormat::DispFit && !swcore::curveHeaderKnown(text);
}

swcore::CurveFile curveFileOf(const std::vector<MeasuredPoint>& points) {
  swcore::CurveFile file;
  const bool banded = !points.empty() && std::all_of(points.begin(), points.end(),
                                                     [](const MeasuredPoint& p) { return p.band; });
  for (const MeasuredPoint& point : points) {
    file.frequency.push_back(point.frequency);
    file.velocity.push_back(point.velocity);
    if (banded) {
      file.lowBound.push_back(point.band->low);
      file.highBound.push_back(point.band->high);
    }
    file.mode.push_back(point.mode.value_or(0));
    file.line.push_back(static_cast<std::size_t>(point.line));
  }
  return file;
}

}  // namespace dispfit
