// SPDX-License-Identifier: GPL-3.0-or-later
// The best-fit search as an exported result: the best model, the accepted
// models' Vs percentiles and VsZ spread, the envelope of their curves and
// the best model's curve over the measured points.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "search/search_summary.h"
#include "site/exported_result.h"
#include "site/measured_curve.h"

namespace dispfit {

// The measured points as a chart's markers.
ChartLine measuredLine(const MeasuredCurve& measured);

// The model's step profile (Vs m/s, depth m) down to `depth` m, the
// half-space reaching at least that far.
std::vector<std::pair<double, double>> stepProfile(const TrialModel& model, double depth);

class SearchResult : public ExportedResult {
 public:
  // `summary` must have a best model; `measured` is the curve it fitted.
  SearchResult(SearchSummary summary, MeasuredCurve measured);

  std::string name() const override;  // "best-fit search"
  // _best.csv and _profile.csv, the tables of dispfit-invert --global --csv,
  // and _vs30.txt with the VsZ spread and classes.
  std::vector<ResultTable> tables() const override;
  std::vector<ReportBlock> report() const override;
  // The measured points, the envelope and the best curve; the percentiles
  // of Vs over depth and the best model's step profile.
  ResultCharts charts() const override;

 private:
  std::vector<std::string> spreadLines() const;

  SearchSummary summary_;
  MeasuredCurve measured_;
};

}  // namespace dispfit
