// SPDX-License-Identifier: GPL-3.0-or-later
#include "site/local_fit_result.h"

#include <utility>

#include "site/depth_profile.h"
#include "site/export_layouts.h"
#include "site/site_summary.h"

namespace dispfit {

LocalFitResult::LocalFitResult(LocalFitInputs inputs) : in_(std::move(inputs)) {}

std::string LocalFitResult::name() const {
  return in_.fitted ? "local fit" : "table model";
}

std::optional<double> LocalFitResult::constrainedDepth() const {
  return in_.measured ? std::optional<double>(dispfit::constrainedDepth(in_.measured->points))
                      : std::nullopt;
}

std::vector<ResultTable> LocalFitResult::tables() const {
  const std::string curve = in_.measured
                                ? curveCsv(in_.measured->inverted, in_.curve,
                                           in_.fitted ? CurveKind::Fitted : CurveKind::Computed)
                                : computedCurveCsv(in_.frequencies, in_.velocities);
  return {{"_curve.csv", curve},
          {"_model.csv", modelCsv(in_.model)},
          {"_vs30.txt",
           siteSummaryText(summarizeSite(in_.model.thickness, in_.model.vs, constrainedDepth()))}};
}

std::vector<ReportBlock> LocalFitResult::report() const {
  std::optional<FitStatistics> fit;
  std::vector<std::string> curveNotes;
  if (in_.measured) {
    fit = fitStatistics(in_.measured->inverted, in_.curve);
    if (in_.measured->inverted.size() < in_.measured->points.size()) {
      curveNotes.push_back("The curve file holds the " +
                           std::to_string(in_.measured->inverted.size()) +
                           " points the inversion fits of the " +
                           std::to_string(in_.measured->points.size()) + " measured");
    }
  }
  const std::string site =
      siteSummaryText(summarizeSite(in_.model.thickness, in_.model.vs, constrainedDepth()));
  std::vector<ReportBlock> blocks{
      {{in_.fitted ? "Model (模型): the fitted model" : "Model (模型): the table's model"}, false},
      {modelTableLines(in_.model), true},
      {fitLines(fit), false},
      {textLines(site), false}};
  if (!curveNotes.empty()) blocks.push_back({curveNotes, false});
  return blocks;
}

ResultCharts LocalFitResult::charts() const {
  ResultCharts charts;
  if (in_.measured) {
    ChartLine measured{"measured", {}, LineStyle::Markers, kMeasuredRgb};
    ChartLine low{"band", {}, LineStyle::Dashed, kBandRgb};
    ChartLine high{"band", {}, LineStyle::Dashed, kBandRgb};
    for (const MeasuredPoint& point : in_.measured->points) {
      measured.points.emplace_back(point.frequency, point.velocity);
      if (point.band) {
        low.points.emplace_back(point.frequency, point.band->low);
        high.points.emplace_back(point.frequency, point.band->high);
      }
    }
    charts.dispersion.push_back(std::move(measured));
    if (!low.points.empty()) {
      charts.dispersion.push_back(std::move(low));
      charts.dispersion.push_back(std::move(high));
    }
    ChartLine curve{in_.fitted ? "fitted" : "computed",
                    {},
                    LineStyle::Solid,
                    in_.fitted ? kFittedRgb : kComputedRgb};
    for (std::size_t i = 0; i < in_.measured->inverted.size() && i < in_.curve.size(); ++i) {
      if (in_.curve[i])
        curve.points.emplace_back(in_.measured->inverted[i].frequency, *in_.curve[i]);
    }
    charts.dispersion.push_back(std::move(curve));
  } else {
    ChartLine curve{"computed", {}, LineStyle::Solid, kComputedRgb};
    for (std::size_t i = 0; i < in_.frequencies.size() && i < in_.velocities.size(); ++i) {
      if (in_.velocities[i] > 0.0f)
        curve.points.emplace_back(in_.frequencies[i], in_.velocities[i]);
    }
    charts.dispersion.push_back(std::move(curve));
  }
  charts.profileDepth =
      profileChartDepth(lastInterfaceDepth(in_.model.thickness), constrainedDepth());
  ChartLine profile{in_.fitted ? "fitted model" : "table model",
                    {},
                    LineStyle::Solid,
                    in_.fitted ? kFittedRgb : kComputedRgb};
  for (const ProfilePoint& point :
       stepProfile(in_.model.thickness, in_.model.vs, charts.profileDepth)) {
    profile.points.emplace_back(point.vs, point.depth);
  }
  charts.profile.push_back(std::move(profile));
  return charts;
}

}  // namespace dispfit
