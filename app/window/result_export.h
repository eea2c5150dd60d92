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

#include "site/exported_result.h"

namespace dispfit {

// A chart of the window as the export takes it.
struct ExportedChart {
  std::string name;     // the file-name part: "dispersion" gives <base>_dispersion.png
  QGraphicsView* view;  // drawn as it is shown
};

// The chart as a PNG picture of its on-screen size on a white background.
QByteArray chartPng(QGraphicsView& chart);

// The chart drawn into a PNG picture `width` pixels wide, its proportions
// kept, with `description` in the picture's Description text (what it shows
// and where it comes from).
QByteArray chartPng(QGraphicsView& chart, int width, const QString& description);

// The chart as an SVG drawing of its size, with `title` and, where given,
// `description` (what it shows and where it comes from).
QByteArray chartSvg(QGraphicsView& chart, const QString& title,
                    const QString& description = QString());

// An A4 portrait page: `title`, the blocks top down, then the charts one
// below the other in the room left, at one scale, each keeping its
// proportions; where that room would shrink them below 60 % of the scale
// that gives the widest the page's width, they go on a second page. Text
// that does not fit the first page is cut off at its foot.
QByteArray reportPdf(const QString& title, const std::vector<ReportBlock>& blocks,
                     std::span<const ExportedChart> charts);

}  // namespace dispfit
