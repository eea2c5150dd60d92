// SPDX-License-Identifier: GPL-3.0-or-later
// Whether a posterior sampled under the lowest root holds models that fit the
// curve through modes a surface array does not record.
//
// Under the lowest root, a stiff layer over soft ones can fit a soft site's
// curve: at short wavelengths its lowest root is a mode trapped in the buried
// soft layer, which barely moves the surface, while what an array over it
// records is the stiff layer's own Rayleigh wave, far faster (O'Neill and
// Matsuoka 2005). The check takes evenly thinned samples and sets each one's
// curve under the sampler's rule beside its surface-observed curve
// (observed_curve.h): a sample departs where the two differ at some point by
// more than kDepartureSigmas of that point's sigma, so that its fit rests on a
// mode the array would not have recorded.
//
// Notation (m/s):
//   v_i, o_i   a sample's velocity at point i under the sampler's rule and
//              the surface-observed one
//   sigma_i    the point's standard deviation in the likelihood: w_i times
//              the sample's noise scale s (curve_likelihood.h)
//   departs    |o_i - v_i| > kDepartureSigmas sigma_i at some i
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>

#include "dispersion/observed_curve.h"
#include "sampling/curve_likelihood.h"
#include "sampling/forward_curve.h"
#include "sampling/model_prior.h"
#include "sampling/parallel_tempering.h"

namespace dispfit {

// The samples checked at most, evenly thinned: each costs one
// surface-observed curve (10 to 25 times a lowest-root one), and 200 put
// the share's standard error at 1.5 points where it lies near 5 %.
inline constexpr std::size_t kRecordedModeSamples = 200;

// Two standard deviations: a model that far off the data at a point has
// e^-2 of the density there that it was sampled with.
inline constexpr double kDepartureSigmas = 2.0;

// 5 %: the share of the samples at which the report's outermost intervals,
// 5 to 95 %, can rest on such models alone.
inline constexpr double kDepartingShareWarned = 0.05;

struct RecordedModeCheck {
  std::size_t checked = 0;    // samples checked
  std::size_t departing = 0;  // of them, those that depart

  double share() const { return percent() / 100.0; }
  // 100 departing / checked, formed so that a whole number of hundredths
  // prints as one (3 of 200: 1.5, not 1.5000000000000002).
  double percent() const {
    return checked > 0 ? 100.0 * static_cast<double>(departing) / static_cast<double>(checked)
                       : 0.0;
  }
  bool warns() const { return checked > 0 && share() >= kDepartingShareWarned; }
};

// The check over up to kRecordedModeSamples samples of `run`: `sampled`
// gives each sample's curve under the sampler's rule, `recorded` its
// surface-observed curve, both at the likelihood's points. A sample without
// a curve under the sampler's rule is not counted.
RecordedModeCheck checkRecordedModes(const SamplerRun& run, const ModelPrior& prior,
                                     const CurveLikelihood& likelihood, ForwardCurve& sampled,
                                     ForwardCurve& recorded);

// "3 of 200 samples (1.5 %) fit the curve through a mode a surface array
// would not record: ...", for the report and the export.
std::string describeCheck(const RecordedModeCheck& check);

// The check of a run sampled under `rule` at `points` (the likelihood's),
// against the surface-observed rule at its default settings; none where
// `rule` is the surface-observed rule itself.
std::optional<RecordedModeCheck> recordedModeCheckFor(const SamplerRun& run,
                                                      const ModelPrior& prior,
                                                      const CurveLikelihood& likelihood,
                                                      std::span<const MeasuredPoint> points,
                                                      const swcore::ForwardRuleSettings& rule);

}  // namespace dispfit
