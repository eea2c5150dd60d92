// SPDX-License-Identifier: GPL-3.0-or-later
// The posterior as an exported result: its maximum a posteriori model, the
// credible Vs over depth, VsZ with its credible intervals and the site
// classes' probabilities, the band of the samples' curves over the measured
// points, and what the calibration measured of such intervals.
#pragma once

#include <string>
#include <vector>

#include "sampling/posterior_summary.h"
#include "site/exported_result.h"
#include "site/measured_curve.h"

namespace dispfit {

class PosteriorResult : public ExportedResult {
 public:
  // `measured` is the curve the posterior was sampled for.
  PosteriorResult(PosteriorSummary summary, MeasuredCurve measured);

  std::string name() const override;  // "posterior"
  // The tables of dispfit-invert --bayes: _posterior_profile.csv,
  // _posterior_summary.csv, _posterior_classes.csv,
  // _posterior_predictive.csv and, where the layer count was sampled,
  // _posterior_interfaces.csv.
  std::vector<ResultTable> tables() const override;
  std::vector<ReportBlock> report() const override;
  // The measured points, the samples' 10-90 % band and median curve; the
  // 5, 10, 50, 90 and 95 % credible Vs over depth and the maximum a
  // posteriori model's step profile.
  ResultCharts charts() const override;

 private:
  PosteriorSummary summary_;
  MeasuredCurve measured_;
};

}  // namespace dispfit
