// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/chart_output.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QPainter>

#include "core/print_layout.h"

namespace dispfit {

QImage chartPicture(QWidget& chart) {
  QImage picture(chart.size(), QImage::Format_RGB32);
  picture.fill(Qt::white);
  QPainter painter(&picture);
  chart.render(&painter);
  return picture;
}

void copyChartToClipboard(QWidget& chart) {
  QGuiApplication::clipboard()->setImage(chartPicture(chart));
}

QString printChart(QGraphicsView& chart, QPrinter& printer) {
  printer.setDocName(QStringLiteral("Chart"));
  printer.setFullPage(true);
  QPainter painter;
  if (!painter.begin(&printer)) {
    printer.abort();
    return QStringLiteral("Printing failed: the printer could not start the job.");
  }
  const QRectF page = printer.paperRect(QPrinter::DevicePixel);
  const QRect screenArea = chart.viewport()->rect();
  const PageRect target =
      printedChartRect(page.width(), page.height(), screenArea.width(), screenArea.height());
  chart.render(&painter, QRectF(target.left, target.top, target.width, target.height), screenArea,
               Qt::IgnoreAspectRatio);
  if (!painter.end()) {
    printer.abort();
    return QStringLiteral("Printing failed while the chart was drawn.");
  }
  return {};
}

}  // namespace dispfit
