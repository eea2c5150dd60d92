// SPDX-License-Identifier: GPL-3.0-or-later
// The printed report of a global search: the search's settings, the best
// model with its misfit and the points inside the band, the accepted count,
// and the spread of VsZ and Vs30 over the accepted models with their classes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "dispersion/observed_curve.h"
#include "search/ensemble_statistics.h"
#include "search/global_search.h"
#include "search/search_space.h"
#include "site/fit_statistics.h"

namespace dispfit {

struct GlobalReportInputs {
  SearchSettings settings;
  AcceptanceRule rule;
  swcore::ForwardRuleSettings forward;  // how each model's curve was taken
  MisfitKind kind = MisfitKind::Normalised;
  int fittedPoints = 0;  // m, the points the misfit sums over
  std::int64_t drawn = 0;
  std::int64_t accepted = 0;
  std::int64_t rejected = 0;  // models with a frequency without a root
  bool cancelled = false;
  TrialModel best;
  double bestMisfit = 0.0;
  FitStatistics bestFit;                // of the best model's curve at every measured point
  double constrainedDepth = 0.0;        // m
  std::vector<AverageSpread> averages;  // over the accepted models
};

// The report, each line ending in "\n".
std::string globalReport(const GlobalReportInputs& inputs);

}  // namespace dispfit
