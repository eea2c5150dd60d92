// SPDX-License-Identifier: GPL-3.0-or-later
// A shot gather drawn as wiggles (each trace's samples as a line, its
// positive lobes filled) or as variable density (grey levels), time down
// and the receivers across, each trace scaled to its own largest sample.
#pragma once

#include <QWidget>

#include "shots/shot_gather.h"

namespace dispfit {

class GatherView : public QWidget {
  Q_OBJECT

 public:
  enum class Style { wiggles, variableDensity };
  explicit GatherView(QWidget* parent = nullptr);

  void showGather(const ShotGather* gather);
  void setStyle(Style style);
  Style style() const { return style_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  const ShotGather* gather_ = nullptr;
  Style style_ = Style::wiggles;
};

}  // namespace dispfit
