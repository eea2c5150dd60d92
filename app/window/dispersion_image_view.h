// SPDX-License-Identifier: GPL-3.0-or-later
// One source offset's dispersion image as a heat map (viridis) with its
// colour bar, the array's limits and the picks, and the picks edited with
// the mouse: a click adds a pick, a drag from a pick moves it, a right
// click on a pick (or Delete on the last one touched) removes it, and a drag
// with Shift held draws a band inside which the ridge is picked anew. Over
// the image it may draw the lines of a model's modes, the fundamental solid
// and the higher ones dashed, each with its number. The editing itself is
// shots/pick_editing.h; this widget maps pixels to values and paints.
#pragma once

#include <QImage>
#include <QWidget>
#include <optional>
#include <vector>

#include "inversion/model_mode_lines.h"
#include "shots/masw_survey.h"
#include "shots/pick_editing.h"

class QPainter;

namespace dispfit {

class DispersionImageView : public QWidget {
  Q_OBJECT

 public:
  explicit DispersionImageView(QWidget* parent = nullptr);

  // The offset shown and edited (it must outlive its showing); none shows
  // an empty frame.
  void showOffset(OffsetResult* offset, const PickingRules& rules);

  // The mode lines drawn over the image (at its frequencies, or any); none
  // draws none.
  void showModeLines(std::vector<ModeLine> lines);
  const std::vector<ModeLine>& modeLines() const { return modeLines_; }

  // The plot's rectangle and the mapping between its pixels and the image's
  // values, for painting and for the tests.
  QRectF plotRect() const;
  QPointF pointOf(double frequency, double velocity) const;
  std::pair<double, double> valueAt(QPointF pixel) const;

 Q_SIGNALS:
  // The picks changed by an edit.
  void picksEdited();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  std::optional<std::size_t> pickNear(QPointF pixel) const;
  void renderHeatMap();
  void paintModeLines(QPainter& painter) const;

  OffsetResult* offset_ = nullptr;
  PickingRules rules_;
  QImage heatMap_;  // the image's cells, one pixel each, velocity up
  std::vector<ModeLine> modeLines_;
  std::optional<std::size_t> dragged_;
  std::optional<std::size_t> touched_;
  std::optional<QPointF> bandStart_;
  std::optional<QPointF> bandEnd_;
};

}  // namespace dispfit
