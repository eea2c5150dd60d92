// SPDX-License-Identifier: GPL-3.0-or-later
// The shot-records window as a user works it: records of three source
// offsets opened, the offsets listed with their picks, a pick added, moved
// and deleted with the mouse (the combined curve following), the gather's
// style switched, and 用作实测曲线 putting the curve into the main window.
#include <gtest/gtest.h>

#include <QFile>
#include <QTest>

#include "layered_site.h"
#include "record_writers.h"
#include "window_fixture.h"

namespace dispfit {
namespace {

class ShotRecordsWindowTest : public WindowTest {
 protected:
  // Two noisy records a source at 5, 10 and 20 m, as SEG-2 files.
  QStringList writeRecords() {
    QStringList paths;
    std::uint64_t seed = 1;
    for (const double offset : {5.0, 10.0, 20.0}) {
      for (int copy = 0; copy < 2; ++copy) {
        SyntheticShot shot = dispfit_test::siteShot(offset, 0.1, seed++);
        const ModalCurve modes[] = {dispfit_test::siteFundamental()};
        const std::vector<std::uint8_t> bytes =
            dispfit_test::seg2Bytes(dispfit_test::seg2Traces(syntheticRecord(shot, modes)), {});
        const QString path = workDir.filePath(QStringLiteral("shot%1.sg2").arg(seed));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(reinterpret_cast<const char*>(bytes.data()), qint64(bytes.size()));
        paths.append(path);
      }
    }
    return paths;
  }
};

TEST_F(ShotRecordsWindowTest, OpensFromTheFileMenuAndListsTheOffsetsWithTheirPicks) {
  EXPECT_EQ(form.OpenRecordsAction->text(), QStringLiteral("打开地震记录..."));
  EXPECT_EQ(form.OpenRecordsAction->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_R));
  form.OpenRecordsAction->trigger();
  ShotRecordsWindow& window = form.shotRecordsWindow();
  EXPECT_TRUE(window.isVisible());
  EXPECT_EQ(window.windowTitle(), QStringLiteral("地震记录"));
  EXPECT_FALSE(window.useButton().isEnabled());
  ASSERT_TRUE(window.openRecords(writeRecords()));
  ASSERT_EQ(window.offsetList().count(), 3);
  EXPECT_TRUE(window.offsetList().item(0)->text().startsWith(QStringLiteral("偏移距 20.0 m：")))
      << window.offsetList().item(0)->text().toStdString();
  EXPECT_TRUE(window.offsetList().item(0)->text().endsWith(QStringLiteral("，2 个记录")));
  EXPECT_TRUE(window.useButton().isEnabled());
  EXPECT_FALSE(window.curveView().curve().empty());
  window.styleChooser().setCurrentIndex(1);
  EXPECT_EQ(window.styleChooser().currentText(), QStringLiteral("变密度"));
}

TEST_F(ShotRecordsWindowTest, TheMouseAddsMovesAndDeletesPicksAndTheCurveFollows) {
  ShotRecordsWindow& window = form.shotRecordsWindow();
  window.show();
  ASSERT_TRUE(window.openRecords(writeRecords()));
  window.selectOffset(2);
  DispersionImageView& view = window.imageView();
  const OffsetResult& offset = window.survey().offsets[2];
  // A click away from every pick: a pick at 80 Hz, 600 m/s, far above the
  // ridge, which replaces the ridge's pick at 80 Hz if it has one.
  const bool had80 = std::any_of(offset.picks.begin(), offset.picks.end(),
                                 [](const Pick& p) { return p.frequency == 80.0; });
  const std::size_t before = offset.picks.size() - (had80 ? 1 : 0);
  const auto velocityAt80 = [&] {
    for (const Pick& p : offset.picks) {
      if (p.frequency == 80.0) return p.velocity;
    }
    return 0.0;
  };
  QTest::mouseClick(&view, Qt::LeftButton, {}, view.pointOf(80.0, 600.0).toPoint());
  EXPECT_EQ(offset.picks.size(), before + 1);
  EXPECT_NEAR(velocityAt80(), 600.0, 3.0);  // within a pixel's worth
  // A drag from it moves it to 500 m/s.
  QTest::mousePress(&view, Qt::LeftButton, {}, view.pointOf(80.0, 600.0).toPoint());
  QTest::mouseMove(&view, view.pointOf(80.0, 500.0).toPoint());
  QTest::mouseRelease(&view, Qt::LeftButton, {}, view.pointOf(80.0, 500.0).toPoint());
  EXPECT_EQ(offset.picks.size(), before + 1);
  EXPECT_NEAR(velocityAt80(), 500.0, 3.0);
  // A right click on it deletes it.
  QTest::mouseClick(&view, Qt::RightButton, {}, view.pointOf(80.0, 500.0).toPoint());
  EXPECT_EQ(offset.picks.size(), before);
  // Deleting a ridge pick inside the limits changes the combined curve.
  const std::vector<CurveStatistic> curve = window.curveView().curve();
  const auto inside = std::find_if(offset.picks.begin(), offset.picks.end(), [](const Pick& p) {
    return p.insideLimits && p.frequency > 20.0;
  });
  ASSERT_NE(inside, offset.picks.end());
  const Pick ridge = *inside;
  const double frequency = ridge.frequency;
  QTest::mouseClick(&view, Qt::RightButton, {},
                    view.pointOf(ridge.frequency, ridge.velocity).toPoint());
  const auto at = [&](const std::vector<CurveStatistic>& c) {
    for (const CurveStatistic& p : c) {
      if (p.frequency == frequency) return p.offsets;
    }
    return std::size_t(0);
  };
  // Seen at all three offsets before; at two after, fewer than the three
  // asked, so the point leaves the curve.
  EXPECT_EQ(at(curve), 3u);
  EXPECT_EQ(at(window.curveView().curve()), 0u);
}

TEST_F(ShotRecordsWindowTest, UseAsMeasuredCurvePutsTheCurveIntoTheMainWindow) {
  ShotRecordsWindow& window = form.shotRecordsWindow();
  ASSERT_TRUE(window.openRecords(writeRecords()));
  ASSERT_FALSE(form.measuredCurve().has_value());
  window.useButton().click();
  ASSERT_TRUE(form.measuredCurve().has_value());
  const MeasuredCurve& measured = *form.measuredCurve();
  EXPECT_EQ(measured.points.size(), window.survey().curve.size());
  ASSERT_TRUE(measured.points.front().band.has_value());
  EXPECT_NEAR(measured.points.front().band->high - measured.points.front().velocity,
              window.survey().curve.front().sigma, 1e-3);
}

TEST_F(ShotRecordsWindowTest, ARecordThatCannotBeUsedIsNamedAndNothingChanges) {
  ShotRecordsWindow& window = form.shotRecordsWindow();
  ASSERT_TRUE(window.openRecords(writeRecords()));
  const QString broken = workDir.filePath(QStringLiteral("broken.sg2"));
  QFile file(broken);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("\x55\x3a\x01\x00", 4);
  file.close();
  EXPECT_FALSE(window.openRecords({broken}));
  ASSERT_FALSE(messages.messages.empty());
  EXPECT_NE(messages.messages.back().text.find("broken.sg2: "), std::string::npos);
  EXPECT_EQ(window.offsetList().count(), 3);
}

}  // namespace
}  // namespace dispfit
