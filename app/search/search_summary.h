// SPDX-License-Identifier: GPL-3.0-or-later
// What a finished (or cancelled) global search shows: the best model and its
// curve, the accepted models best first, the percentiles of Vs over depth,
// the spread of VsZ and Vs30, and the envelope of the accepted curves.
//
// Units: m, m/s; misfits as the curve's MisfitKind names them.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "search/curve_envelope.h"
#include "search/curve_misfit.h"
#include "search/ensemble_statistics.h"
#include "search/global_search.h"
#include "search/search_space.h"

namespace dispfit {

struct SearchSummary {
  MisfitKind kind = MisfitKind::MetresPerSecond;
  swcore::ForwardRuleSettings forward;  // the rule the curves were taken under
  std::int64_t drawn = 0;               // models scored
  std::int64_t budget = 0;              // models asked for
  bool cancelled = false;
  std::optional<TrialModel> best;  // none when no model had a curve
  double bestMisfit = 0.0;
  std::vector<double> bestCurve;        // m/s at the curve's frequencies, NaN without a root
  std::vector<TrialModel> accepted;     // by misfit, best first (drawing order for equals)
  std::vector<double> acceptedMisfits;  // the same order
  double constrainedDepth = 0.0;        // m
  double chartDepth = 0.0;              // m, the profile reaches it
  std::vector<ProfileRow> profile;      // Vs percentiles, 0 .. chartDepth
  std::vector<AverageSpread> averages;  // VsZ at 5, 10, 20, 30 m
  std::vector<EnvelopePoint> envelope;  // of the accepted curves
};

// Sums up the ensemble of a search of `space` fitting `curve` under `rule`,
// with `budget` the models asked for and `constrainedDepth` (m) the depth the
// measured curve constrains. The profile reaches the depth a chart of the
// accepted models reaches (profileChartDepth of their deepest interface).
SearchSummary summarizeSearch(const SearchEnsemble& ensemble, const SearchSpace& space,
                              const CurveMisfit& curve, const AcceptanceRule& rule,
                              std::int64_t budget, double constrainedDepth);

}  // namespace dispfit
