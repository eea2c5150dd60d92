// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/result_export.h"

#include <QBuffer>
#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>
#include <algorithm>

#include "window/chart_output.h"

namespace dispfit {

namespace {

// 300 dots per inch: print quality for the text, and the charts are drawn
// as vectors whatever the resolution.
constexpr int kReportResolution = 300;
constexpr double kMarginMillimetres = 15.0;
constexpr double kLineSpacing = 1.25;      // of the font's height
constexpr double kGapBetweenBlocks = 0.6;  // lines
// Charts that the room below the text would draw at less than this share of
// their full-width size go on a page of their own: below about 60 % their
// axis labels, at 8 points on the full width, fall under 5 points, too small
// to read on paper.
constexpr double kLeastChartScale = 0.6;

}  // namespace

QByteArray chartPng(QGraphicsView& chart) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  chartPicture(chart).save(&buffer, "PNG");
  return bytes;
}

QByteArray chartPng(QGraphicsView& chart, int width, const QString& description) {
  const QRect source = chart.viewport()->rect();
  const int height = source.isEmpty() ? width : width * source.height() / source.width();
  QImage picture(width, height, QImage::Format_RGB32);
  picture.fill(Qt::white);
  {
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    chart.render(&painter, QRectF(0, 0, width, height), source, Qt::KeepAspectRatio);
  }
  // 300 dots per inch: the picture prints at the size it was made for.
  constexpr double kDotsPerMetre = 300.0 / 0.0254;
  picture.setDotsPerMeterX(static_cast<int>(kDotsPerMetre));
  picture.setDotsPerMeterY(static_cast<int>(kDotsPerMetre));
  picture.setText(QStringLiteral("Description"), description);
  picture.setText(QStringLiteral("Software"), QStringLiteral("DispFit"));
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  picture.save(&buffer, "PNG");
  return bytes;
}

QByteArray chartSvg(QGraphicsView& chart, const QString& title, const QString& description) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QSvgGenerator drawing;
  drawing.setOutputDevice(&buffer);
  drawing.setSize(chart.size());
  drawing.setViewBox(QRect(QPoint(0, 0), chart.size()));
  drawing.setTitle(title);
  if (!description.isEmpty()) drawing.setDescription(description);
  QPainter painter(&drawing);
  chart.render(&painter, QRectF(QPointF(0, 0), chart.size()), chart.viewport()->rect());
  painter.end();
  return bytes;
}

QByteArray reportPdf(const QString& title, const std::vector<ReportBlock>& blocks,
                     std::span<const ExportedChart> charts) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QPdfWriter writer(&buffer);
  writer.setResolution(kReportResolution);
  writer.setPageLayout(QPageLayout(
      QPageSize(QPageSize::A4), QPageLayout::Portrait,
      QMarginsF(kMarginMillimetres, kMarginMillimetres, kMarginMillimetres, kMarginMillimetres),
      QPageLayout::Millimeter));
  writer.setTitle(title);
  writer.setCreator(QStringLiteral("DispFit"));

  QPainter painter(&writer);
  const QRectF page(QPointF(0, 0), QSizeF(writer.width(), writer.height()));
  double y = 0.0;
  // A line wider than the page wraps at word boundaries.
  const auto write = [&](const QFont& font, const QString& line) {
    painter.setFont(font);
    const double lineHeight = QFontMetricsF(font, &writer).height();
    const int flags = Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap;
    const QRectF needed =
        painter.boundingRect(QRectF(0.0, y, page.width(), page.height()), flags, line);
    if (y + needed.height() <= page.height()) {
      painter.drawText(QRectF(0.0, y, page.width(), needed.height()), flags, line);
    }
    y += needed.height() + (kLineSpacing - 1.0) * lineHeight;
  };

  QFont heading(QStringLiteral("WenQuanYi Micro Hei"));
  heading.setPointSizeF(14.0);
  heading.setBold(true);
  QFont text(QStringLiteral("WenQuanYi Micro Hei"));
  text.setPointSizeF(9.0);
  QFont fixedWidth(QStringLiteral("DejaVu Sans Mono"));
  fixedWidth.setStyleHint(QFont::Monospace);
  fixedWidth.setPointSizeF(8.5);

  write(heading, title);
  for (const ReportBlock& block : blocks) {
    y += kGapBetweenBlocks * QFontMetricsF(text, &writer).height();
    for (const std::string& line : block.lines) {
      write(block.fixedWidth ? fixedWidth : text, QString::fromStdString(line));
    }
  }

  // The charts share the room below the text, one below the other, all at
  // one scale so that their fonts and lines are of one size: the largest
  // that fits the widest in the page's width and all of them in the room.
  // Where that scale is too small to read, they go on a page of their own.
  y += QFontMetricsF(text, &writer).height();
  double widest = 0.0;
  double tall = 0.0;  // the charts' heights together, in their own pixels
  for (const ExportedChart& chart : charts) {
    const QRect source = chart.view->viewport()->rect();
    if (source.isEmpty()) continue;
    widest = std::max(widest, static_cast<double>(source.width()));
    tall += source.height();
  }
  if (widest <= 0.0) {
    painter.end();
    return bytes;
  }
  const double fullWidthScale = page.width() / widest;
  const auto scaleBelow = [&] { return std::min(fullWidthScale, (page.height() - y) / tall); };
  if (scaleBelow() < kLeastChartScale * fullWidthScale) {
    writer.newPage();
    y = 0.0;
  }
  const double scale = std::max(0.0, scaleBelow());
  for (const ExportedChart& chart : charts) {
    const QRect source = chart.view->viewport()->rect();
    if (source.isEmpty()) continue;
    const QRectF target((page.width() - scale * source.width()) / 2.0, y, scale * source.width(),
                        scale * source.height());
    chart.view->render(&painter, target, source, Qt::KeepAspectRatio);
    y += target.height();
  }
  painter.end();
  return bytes;
}

}  // namespace dispfit
