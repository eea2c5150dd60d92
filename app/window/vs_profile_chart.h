// The Vs-depth chart: the step profiles of the starting and the fitted model,
// Vs (m/s) across the top and depth (m) growing downward, and the depth the
// measured curve constrains as a dashed line with its label.
#pragma once

#include <QChartView>
#include <QFont>
#include <QGraphicsSimpleTextItem>
#include <QLineSeries>
#include <QValueAxis>
#include <optional>

#include "core/model_table.h"

namespace dispfit {

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

  QChart* chart = nullptr;                              // owned by the view
  QLineSeries* StartingSeries = nullptr;                // owned by chart
  QLineSeries* FittedSeries = nullptr;                  // owned by chart
  QLineSeries* ConstrainedSeries = nullptr;             // owned by chart
  QGraphicsSimpleTextItem* ConstrainedLabel = nullptr;  // owned by chart
  QValueAxis* VsAxis = nullptr;
  QValueAxis* DepthAxis = nullptr;

 private:
  // Puts the label just above the left end of the dashed line, where the
  // slower shallow layers leave room.
  void placeConstrainedLabel();
};

}  // namespace dispfit
