// SPDX-License-Identifier: GPL-3.0-or-later
#include "search/search_result.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "core/number_text.h"
#include "search/ensemble_tables.h"
#include "site/site_class.h"

namespace dispfit {

namespace {

std::string classes(const AverageSpread& row, int q) {
  return className(row.groundTypes[q]) + "/" + className(row.nehrpClasses[q]);
}

}  // namespace

ChartLine measuredLine(const MeasuredCurve& measured) {
  ChartLine line{"measured", {}, LineStyle::Markers, kMeasuredRgb};
  for (const MeasuredPoint& point : measured.points) {
    line.points.emplace_back(point.frequency, point.velocity);
  }
  return line;
}

std::vector<std::pair<double, double>> stepProfile(const TrialModel& model, double depth) {
  std::vector<std::pair<double, double>> points;
  double top = 0.0;
  for (std::size_t i = 0; i < model.vs.size(); ++i) {
    const bool halfSpace = i + 1 == model.vs.size();
    const double bottom = halfSpace ? std::max(depth, top) : top + model.thickness[i];
    points.emplace_back(model.vs[i], top);
    points.emplace_back(model.vs[i], bottom);
    top = bottom;
  }
  return points;
}

SearchResult::SearchResult(SearchSummary summary, MeasuredCurve measured)
    : summary_(std::move(summary)), measured_(std::move(measured)) {}

std::string SearchResult::name() const {
  return "best-fit search";
}

std::vector<std::string> SearchResult::spreadLines() const {
  std::vector<std::string> lines{
      "Over the " + std::to_string(summary_.accepted.size()) +
      " accepted models: VsZ = Z / sum(h_i / Vs_i), 10th percentile, median and 90th percentile "
      "(m/s), Eurocode 8 ground type / NEHRP site class of each"};
  lines.push_back("          p10  median     p90   classes (p10, median, p90)");
  for (const AverageSpread& row : summary_.averages) {
    lines.push_back(rightAligned("Vs" + std::to_string(static_cast<int>(row.depth)), 5) +
                    rightAligned(figureText(row.vs.p10, Figure::Velocity), 8) +
                    rightAligned(figureText(row.vs.median, Figure::Velocity), 8) +
                    rightAligned(figureText(row.vs.p90, Figure::Velocity), 8) + "   " +
                    classes(row, 0) + "  " + classes(row, 1) + "  " + classes(row, 2) +
                    (row.extrapolated ? "   extrapolated" : ""));
  }
  lines.push_back(
      "The spread is that of the models the search kept, which crowd around the best it found: it "
      "shows how closely the data pin the answer, not a probability.");
  return lines;
}

std::vector<ResultTable> SearchResult::tables() const {
  std::string vs30;
  for (const std::string& line : spreadLines()) vs30 += line + '\n';
  vs30 += siteClassCaution() + '\n';
  return {{"_best.csv", bestModelTable(*summary_.best)},
          {"_profile.csv", profileTable(summary_.profile)},
          {"_vs30.txt", vs30}};
}

std::vector<ReportBlock> SearchResult::report() const {
  const std::vector<std::string> table = modelReportLines(*summary_.best);
  std::vector<std::string> counts{
      "Models drawn: " + std::to_string(summary_.drawn) + " of " + std::to_string(summary_.budget) +
          (summary_.cancelled ? " (cancelled)" : ""),
      "Accepted models: " + std::to_string(summary_.accepted.size()),
      "Best model's " + misfitName(summary_.kind) + ": " +
          figureText(summary_.bestMisfit, Figure::Misfit),
      "Depth the data constrain (half the longest measured wavelength): " +
          figureText(summary_.constrainedDepth, Figure::Depth) + " m"};
  // The spread's heading and its caveat as prose, its table in columns.
  std::vector<std::string> spread = spreadLines();
  const std::string heading = spread.front();
  const std::string caveat = spread.back();
  spread.erase(spread.begin());
  spread.pop_back();
  return {{{"Model (模型): the best model of the best-fit search"}, false},
          {table, true},
          {counts, false},
          {{heading}, false},
          {spread, true},
          {{caveat, siteClassCaution()}, false}};
}

ResultCharts SearchResult::charts() const {
  ResultCharts charts;
  ChartLine measured = measuredLine(measured_);
  ChartLine low{"accepted curves' envelope", {}, LineStyle::Dashed, kEnvelopeRgb};
  ChartLine high{"accepted curves' envelope", {}, LineStyle::Dashed, kEnvelopeRgb};
  for (const EnvelopePoint& point : summary_.envelope) {
    low.points.emplace_back(point.frequency, point.low);
    high.points.emplace_back(point.frequency, point.high);
  }
  ChartLine best{"best model", {}, LineStyle::Solid, kBestModelRgb};
  for (std::size_t i = 0; i < summary_.bestCurve.size() && i < measured_.inverted.size(); ++i) {
    if (std::isfinite(summary_.bestCurve[i])) {
      best.points.emplace_back(measured_.inverted[i].frequency, summary_.bestCurve[i]);
    }
  }
  charts.dispersion = {std::move(measured), std::move(low), std::move(high), std::move(best)};

  charts.profileDepth = summary_.chartDepth;
  // The two ends of the spread share a name, and with it a legend entry.
  ChartLine p10{"10% / 90%", {}, LineStyle::Dashed, kPercentileRgb};
  ChartLine median{"median", {}, LineStyle::Solid, kMedianRgb};
  ChartLine p90{"10% / 90%", {}, LineStyle::Dashed, kPercentileRgb};
  for (const ProfileRow& row : summary_.profile) {
    p10.points.emplace_back(row.vs.p10, row.depth);
    median.points.emplace_back(row.vs.median, row.depth);
    p90.points.emplace_back(row.vs.p90, row.depth);
  }
  ChartLine bestProfile{"best model", stepProfile(*summary_.best, charts.profileDepth),
                        LineStyle::Solid, kBestModelRgb};
  charts.profile = {std::move(p10), std::move(median), std::move(p90), std::move(bestProfile)};
  return charts;
}

}  // namespace dispfit
