// SPDX-License-Identifier: GPL-3.0-or-later
#include "exchange/curve_formats.h"

#include "exchange/dinver_target.h"
#include "exchange/gpdc_curve.h"
#include "exchange/surf96_curve.h"
#include "files/line_message.h"

namespace dispfit {

namespace {

bool anyChosen(const swcore::ColumnChoice& columns) {
  return !columns.position.empty() || !columns.headerField.empty();
}

// The input rules over a curve another program's reader filled, each fault
// named with its line.
bool checkValues(const swcore::CurveFile& curve, const std::string& source,
                 const swcore::InputLimits& limits, std::string& error) {
  const std::size_t data = curve.velocity.size();
  if (const std::string fault = swcore::dataCountFault(static_cast<std::int64_t>(data), limits);
      !fault.empty()) {
    error = source + ": " + fault;
    return false;
  }
  using swcore::DatumQuantity;
  const std::pair<DatumQuantity, const std::vector<double>*> columns[] = {
      {DatumQuantity::Frequency, &curve.frequency},  {DatumQuantity::Period, &curve.period},
      {DatumQuantity::Velocity, &curve.velocity},    {DatumQuantity::Deviation, &curve.deviation},
      {DatumQuantity::LowBound, &curve.lowBound},    {DatumQuantity::HighBound, &curve.highBound},
      {DatumQuantity::Wavelength, &curve.wavelength}};
  for (std::size_t datum = 0; datum < data; ++datum) {
    for (const auto& [quantity, values] : columns) {
      if (values->empty()) continue;
      const std::string fault = swcore::datumValueFault(quantity, datum, (*values)[datum]);
      if (!fault.empty()) {
        error = swcore::lineMessage(source, curve.line[datum], fault);
        return false;
      }
    }
  }
  return true;
}

}  // namespace

std::string_view curveFormatName(CurveFormat format) {
  switch (format) {
    case CurveFormat::DispFit:
      return "a curve table or the free format";
    case CurveFormat::Surf96:
      return "a SURF96 file";
    case CurveFormat::GpdcCurve:
      return "gpdc output";
    case CurveFormat::DinverTarget:
      return "a dinver target";
  }
  return "a curve table";
}

CurveFormat curveFormatOf(std::string_view bytes) {
  if (looksLikeDinverTarget(bytes)) return CurveFormat::DinverTarget;
  if (looksLikeSurf96(bytes)) return CurveFormat::Surf96;
  if (looksLikeGpdcCurve(bytes)) return CurveFormat::GpdcCurve;
  return CurveFormat::DispFit;  // the engine's reader tells the free format from a table
}

bool readCurveFormats(std::string_view bytes, const std::string& source,
                      const swcore::InputLimits& freeLimits, const swcore::InputLimits& tableLimits,
                      const swcore::ColumnChoice& columns, swcore::CurveFile& curve,
                      CurveFormat& format, std::string& error) {
  format = curveFormatOf(bytes);
  if (format == CurveFormat::DispFit) {
    if (!swcore::parseCurveText(bytes, source, freeLimits, tableLimits, columns, curve, error)) {
      return false;
    }
    return true;
  }
  if (anyChosen(columns)) {
    error = source + " is " + std::string(curveFormatName(format)) +
            ", whose columns are fixed: a column choice is for tables";
    return false;
  }
  bool read = false;
  switch (format) {
    case CurveFormat::Surf96:
      read = parseSurf96Curve(bytes, source, curve, error);
      break;
    case CurveFormat::GpdcCurve:
      read = parseGpdcCurve(bytes, source, curve, error);
      break;
    case CurveFormat::DinverTarget:
      read = parseDinverTarget(bytes, source, curve, error);
      break;
    case CurveFormat::DispFit:
      break;
  }
  if (!read || !checkValues(curve, source, tableLimits, error)) return false;
  curve.notes.insert(curve.notes.begin(), "read as " + std::string(curveFormatName(format)));
  return true;
}

}  // namespace dispfit
