// SPDX-License-Identifier: GPL-3.0-or-later
#include "sampling/recorded_mode_check.h"

#include <cmath>
#include <memory>
#include <vector>

#include "records/number_text.h"
#include "sampling/posterior_quantities.h"

namespace dispfit {

RecordedModeCheck checkRecordedModes(const SamplerRun& run, const ModelPrior& prior,
                                     const CurveLikelihood& likelihood, ForwardCurve& sampled,
                                     ForwardCurve& recorded) {
  const std::size_t m = likelihood.size();
  const std::span<const double> scales = likelihood.scales();
  std::vector<double> rule(m);
  std::vector<double> observed(m);
  RecordedModeCheck check;
  for (const SampleView& sample : thinnedSamples(run, kRecordedModeSamples)) {
    const TrialModel model = trialModelOf(prior, sample);
    if (!sampled.compute(model, rule)) continue;
    ++check.checked;
    // Where the lowest root has a velocity the surface-observed rule has
    // one; a model the rule fails on anyway departs.
    bool departs = !recorded.compute(model, observed);
    for (std::size_t i = 0; i < m && !departs; ++i) {
      const double sigma = sample.noise * scales[i];
      departs = !(std::abs(observed[i] - rule[i]) <= kDepartureSigmas * sigma);
    }
    if (departs) ++check.departing;
  }
  return check;
}

std::string describeCheck(const RecordedModeCheck& check) {
  return std::to_string(check.departing) + " of " + std::to_string(check.checked) + " samples (" +
         std::string(swcore::formatNumber(check.percent()).view()) +
         " %) fit the curve through a mode a surface array would not record: their "
         "surface-observed curve lies more than " +
         std::string(swcore::formatNumber(kDepartureSigmas).view()) +
         " sigma off their lowest root at some point";
}

std::optional<RecordedModeCheck> recordedModeCheckFor(const SamplerRun& run,
                                                      const ModelPrior& prior,
                                                      const CurveLikelihood& likelihood,
                                                      std::span<const MeasuredPoint> points,
                                                      const swcore::ForwardRuleSettings& rule) {
  if (rule.rule == swcore::ForwardRule::surfaceObserved) return std::nullopt;
  const std::unique_ptr<ForwardCurve> sampled = ruleForward(points, rule)();
  const std::unique_ptr<ForwardCurve> recorded = ruleForward(points, {})();
  return checkRecordedModes(run, prior, likelihood, *sampled, *recorded);
}

}  // namespace dispfit
