// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/chart_output.h"

#include <QClipboard>
#include <QCoreApplication>
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
    return QCoreApplication::translate("ChartOutput", "打印失败：打印机无法开始打印作业。");
  }
  const QRectF page = printer.paperRect(QPrinter::DevicePixel);
  const QRect screenArea = chart.viewport()->rect();
  const PageRect target =
      printedChartRect(page.width(), page.height(), screenArea.width(), screenArea.height());
  chart.render(&painter, QRectF(target.left, target.top, target.width, target.height), screenArea,
               Qt::IgnoreAspectRatio);
  if (!painter.end()) {
    printer.abort();
    return QCoreApplication::translate("ChartOutput", "打印失败：绘制图表时出错。");
  }
  return {};
}

}  // namespace dispfit
