// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/clickable_label.h"

#include <QMouseEvent>

namespace dispfit {

void ClickableLabel::mouseReleaseEvent(QMouseEvent* event) {
  QLabel::mouseReleaseEvent(event);
  if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
    Q_EMIT clicked();
  }
}

}  // namespace dispfit
