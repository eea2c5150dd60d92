// SPDX-License-Identifier: GPL-3.0-or-later
#include "sampling/fit_check.h"

#include <cmath>
#include <cstdio>

#include "sampling/chi_square.h"

namespace dispfit {

std::optional<FitCheck> checkBestFit(const SamplerRun& run, const CurveLikelihood& likelihood) {
  if (likelihood.noise() != NoiseModel::Given) return std::nullopt;
  const SampledModel& best = run.bestFit.model;
  if (best.vs.empty() || !std::isfinite(run.bestFit.weightedSquares)) return std::nullopt;
  const auto parameters = best.vs.size() + best.thickness.size() + best.poisson.size();
  const auto points = likelihood.size();
  if (points <= parameters) return std::nullopt;
  FitCheck check;
  check.weightedSquares = run.bestFit.weightedSquares;
  check.degreesOfFreedom = static_cast<int>(points - parameters);
  check.pValue = chiSquareUpperTail(check.weightedSquares, check.degreesOfFreedom);
  return check;
}

std::string describeFit(const FitCheck& check) {
  // Q to a tenth, p to the two digits a p-value is read to.
  char text[160];
  std::snprintf(text, sizeof text,
                "the best fit's Q %.1f with %d degrees of freedom (points less parameters), "
                "chi-square p %.2g",
                check.weightedSquares, check.degreesOfFreedom, check.pValue);
  return text;
}

}  // namespace dispfit
