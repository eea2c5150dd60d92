// SPDX-License-Identifier: GPL-3.0-or-later
#include "exchange/gpdc_curve.h"

#include <cmath>
#include <optional>

#include "core/number_text.h"
#include "exchange/text_fields.h"
#include "files/line_message.h"

namespace dispfit {

namespace {

enum class Wave { Unknown, Rayleigh, Love, Other };

bool isComment(const TextLine& line) {
  return !line.blank() && line.fields.front().text.front() == '#';
}

// The words of a comment line after its '#'.
std::vector<std::string_view> commentWords(const TextLine& line) {
  std::vector<std::string_view> words;
  for (const TextField& field : line.fields) {
    std::string_view word = field.text;
    if (words.empty() && word.front() == '#') word.remove_prefix(1);
    if (!word.empty()) words.push_back(word);
  }
  return words;
}

// The mode of a "# Mode N" line.
std::optional<int> modeLine(const TextLine& line) {
  const std::vector<std::string_view> words = commentWords(line);
  if (words.size() != 2 || words[0] != "Mode") return std::nullopt;
  const std::optional<std::int64_t> mode = parseWhole(words[1]);
  if (!mode || *mode < 0 || *mode > 1000) return std::nullopt;
  return static_cast<int>(*mode);
}

// The wave of a "# N Rayleigh dispersion mode(s)" line, Unknown for another.
Wave waveLine(const TextLine& line) {
  const std::vector<std::string_view> words = commentWords(line);
  if (words.size() < 3 || words.back() != "mode(s)") return Wave::Unknown;
  if (words[words.size() - 2] != "dispersion") return Wave::Other;  // ellipticity and the like
  if (words[1] == "Rayleigh") return Wave::Rayleigh;
  if (words[1] == "Love") return Wave::Love;
  return Wave::Other;
}

bool modelLine(const TextLine& line) {
  const std::vector<std::string_view> words = commentWords(line);
  return words.size() >= 2 && words[0] == "Layered" && words[1] == "model";
}

}  // namespace

bool looksLikeGpdcCurve(std::string_view text) {
  for (const TextLine& line : textLines(text)) {
    if (isComment(line) && (modeLine(line) || waveLine(line) != Wave::Unknown)) return true;
  }
  return false;
}

bool parseGpdcCurve(std::string_view text, const std::string& source, swcore::CurveFile& curve,
                    std::string& error) {
  swcore::CurveFile read;
  Wave wave = Wave::Rayleigh;  // gpdc prints Rayleigh modes unless told otherwise
  std::optional<int> mode;
  int models = 0;
  std::size_t leftOut = 0;
  for (const TextLine& line : textLines(text)) {
    if (line.blank()) continue;
    if (isComment(line)) {
      if (modelLine(line)) ++models;
      if (const Wave said = waveLine(line); said != Wave::Unknown) wave = said;
      if (const std::optional<int> said = modeLine(line)) mode = said;
      continue;
    }
    if (!mode) {
      error = fieldMessage(source, line, line.fields.front(),
                           "data before the first \"# Mode N\" line, which says what they are");
      return false;
    }
    if (line.fields.size() != 2) {
      error = fieldMessage(source, line, line.fields.front(),
                           std::to_string(line.fields.size()) +
                               " values where gpdc gives two, the frequency (Hz) and the slowness "
                               "(s/m)");
      return false;
    }
    double frequency = 0.0;
    double slowness = 0.0;
    if (!fieldNumber(source, line, line.fields[0], "the frequency, Hz", frequency, error) ||
        !fieldNumber(source, line, line.fields[1], "the slowness, s/m", slowness, error)) {
      return false;
    }
    if (!(slowness > 0.0) || !std::isfinite(1.0 / slowness)) {
      error = fieldMessage(source, line, line.fields[1],
                           "the slowness must be positive, and not so small that 1 / s is no "
                           "number");
      return false;
    }
    if (models > 1 || wave != Wave::Rayleigh) {
      ++leftOut;
      continue;
    }
    read.frequency.push_back(frequency);
    read.velocity.push_back(1.0 / slowness);
    read.mode.push_back(*mode);
    read.line.push_back(line.number);
  }
  if (read.velocity.empty()) {
    error = source + ": no Rayleigh dispersion datum under a \"# Mode N\" line";
    return false;
  }
  if (leftOut > 0) {
    read.notes.push_back(std::to_string(leftOut) +
                         " gpdc line(s) of Love modes or of further models left out: the curve "
                         "is the first model's Rayleigh modes");
  }
  read.notes.push_back("slowness converted to phase velocity (c = 1 / s)");
  curve = std::move(read);
  return true;
}

}  // namespace dispfit
