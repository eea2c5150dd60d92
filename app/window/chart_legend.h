// SPDX-License-Identifier: GPL-3.0-or-later
// A chart's legend drawn inside the chart under its plot area: its entries
// run across the chart's width and wrap onto as many lines as they need, so
// no label is ever cut; the chart's bottom margin makes room for them. Qt's
// own legend keeps to one line and elides what does not fit ("接…"). Drawn
// with the chart, it is in every copy, print and export of it. A chart that
// allows it takes the entries in a column right of its plot instead when it
// is too low to give lines under the plot and still keep the plot its height
// (a laptop's screen at 150 %).
#pragma once

#include <QBrush>
#include <QChart>
#include <QFont>
#include <QGraphicsItem>
#include <QPen>
#include <QString>
#include <vector>

namespace dispfit {

// How an entry shows what it names.
enum class LegendMark {
  Line,   // a short stretch of the line, its dashes included
  Area,   // a filled box, for a band
  Point,  // a filled circle, for measured points
};

struct LegendEntry {
  QString label;
  LegendMark mark = LegendMark::Line;
  QPen pen;
  QBrush brush;

  bool operator==(const LegendEntry&) const = default;
};

class ChartLegend : public QGraphicsItem {
 public:
  // Becomes a child item of the chart, which it lays out against; the
  // chart's built-in legend is hidden. Whoever makes it owns it and must
  // delete it before the chart.
  explicit ChartLegend(QChart& chart);

  // The entries in the order shown; none hides the legend and gives the
  // chart its margin back.
  void setEntries(std::vector<LegendEntry> entries);
  const std::vector<LegendEntry>& entries() const { return entries_; }
  QStringList labels() const;
  void setFont(const QFont& font);

  // Beside the plot, in a column at the chart's right edge, when the lines
  // under the plot would leave less than `leastHeightAbove` pixels of the
  // chart's height above them, and the plot, from its left edge as it is,
  // keeps `leastPlotWidth` left of the column (Qt widens a chart beyond its
  // view rather than narrow a plot below about 150 pixels). The chart's
  // right margin is its owner's to set (besideWidth() more than it would
  // be); 0 keeps the legend under the plot at any height, as by default.
  void allowBeside(double leastHeightAbove, double leastPlotWidth);
  bool isBeside() const { return beside_; }
  // The width the column takes at the chart's right, 0 under the plot.
  double besideWidth() const;

  // Lays the entries out over the chart's present size and sets the chart's
  // bottom margin; runs by itself when the chart is resized.
  void layOut();

  // Where each entry lies, in the chart's coordinates (for the tests).
  std::vector<QRectF> entryPlaces() const;

  QRectF boundingRect() const override { return bounds_; }
  void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;

 private:
  QChart& chart_;
  std::vector<LegendEntry> entries_;
  std::vector<QRectF> places_;  // each entry's mark and label, in this item's coordinates
  QFont font_;
  QRectF bounds_;
  int bottomMargin_;  // the chart's own, below the legend
  double leastHeightAbove_ = 0.0;
  double leastPlotWidth_ = 0.0;
  bool beside_ = false;

  // Each entry's place in lines across `width` (a line of its own for each
  // with a width of 0), and the height they take.
  double placeEntries(double width);
};

}  // namespace dispfit
