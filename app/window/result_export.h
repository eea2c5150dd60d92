// SPDX-License-Identifier: GPL-3.0-or-later
// The exported results rendered in memory: every chart as a PNG picture and
// an SVG drawing, and the one-page PDF report. Nothing here touches a file;
// the caller writes the bytes.
#pragma once

#include <QByteArray>
#include <QGraphicsView>
#include <QString>
#include <span>
#include <string>
#include <vector>

namespace dispfit {

// A chart of the window as the export takes it.
struct ExportedChart {
  std::string name;     // the file-name part: "dispersion" gives <base>_dispersion.png
  QGraphicsView* view;  // drawn as it is shown
};

// The chart as a PNG picture of its on-screen size on a white background.
QByteArray chartPng(QGraphicsView& chart);

// The chart as an SVG drawing of its on-screen size, with `title`.
QByteArray chartSvg(QGraphicsView& chart, const QString& title);

// A block of the report's text; a fixed-width block keeps its columns.
struct ReportBlock {
  std::vector<std::string> lines;
  bool fixedWidth = false;
};

// One A4 portrait page: `title`, the blocks top down, then the charts one
// below the other in the room left, each keeping its proportions. Text that
// does not fit the page is cut off at its foot.
QByteArray reportPdf(const QString& title, const std::vector<ReportBlock>& blocks,
                     std::span<const ExportedChart> charts);

}  // namespace dispfit
