// SPDX-License-Identifier: GPL-3.0-or-later
// The combined curve of all source offsets: each point's mean velocity with
// a bar of plus and minus sigma, frequency across and velocity up.
#pragma once

#include <QWidget>
#include <vector>

#include "shots/offset_statistics.h"

namespace dispfit {

class CurveSpreadView : public QWidget {
  Q_OBJECT

 public:
  explicit CurveSpreadView(QWidget* parent = nullptr);
  void showCurve(std::vector<CurveStatistic> curve);
  const std::vector<CurveStatistic>& curve() const { return curve_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  std::vector<CurveStatistic> curve_;
};

}  // namespace dispfit
