// SPDX-License-Identifier: GPL-3.0-or-later
#include "exchange/gpdc_model.h"

#include <optional>

#include "core/number_text.h"
#include "exchange/layer_line.h"
#include "exchange/text_fields.h"
#include "files/line_message.h"

namespace dispfit {

namespace {

constexpr double kKilogramsPerCubicMetrePerGramPerCubicCentimetre = 1000.0;
// Below this no soil or rock is dense in kg/m3 (water is 1000); a file
// whose densities lie under it gives them in g/cm3.
constexpr double kLeastDensityKilogramsPerCubicMetre = 100.0;
constexpr double kDefaultVpOverVs = 3.0;  // the window's rule

bool isContent(const TextLine& line) {
  return !line.blank() && line.fields.front().text.front() != '#';
}

std::vector<const TextLine*> contentLines(const std::vector<TextLine>& lines) {
  std::vector<const TextLine*> content;
  for (const TextLine& line : lines) {
    if (isContent(line)) content.push_back(&line);
  }
  return content;
}

bool layerWidth(std::size_t width) {
  return width == 4 || width == 6;
}

// Below this no S velocity lies (m/s), and above it no density in g/cm3: a
// line whose third value is under it writes the batch run's thickness, Vs and
// density with a fourth number, not gpdc's thickness, Vp, Vs and density.
constexpr double kLeastShearVelocity = 10.0;

// True when the line is a gpdc layer as far as its numbers show: four or six
// of them, the third an S velocity and the fourth a density in kg/m3.
bool gpdcLayerLine(const TextLine& line) {
  if (!layerWidth(line.fields.size())) return false;
  const std::optional<double> vs = parseDecimal(line.fields[2].text);
  const std::optional<double> density = parseDecimal(line.fields[3].text);
  return vs && density && *vs >= kLeastShearVelocity &&
         *density >= kLeastDensityKilogramsPerCubicMetre;
}

}  // namespace

bool looksLikeGpdcModel(std::string_view text) {
  const std::vector<TextLine> lines = textLines(text, true);
  const std::vector<const TextLine*> content = contentLines(lines);
  return content.size() >= 2 && content[0]->fields.size() == 1 &&
         parseWhole(content[0]->fields[0].text).has_value() && gpdcLayerLine(*content[1]);
}

bool parseGpdcModel(std::string_view text, const std::string& source,
                    const swcore::InputLimits& limits, swcore::ModelFile& model,
                    std::string& error) {
  const std::vector<TextLine> lines = textLines(text, true);
  const std::vector<const TextLine*> content = contentLines(lines);
  if (content.empty()) {
    error = source + ": no layer count";
    return false;
  }
  const TextLine& first = *content[0];
  const std::optional<std::int64_t> count = parseWhole(first.fields[0].text);
  if (first.fields.size() != 1 || !count) {
    error = fieldMessage(source, first, first.fields[0],
                         "the first line holds the layer count, a whole number, alone");
    return false;
  }
  if (const std::string fault = swcore::layerCountFault(*count, limits); !fault.empty()) {
    error = fieldMessage(source, first, first.fields[0], fault);
    return false;
  }
  const auto layers = static_cast<std::size_t>(*count);
  if (content.size() < layers + 1) {
    error = source + ": " + std::to_string(content.size() - 1) + " layer line(s) where the count " +
            "says " + std::to_string(layers);
    return false;
  }
  swcore::ModelFile read;
  for (std::size_t i = 0; i < layers; ++i) {
    const TextLine& line = *content[i + 1];
    if (!layerWidth(line.fields.size())) {
      error = fieldMessage(source, line, line.fields.front(),
                           std::to_string(line.fields.size()) +
                               " values where a gpdc layer gives four (thickness, Vp, Vs, "
                               "density) or six (with Qp and Qs)");
      return false;
    }
    // Density in kg/m3, read as g/cm3.
    static constexpr LayerLineUnits kUnits{
        {"the thickness, m", "Vp, m/s", "Vs, m/s", "the density, kg/m3"},
        {1.0, 1.0, 1.0, 1.0 / kKilogramsPerCubicMetrePerGramPerCubicCentimetre}};
    std::array<double, 4> values{};
    if (!readLayerLine(source, line, i, i + 1 == layers, kUnits, values, error)) return false;
    if (values[3] * kKilogramsPerCubicMetrePerGramPerCubicCentimetre <
        kLeastDensityKilogramsPerCubicMetre) {
      error = fieldMessage(source, line, line.fields[3],
                           "a density of " + std::string(line.fields[3].text) +
                               " kg/m3 is less than any ground's; gpdc models give kg/m3, not "
                               "g/cm3");
      return false;
    }
    read.thickness.push_back(values[0]);
    read.pVelocity.push_back(values[1]);
    read.shearVelocity.push_back(values[2]);
    read.density.push_back(values[3]);
  }
  model = std::move(read);
  return true;
}

std::string formatGpdcModel(const swcore::ModelFile& model) {
  const std::size_t layers = model.shearVelocity.size();
  std::string text = std::to_string(layers) + '\n';
  for (std::size_t i = 0; i < layers; ++i) {
    const double vp =
        i < model.pVelocity.size() ? model.pVelocity[i] : kDefaultVpOverVs * model.shearVelocity[i];
    text += exactText(i + 1 == layers ? 0.0 : model.thickness[i]) + ' ' + exactText(vp) + ' ' +
            exactText(model.shearVelocity[i]) + ' ' +
            exactText(model.density[i] * kKilogramsPerCubicMetrePerGramPerCubicCentimetre) + '\n';
  }
  return text;
}

}  // namespace dispfit
