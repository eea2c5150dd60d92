// SPDX-License-Identifier: GPL-3.0-or-later
// What dispfit-invert adds to the inversion's report for a measured curve:
// the settings when they are not the window's, what each misfit is, the
// points inside the band and the site's VsZ, Vs30 and classes.
#pragma once

#include <string>
#include <vector>

#include "core/vp_rule.h"
#include "inversion/window_inversion.h"
#include "site/fit_statistics.h"
#include "site/site_summary.h"

namespace dispfit {

struct FieldReportInputs {
  InversionLimits limits;
  VpRule vpRule;         // the default (3 Vs through FORWARD) unless an option changed it
  int fittedPoints = 0;  // M, the points the inversion fitted
  FitStatistics fit;     // of the fitted curve at every measured point
  SiteSummary site;
  std::string stopped = {};                  // why the inversion ended, in words
  std::vector<std::string> startNotes = {};  // how the start and the bounds were brought together
  std::vector<std::string> atBounds = {};    // the fitted parameters on a bound
};

// Lines to follow the inversion's report, each ending in "\n".
std::string fieldReport(const FieldReportInputs& inputs);

}  // namespace dispfit
