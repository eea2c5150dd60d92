// A measured curve from the one curve reader: the reader's columns become
// rows carrying their file lines, which the curve's own checks then name.
#include "site/measured_curve_file.h"

#include <cstddef>
#include <vector>

#include "files/column_text.h"
#include "files/curve_file.h"
#include "files/input_rules.h"

namespace dispfit {

namespace {

// The file line of every datum, in file order. Both layouts hold one datum a
// line after the lines passed over (blank and comment lines, the header, the
// batch layout's count line), so the split rows of the text give the lines.
std::vector<int> datumLines(std::string_view text, const std::string& source, bool batchLayout) {
  swcore::ColumnText split;
  std::string error;
  std::vector<int> lines;
  if (!swcore::splitColumnText(text, source, split, error)) return lines;
  for (std::size_t r = batchLayout ? 1 : 0; r < split.rows.size(); ++r) {
    lines.push_back(static_cast<int>(split.rows[r].line));
  }
  return lines;
}

std::vector<MeasuredRow> measuredRows(const swcore::CurveFile& curve,
                                      const std::vector<int>& lines) {
  std::vector<MeasuredRow> rows(curve.frequency.size());
  for (std::size_t i = 0; i < rows.size(); ++i) {
    MeasuredRow& row = rows[i];
    row.abscissa = curve.frequency[i];
    row.velocity = curve.velocity[i];
    if (!curve.deviation.empty()) row.sigma = curve.deviation[i];
    if (!curve.lowBound.empty()) row.low = curve.lowBound[i];
    if (!curve.highBound.empty()) row.high = curve.highBound[i];
    // A line that cannot be told is given as the datum's number instead.
    row.line = i < lines.size() ? lines[i] : static_cast<int>(i) + 1;
  }
  return rows;
}

}  // namespace

CurvePreparation readMeasuredCurveText(std::string_view text, const std::string& source) {
  const bool batchLayout = swcore::findColumnHeader(text) == 0;
  swcore::CurveFile curve;
  std::string error;
  const bool read =
      batchLayout
          ? swcore::parseFreeFormatCurve(text, source, {0, maxInvertedPoints()}, curve, error)
          : swcore::parseCurveTable(text, source, {0, kMaxMeasuredRows}, curve, error);
  if (!read) return {std::nullopt, error};
  return prepareMeasuredCurve(measuredRows(curve, datumLines(text, source, batchLayout)),
                              Abscissa::Frequency, source);
}

}  // namespace dispfit
