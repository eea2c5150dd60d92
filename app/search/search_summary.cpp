// SPDX-License-Identifier: GPL-3.0-or-later
#include "search/search_summary.h"

#include <algorithm>

#include "site/depth_profile.h"

namespace dispfit {

namespace {

double deepestInterface(const std::vector<TrialModel>& models) {
  double deepest = 0.0;
  for (const TrialModel& model : models) {
    double depth = 0.0;
    for (std::size_t i = 0; i + 1 < model.thickness.size(); ++i) depth += model.thickness[i];
    deepest = std::max(deepest, depth);
  }
  return deepest;
}

}  // namespace

SearchSummary summarizeSearch(const SearchEnsemble& ensemble, const SearchSpace& space,
                              const CurveMisfit& curve, const AcceptanceRule& rule,
                              std::int64_t budget, double constrainedDepth) {
  SearchSummary summary;
  summary.kind = ensemble.kind;
  summary.forward = curve.rule();
  summary.drawn = static_cast<std::int64_t>(ensemble.size());
  summary.budget = budget;
  summary.cancelled = ensemble.cancelled;
  summary.constrainedDepth = constrainedDepth;
  summary.chartDepth = profileChartDepth(0.0, constrainedDepth);
  const std::size_t best = ensemble.best();
  if (best == ensemble.size()) return summary;

  const ParameterMap map(space);
  summary.best.emplace();
  map.model(ensemble.coordinatesOf(best), *summary.best);
  summary.bestMisfit = ensemble.misfits[best];
  MisfitEvaluator evaluator(curve);
  const std::span<const double> bestCurve = evaluator.curveOf(*summary.best);
  summary.bestCurve.assign(bestCurve.begin(), bestCurve.end());

  const std::vector<bool> accepted = acceptedModels(ensemble, rule);
  std::vector<std::size_t> order;
  for (std::size_t i = 0; i < ensemble.size(); ++i) {
    if (accepted[i]) order.push_back(i);
  }
  std::stable_sort(order.begin(), order.end(), [&ensemble](std::size_t a, std::size_t b) {
    return ensemble.misfits[a] < ensemble.misfits[b];
  });
  summary.accepted.resize(order.size());
  for (std::size_t k = 0; k < order.size(); ++k) {
    map.model(ensemble.coordinatesOf(order[k]), summary.accepted[k]);
    summary.acceptedMisfits.push_back(ensemble.misfits[order[k]]);
  }

  summary.chartDepth = profileChartDepth(deepestInterface(summary.accepted), constrainedDepth);
  summary.profile = vsProfile(summary.accepted, summary.chartDepth);
  summary.averages = averageSpreads(summary.accepted, constrainedDepth);
  summary.envelope = curveEnvelope(summary.accepted, curve);
  return summary;
}

}  // namespace dispfit
