// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/gather_view.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

namespace dispfit {

GatherView::GatherView(QWidget* parent) : QWidget(parent) {
  setMinimumSize(170, 200);  // room for a few traces on a laptop at 150 %
}

void GatherView::showGather(const ShotGather* gather) {
  gather_ = gather;
  update();
}

void GatherView::setStyle(Style style) {
  style_ = style;
  update();
}

void GatherView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), Qt::white);
  if (!gather_ || gather_->traces.empty() || gather_->sampleCount() < 2) return;
  const std::size_t traces = gather_->traces.size();
  const std::size_t samples = gather_->sampleCount();
  const QRectF area = QRectF(rect()).adjusted(8, 8, -8, -8);
  const double column = area.width() / double(traces);
  for (std::size_t j = 0; j < traces; ++j) {
    const std::vector<double>& trace = gather_->traces[j];
    double largest = 0.0;
    for (const double s : trace) largest = std::max(largest, std::abs(s));
    if (largest == 0.0) continue;
    const double centre = area.left() + (double(j) + 0.5) * column;
    if (style_ == Style::variableDensity) {
      for (std::size_t k = 0; k < samples; ++k) {
        const int grey = int(std::lround(127.5 * (1.0 - trace[k] / largest)));
        const double y0 = area.top() + area.height() * double(k) / double(samples);
        const double y1 = area.top() + area.height() * double(k + 1) / double(samples);
        painter.fillRect(QRectF(centre - column / 2, y0, column, std::max(1.0, y1 - y0)),
                         QColor(grey, grey, grey));
      }
      continue;
    }
    QPainterPath line;
    QPainterPath positive;
    positive.moveTo(centre, area.top());
    for (std::size_t k = 0; k < samples; ++k) {
      const double y = area.top() + area.height() * double(k) / double(samples - 1);
      const double x = centre + 0.9 * column * trace[k] / largest;
      if (k == 0)
        line.moveTo(x, y);
      else
        line.lineTo(x, y);
      positive.lineTo(std::max(x, centre), y);
    }
    positive.lineTo(centre, area.bottom());
    painter.fillPath(positive, Qt::black);
    painter.setPen(QPen(Qt::black, 0.8));
    painter.drawPath(line);
  }
}

}  // namespace dispfit
