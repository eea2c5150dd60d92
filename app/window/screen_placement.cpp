// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/screen_placement.h"

#include <algorithm>

namespace dispfit {

QSize sizeOnScreen(QSize wanted, QSize minimum, const QRect& available) {
  const QSize room = available.size() - kFrameAllowance;
  return {std::max(minimum.width(), std::min(wanted.width(), room.width())),
          std::max(minimum.height(), std::min(wanted.height(), room.height()))};
}

void placeOnScreen(QWidget& window, const QRect& available) {
  window.resize(sizeOnScreen(window.size(), window.minimumSizeHint(), available));
  const QSize framed = window.size() + kFrameAllowance;
  const QPoint corner = available.center() - QPoint(framed.width() / 2, framed.height() / 2);
  // A window larger than the room keeps its caption on the screen.
  window.move(std::max(corner.x(), available.left()), std::max(corner.y(), available.top()));
}

}  // namespace dispfit
