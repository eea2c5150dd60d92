// SPDX-License-Identifier: GPL-3.0-or-later
// Copying and printing the chart: the clipboard picture and a printed PDF page.
#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPrinterInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QtTest/QTest>

#include "window_fixture.h"

namespace dispfit {

namespace {

struct InkBox {
  int left = 0, top = 0, right = -1, bottom = -1;
  bool empty() const { return right < left; }
};

bool isRed(QRgb c) {
  return qRed(c) > 200 && qGreen(c) < 80 && qBlue(c) < 80;
}

InkBox inkBox(const QImage& image) {
  InkBox box{image.width(), image.height(), -1, -1};
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const QRgb c = image.pixel(x, y);
      if (qRed(c) < 245 || qGreen(c) < 245 || qBlue(c) < 245) {
        box.left = std::min(box.left, x);
        box.right = std::max(box.right, x);
        box.top = std::min(box.top, y);
        box.bottom = std::max(box.bottom, y);
      }
    }
  }
  return box;
}

int redPixels(const QImage& image) {
  int count = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) count += isRed(image.pixel(x, y)) ? 1 : 0;
  }
  return count;
}

QString run(const QString& program, const QStringList& arguments) {
  QProcess process;
  process.start(program, arguments);
  process.waitForFinished(30000);
  return QString::fromUtf8(process.readAllStandardOutput());
}

using CopyChart = WindowTest;

TEST_F(CopyChart, PutsThePictureOfTheChartOnTheClipboard) {
  form.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
  QGuiApplication::clipboard()->setText(QStringLiteral("earlier content"));
  form.Button4.click();

  const QImage picture = QGuiApplication::clipboard()->image();
  ASSERT_FALSE(picture.isNull());
  EXPECT_EQ(picture.size(), form.Chart.size());
  EXPECT_EQ(picture.pixel(0, 0), qRgb(255, 255, 255));
  EXPECT_EQ(picture.pixel(picture.width() - 1, picture.height() - 1), qRgb(255, 255, 255));
  // The flat start-up curve at 136.5 m/s on 0..200: a row of red markers
  // about a third of the plot height below its top.
  EXPECT_GT(redPixels(picture), 200);
  EXPECT_TRUE(messages.messages.empty());
}

TEST_F(CopyChart, FollowsTheCurveOnScreen) {
  form.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
  form.Button4.click();
  const QImage before = QGuiApplication::clipboard()->image();
  engine.curve.assign(30, 180.0f);
  form.Button1.click();
  form.Button4.click();
  const QImage after = QGuiApplication::clipboard()->image();
  EXPECT_EQ(after.size(), before.size());
  EXPECT_NE(after, before);
  EXPECT_EQ(after, form.Chart.grab().toImage().convertToFormat(after.format()));
}

using PrintChart = WindowTest;

TEST_F(PrintChart, PrintsOnePageTitledChartWithinTheMargins) {
  form.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
  form.Button5.click();
  EXPECT_EQ(printers.requests, 1);
  EXPECT_TRUE(messages.messages.empty());
  const QString pdf = workDir.filePath(QStringLiteral("chart.pdf"));
  ASSERT_TRUE(QFile::exists(pdf));

  const QString info = run(QStringLiteral("pdfinfo"), {pdf});
  EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Title:\\s+Chart\\n"))))
      << info.toStdString();
  EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+1\\n"))))
      << info.toStdString();

  const QString prefix = workDir.filePath(QStringLiteral("page"));
  run(QStringLiteral("pdftoppm"),
      {QStringLiteral("-r"), QStringLiteral("50"), QStringLiteral("-png"),
       QStringLiteral("-singlefile"), pdf, prefix});
  const QImage page(prefix + QStringLiteral(".png"));
  ASSERT_FALSE(page.isNull());
  // A4 portrait: the width limits a 400 x 250 chart, so it spans the middle
  // 70 % of the width and 0.7 / 1.6 of the width in height, centred.
  const double w = page.width(), h = page.height();
  const double rectHeight = 0.7 * w / 1.6;
  const double rectTop = (h - rectHeight) / 2.0;
  const InkBox ink = inkBox(page);
  ASSERT_FALSE(ink.empty());
  const double slack = 2.0;
  EXPECT_GE(ink.left, 0.15 * w - slack);
  EXPECT_LE(ink.right, 0.85 * w + slack);
  EXPECT_GE(ink.top, rectTop - slack);
  EXPECT_LE(ink.bottom, rectTop + rectHeight + slack);
  EXPECT_GT(ink.right - ink.left, 0.6 * w);  // the chart fills its rectangle
  EXPECT_GT(ink.bottom - ink.top, 0.8 * rectHeight);
  EXPECT_GT(redPixels(page), 50);  // the curve is on the page
}

TEST(PrintChartWithoutPrinter, ShowsAClearErrorBox) {
  RecordingPresenter messages;
  ScriptedEngine engine;
  NoPrinterSource printers;
  ScriptedFileChooser files;
  TForm1 form(messages, engine, printers, files);
  form.Button5.click();
  ASSERT_EQ(messages.messages.size(), 1u);
  EXPECT_EQ(messages.messages[0].kind, RecordedMessage::Kind::Error);
  EXPECT_NE(messages.messages[0].text.find("打印机"), std::string::npos);
}

TEST(DefaultPrinter, GivesNoPrinterWhenNoneIsInstalled) {
  DefaultPrinter printers;
  const std::unique_ptr<QPrinter> printer = printers.defaultPrinter();
  if (QPrinterInfo::availablePrinters().isEmpty()) {
    EXPECT_EQ(printer, nullptr);
  } else {
    ASSERT_NE(printer, nullptr);
    EXPECT_EQ(printer->printerName(), QPrinterInfo::defaultPrinter().printerName());
  }
}

}  // namespace

}  // namespace dispfit
