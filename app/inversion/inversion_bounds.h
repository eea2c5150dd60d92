// SPDX-License-Identifier: GPL-3.0-or-later
// The inversion's bounds and the models on either side of a fit: a
// starting model brought to agree with the bounds before the fit, and the
// fitted parameters that ended on a bound after it.
//
// Units: m and m/s. The half-space's thickness is no parameter of the fit
// and takes part in neither.
#pragma once

#include <string>
#include <vector>

#include "core/model_table.h"
#include "inversion/window_inversion.h"

namespace dispfit {

// A starting model outside the bounds would be reset by the inversion to
// the middle of the range, silently. A suggested start and the bounds are
// brought together instead, with a note for each change:
//   - bounds the user chose are kept and the start is clipped into them: the
//     user's bounds say where the answer may lie;
//   - bounds left at their defaults are widened to hold the start, to 1.5
//     times its largest value (or its smallest over 1.5) rounded outwards to
//     0.1 m or 10 m/s, below 10 km/s: the defaults (thicknesses to 5 m) were
//     chosen for the window's thin layers, not for the site, and would keep a
//     suggestion of n layers from reaching below (n - 1) x 5 m, however deep
//     the curve constrains the ground; the room keeps the start off the new
//     bound, where the step limit would pin it.
// On the example curve (constraining 39.9 m) a 4-layer suggestion with a
// 35.4 m third layer then fits 27 of 30 points inside their band (RMS
// 2.8 m/s); clipped to a chosen 10 or 20 m bound, all 30 (RMS 1.3 m/s). A
// parameter that ends on a bound is flagged after the fit (parametersAtBounds).
struct StartAgreement {
  ParsedLayers start;
  InversionLimits limits;
  std::vector<std::string> notes;  // one sentence per change, empty when none was needed
};

StartAgreement agreeStartWithBounds(ParsedLayers start, InversionLimits limits, bool vsBoundsChosen,
                                    bool thicknessBoundsChosen);

// One sentence for each value of a start from a file that lies outside its
// bounds, which the inversion begins mid-range (as the window does).
std::vector<std::string> startOutsideBounds(const ParsedLayers& start,
                                            const InversionLimits& limits);

// A fitted parameter that ended on one of its bounds: the fit could not go
// where the data would take it, and a wider bound may fit better.
struct ParameterAtBound {
  int layer = 0;           // from 1
  bool thickness = false;  // else the S velocity
  bool upper = false;      // else the lower bound
  float value = 0.0f;
  float bound = 0.0f;
};

// Every velocity and thickness (the half-space's aside) within 1e-5 of its
// bound: the step limit sets a parameter onto its bound in single precision,
// and 1e-5 is ten units of its last place, which no free parameter sits that
// close to by chance.
std::vector<ParameterAtBound> parametersAtBounds(const ParsedLayers& model,
                                                 const InversionLimits& limits);

// "layer 3 thickness 5.00 m is at its upper bound 5 m"
std::string atBoundText(const ParameterAtBound& at);

}  // namespace dispfit
