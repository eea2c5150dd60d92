// SPDX-License-Identifier: GPL-3.0-or-later
// The chart as a picture: drawn into an image for the clipboard, or onto a
// printer page.
#pragma once

#include <QGraphicsView>
#include <QImage>
#include <QPrinter>
#include <QString>
#include <QWidget>

namespace dispfit {

// The widget as it is shown, drawn into an image of its on-screen size on a
// white background.
QImage chartPicture(QWidget& chart);

// Replaces the clipboard's content with chartPicture(chart).
void copyChartToClipboard(QWidget& chart);

// One job on printer, titled "Chart": the chart drawn on the first page in
// the rectangle of printedChartRect (15 % margins, proportional). Returns an
// empty text on success, otherwise what went wrong; a failed job is aborted.
QString printChart(QGraphicsView& chart, QPrinter& printer);

}  // namespace dispfit
