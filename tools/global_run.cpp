// SPDX-License-Identifier: GPL-3.0-or-later
#include "global_run.h"

#include <unistd.h>

#include <cmath>
#include <iostream>
#include <utility>

#include "global_report.h"
#include "progress_line.h"
#include "search/ensemble_tables.h"
#include "search/search_ranges_text.h"
#include "table_files.h"

namespace dispfit {

namespace {}  // namespace

std::optional<SearchSpace> commandSearchSpace(const GlobalCommand& command) {
  SearchSpace space = command.space;
  if (command.rangesPath) {
    RangesReading reading = readSearchRangesFile(*command.rangesPath);
    if (!reading.layers) {
      std::cerr << "dispfit-invert: " << reading.error << '\n';
      return std::nullopt;
    }
    space.layers = std::move(*reading.layers);
  }
  if (const std::string fault = searchSpaceFault(space); !fault.empty()) {
    std::cerr << "dispfit-invert: "
              << (command.rangesPath ? *command.rangesPath + ": " : std::string()) << fault << '\n';
    return std::nullopt;
  }
  return space;
}

namespace {

// The best model's curve at every measured point, as the fit statistics
// take it.
ComputedCurve curveAtEveryPoint(const TrialModel& model, const MeasuredCurve& curve,
                                const swcore::ForwardRuleSettings& rule) {
  const CurveMisfit points(curve.points, rule);
  ComputedCurve computed(curve.points.size());
  if (!points.fault().empty()) return computed;
  MisfitEvaluator evaluator(points);
  const std::span<const double> velocities = evaluator.curveOf(model);
  for (std::size_t i = 0; i < velocities.size(); ++i) {
    if (std::isfinite(velocities[i])) computed[i] = static_cast<float>(velocities[i]);
  }
  return computed;
}

}  // namespace

GlobalOutcome runGlobalCommand(const GlobalCommand& command, const MeasuredCurve& curve) {
  const std::optional<SearchSpace> space = commandSearchSpace(command);
  if (!space) return GlobalOutcome::InputRefused;
  const CurveMisfit misfit(curve.inverted, command.forward);
  if (!misfit.fault().empty()) {
    std::cerr << "dispfit-invert: " << command.curvePath << ": " << misfit.fault() << '\n';
    return GlobalOutcome::InputRefused;
  }

  ProgressLine line(std::cerr, isatty(STDERR_FILENO) == 1, misfit.kind());
  const SearchEnsemble ensemble =
      runGlobalSearch(*space, misfit, command.settings, command.rule,
                      [&line](const SearchProgress& progress) { line.update(progress); });
  line.finish();

  const std::size_t best = ensemble.best();
  if (best == ensemble.size()) {
    std::cerr << "dispfit-invert: no model of the ranges has a curve at every measured "
                 "frequency\n";
    return GlobalOutcome::Failed;
  }
  const ParameterMap map(*space);
  const std::vector<bool> accepted = acceptedModels(ensemble, command.rule);
  std::vector<TrialModel> acceptedModels;
  std::int64_t rejected = 0;
  for (std::size_t i = 0; i < ensemble.size(); ++i) {
    if (!std::isfinite(ensemble.misfits[i])) ++rejected;
    if (!accepted[i]) continue;
    map.model(ensemble.coordinatesOf(i), acceptedModels.emplace_back());
  }
  GlobalReportInputs report;
  report.settings = command.settings;
  report.rule = command.rule;
  report.forward = command.forward;
  report.kind = misfit.kind();
  report.fittedPoints = static_cast<int>(curve.inverted.size());
  report.drawn = static_cast<std::int64_t>(ensemble.size());
  report.accepted = static_cast<std::int64_t>(acceptedModels.size());
  report.rejected = rejected;
  report.cancelled = ensemble.cancelled;
  map.model(ensemble.coordinatesOf(best), report.best);
  report.bestMisfit = ensemble.misfits[best];
  report.bestFit =
      fitStatistics(curve.points, curveAtEveryPoint(report.best, curve, command.forward));
  report.constrainedDepth = constrainedDepth(curve.points);
  report.averages = averageSpreads(acceptedModels, report.constrainedDepth);

  std::cout << globalReport(report);
  std::cout.flush();
  if (!std::cout) {
    std::cerr << "dispfit-invert: the report could not be written to standard output\n";
    return GlobalOutcome::Failed;
  }
  if (command.csvPrefix) {
    // The profile reaches half as far again as the data constrain, so that
    // the spread's growth below that depth shows.
    constexpr double kProfileReach = 1.5;
    const std::pair<std::string, std::string> files[3] = {
        {"_best.csv", bestModelTable(report.best)},
        {"_models.csv", ensembleTable(ensemble, map, accepted)},
        {"_profile.csv",
         profileTable(vsProfile(acceptedModels, kProfileReach * report.constrainedDepth))},
    };
    if (!writeTableFiles(*command.csvPrefix, files)) return GlobalOutcome::Failed;
  }
  const swcore::ModelFile bestModel{report.best.thickness, report.best.vs, report.best.density,
                                    report.best.vp};
  if (!writeExchangeFiles(command.exchange, curve, bestModel)) return GlobalOutcome::Failed;
  return GlobalOutcome::Reported;
}

}  // namespace dispfit
