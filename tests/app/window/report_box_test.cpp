// SPDX-License-Identifier: GPL-3.0-or-later
// The inversion report's box: its columns line up in the font it is shown
// in, its text can be selected and copied, and a 20-layer report fits the
// screen.
#include <gtest/gtest.h>

#include <QFontDatabase>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QStringList>
#include <vector>

#include "inversion/inversion_report.h"
#include "window/qt_message_presenter.h"

namespace dispfit {

namespace {

// Twenty layers with one- and two-digit numbers, thicknesses below and
// above 10 m, velocities below and above 1000 m/s.
std::string twentyLayerReport() {
  std::vector<float> params(40);
  for (int g = 0; g < 20; ++g) {
    params[g] = 90.0f + 60.0f * static_cast<float>(g);
    params[20 + g] = 0.5f + 0.75f * static_cast<float>(g);
  }
  return inversionReport(12, 2.5e-3f, 40, params.data());
}

TEST(ReportBox, RowsOfTwentyLayersLineUpAndTheTextCanBeCopied) {
  const QString text = QString::fromStdString(twentyLayerReport());
  const auto box = makeReportBox(text, QStringLiteral("Sondrix提示..."));
  EXPECT_EQ(box->icon(), QMessageBox::Warning);
  // The box asks for the system's fixed font, whatever family that resolves
  // to on the desktop: some monospaced families (Noto Sans Mono) are not
  // flagged fixed pitch by Qt, so what matters is checked below, that the
  // rows line up in the font the box is drawn in.
  EXPECT_EQ(box->font(), QFontDatabase::systemFont(QFontDatabase::FixedFont));
  EXPECT_TRUE(box->textInteractionFlags() & Qt::TextSelectableByMouse);
  EXPECT_TRUE(box->textInteractionFlags() & Qt::TextSelectableByKeyboard);

  // In the box's own font every layer row is as wide as every other.
  const QFontMetrics metrics(box->font());
  const QString rows = text.mid(text.indexOf(QStringLiteral("Vs\n")) + 3);
  const QStringList lines = rows.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
  ASSERT_EQ(lines.size(), 20);
  for (const QString& line : lines) {
    SCOPED_TRACE(line.toStdString());
    EXPECT_EQ(metrics.horizontalAdvance(line), metrics.horizontalAdvance(lines.front()));
  }

  const QScreen* screen = QGuiApplication::primaryScreen();
  ASSERT_NE(screen, nullptr);
  EXPECT_LE(box->sizeHint().height(), screen->availableGeometry().height());
  EXPECT_LE(box->sizeHint().width(), screen->availableGeometry().width());
}

}  // namespace

}  // namespace dispfit
