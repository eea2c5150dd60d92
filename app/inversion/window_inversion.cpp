// SPDX-License-Identifier: GPL-3.0-or-later
#include "inversion/window_inversion.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

#include "core/engine_binding.h"
#include "core/model_table.h"
#include "core/number_text.h"
#include "inversion/inversion_report.h"

namespace dispfit {

namespace {

using Settings = WindowInversionSettings;

constexpr const char* kNoDataMessage = DISPFIT_TEXT("Messages", "没有频散数据，无法反演.");

// Velocities, then thicknesses, then densities of the window's layers.
std::vector<float> startingVector(const InversionWindowData& window, int32_t layers) {
  std::vector<float> params(3 * static_cast<size_t>(layers));
  std::copy_n(window.vs, layers, params.begin());
  std::copy_n(window.thickness, layers, params.begin() + layers);
  std::copy_n(window.density, layers, params.begin() + 2 * layers);
  return params;
}

void setWindowBounds(DampedInversion& inversion, int32_t layers, const InversionLimits& limits) {
  const int32_t count = 2 * layers;
  std::vector<float> upper(static_cast<size_t>(count));
  std::vector<float> lower(static_cast<size_t>(count));
  for (int32_t i = 0; i < count; ++i) {
    const bool velocity = i < layers;
    upper[i] = velocity ? limits.vsUpper : limits.thicknessUpper;
    lower[i] = velocity ? limits.vsLower : limits.thicknessLower;
  }
  inversion.setStepThreshold(Settings::kStepThreshold);
  inversion.setBounds(count, upper.data(), lower.data());
}

// The write-back: layer count, velocities and thicknesses of the
// fitted vector (velocities of the layers, then thicknesses).
void writeBack(const std::vector<float>& params, int32_t length, InversionWindowData& window) {
  const int32_t layers = std::clamp(length / 2, int32_t{0}, int32_t{kWindowLayerLimit});
  window.layerCount = layers;
  for (int32_t g = 0; g < layers; ++g) {
    window.vs[g] = params[g];
    window.thickness[g] = params[length / 2 + g];
  }
}

// True when the misfit and the first `length` parameters (the velocities and
// thicknesses) are all finite numbers.
bool finiteResult(float misfit, int32_t length, const std::vector<float>& params) {
  const auto end =
      params.begin() + std::clamp(length, int32_t{0}, static_cast<int32_t>(params.size()));
  return std::isfinite(misfit) &&
         std::all_of(params.begin(), end, [](float value) { return std::isfinite(value); });
}

}  // namespace

std::string inversionLimitsFault(const InversionLimits& limits, const TextTranslator& translator) {
  const auto usable = [](float lower, float upper) {
    return std::isfinite(lower) && std::isfinite(upper) && lower > 0.0f && lower < upper;
  };
  if (!usable(limits.vsLower, limits.vsUpper)) {
    return translator.translate("InversionLimits", "Vs 的下限须为正数且小于上限。");
  }
  if (limits.vsUpper >= kVelocityLimit) {
    return translator.translate("InversionLimits", "Vs 的上限须小于 10000 m/s。");
  }
  if (!usable(limits.thicknessLower, limits.thicknessUpper)) {
    return translator.translate("InversionLimits", "厚度的下限须为正数且小于上限。");
  }
  if (limits.maxIterations < 1 || limits.maxIterations > kIterationCeiling) {
    return fillText(translator.translate("InversionLimits", "迭代次数须在 1 到 %1 之间。"),
                    {std::to_string(kIterationCeiling)});
  }
  return {};
}

std::string inversionLimitsLine(const InversionLimits& limits, const TextTranslator& translator) {
  if (limits == InversionLimits{}) return {};
  return fillText(
      translator.translate("InversionLimits",
                           "反演设置：Vs %1–%2 m/s，厚度 %3–%4 m，最多 %5 次迭代"),
      {exactText(limits.vsLower), exactText(limits.vsUpper), exactText(limits.thicknessLower),
       exactText(limits.thicknessUpper), std::to_string(limits.maxIterations)});
}

WindowInversionOutcome invertWindowCurve(InversionWindowData window, ForwardEngine& engine,
                                         const DampedInversion::MessagePump& pump,
                                         const InversionLimits& limits, const InversionWatch& watch,
                                         const TextTranslator& translator, bool stallEndsFit) {
  if (window.freqCount <= 0) {
    // Nothing to fit: the first misfit would be 0 and read as converged.
    return {false, kNoDataMessage};
  }
  const int32_t layers = std::clamp(window.layerCount, int32_t{0}, int32_t{kWindowLayerLimit});
  const std::vector<float> start = startingVector(window, layers);
  const int32_t groupSizes[] = {window.freqCount};

  WatchedEngine watched(engine, watch.afterEngineRun);
  const auto inversion = std::make_unique<DampedInversion>(
      watched, 1, groupSizes, window.freq, window.vr, 2 * layers, start.data(), false);
  inversion->setMessagePump(pump);
  inversion->setProgress(watch.progress);
  inversion->setControls(limits.maxIterations, Settings::kMisfitTolerance);
  inversion->setStallEndsFit(stallEndsFit);
  setWindowBounds(*inversion, layers, limits);
  inversion->solve();

  WindowInversionOutcome outcome;
  outcome.stop = inversion->stopReason();
  outcome.maxIterations = limits.maxIterations;
  if (watched.stopped()) {
    // The solve ended as after a failed engine run; nothing of it is kept.
    outcome.cancelled = true;
    outcome.text = kInversionCancelled;
    return outcome;
  }
  outcome.succeeded = inversion->succeeded();
  if (!outcome.succeeded) {
    outcome.text = trimmed(inversion->messageText());
    return outcome;
  }
  int32_t iteration = 0;
  float misfit = 0.0f;
  inversion->results(iteration, misfit);
  outcome.iterations = iteration;
  outcome.misfit = misfit;
  // Room for the parameter vector and the densities behind it.
  std::vector<float> params(DampedInversion::kCapacity + DampedInversion::kCapacity / 2);
  int32_t length = 0;
  inversion->currentParams(length, params.data());
  if (!finiteResult(misfit, length, params)) {
    outcome.succeeded = false;
    outcome.text = kNonFiniteInversionResult;
    return outcome;
  }
  writeBack(params, length, window);
  outcome.text = inversionReport(iteration, misfit, length, params.data(), translator);
  const std::string limitsLine = inversionLimitsLine(limits, translator);
  if (!limitsLine.empty()) {
    outcome.text += limitsLine;
    outcome.text += '\n';
  }
  return outcome;
}

std::string limitsText(const InversionLimits& limits) {
  return "Vs " + exactText(limits.vsLower) + " to " + exactText(limits.vsUpper) +
         " m/s, thickness " + exactText(limits.thicknessLower) + " to " +
         exactText(limits.thicknessUpper) + " m, at most " + std::to_string(limits.maxIterations) +
         " iterations";
}

std::string stopReasonWords(StopReason reason, int32_t iterations, int32_t maxIterations) {
  const std::string after = " after " + std::to_string(iterations) + " of at most " +
                            std::to_string(maxIterations) + " iterations";
  switch (reason) {
    case StopReason::Converged:
      return "Stopped: the misfit fell below the tolerance " +
             exactText(Settings::kMisfitTolerance) + " m/s" + after + ".";
    case StopReason::SmallStep:
      return "Stopped: converged, every component of the last step was too small to go on" + after +
             " (a minimum of the misfit, which need not be the deepest).";
    case StopReason::IterationLimit:
      return "Stopped: the iteration limit was reached before the fit converged; the last model "
             "is given (raise --iterations to go on).";
    case StopReason::Stalled:
      return "Stopped: no damped step lowered the misfit further" + after +
             "; the model of the last accepted step is given.";
    case StopReason::Failed:
      return "Stopped: the inversion failed.";
    case StopReason::NotRun:
      break;
  }
  return "Not run.";
}

void presentInversionOutcome(const WindowInversionOutcome& outcome, MessagePresenter& presenter) {
  if (outcome.cancelled) return;
  if (outcome.succeeded) {
    presenter.showReport(outcome.text, EngineBinding::kCaption);
  } else {
    presenter.showPlain(outcome.text);
  }
}

std::string trimmed(const std::string& text) {
  const auto blank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
  const auto first = std::find_if_not(text.begin(), text.end(), blank);
  const auto last = std::find_if_not(text.rbegin(), text.rend(), blank).base();
  return first < last ? std::string(first, last) : std::string();
}

}  // namespace dispfit
