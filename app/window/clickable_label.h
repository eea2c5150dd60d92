// SPDX-License-Identifier: GPL-3.0-or-later
// A label that reports a left click, for the unit notes and the About
// window's web link.
#pragma once

#include <QLabel>

namespace dispfit {

class ClickableLabel : public QLabel {
  Q_OBJECT

 public:
  using QLabel::QLabel;

 Q_SIGNALS:
  void clicked();

 protected:
  void mouseReleaseEvent(QMouseEvent* event) override;
};

}  // namespace dispfit
