// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's site results: the Vs-depth chart of the starting and the
// fitted model, the results panel with VsZ, Vs30 and the site classes, and the
// starting model suggested by a measured curve.
#include "core/number_text.h"
#include "core/window_limits.h"
#include "site/measured_curve.h"
#include "site/model_file_text.h"
#include "site/starting_model.h"
#include "window/tform1.h"
#include "window/window_style.h"

namespace dispfit {

void TForm1::buildSiteColumn() {
  // Right of the described controls: the chart level with the model group's
  // top, the panel below it, as tall as its lines need.
  VsChart.setFonts(windowFont(13), windowFont(12), windowFont(11));
  VsChart.setFocusPolicy(Qt::NoFocus);  // the described tab order stays as it is
  ResultsPanel.setFont(windowFont(11));
  ResultsPanel.setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Minimum);
}

std::optional<double> TForm1::curveConstrainedDepth() const {
  if (!measured_) return std::nullopt;
  return constrainedDepth(measured_->points);
}

void TForm1::showStartingProfile(const ParsedLayers& model) {
  startingProfile_ = model;
  drawVsProfiles();
}

void TForm1::drawVsProfiles() {
  VsChart.showProfiles(startingProfile_, fitted_, curveConstrainedDepth());
}

void TForm1::showSiteResults(const ParsedLayers& model, bool fitted,
                             std::optional<double> rmsMisfit) {
  siteSummary_ = summarizeSite(model.thickness, model.vs, curveConstrainedDepth());
  ResultsPanel.showSummary(*siteSummary_, [fitted, rmsMisfit] {
    QString heading = fitted ? tr("拟合模型") : tr("当前模型");
    if (rmsMisfit) {
      const QString rms = QString::fromStdString(figureText(*rmsMisfit, Figure::Velocity));
      heading += tr("：拟合差（未加权 RMS）%1 m/s").arg(rms);
    }
    return heading;
  });
}

void TForm1::clearSiteResults() {
  siteSummary_.reset();
  ResultsPanel.clearSummary();
}

ParsedLayers TForm1::heldLayers() const {
  return ParsedLayers{
      {thickness, thickness + layerCount}, {vs, vs + layerCount}, {density, density + layerCount}};
}

void TForm1::showComputedModel(std::optional<double> rmsMisfit) {
  const ParsedLayers model = heldLayers();
  showStartingProfile(model);
  showSiteResults(model, false, rmsMisfit);
}

void TForm1::showFittedProfile(std::optional<double> rmsMisfit) {
  if (!fitted_) return;
  drawVsProfiles();
  showSiteResults(*fitted_, true, rmsMisfit);
}

void TForm1::resetSiteResults() {
  clearSearchResults();
  startingProfile_.reset();
  clearSiteResults();
  drawVsProfiles();  // the new curve's constrained depth, no profile yet
}

void TForm1::SuggestModelClick() {
  if (!measured_) return;
  const std::optional<int> count =
      layerCounts_->layerCount(this, kSuggestedLayerCount, 1, kWindowLayerLimit);
  if (!count) return;
  const ParsedLayers model = roundedForEditing(suggestStartingModel(measured_->points, *count));
  const std::vector<LayerTexts> rows = layerTexts(model);
  setTableRows(rows);
  LUpDown.setPosition(static_cast<int>(rows.size()));
  storeLayers(model);
  // The panel spoke of a model the table no longer holds.
  clearSiteResults();
  showStartingProfile(model);
  const int layers = *count;
  showStatus([layers] {
    return StatusText{tr("已按实测曲线建议 %1 层初始模型，可修改后反演。").arg(layers), {}};
  });
}

}  // namespace dispfit
