// SPDX-License-Identifier: GPL-3.0-or-later
// The invert command without its widgets: takes the window's curve as data
// and its model as the start, solves with the window's settings, writes the
// fitted model back and gives the report or the failure message.
#pragma once

#include <cstdint>
#include <string>

#include "core/forward_engine.h"
#include "core/message_presenter.h"
#include "core/watched_engine.h"
#include "core/window_limits.h"
#include "inversion/damped_inversion.h"

namespace dispfit {

// The window arrays an inversion reads and, on success, writes.
struct InversionWindowData {
  int32_t& layerCount;
  float* vs;         // kWindowLayerLimit entries, written on success
  float* thickness;  // kWindowLayerLimit entries, written on success
  const float* density;
  int32_t freqCount;
  const float* freq;
  const float* vr;  // the observed curve
};

// The window's inversion settings.
struct WindowInversionSettings {
  static constexpr int32_t kMaxIterations = 30;
  static constexpr float kMisfitTolerance = 0.001f;
  static constexpr float kVelocityUpper = 1000.0f;  // m/s
  static constexpr float kVelocityLower = 50.0f;
  static constexpr float kThicknessUpper = 5.0f;  // m
  static constexpr float kThicknessLower = 0.1f;
  static constexpr float kStepThreshold = 0.00001f;
};

// The bounds and the iteration limit one inversion runs with, as the user
// may change them: S velocities in m/s, thicknesses in m. The defaults are
// the window's settings.
struct InversionLimits {
  float vsLower = WindowInversionSettings::kVelocityLower;
  float vsUpper = WindowInversionSettings::kVelocityUpper;
  float thicknessLower = WindowInversionSettings::kThicknessLower;
  float thicknessUpper = WindowInversionSettings::kThicknessUpper;
  int32_t maxIterations = WindowInversionSettings::kMaxIterations;

  bool operator==(const InversionLimits&) const = default;
};

// The most iterations an inversion may be given, in the window and in
// dispfit-invert alike. An iteration of a 20-layer fit takes about 80 engine
// runs, some 0.1 s, so 10,000 bound the worst case at about a quarter of an
// hour: long, but the window stays live and can be cancelled, while a slip of
// the keyboard (a million) cannot tie the program up for a day. Fits that
// converge need a few dozen.
inline constexpr int32_t kIterationCeiling = 10000;

// Why `limits` cannot be used, or an empty text: every bound must be a
// positive finite number with the lower one below the upper, the velocity
// bounds below the engine's 10 km/s, the iterations from 1 to
// kIterationCeiling. In the translator's language.
std::string inversionLimitsFault(const InversionLimits& limits,
                                 const TextTranslator& translator = sourceTexts());

// "Vs 50 to 1000 m/s, thickness 0.1 to 5 m, at most 30 iterations": the
// limits in English, for the command line's reports and the exports'
// metadata.
std::string limitsText(const InversionLimits& limits);

// The report's line on limits other than the defaults; empty for these.
std::string inversionLimitsLine(const InversionLimits& limits,
                                const TextTranslator& translator = sourceTexts());

// The failure message of a solve that ended on a misfit or a model parameter
// that is not a finite number; nothing of such a result is kept.
inline constexpr const char* kNonFiniteInversionResult =
    DISPFIT_TEXT("Messages", "反演结果含有非有限数值（拟合差或模型参数），结果未采用.");

// The status text of an inversion the user cancelled.
inline constexpr const char* kInversionCancelled = DISPFIT_TEXT("Messages", "反演已取消。");

struct WindowInversionOutcome {
  bool succeeded = false;
  std::string text;                      // the report, or the failure message trimmed at both ends
  bool cancelled = false;                // stopped on request; text is then kInversionCancelled
  StopReason stop = StopReason::NotRun;  // why the solve ended
  int32_t iterations = 0;                // as the report counts them
  float misfit = 0.0f;                   // the report's, sqrt(sum r^2 / 2M), m/s
  int32_t maxIterations = 0;             // the limit it ran under
};

// Why the inversion ended, in one English sentence for the reports of the
// command line ("Stopped: the misfit fell below the tolerance 0.001.");
// the window says it in its own words.
std::string stopReasonWords(StopReason reason, int32_t iterations, int32_t maxIterations);

// What the window follows during one inversion; empty members do nothing.
struct InversionWatch {
  // Runs after every engine run; Stop cancels the inversion there, and the
  // window's arrays are left as they were.
  WatchedEngine::Watcher afterEngineRun;
  // The fit's progress: iteration 0 for the start, then every accepted one.
  DampedInversion::Progress progress;
};

// Runs one inversion of the window's curve. On success the fitted
// velocities and thicknesses (and the layer count) go into the window's
// arrays; on failure, a result that is not finite included, they stay as
// they were. A curve without data is a failure. pump lets pending window
// messages run during the solve.
// The bounds and the iteration limit are `limits`, which must be free of
// faults; with other than the defaults the report ends with their line.
// `watch` sees every engine run and every accepted iteration and may cancel:
// a cancelled outcome is neither a success nor a failure to report. The
// report is in the translator's language; a failure message is made of
// lines of the Messages context, which a presenter may translate.
// With `stallEndsFit` a fit that finds no damped step lowering its misfit
// after an accepted iteration ends with its model (see
// DampedInversion::setStallEndsFit); the window's inversion runs without.
WindowInversionOutcome invertWindowCurve(InversionWindowData window, ForwardEngine& engine,
                                         const DampedInversion::MessagePump& pump,
                                         const InversionLimits& limits = {},
                                         const InversionWatch& watch = {},
                                         const TextTranslator& translator = sourceTexts(),
                                         bool stallEndsFit = false);

// The report in a box with the program's caption and the warning icon, a
// failure in the plain message dialog; a cancelled inversion shows nothing.
void presentInversionOutcome(const WindowInversionOutcome& outcome, MessagePresenter& presenter);

// The text without the blanks, line breaks and other control characters at
// either end.
std::string trimmed(const std::string& text);

}  // namespace dispfit
