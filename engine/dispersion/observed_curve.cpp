// SPDX-License-Identifier: GPL-3.0-or-later
#include "dispersion/observed_curve.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

#include "dispersion/medium_response.h"

namespace swcore {

namespace {

constexpr double kNoRoot = std::numeric_limits<double>::quiet_NaN();

ObservedPoint pointOf(const CurvePoint& p, int mode) {
  return p.hasRoot ? ObservedPoint{true, p.phaseVelocity, mode} : ObservedPoint{false, kNoRoot, -1};
}

}  // namespace

const char* ruleName(ForwardRule rule) {
  return rule == ForwardRule::lowestRoot ? "lowest root" : "surface-observed fundamental";
}

std::string describeRule(const ForwardRuleSettings& settings) {
  if (settings.rule == ForwardRule::lowestRoot) {
    return "lowest root (the fundamental Rayleigh mode, the lowest phase velocity below the "
           "half-space S velocity)";
  }
  char modes[64];
  if (settings.modes >= kMaxModes) {
    std::snprintf(modes, sizeof modes, "all modes below the half-space S velocity");
  } else {
    std::snprintf(modes, sizeof modes, "modes 0-%d", settings.modes - 1);
  }
  char text[256];
  std::snprintf(text, sizeof text,
                "surface-observed fundamental (the lowest Rayleigh mode whose vertical surface "
                "response to a vertical force is at least %g %% of the largest among %s)",
                100.0 * settings.fraction, modes);
  return text;
}

std::string ruleSettingsFault(const ForwardRuleSettings& settings) {
  if (!(settings.fraction > 0.0 && settings.fraction <= 1.0)) {
    return "the share of the largest response must lie above 0 and at most 1";
  }
  if (settings.modes < 1 || settings.modes > kMaxModes) {
    return "the number of modes compared must lie between 1 and 100";
  }
  return {};
}

CurveStatus ObservedCurveSolver::compute(std::span<const ModelLayer> model,
                                         std::span<const double> frequencies,
                                         const ForwardRuleSettings& settings,
                                         std::span<ObservedPoint> out) {
  const std::vector<int> any(frequencies.size(), kAnyMode);
  return computeWithModes(model, frequencies, any, settings, out);
}

CurveStatus ObservedCurveSolver::computeWithModes(std::span<const ModelLayer> model,
                                                  std::span<const double> frequencies,
                                                  std::span<const int> modes,
                                                  const ForwardRuleSettings& settings,
                                                  std::span<ObservedPoint> out) {
  const std::size_t n = frequencies.size();
  if (out.size() != n || modes.size() != n) {
    return CurveStatus::outputSizeMismatch;
  }
  int highestNamed = -1;
  bool byRule = false;
  for (const int m : modes) {
    if (m == kAnyMode) {
      byRule = true;
    } else if (m < 0 || m >= kMaxModes) {
      return CurveStatus::badModeCount;
    } else {
      highestNamed = std::max(highestNamed, m);
    }
  }
  if (byRule && settings.rule == ForwardRule::lowestRoot) {
    points_.resize(n);
    const CurveStatus status = solver_.compute(model, frequencies, CurveKind::phase, points_);
    if (status != CurveStatus::ok) {
      return status;
    }
    for (std::size_t j = 0; j < n; ++j) {
      if (modes[j] == kAnyMode) {
        out[j] = pointOf(points_[j], 0);
      }
    }
  }
  const bool byResponse = byRule && settings.rule == ForwardRule::surfaceObserved;
  const int compared = byResponse ? settings.modes : 0;
  const int wanted = std::max(highestNamed + 1, compared);
  if (wanted == 0) {
    return CurveStatus::ok;
  }
  const auto perFrequency = static_cast<std::size_t>(wanted);
  points_.resize(n * perFrequency);
  const CurveStatus status = solver_.computeModes(
      model, frequencies, {WaveType::rayleigh, wanted, CurveKind::phase}, points_);
  if (status != CurveStatus::ok) {
    return status;
  }
  for (std::size_t j = 0; j < n; ++j) {
    const std::span<const CurvePoint> at(points_.data() + j * perFrequency, perFrequency);
    if (modes[j] != kAnyMode) {
      out[j] = pointOf(at[static_cast<std::size_t>(modes[j])], modes[j]);
      continue;
    }
    if (!byResponse) {
      continue;
    }
    // The modes there: a run from mode 0 (each absent mode has every higher
    // one absent).
    int present = 0;
    while (present < compared && at[static_cast<std::size_t>(present)].hasRoot) {
      ++present;
    }
    if (present <= 1) {
      out[j] = pointOf(at[0], 0);
      continue;
    }
    responses_.assign(static_cast<std::size_t>(compared), 0.0);
    double largest = 0.0;
    for (int k = 0; k < present; ++k) {
      const auto kk = static_cast<std::size_t>(k);
      if (eigen_.compute(model, WaveType::rayleigh, frequencies[j], at[kk].phaseVelocity,
                         Eigenfunction::Resolution::coarse) == Eigenfunction::Status::ok) {
        responses_[kk] = verticalSurfaceResponse(eigen_, frequencies[j]);
      }
      largest = std::max(largest, responses_[kk]);
    }
    int chosen = 0;
    while (chosen + 1 < present &&
           !(responses_[static_cast<std::size_t>(chosen)] >= settings.fraction * largest)) {
      ++chosen;
    }
    out[j] = pointOf(at[static_cast<std::size_t>(chosen)], chosen);
  }
  return CurveStatus::ok;
}

}  // namespace swcore
