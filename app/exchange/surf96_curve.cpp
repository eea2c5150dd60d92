// SPDX-License-Identifier: GPL-3.0-or-later
#include "exchange/surf96_curve.h"

#include <cmath>
#include <optional>

#include "core/number_text.h"
#include "exchange/text_fields.h"
#include "files/line_message.h"

namespace dispfit {

namespace {

constexpr double kMetresPerSecondPerKilometrePerSecond = 1000.0;
constexpr int kKiloPlaces = 3;           // m/s written in km/s: the decimal point three places on
constexpr std::size_t kDatumFields = 8;  // SURF96 WAVE TYPE FLAG MODE PERIOD VALUE ERROR

bool isContent(const TextLine& line) {
  return !line.blank() && line.fields.front().text.front() != '#';
}

bool isOneOf(std::string_view field, std::string_view letters) {
  return field.size() == 1 && letters.find(field.front()) != std::string_view::npos;
}

// One line's datum, or why it is none.
struct Surf96Datum {
  bool rayleighPhase = false;
  int mode = 0;
  double period = 0.0;
  double velocity = 0.0;   // km/s
  double deviation = 0.0;  // km/s
};

bool readDatum(const std::string& source, const TextLine& line, Surf96Datum& datum,
               std::string& error) {
  const std::vector<TextField>& f = line.fields;
  if (f.front().text != "SURF96") {
    error = fieldMessage(
        source, line, f.front(),
        swcore::quoted(f.front().text) + " where a SURF96 line begins with the word SURF96");
    return false;
  }
  if (f.size() < kDatumFields) {
    error = fieldMessage(source, line, f.back(),
                         "the line ends after " + std::to_string(f.size()) +
                             " fields; a SURF96 line holds SURF96 WAVE TYPE FLAG MODE PERIOD "
                             "VALUE ERROR");
    return false;
  }
  if (!isOneOf(f[1].text, "RL")) {
    error =
        fieldMessage(source, line, f[1], swcore::quoted(f[1].text) + " is no wave type (R or L)");
    return false;
  }
  if (!isOneOf(f[2].text, "CUG")) {
    error = fieldMessage(source, line, f[2],
                         swcore::quoted(f[2].text) + " is no velocity type (C, U or G)");
    return false;
  }
  if (f[3].text.size() != 1) {
    error =
        fieldMessage(source, line, f[3], swcore::quoted(f[3].text) + " is no flag (one letter)");
    return false;
  }
  const std::optional<std::int64_t> mode = parseWhole(f[4].text);
  if (!mode || *mode < 0 || *mode > 1000) {
    error =
        fieldMessage(source, line, f[4],
                     swcore::quoted(f[4].text) + " is no mode (0 for the fundamental, 1, 2, ...)");
    return false;
  }
  if (!fieldNumber(source, line, f[5], "the period, s", datum.period, error) ||
      !fieldNumber(source, line, f[6], "the velocity, km/s", datum.velocity, error) ||
      !fieldNumber(source, line, f[7], "its standard deviation, km/s", datum.deviation, error)) {
    return false;
  }
  if (!(datum.period > 0.0)) {
    error = fieldMessage(source, line, f[5], "the period must be positive");
    return false;
  }
  if (!(datum.velocity > 0.0)) {
    error = fieldMessage(source, line, f[6], "the velocity must be positive");
    return false;
  }
  // The m/s the km/s make must still be numbers.
  if (!std::isfinite(datum.velocity * kMetresPerSecondPerKilometrePerSecond) ||
      !std::isfinite(datum.deviation * kMetresPerSecondPerKilometrePerSecond)) {
    error = fieldMessage(source, line, f[6], "a velocity or error beyond any number in m/s");
    return false;
  }
  if (datum.deviation < 0.0) {
    error = fieldMessage(source, line, f[7], "the standard deviation must not be negative");
    return false;
  }
  datum.rayleighPhase = f[1].text == "R" && f[2].text == "C";
  datum.mode = static_cast<int>(*mode);
  return true;
}

std::string leftOutNote(std::size_t count) {
  return std::to_string(count) +
         " SURF96 line(s) of Love waves, group velocities or attenuation left out: the curve is "
         "the Rayleigh phase velocity";
}

}  // namespace

bool looksLikeSurf96(std::string_view text) {
  for (const TextLine& line : textLines(text)) {
    if (isContent(line)) return line.fields.front().text == "SURF96";
  }
  return false;
}

bool parseSurf96Curve(std::string_view text, const std::string& source, swcore::CurveFile& curve,
                      std::string& error) {
  swcore::CurveFile read;
  std::size_t leftOut = 0;
  // Where the first error of 0 and the first positive one lie, to name the
  // mixture.
  const TextLine* zeroLine = nullptr;
  bool anyPositive = false;
  std::vector<TextLine> lines = textLines(text);
  for (const TextLine& line : lines) {
    if (!isContent(line)) continue;
    Surf96Datum datum;
    if (!readDatum(source, line, datum, error)) return false;
    if (!datum.rayleighPhase) {
      ++leftOut;
      continue;
    }
    if (datum.deviation > 0.0) {
      anyPositive = true;
    } else if (zeroLine == nullptr) {
      zeroLine = &line;
    }
    read.period.push_back(datum.period);
    read.velocity.push_back(datum.velocity * kMetresPerSecondPerKilometrePerSecond);
    read.deviation.push_back(datum.deviation * kMetresPerSecondPerKilometrePerSecond);
    read.mode.push_back(datum.mode);
    read.line.push_back(line.number);
  }
  if (read.velocity.empty()) {
    error = source + ": no Rayleigh phase-velocity line (SURF96 R C ...)" +
            (leftOut > 0 ? ", only " + std::to_string(leftOut) + " line(s) of other data" : "");
    return false;
  }
  if (anyPositive && zeroLine != nullptr) {
    error = fieldMessage(source, *zeroLine, zeroLine->fields[7],
                         "an error of 0 where other lines give a positive one; give every datum "
                         "its standard deviation, or none");
    return false;
  }
  if (!anyPositive) read.deviation.clear();
  if (leftOut > 0) read.notes.push_back(leftOutNote(leftOut));
  curve = std::move(read);
  return true;
}

std::string formatSurf96Curve(const swcore::CurveFile& curve) {
  std::string text;
  for (std::size_t i = 0; i < curve.frequency.size(); ++i) {
    double sigma = 0.0;
    if (i < curve.deviation.size()) {
      sigma = curve.deviation[i];
    } else if (i < curve.lowBound.size() && i < curve.highBound.size()) {
      sigma = 0.5 * (curve.highBound[i] - curve.lowBound[i]);
    }
    const int mode = i < curve.mode.size() ? curve.mode[i] : 0;
    text += "SURF96 R C X " + std::to_string(mode) + ' ' + exactText(1.0 / curve.frequency[i]) +
            ' ' + shiftedText(curve.velocity[i], kKiloPlaces) + ' ' +
            shiftedText(sigma, kKiloPlaces) + '\n';
  }
  return text;
}

}  // namespace dispfit
