// SPDX-License-Identifier: GPL-3.0-or-later
// The Vs-depth chart: the step profiles of the starting and the fitted model,
// Vs (m/s) across the top and depth (m) growing downward, and the depth the
// measured curve constrains as a dashed line with its label; after a global
// search also its accepted profiles, shaded by misfit, with the median and the
// 10th and 90th percentile lines and the best model.
#pragma once

#include <QChartView>
#include <QFont>
#include <QGraphicsSimpleTextItem>
#include <QLineSeries>
#include <QValueAxis>
#include <memory>
#include <optional>
#include <vector>

#include "core/model_table.h"
#include "search/ensemble_statistics.h"
#include "search/search_space.h"
#include "window/chart_legend.h"

namespace dispfit {

// A global search's ensemble as the chart draws it.
struct EnsembleProfiles {
  std::vector<TrialModel> models;  // the accepted ones drawn, best first
  std::vector<double> misfits;     // theirs, the same order
  std::vector<ProfileRow> rows;    // Vs percentiles over depth
  std::optional<TrialModel> best;
  double depth = 0.0;  // m, the chart reaches at least this far
};

// The most accepted profiles drawn, taken evenly over the misfit ranks when
// there are more: beyond a couple of hundred the lines merge into one grey
// area and only slow the redraw.
inline constexpr std::size_t kMostProfilesDrawn = 200;

// The opacity (0..255) of an accepted profile's line: 220 for the best misfit
// drawn, falling linearly to 40 for the worst, so better models stand out.
int profileOpacity(double misfit, double best, double worst);

class VsProfileChart : public QChartView {
  Q_OBJECT

 public:
  explicit VsProfileChart(QWidget* parent = nullptr);

  // The chart's title, axis titles and tick labels, and the legend.
  void setFonts(const QFont& title, const QFont& axisTitles, const QFont& labels);

  // Draws the models given (thickness in m, Vs in m/s, the half-space last);
  // a model not given leaves its profile empty. The constrained depth (m),
  // half the longest measured wavelength, is marked when given. Nothing
  // given: an empty chart.
  void showProfiles(const std::optional<ParsedLayers>& starting,
                    const std::optional<ParsedLayers>& fitted,
                    std::optional<double> constrainedDepth);

  // Draws the ensemble (at most kMostProfilesDrawn of its models) with the
  // profiles last shown, or removes it when it has neither a model nor a
  // best one.
  void showEnsemble(const EnsembleProfiles& ensemble);

  QChart* chart = nullptr;                              // owned by the view
  QLineSeries* StartingSeries = nullptr;                // owned by chart
  QLineSeries* FittedSeries = nullptr;                  // owned by chart
  QLineSeries* ConstrainedSeries = nullptr;             // owned by chart
  QGraphicsSimpleTextItem* ConstrainedLabel = nullptr;  // owned by chart
  QValueAxis* VsAxis = nullptr;
  QValueAxis* DepthAxis = nullptr;
  std::vector<QLineSeries*> EnsembleSeries;  // owned by chart, best first
  QLineSeries* MedianSeries = nullptr;       // owned by chart
  QLineSeries* P10Series = nullptr;          // owned by chart
  QLineSeries* P90Series = nullptr;          // owned by chart
  QLineSeries* BestSeries = nullptr;         // owned by chart
  // The legend under the plot: what each line drawn is.
  std::unique_ptr<ChartLegend> Legend;

 protected:
  void changeEvent(QEvent* event) override;

 private:
  // Sets the chart's texts in the language the application shows.
  void retranslate();
  // Names in the legend the profiles drawn, each in its own pen.
  void updateLegend();
  void redraw();
  void drawEnsemble(double chartDepth);
  void replaceEnsembleSeries(std::size_t count);

  // Puts the label by the dashed line where no profile runs.
  void placeConstrainedLabel();

  std::optional<ParsedLayers> starting_;
  std::optional<ParsedLayers> fitted_;
  std::optional<double> constrainedDepth_;
  EnsembleProfiles ensemble_;      // as drawn: at most kMostProfilesDrawn models
  std::size_t acceptedCount_ = 0;  // the models it was given
};

}  // namespace dispfit
