// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/curve_spread_view.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

#include "core/axis_ticks.h"
#include "core/number_text.h"

namespace dispfit {

CurveSpreadView::CurveSpreadView(QWidget* parent) : QWidget(parent) {
  setMinimumSize(170, 200);  // room for its axes and a few offsets' bars on a laptop at 150 %
}

void CurveSpreadView::showCurve(std::vector<CurveStatistic> curve) {
  curve_ = std::move(curve);
  update();
}

void CurveSpreadView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), Qt::white);
  const QRectF plot = QRectF(rect()).adjusted(50, 10, -10, -36);
  painter.setPen(Qt::black);
  painter.drawRect(plot);
  if (curve_.empty()) return;
  double f0 = curve_.back().frequency, f1 = curve_.front().frequency;
  double v0 = 1e300, v1 = 0.0;
  for (const CurveStatistic& p : curve_) {
    v0 = std::min(v0, p.velocity - p.sigma);
    v1 = std::max(v1, p.velocity + p.sigma);
  }
  if (!(f1 > f0)) f1 = f0 + 1.0;
  const double margin = std::max(1.0, 0.05 * (v1 - v0));
  v0 -= margin;
  v1 += margin;
  const auto at = [&](double f, double v) {
    return QPointF(plot.left() + (f - f0) / (f1 - f0) * plot.width(),
                   plot.bottom() - (v - v0) / (v1 - v0) * plot.height());
  };
  const QFontMetrics metrics(font());
  const double fStep = roundTickInterval(f1 - f0, 5);
  for (double f = std::ceil(f0 / fStep) * fStep; f <= f1 + 1e-9; f += fStep) {
    const QString label = QString::fromStdString(fixedText(f, fStep < 1 ? 1 : 0));
    painter.drawText(
        at(f, v0) + QPointF(-metrics.horizontalAdvance(label) / 2.0, 4 + metrics.ascent()), label);
  }
  const double vStep = roundTickInterval(v1 - v0, 5);
  for (double v = std::ceil(v0 / vStep) * vStep; v <= v1 + 1e-9; v += vStep) {
    const QString label = QString::fromStdString(fixedText(v, 0));
    painter.drawText(
        at(f0, v) + QPointF(-6 - metrics.horizontalAdvance(label), metrics.ascent() / 2.0), label);
  }
  painter.drawText(QPointF(plot.center().x() - 20, height() - 4), QStringLiteral("f (Hz)"));
  painter.drawText(QPointF(4, plot.top() + metrics.ascent()), QStringLiteral("v"));
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(QColor(30, 90, 200), 1.2));
  painter.setBrush(QColor(30, 90, 200));
  for (const CurveStatistic& p : curve_) {
    painter.drawLine(at(p.frequency, p.velocity - p.sigma), at(p.frequency, p.velocity + p.sigma));
    painter.drawEllipse(at(p.frequency, p.velocity), 2.5, 2.5);
  }
}

}  // namespace dispfit
