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
#include "core/program_version.h"
#include "core/stream_message_presenter.h"
#include "field_report.h"
#include "global_options.h"
#include "global_run.h"
#include "inversion/inversion_files.h"
#include "inversion/modal_curve_engine.h"
#include "inversion/window_inversion.h"
#include "invert_options.h"
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

// The starting model of the model file, or none with the message shown.
std::optional<ParsedLayers> modelFromFile(const std::string& path) {
  LayeredModel model;
  if (const std::string error = readLayeredModelFile(path, model); !error.empty()) {
    std::cerr << "dispfit-invert: " << error << '\n';
    return std::nullopt;
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
std::optional<MeasuredCurve> measuredCurve(const std::string& path) {
  CurvePreparation prepared = readMeasuredCurveFile(path);
  if (!prepared.curve) {
    std::cerr << "dispfit-invert: " << prepared.error << '\n';
    return std::nullopt;
  }
  for (const std::string& note : prepared.curve->notes) {
    std::cerr << "dispfit-invert: " << path << ": " << note << '\n';
  }
  return std::move(prepared.curve);
}

struct FittedModel {
  std::string report;  // the inversion's report
  ParsedLayers layers;
};

// The start fitted to the points the curve keeps for the inversion, through
// the window's inversion on arrays shaped as the window's; none, with the
// reason told, when the inversion fails.
std::optional<FittedModel> fittedModel(const ParsedLayers& start, const MeasuredCurve& curve,
                                       const InversionLimits& limits, ForwardEngine& engine) {
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
  WindowInversionOutcome outcome = invertWindowCurve(data, engine, {}, limits);
  if (!outcome.succeeded) {
    std::cerr << "dispfit-invert: " << outcome.text << '\n';
    return std::nullopt;
  }
  const auto layers = static_cast<std::size_t>(layerCount);
  return FittedModel{std::move(outcome.text),
                     {{thickness.begin(), thickness.begin() + layers},
                      {vs.begin(), vs.begin() + layers},
                      {start.density.begin(), start.density.begin() + layers}}};
}

// The run after the arguments were understood; the exit status.
int run(const InvertCommand& command) {
  // The model file is read first, so that its faults are told before the
  // curve's, as the order of the arguments has them.
  std::optional<ParsedLayers> start;
  if (!command.suggestedLayers) {
    start = modelFromFile(command.modelPath);
    if (!start) return kUsageOrFileError;
  }
  const std::optional<MeasuredCurve> curve = measuredCurve(command.curvePath);
  if (!curve) return kUsageOrFileError;
  if (command.suggestedLayers)
    start = suggestStartingModel(curve->points, *command.suggestedLayers);

  StreamMessagePresenter messages(std::cerr);
  EngineBinding library(messages);
  // A curve whose points name their mode is fitted through the curve core,
  // each point against its mode; any other through FORWARD, as described.
  // The fit runs at the inverted points, the fitted curve at every point:
  // each list has its own engine.
  std::optional<ModalCurveEngine> modalFit = modalEngineFor(curve->inverted);
  std::optional<ModalCurveEngine> modalCurve = modalEngineFor(curve->points);
  if (modalCurve) {
    std::cerr << "dispfit-invert: " << command.curvePath
              << ": the points name their modes: each is fitted against its mode through the "
                 "curve core\n";
  }
  const auto engineOf = [&](std::optional<ModalCurveEngine>& modal) -> ForwardEngine& {
    return modal ? static_cast<ForwardEngine&>(*modal) : library;
  };
  const std::optional<FittedModel> fitted =
      fittedModel(*start, *curve, command.limits, engineOf(modalFit));
  if (!fitted) return kSolveFailed;
  const std::optional<ComputedCurve> fittedCurve =
      curveAtPoints(fitted->layers, curve->points, engineOf(modalCurve));
  if (!fittedCurve) {
    std::cerr << "dispfit-invert: the fitted model's curve could not be computed\n";
    return kSolveFailed;
  }
  const FieldReportInputs report{
      command.limits, static_cast<int>(curve->inverted.size()),
      fitStatistics(curve->points, *fittedCurve),
      summarizeSite(fitted->layers.thickness, fitted->layers.vs, constrainedDepth(curve->points))};
  std::cout << fitted->report << fieldReport(report);
  if (!delivered("the report")) return kSolveFailed;
  if (command.csvPrefix && !writeCsv(*command.csvPrefix, *curve, *fittedCurve, fitted->layers)) {
    return kSolveFailed;
  }
  return kSolved;
}

// dispfit-invert --global: the search of a space of models instead of the
// fit of one.
int runGlobal(std::span<const std::string_view> arguments) {
  const GlobalCommand command = parseGlobalOptions(arguments);
  switch (command.action) {
    case GlobalCommand::Action::Help:
      std::cout << invertUsage() << globalUsage();
      return delivered("the help") ? kSolved : kSolveFailed;
    case GlobalCommand::Action::Error:
      std::cerr << "dispfit-invert: " << command.error << '\n';
      return kUsageOrFileError;
    case GlobalCommand::Action::Run:
      break;
  }
  const std::optional<MeasuredCurve> curve = measuredCurve(command.curvePath);
  if (!curve) return kUsageOrFileError;
  switch (runGlobalCommand(command, *curve)) {
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
      std::cout << invertUsage() << globalUsage();
      return delivered("the help") ? kSolved : kSolveFailed;
    case InvertCommand::Action::Error:
      std::cerr << "dispfit-invert: " << command.error << '\n';
      return kUsageOrFileError;
    case InvertCommand::Action::Run:
      break;
  }
  return run(command);
}
