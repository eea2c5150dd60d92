// SPDX-License-Identifier: GPL-3.0-or-later
// The curve of a model at a list of frequencies under a forward rule: which
// of the model's Rayleigh modes stands for the measured phase velocity at
// each frequency. This is the forward model of the searches (the global
// search, and a sampler that scores models the same way): one
// ObservedCurveSolver per thread, each holding all its working data.
//
//   lowest root            the fundamental mode of DispersionCurveSolver::
//                          compute, the lowest zero below the half-space S
//                          velocity, whatever it does at the surface
//   surface-observed       the lowest mode whose vertical surface response to
//   fundamental            a vertical point force at the surface
//                          (medium_response.h) is at least `fraction` of the
//                          largest among the modes there (every mode below
//                          the half-space S velocity). Where the
//                          lowest root is a mode trapped in a buried soft
//                          layer, which barely moves the surface, a surface
//                          array records the next mode that does: this rule
//                          gives that one (O'Neill & Matsuoka 2005 show the
//                          pitfall of the lowest root under a stiff crust).
//
// A point of a curve file may name its mode; such a point is the zero of
// that mode whatever the rule (computeWithModes).
//
// Units are those of the curve solver: m, m/s, Hz, kg/m3.
#pragma once

#include <span>
#include <string>
#include <vector>

#include "dispersion/dispersion_curve.h"
#include "dispersion/eigenfunction.h"

namespace swcore {

enum class ForwardRule { lowestRoot, surfaceObserved };

struct ForwardRuleSettings {
  ForwardRule rule = ForwardRule::surfaceObserved;
  // The share of the largest response a mode must reach, in (0, 1].
  double fraction = 0.1;
  // The modes compared: 0 .. modes - 1, 1 to kMaxModes; by default every
  // mode below the half-space S velocity (up to kMaxModes). Fewer can leave
  // the one a surface array records out: under 6 m of 353 m/s over softer
  // layers, at 80 Hz, it is mode 9 of 12, the crust's own Rayleigh wave.
  int modes = kMaxModes;
};

// "lowest root" or "surface-observed fundamental".
const char* ruleName(ForwardRule rule);

// One sentence a report gives of the rule, e.g. "surface-observed fundamental
// (the lowest Rayleigh mode whose vertical surface response to a vertical
// force is at least 10 % of the largest among all modes below the
// half-space S velocity)".
std::string describeRule(const ForwardRuleSettings& settings);

// Whether the settings can be used: the fraction in (0, 1] and a mode count
// in 1 .. kMaxModes; otherwise why not.
std::string ruleSettingsFault(const ForwardRuleSettings& settings);

// The curve at one frequency: the velocity of the mode the rule took, and
// that mode's number (0 the fundamental); without a root both NaN and -1.
struct ObservedPoint {
  bool hasRoot = false;
  double phaseVelocity = 0.0;  // m/s
  int mode = -1;
};

// A mode a point names: anyMode lets the rule choose.
inline constexpr int kAnyMode = -1;

class ObservedCurveSolver {
 public:
  // out[j] is the point of frequencies[j] under `settings` (which must pass
  // ruleSettingsFault). The lowest root gives the values of
  // DispersionCurveSolver::compute bit for bit; the surface-observed
  // fundamental takes the zeros of computeModes (within 1e-5 m/s of the
  // secular function's) and the motion of every mode where more than one
  // exists. Refused as compute() refuses.
  CurveStatus compute(std::span<const ModelLayer> model, std::span<const double> frequencies,
                      const ForwardRuleSettings& settings, std::span<ObservedPoint> out);

  // The same, with modes[j] the mode frequencies[j] must give, or kAnyMode
  // for the rule's; a named mode the model does not carry there gives no
  // root. modes holds one entry per frequency.
  CurveStatus computeWithModes(std::span<const ModelLayer> model,
                               std::span<const double> frequencies, std::span<const int> modes,
                               const ForwardRuleSettings& settings, std::span<ObservedPoint> out);

  // The responses of the modes at the last frequency the surface-observed
  // rule compared modes at (m/N at 1 m; 0 for an absent mode), for tests
  // and reports.
  std::span<const double> lastResponses() const { return responses_; }

 private:
  DispersionCurveSolver solver_;
  Eigenfunction eigen_;
  std::vector<CurvePoint> points_;
  std::vector<double> responses_;
};

}  // namespace swcore
