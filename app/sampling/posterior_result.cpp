// SPDX-License-Identifier: GPL-3.0-or-later
#include "sampling/posterior_result.h"

#include <algorithm>
#include <utility>

#include "core/number_text.h"
#include "sampling/measured_calibration.h"
#include "sampling/posterior_tables.h"
#include "search/ensemble_tables.h"
#include "search/search_result.h"
#include "site/site_class.h"

namespace dispfit {

PosteriorResult::PosteriorResult(PosteriorSummary summary, MeasuredCurve measured)
    : summary_(std::move(summary)), measured_(std::move(measured)) {}

std::string PosteriorResult::name() const {
  return "posterior";
}

std::vector<ResultTable> PosteriorResult::tables() const {
  std::vector<ResultTable> tables{{"_posterior_profile.csv", posteriorProfileTable(summary_)},
                                  {"_posterior_summary.csv", posteriorSummaryTable(summary_)},
                                  {"_posterior_classes.csv", classProbabilityTable(summary_)},
                                  {"_posterior_predictive.csv", predictiveTable(summary_)}};
  if (!summary_.interfaces.empty()) {
    tables.push_back({"_posterior_interfaces.csv", interfaceTable(summary_)});
  }
  return tables;
}

std::vector<ReportBlock> PosteriorResult::report() const {
  const PosteriorSummary& p = summary_;
  std::vector<std::string> counts{
      "Samples: " + std::to_string(p.samples) + (p.cancelled ? " (cancelled)" : "") +
          (p.convergence.converged
               ? ""
               : "; not converged: raise the samples; the intervals and probabilities are not "
                 "to be trusted"),
      "Depth the data constrain (half the longest measured wavelength): " +
          figureText(p.constrainedDepth, Figure::Depth) + " m"};
  return {{{"Model (模型): the maximum a posteriori model of the posterior"}, false},
          {modelReportLines(p.maximumPosterior), true},
          {counts, false},
          {textLines(posteriorSummaryTable(p)), true},
          {textLines(classProbabilityTable(p)), true},
          {textLines(calibrationNote(p.counts)), false},
          {{siteClassCaution()}, false}};
}

ResultCharts PosteriorResult::charts() const {
  ResultCharts charts;
  ChartLine measured = measuredLine(measured_);
  // The two ends of a band share a name, and with it a legend entry.
  ChartLine low{"samples' curves 10% / 90%", {}, LineStyle::Dashed, kEnvelopeRgb};
  ChartLine high{"samples' curves 10% / 90%", {}, LineStyle::Dashed, kEnvelopeRgb};
  ChartLine middle{"samples' median curve", {}, LineStyle::Solid, kBestModelRgb};
  for (const PredictiveRow& row : summary_.predictive) {
    low.points.emplace_back(row.frequency, row.p10);
    high.points.emplace_back(row.frequency, row.p90);
    middle.points.emplace_back(row.frequency, row.p50);
  }
  charts.dispersion = {std::move(measured), std::move(low), std::move(high), std::move(middle)};

  charts.profileDepth = summary_.profileDepth;
  ChartLine p5{"5% / 95%", {}, LineStyle::Dashed, kBandRgb};
  ChartLine p10{"10% / 90%", {}, LineStyle::Dashed, kPercentileRgb};
  ChartLine median{"median", {}, LineStyle::Solid, kMedianRgb};
  ChartLine p90{"10% / 90%", {}, LineStyle::Dashed, kPercentileRgb};
  ChartLine p95{"5% / 95%", {}, LineStyle::Dashed, kBandRgb};
  for (const PosteriorProfileRow& row : summary_.profile) {
    p5.points.emplace_back(row.vs.p5, row.depth);
    p10.points.emplace_back(row.vs.p10, row.depth);
    median.points.emplace_back(row.vs.p50, row.depth);
    p90.points.emplace_back(row.vs.p90, row.depth);
    p95.points.emplace_back(row.vs.p95, row.depth);
  }
  ChartLine map{"maximum a posteriori model",
                stepProfile(summary_.maximumPosterior, charts.profileDepth), LineStyle::Solid,
                kBestModelRgb};
  charts.profile = {std::move(p5),  std::move(p10), std::move(median),
                    std::move(p90), std::move(p95), std::move(map)};
  return charts;
}

}  // namespace dispfit
