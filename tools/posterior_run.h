// SPDX-License-Identifier: GPL-3.0-or-later
// dispfit-invert --bayes after the arguments were understood and the curve
// read: the search for the chains' starts and the sampler with their
// progress line, the report on standard output, the warning of a run that
// has not converged on standard error, and the CSV files.
#pragma once

#include "global_options.h"
#include "global_run.h"
#include "site/measured_curve.h"

namespace dispfit {

GlobalOutcome runPosteriorCommand(const GlobalCommand& command, const MeasuredCurve& curve);

}  // namespace dispfit
