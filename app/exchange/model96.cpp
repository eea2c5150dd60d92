// SPDX-License-Identifier: GPL-3.0-or-later
#include "exchange/model96.h"

#include <algorithm>
#include <cctype>

#include "core/number_text.h"
#include "exchange/layer_line.h"
#include "exchange/text_fields.h"
#include "files/line_message.h"

namespace dispfit {

namespace {

constexpr double kMetresPerKilometre = 1000.0;
constexpr int kKiloPlaces = 3;  // m and m/s written in km and km/s: the point three places on
constexpr double kDefaultVpOverVs = 3.0;  // the window's rule
constexpr std::size_t kHeaderLines = 12;  // MODEL to LINE11, and the column header
constexpr std::size_t kLayerFields = 10;  // H VP VS RHO QP QS ETAP ETAS FREFP FREFS
constexpr std::size_t kLeastLayerFields = 4;

bool isContent(const TextLine& line) {
  return !line.blank() && line.fields.front().text.front() != '#';
}

std::string upper(std::string_view text) {
  std::string result(text);
  std::transform(result.begin(), result.end(), result.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  return result;
}

// The line's text from its first field on, in upper case.
std::string lineWords(const TextLine& line) {
  if (line.blank()) return {};
  return upper(line.text.substr(line.fields.front().column - 1));
}

// What lines 3 to 7 must say, each with the reason the program needs it.
struct Expected {
  std::size_t index;  // among the header lines, from 0
  std::string_view starts;
  std::string_view what;
};
constexpr Expected kExpected[] = {
    {2, "ISOTROPIC", "an isotropic model (ISOTROPIC)"},
    {3, "KGS", "units of km, g/cm3 and s (KGS)"},
    {4, "FLAT EARTH", "a flat earth (FLAT EARTH)"},
    {5, "1-D", "a layered, one-dimensional model (1-D)"},
};

}  // namespace

bool looksLikeModel96(std::string_view text) {
  for (const TextLine& line : textLines(text)) {
    if (isContent(line)) return upper(line.fields.front().text).starts_with("MODEL");
  }
  return false;
}

bool parseModel96(std::string_view text, const std::string& source,
                  const swcore::InputLimits& limits, swcore::ModelFile& model, std::string& error) {
  const std::vector<TextLine> lines = textLines(text);
  // The twelve lines from the MODEL line on, whatever they hold (the title
  // may be blank), then the layer lines, blank ones passed over.
  std::vector<const TextLine*> content;
  for (const TextLine& line : lines) {
    if (!line.blank() || (!content.empty() && content.size() < kHeaderLines)) {
      content.push_back(&line);
    }
  }
  if (content.size() < kHeaderLines) {
    error = source + ": " + std::to_string(content.size()) +
            " line(s); a model96 file opens with " + std::to_string(kHeaderLines) +
            " lines before its layers";
    return false;
  }
  if (!lineWords(*content[0]).starts_with("MODEL")) {
    error = fieldMessage(source, *content[0], content[0]->fields.front(),
                         "a model96 file begins with the word MODEL");
    return false;
  }
  for (const Expected& expected : kExpected) {
    const TextLine& line = *content[expected.index];
    if (!lineWords(line).starts_with(expected.starts)) {
      const TextField start = line.blank() ? TextField{{}, 1} : line.fields.front();
      error = fieldMessage(source, line, start,
                           swcore::quoted(line.text.substr(start.column - 1)) +
                               " where the program takes " + std::string(expected.what));
      return false;
    }
  }
  swcore::ModelFile read;
  const std::size_t layers = content.size() - kHeaderLines;
  if (const std::string fault = swcore::layerCountFault(static_cast<std::int64_t>(layers), limits);
      !fault.empty()) {
    error = source + ": " + fault;
    return false;
  }
  for (std::size_t i = 0; i < layers; ++i) {
    const TextLine& line = *content[kHeaderLines + i];
    if (line.fields.size() < kLeastLayerFields || line.fields.size() > kLayerFields) {
      error = fieldMessage(source, line, line.fields.front(),
                           std::to_string(line.fields.size()) +
                               " values where a model96 layer gives ten: H, VP, VS, RHO, QP, QS, "
                               "ETAP, ETAS, FREFP, FREFS");
      return false;
    }
    // km and km/s as m and m/s.
    static constexpr LayerLineUnits kUnits{
        {"H, km", "VP, km/s", "VS, km/s", "RHO, g/cm3"},
        {kMetresPerKilometre, kMetresPerKilometre, kMetresPerKilometre, 1.0}};
    std::array<double, 4> values{};
    if (!readLayerLine(source, line, i, i + 1 == layers, kUnits, values, error)) return false;
    read.thickness.push_back(values[0]);
    read.pVelocity.push_back(values[1]);
    read.shearVelocity.push_back(values[2]);
    read.density.push_back(values[3]);
  }
  model = std::move(read);
  return true;
}

std::string formatModel96(const swcore::ModelFile& model, std::string_view title) {
  std::string text = "MODEL.01\n";
  text += title.empty() ? std::string_view("DispFit model") : title;
  text +=
      "\nISOTROPIC\nKGS\nFLAT EARTH\n1-D\nCONSTANT VELOCITY\nLINE08\nLINE09\nLINE10\nLINE11\n"
      "      H(KM)   VP(KM/S)   VS(KM/S) RHO(GM/CC)     QP         QS       ETAP       ETAS      "
      "FREFP      FREFS\n";
  const std::size_t layers = model.shearVelocity.size();
  for (std::size_t i = 0; i < layers; ++i) {
    const double vp =
        i < model.pVelocity.size() ? model.pVelocity[i] : kDefaultVpOverVs * model.shearVelocity[i];
    const double thickness = i + 1 == layers ? 0.0 : model.thickness[i];
    text += shiftedText(thickness, kKiloPlaces) + ' ' + shiftedText(vp, kKiloPlaces) + ' ' +
            shiftedText(model.shearVelocity[i], kKiloPlaces) + ' ' + exactText(model.density[i]) +
            " 0 0 0 0 1 1\n";
  }
  return text;
}

}  // namespace dispfit
