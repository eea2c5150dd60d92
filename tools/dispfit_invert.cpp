// SPDX-License-Identifier: GPL-3.0-or-later
// dispfit-invert [OPTIONS] MODEL CURVE: the window's inversion without the
// window. Fits the layer velocities and thicknesses of MODEL (or of a model
// suggested by the curve) to the measured curve in CURVE with the window's
// settings or those the options give, prints the same report and what the
// fitted model says about the site, and optionally exports both as CSV.
#include <algorithm>
#include <iostream>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/engine_binding.h"
#include "core/number_text.h"
#include "core/program_version.h"
#include "core/stream_message_presenter.h"
#include "field_report.h"
#include "files/text_file.h"
#include "global_options.h"
#include "global_run.h"
#include "inversion/core_forward_engine.h"
#include "inversion/inversion_bounds.h"
#include "inversion/inversion_files.h"
#include "inversion/inversion_report.h"
#include "inversion/modal_curve_engine.h"
#include "inversion/window_inversion.h"
#include "invert_options.h"
#include "posterior_run.h"
#include "records/file_replacement.h"
#include "site/export_layouts.h"
#include "site/measured_curve_file.h"
#include "site/starting_model.h"

namespace dispfit {
namespace {

constexpr int kSolved = 0;
constexpr int kSolveFailed = 1;
constexpr int kUsageOrFileError = 2;

// Passes on what standard output still holds; false, with a message, when
// some of `what` did not arrive (a full disk, a closed descriptor).
bool delivered(const char* what) {
  std::cout.flush();
  if (std::cout) {
    return true;
  }
  std::cerr << "dispfit-invert: " << what << " could not be written to standard output\n";
  return false;
}

// The starting model of the model file, or none with the message shown. A
// P velocity the file gives is not what the inversion computes with unless
// an option sets the rule; a note says so.
std::optional<ParsedLayers> modelFromFile(const std::string& path, const VpRule& rule) {
  LayeredModel model;
  if (const std::string error = readLayeredModelFile(path, model); !error.empty()) {
    std::cerr << "dispfit-invert: " << error << '\n';
    return std::nullopt;
  }
  if (!model.vp.empty()) {
    std::cerr << "dispfit-invert: " << path << ": the file's Vp is not used: the inversion takes "
              << vpRuleText(rule) << " (--vp, --poisson or --water-table set another rule)\n";
  }
  return ParsedLayers{model.thickness, model.vs, model.density};
}

// The model's curve at every measured point, one engine run per
// ForwardCall::kCapacity points; none when a run failed (its message shown).
std::optional<ComputedCurve> curveAtPoints(const ParsedLayers& model,
                                           const std::vector<MeasuredPoint>& points,
                                           ForwardEngine& engine) {
  std::vector<float> velocities;
  velocities.reserve(points.size());
  for (std::size_t first = 0; first < points.size(); first += ForwardCall::kCapacity) {
    ForwardCall call;
    call.layerCount = model.count();
    std::copy(model.thickness.begin(), model.thickness.end(), call.thickness);
    std::copy(model.vs.begin(), model.vs.end(), call.vs);
    std::copy(model.density.begin(), model.density.end(), call.density);
    const std::size_t count =
        std::min(points.size() - first, static_cast<std::size_t>(ForwardCall::kCapacity));
    call.freqCount = static_cast<int32_t>(count);
    for (std::size_t i = 0; i < count; ++i) {
      call.freq[i] = static_cast<float>(points[first + i].frequency);
    }
    if (!engine.run(call)) return std::nullopt;
    velocities.insert(velocities.end(), call.phaseVelocity, call.phaseVelocity + count);
  }
  return computedCurve(velocities);
}

// PREFIX_curve.csv and PREFIX_model.csv, each replaced whole or not at all.
bool writeCsv(const std::string& prefix, const MeasuredCurve& curve, const ComputedCurve& fitted,
              const ParsedLayers& model) {
  const std::pair<std::string, std::string> files[] = {
      {prefix + "_curve.csv", curveCsv(curve.points, fitted, CurveKind::Fitted)},
      {prefix + "_model.csv", modelCsv(model)},
  };
  for (const auto& [path, text] : files) {
    std::string error;
    if (!swcore::replaceFileText(path, text, error)) {
      std::cerr << "dispfit-invert: " << path << " could not be written: " << error << '\n';
      return false;
    }
  }
  return true;
}

// The measured curve of the file, what was done to it told on standard
// error; none, with the reason told, when the file cannot be used.
std::optional<MeasuredCurve> measuredCurve(const std::string& path,
                                           const swcore::ColumnChoice& columns) {
  CurvePreparation prepared = readMeasuredCurveFile(path, columns);
  if (!prepared.curve) {
    std::cerr << "dispfit-invert: " << prepared.error << '\n';
    std::string text;
    std::string ignored;
    if (columns.position.empty() && swcore::readTextFile(path, path, text, ignored) &&
        curveHeaderNeedsChoice(text)) {
      std::cerr << "dispfit-invert: say which column is which with --columns, for example "
                   "--columns f=1,v=2,sigma=3 or --columns lambda=wavelength,v=c_mean,"
                   "low=c_low,high=c_up\n";
    }
    return std::nullopt;
  }
  for (const std::string& note : prepared.curve->notes) {
    std::cerr << "dispfit-invert: " << path << ": " << note << '\n';
  }
  return std::move(prepared.curve);
}

// The fitted layers as a model file with the Vp the inversion computed with.
swcore::ModelFile modelFileOf(const ParsedLayers& layers, const VpRule& rule) {
  swcore::ModelFile model;
  double top = 0.0;
  for (int i = 0; i < layers.count(); ++i) {
    const auto layer = static_cast<std::size_t>(i);
    model.thickness.push_back(decimalValue(layers.thickness[layer]));
    model.shearVelocity.push_back(decimalValue(layers.vs[layer]));
    model.density.push_back(decimalValue(layers.density[layer]));
    model.pVelocity.push_back(pVelocity(rule, model.shearVelocity.back(), top));
    top += model.thickness.back();
  }
  return model;
}

struct FittedModel {
  std::string report;  // the inversion's report, the half-space's thickness left out
  ParsedLayers layers;
  WindowInversionOutcome outcome;
};

// The window's report of the fitted layers, with "-" for the half-space's
// thickness, which the fit does not use, and the line of changed settings.
std::string commandLineReport(const WindowInversionOutcome& outcome, const ParsedLayers& layers,
                              const InversionLimits& limits) {
  std::vector<float> params(layers.vs.begin(), layers.vs.end());
  params.insert(params.end(), layers.thickness.begin(), layers.thickness.end());
  std::string text = inversionReportWithoutHalfSpaceThickness(outcome.iterations, outcome.misfit,
                                                              2 * layers.count(), params.data());
  if (const std::string line = inversionLimitsLine(limits); !line.empty()) text += line + '\n';
  return text;
}

// The start fitted to the points the curve keeps for the inversion, through
// the window's inversion on arrays shaped as the window's; none, with the
// reason told, when the inversion fails.
std::optional<FittedModel> fittedModel(const ParsedLayers& start, const MeasuredCurve& curve,
                                       const InversionLimits& limits, ForwardEngine& engine,
                                       bool stallEndsFit) {
  int32_t layerCount = start.count();
  std::vector<float> vs(kWindowLayerLimit);
  std::vector<float> thickness(kWindowLayerLimit);
  std::copy(start.vs.begin(), start.vs.end(), vs.begin());
  std::copy(start.thickness.begin(), start.thickness.end(), thickness.begin());
  std::vector<float> freq;
  std::vector<float> velocity;
  for (const MeasuredPoint& point : curve.inverted) {
    freq.push_back(static_cast<float>(point.frequency));
    velocity.push_back(static_cast<float>(point.velocity));
  }
  const InversionWindowData data{layerCount,
                                 vs.data(),
                                 thickness.data(),
                                 start.density.data(),
                                 static_cast<int32_t>(freq.size()),
                                 freq.data(),
                                 velocity.data()};
  WindowInversionOutcome outcome =
      invertWindowCurve(data, engine, {}, limits, {}, sourceTexts(), stallEndsFit);
  if (!outcome.succeeded) {
    std::cerr << "dispfit-invert: " << outcome.text << '\n';
    return std::nullopt;
  }
  const auto layers = static_cast<std::size_t>(layerCount);
  ParsedLayers fitted{{thickness.begin(), thickness.begin() + layers},
                      {vs.begin(), vs.begin() + layers},
                      {start.density.begin(), start.density.begin() + layers}};
  std::string report = commandLineReport(outcome, fitted, limits);
  return FittedModel{std::move(report), std::move(fitted), std::move(outcome)};
}

// The run after the arguments were understood; the exit status.
int run(const InvertCommand& command) {
  // The model file is read first, so that its faults are told before the
  // curve's, as the order of the arguments has them.
  std::optional<ParsedLayers> start;
  if (!command.suggestedLayers) {
    start = modelFromFile(command.modelPath, command.vpRule);
    if (!start) return kUsageOrFileError;
  }
  const std::optional<MeasuredCurve> curve =
      measuredCurve(command.curvePath, command.exchange.columns);
  if (!curve) return kUsageOrFileError;
  // A suggested start and the bounds are brought together (see
  // inversion_bounds.h); a start from a file is begun mid-range where it lies
  // outside, as the window does. Notes say which.
  InversionLimits limits = command.limits;
  std::vector<std::string> startNotes;
  if (command.suggestedLayers) {
    StartAgreement agreement =
        agreeStartWithBounds(suggestStartingModel(curve->points, *command.suggestedLayers), limits,
                             command.vsBoundsGiven, command.thicknessBoundsGiven);
    start = std::move(agreement.start);
    limits = agreement.limits;
    startNotes = std::move(agreement.notes);
  } else {
    startNotes = startOutsideBounds(*start, limits);
  }

  StreamMessagePresenter messages(std::cerr);
  // FORWARD (Vp = 3 Vs) unless a P-velocity rule is given, which the curve
  // core computes with. A curve whose points name their mode is fitted
  // through the curve core, each point against its mode (Vp = 3 Vs). The fit
  // runs at the inverted points, the fitted curve at every point: each list
  // has its own engine.
  EngineBinding library(messages);
  CoreForwardEngine core(command.vpRule, messages);
  std::optional<ModalCurveEngine> modalFit = modalEngineFor(curve->inverted);
  std::optional<ModalCurveEngine> modalCurve = modalEngineFor(curve->points);
  if (modalCurve && !(command.vpRule == VpRule{})) {
    std::cerr << "dispfit-invert: " << command.curvePath
              << ": the points name their modes, which are fitted with Vp = 3 Vs; leave out the "
                 "P-velocity rule\n";
    return kUsageOrFileError;
  }
  if (modalCurve) {
    std::cerr << "dispfit-invert: " << command.curvePath
              << ": the points name their modes: each is fitted against its mode through the "
                 "curve core\n";
  }
  const auto engineOf = [&](std::optional<ModalCurveEngine>& modal) -> ForwardEngine& {
    if (modal) return *modal;
    return command.vpRule == VpRule{} ? static_cast<ForwardEngine&>(library) : core;
  };
  // Through the curve core a fit at its minimum finds no lower damped step;
  // it ends there with its model rather than failing.
  const bool throughCore = modalFit.has_value() || !(command.vpRule == VpRule{});
  const std::optional<FittedModel> fitted =
      fittedModel(*start, *curve, limits, engineOf(modalFit), throughCore);
  if (!fitted) return kSolveFailed;
  const std::optional<ComputedCurve> fittedCurve =
      curveAtPoints(fitted->layers, curve->points, engineOf(modalCurve));
  if (!fittedCurve) {
    std::cerr << "dispfit-invert: the fitted model's curve could not be computed\n";
    return kSolveFailed;
  }
  FieldReportInputs report{
      limits, command.vpRule, static_cast<int>(curve->inverted.size()),
      fitStatistics(curve->points, *fittedCurve),
      summarizeSite(fitted->layers.thickness, fitted->layers.vs, constrainedDepth(curve->points))};
  report.stopped = stopReasonWords(fitted->outcome.stop, fitted->outcome.iterations,
                                   fitted->outcome.maxIterations);
  report.startNotes = startNotes;
  for (const ParameterAtBound& at : parametersAtBounds(fitted->layers, limits)) {
    report.atBounds.push_back(atBoundText(at));
  }
  std::cout << fitted->report << fieldReport(report);
  if (!delivered("the report")) return kSolveFailed;
  if (command.csvPrefix && !writeCsv(*command.csvPrefix, *curve, *fittedCurve, fitted->layers)) {
    return kSolveFailed;
  }
  if (!writeExchangeFiles(command.exchange, *curve, modelFileOf(fitted->layers, command.vpRule))) {
    return kSolveFailed;
  }
  return kSolved;
}

// dispfit-invert --global or --bayes: the search of a space of models, or
// its posterior, instead of the fit of one.
int runGlobal(std::span<const std::string_view> arguments) {
  const GlobalCommand command = parseGlobalOptions(arguments);
  switch (command.action) {
    case GlobalCommand::Action::Help:
      std::cout << invertUsage() << globalUsage() << posteriorUsage() << exchangeUsage();
      return delivered("the help") ? kSolved : kSolveFailed;
    case GlobalCommand::Action::Error:
      std::cerr << "dispfit-invert: " << command.error << '\n';
      return kUsageOrFileError;
    case GlobalCommand::Action::Run:
      break;
  }
  const std::optional<MeasuredCurve> curve =
      measuredCurve(command.curvePath, command.exchange.columns);
  if (!curve) return kUsageOrFileError;
  const GlobalOutcome outcome = command.method == GlobalCommand::Method::Posterior
                                    ? runPosteriorCommand(command, *curve)
                                    : runGlobalCommand(command, *curve);
  switch (outcome) {
    case GlobalOutcome::Reported:
      return kSolved;
    case GlobalOutcome::Failed:
      return kSolveFailed;
    case GlobalOutcome::InputRefused:
      break;
  }
  return kUsageOrFileError;
}

}  // namespace
}  // namespace dispfit

int main(int argc, char** argv) {
  using namespace dispfit;
  const std::vector<std::string_view> arguments(argv + 1, argv + argc);
  if (asksForVersion(arguments)) {
    std::cout << versionText("dispfit-invert");
    return delivered("the version") ? kSolved : kSolveFailed;
  }
  if (asksForGlobalSearch(arguments)) return runGlobal(arguments);
  const InvertCommand command = parseInvertOptions(arguments);
  switch (command.action) {
    case InvertCommand::Action::Help:
      std::cout << invertUsage() << globalUsage() << posteriorUsage() << exchangeUsage();
      return delivered("the help") ? kSolved : kSolveFailed;
    case InvertCommand::Action::Error:
      std::cerr << "dispfit-invert: " << command.error << '\n';
      return kUsageOrFileError;
    case InvertCommand::Action::Run:
      break;
  }
  return run(command);
}
