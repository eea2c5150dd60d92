// SPDX-License-Identifier: GPL-3.0-or-later
// The printed report of dispfit-invert --bayes: the model of the problem
// (likelihood, prior, sampler), the convergence figures, the credible
// intervals of VsZ, Vs30 and Vs over depth, the site class probabilities,
// the maximum a posteriori and best-fit models.
#pragma once

#include <cstdint>
#include <string>

#include "dispersion/observed_curve.h"
#include "sampling/model_prior.h"
#include "sampling/parallel_tempering.h"
#include "sampling/posterior_summary.h"

namespace dispfit {

struct PosteriorReportInputs {
  SamplerSettings settings;
  std::int64_t startModels = 0;  // per layer count, of the search for the starts
  bool increasing = false;
  int fittedPoints = 0;
  swcore::ForwardRuleSettings forward;  // how each model's curve was taken
  PosteriorSummary summary;
};

// The warning an R-hat above kMostConvergedRhat (or a cancel) prints, here
// and on the standard error stream.
std::string notConvergedWarning(const PosteriorSummary& summary);

// The warning a check that finds kDepartingShareWarned or more of the samples
// departing prints, here and on the standard error stream; empty otherwise.
std::string recordedModeWarning(const PosteriorSummary& summary);

// The warning a best fit beyond the curve's sigma (chi^2 p below
// kLeastFitPValue) prints, here and on the standard error stream, with the
// likely causes under the run's `rule`; empty otherwise.
std::string misfitWarning(const PosteriorSummary& summary, swcore::ForwardRule rule);

// The report, each line ending in "\n".
std::string posteriorReport(const PosteriorReportInputs& inputs);

}  // namespace dispfit
