// SPDX-License-Identifier: GPL-3.0-or-later
#include "search/ensemble_tables.h"

#include "core/number_text.h"
#include "files/model_file.h"

namespace dispfit {

namespace {

// A machine table's number: the shortest digits that read back.
void appendNumber(std::string& text, double value) {
  text += exactText(value);
}

// A figure of the profile, which people plot: to the digits it carries.
void appendFigure(std::string& text, double value, Figure figure) {
  text += roundedText(value, figure);
}

}  // namespace

std::vector<std::string> modelReportLines(const TrialModel& model) {
  std::vector<std::string> table{"layer  thickness (m)  Vs (m/s)  Vp (m/s)  density (g/cm3)"};
  for (std::size_t i = 0; i < model.vs.size(); ++i) {
    const bool halfSpace = i + 1 == model.vs.size();
    table.push_back(rightAligned(std::to_string(i + 1), 5) +
                    rightAligned(halfSpace ? std::string("half-space")
                                           : figureText(model.thickness[i], Figure::Length),
                                 15) +
                    rightAligned(figureText(model.vs[i], Figure::Velocity), 10) +
                    rightAligned(figureText(model.vp[i], Figure::Velocity), 10) +
                    rightAligned(figureText(model.density[i], Figure::Density), 17));
  }
  return table;
}

std::string bestModelTable(const TrialModel& model) {
  return swcore::formatModelTable({model.thickness, model.vs, model.density, model.vp});
}

std::string ensembleTable(const SearchEnsemble& ensemble, const ParameterMap& map,
                          const std::vector<bool>& accepted) {
  std::string text = "index";
  for (std::size_t k = 0; k < map.dimension(); ++k) text += ", " + map.parameterName(k);
  text += ", " + misfitName(ensemble.kind) + ", accepted\n";
  for (std::size_t i = 0; i < ensemble.size(); ++i) {
    text += std::to_string(i);
    const std::span<const double> unit = ensemble.coordinatesOf(i);
    for (std::size_t k = 0; k < map.dimension(); ++k) {
      text += ", ";
      appendNumber(text, map.valueAt(unit, k));
    }
    text += ", ";
    appendNumber(text, ensemble.misfits[i]);
    text += accepted[i] ? ", 1\n" : ", 0\n";
  }
  return text;
}

std::string profileTable(std::span<const ProfileRow> rows) {
  std::string text = "depth (m), vs p10 (m/s), vs p50 (m/s), vs p90 (m/s)\n";
  for (const ProfileRow& row : rows) {
    appendFigure(text, row.depth, Figure::Length);
    text += ", ";
    appendFigure(text, row.vs.p10, Figure::Velocity);
    text += ", ";
    appendFigure(text, row.vs.median, Figure::Velocity);
    text += ", ";
    appendFigure(text, row.vs.p90, Figure::Velocity);
    text += '\n';
  }
  return text;
}

}  // namespace dispfit
