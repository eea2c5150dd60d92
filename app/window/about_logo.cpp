// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/about_logo.h"

#include <QPainter>
#include <QPainterPath>

namespace dispfit {

QPixmap aboutLogo(int size) {
  QPixmap logo(size, size);
  logo.fill(Qt::transparent);
  QPainter painter(&logo);
  painter.setRenderHint(QPainter::Antialiasing);
  const double s = size;

  // Three ground layers, lightest on top.
  const QColor layers[] = {QColor(222, 196, 140), QColor(190, 150, 100), QColor(140, 104, 70)};
  for (int i = 0; i < 3; ++i) {
    painter.fillRect(QRectF(0, s * (0.55 + 0.15 * i), s, s * 0.15), layers[i]);
  }
  // A dispersion curve rising towards low frequency, with its points.
  QPainterPath curve;
  curve.moveTo(s * 0.08, s * 0.45);
  curve.cubicTo(s * 0.45, s * 0.44, s * 0.6, s * 0.2, s * 0.92, s * 0.1);
  painter.setPen(QPen(Qt::red, s / 24.0));
  painter.drawPath(curve);
  painter.setBrush(Qt::white);
  painter.setPen(QPen(Qt::red, s / 40.0));
  for (double t : {0.0, 0.3, 0.55, 0.8, 1.0}) {
    painter.drawEllipse(curve.pointAtPercent(t), s / 20.0, s / 20.0);
  }
  return logo;
}

}  // namespace dispfit
