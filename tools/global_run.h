// SPDX-License-Identifier: GPL-3.0-or-later
// dispfit-invert --global after the arguments were understood and the curve
// read: the search with its progress line, the report on standard output
// and the CSV files.
#pragma once

#include <optional>

#include "global_options.h"
#include "site/measured_curve.h"

namespace dispfit {

enum class GlobalOutcome {
  Reported,     // the report is printed (and the CSV files written)
  Failed,       // no model has a curve, or the report or a file could not be written
  InputRefused  // the ranges file or the curve cannot be used
};

GlobalOutcome runGlobalCommand(const GlobalCommand& command, const MeasuredCurve& curve);

// The space of the command, its layers read from the ranges file when one
// is named; none, with the reason told on the standard error stream, when it
// cannot be searched. --bayes samples its prior over the same space.
std::optional<SearchSpace> commandSearchSpace(const GlobalCommand& command);

}  // namespace dispfit
