// The invert command without its widgets: takes the window's curve as data
// and its model as the start, solves with the window's settings, writes the
// fitted model back and gives the report or the failure message.
#pragma once

#include <cstdint>
#include <string>

#include "core/forward_engine.h"
#include "core/message_presenter.h"
#include "inversion/damped_inversion.h"

namespace dispfit {

// The window arrays an inversion reads and, on success, writes.
struct InversionWindowData {
  static constexpr int kLayerCapacity = 20;

  int32_t& layerCount;
  float* vs;         // kLayerCapacity entries, written on success
  float* thickness;  // kLayerCapacity entries, written on success
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

struct WindowInversionOutcome {
  bool succeeded = false;
  std::string text;  // the report, or the failure message trimmed at both ends
};

// Runs one inversion of the window's curve. On success the fitted
// velocities and thicknesses (and the layer count) go into the window's
// arrays; on failure they stay as they were. pump lets pending window
// messages run during the solve.
WindowInversionOutcome invertWindowCurve(InversionWindowData window, ForwardEngine& engine,
                                         const DampedInversion::MessagePump& pump);

// The report in a box with the program's caption and the warning icon, a
// failure in the plain message dialog.
void presentInversionOutcome(const WindowInversionOutcome& outcome, MessagePresenter& presenter);

// The text without the blanks, line breaks and other control characters at
// either end.
std::string trimmed(const std::string& text);

}  // namespace dispfit
