// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/chart_legend.h"

#include <QFontMetricsF>
#include <QLegend>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <utility>

namespace dispfit {

namespace {

// In pixels: the mark's width, the gap between it and its label, between
// entries on a line, between lines, and around the legend.
constexpr double kMarkWidth = 22.0;
constexpr double kMarkGap = 5.0;
constexpr double kEntryGap = 14.0;
constexpr double kLineGap = 2.0;
constexpr double kPadding = 4.0;
// The labels in the grey of the axes' labels.
const QColor kLabelColour(0x30, 0x30, 0x30);

}  // namespace

ChartLegend::ChartLegend(QChart& chart)
    : QGraphicsItem(&chart), chart_(chart), bottomMargin_(chart.margins().bottom()) {
  chart.legend()->hide();
  setZValue(10.0);  // over the plot's grid and series, should they ever meet
  QObject::connect(&chart, &QGraphicsWidget::geometryChanged, &chart, [this] { layOut(); });
}

void ChartLegend::setEntries(std::vector<LegendEntry> entries) {
  if (entries == entries_) return;
  entries_ = std::move(entries);
  layOut();
}

QStringList ChartLegend::labels() const {
  QStringList labels;
  for (const LegendEntry& entry : entries_) labels.append(entry.label);
  return labels;
}

void ChartLegend::setFont(const QFont& font) {
  font_ = font;
  layOut();
}

void ChartLegend::allowBeside(double leastHeightAbove, double leastPlotWidth) {
  leastHeightAbove_ = leastHeightAbove;
  leastPlotWidth_ = leastPlotWidth;
  layOut();
}

double ChartLegend::besideWidth() const {
  return beside_ && !entries_.empty() ? bounds_.width() + kPadding : 0.0;
}

double ChartLegend::placeEntries(double width) {
  places_.clear();
  const QFontMetricsF metrics(font_);
  const double lineHeight = std::ceil(std::max(metrics.height(), 10.0));
  double x = 0.0, y = 0.0;
  for (const LegendEntry& entry : entries_) {
    const double needed = kMarkWidth + kMarkGap + std::ceil(metrics.horizontalAdvance(entry.label));
    if (x > 0.0 && x + needed > width) {  // onto a new line; a first entry stays, however wide
      x = 0.0;
      y += lineHeight + kLineGap;
    }
    places_.emplace_back(x, y, needed, lineHeight);
    x += needed + kEntryGap;
  }
  return entries_.empty() ? 0.0 : y + lineHeight;
}

void ChartLegend::layOut() {
  prepareGeometryChange();
  const QSizeF chartSize = chart_.size();
  const double width = std::max(1.0, chartSize.width() - 2.0 * kPadding);
  double height = placeEntries(width);
  const double under = height + (height > 0 ? 2 * kPadding : 0);
  beside_ = false;
  if (leastHeightAbove_ > 0.0 && !entries_.empty() &&
      chartSize.height() - bottomMargin_ - under < leastHeightAbove_) {
    const std::vector<QRectF> across = places_;
    const double column = placeEntries(0.0);
    double widest = 0.0;
    for (const QRectF& place : places_) widest = std::max(widest, place.width());
    // The plot keeps its left edge (its labels' and title's room) and ends
    // short of the column and its padding on both sides.
    const double plotLeft = chart_.plotArea().left();
    beside_ = chartSize.width() - plotLeft - widest - 3.0 * kPadding >= leastPlotWidth_;
    if (beside_) {
      height = column;
      bounds_ = QRectF(0.0, 0.0, widest, height);
      // At the right edge, level with the middle of the chart.
      setPos(chartSize.width() - widest - kPadding,
             std::max(0.0, (chartSize.height() - height) / 2.0));
    } else {
      places_ = across;
    }
  }
  if (!beside_) {
    // Centred under the plot: each line's entries across the middle.
    for (std::size_t first = 0; first < places_.size();) {
      std::size_t last = first;
      while (last + 1 < places_.size() && places_[last + 1].y() == places_[first].y()) ++last;
      const double lineStart = std::max(0.0, (width - places_[last].right()) / 2.0);
      for (std::size_t i = first; i <= last; ++i) places_[i].translate(lineStart, 0.0);
      first = last + 1;
    }
    bounds_ = QRectF(0.0, 0.0, width, height);
    setPos(kPadding, chartSize.height() - bottomMargin_ - height - (height > 0 ? kPadding : 0));
  }
  setVisible(!entries_.empty());
  QMargins margins = chart_.margins();
  const int wanted = bottomMargin_ + (beside_ ? 0 : static_cast<int>(std::ceil(under)));
  if (margins.bottom() != wanted) {
    margins.setBottom(wanted);
    chart_.setMargins(margins);
  }
  update();
}

std::vector<QRectF> ChartLegend::entryPlaces() const {
  std::vector<QRectF> places;
  for (const QRectF& place : places_) places.push_back(place.translated(pos()));
  return places;
}

void ChartLegend::paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*) {
  painter->save();
  painter->setRenderHint(QPainter::Antialiasing);
  painter->setFont(font_);
  for (std::size_t i = 0; i < entries_.size(); ++i) {
    const LegendEntry& entry = entries_[i];
    const QRectF place = places_[i];
    const double middle = place.center().y();
    const QRectF mark(place.left(), middle - 5.0, kMarkWidth, 10.0);
    switch (entry.mark) {
      case LegendMark::Line:
        painter->setPen(entry.pen);
        painter->drawLine(QPointF(mark.left(), middle), QPointF(mark.right(), middle));
        break;
      case LegendMark::Area:
        painter->setPen(entry.pen);
        painter->setBrush(entry.brush);
        painter->drawRect(mark);
        break;
      case LegendMark::Point:
        painter->setPen(entry.pen);
        painter->setBrush(entry.brush);
        painter->drawEllipse(QPointF(mark.center().x(), middle), 3.5, 3.5);
        break;
    }
    painter->setPen(QPen(kLabelColour));
    painter->drawText(QRectF(mark.right() + kMarkGap, place.top(),
                             place.width() - kMarkWidth - kMarkGap, place.height()),
                      Qt::AlignLeft | Qt::AlignVCenter, entry.label);
  }
  painter->restore();
}

}  // namespace dispfit
