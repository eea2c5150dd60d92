// SPDX-License-Identifier: GPL-3.0-or-later
// The shot-records window as a user works it: records of three source
// offsets opened, the offsets listed with their picks, a pick added, moved
// and deleted with the mouse (the combined curve following), the gather's
// style switched, 用作实测曲线 putting the curve into the main window, the
// main window's model's modes over the image, and the settings: their
// dialog, and what a change computes anew and keeps of the hand edits.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QGroupBox>
#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include "layered_site.h"
#include "record_writers.h"
#include "window/masw_settings_dialog.h"
#include "window/screen_placement.h"
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

  // Opens the records and waits for their analysis.
  static bool open(ShotRecordsWindow& window, const QStringList& paths) {
    if (!window.openRecords(paths)) return false;
    window.finishAnalysis();
    return true;
  }
};

std::optional<double> velocityAt(const OffsetResult& offset, double frequency) {
  for (const Pick& p : offset.picks) {
    if (p.frequency == frequency) return p.velocity;
  }
  return std::nullopt;
}

TEST_F(ShotRecordsWindowTest, OpensFromTheFileMenuAndListsTheOffsetsWithTheirPicks) {
  EXPECT_EQ(form.OpenRecordsAction->text(), QStringLiteral("打开地震记录..."));
  EXPECT_EQ(form.OpenRecordsAction->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_R));
  form.OpenRecordsAction->trigger();
  ShotRecordsWindow& window = form.shotRecordsWindow();
  EXPECT_TRUE(window.isVisible());
  EXPECT_EQ(window.windowTitle(), QStringLiteral("地震记录"));
  EXPECT_FALSE(window.useButton().isEnabled());
  ASSERT_TRUE(open(window, writeRecords()));
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
  ASSERT_TRUE(open(window, writeRecords()));
  window.selectOffset(2);
  DispersionImageView& view = window.imageView();
  const OffsetResult& offset = window.survey().offsets[2];
  // A click away from every pick: a pick at 80 Hz, 600 m/s, far above the
  // ridge, which replaces the ridge's pick at 80 Hz if it has one.
  const bool had80 = std::any_of(offset.picks.begin(), offset.picks.end(),
                                 [](const Pick& p) { return p.frequency == 80.0; });
  const std::size_t before = offset.picks.size() - (had80 ? 1 : 0);
  const auto velocityAt80 = [&] { return velocityAt(offset, 80.0).value_or(0.0); };
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

TEST_F(ShotRecordsWindowTest, OverlaysTheModesOfTheMainWindowsModelOnTheImageWhenAsked) {
  // The records' own site in the main window's table (g/cm3), computed so
  // that the window holds it.
  typeModel({{"4", "160", "1.8"}, {"6", "260", "1.9"}, {"10", "380", "2.0"}, {"0", "600", "2.1"}});
  form.Button1.click();
  ShotRecordsWindow& window = form.shotRecordsWindow();
  ASSERT_TRUE(open(window, writeRecords()));
  window.selectOffset(1);
  const DispersionImageView& view = window.imageView();
  EXPECT_FALSE(window.modesShown().isChecked());
  EXPECT_TRUE(view.modeLines().empty());
  EXPECT_FALSE(window.modeCount().isEnabled());

  window.modesShown().setChecked(true);
  EXPECT_TRUE(window.modeCount().isEnabled());
  const std::vector<ModeLine>& lines = view.modeLines();
  ASSERT_EQ(lines.size(), 3u);  // modes 0 to 2 unless the user asks for more
  for (int k = 0; k < 3; ++k) EXPECT_EQ(lines[std::size_t(k)].mode, k);
  // The fundamental at the image's frequencies is the curve the records
  // were made from (the core's at every 0.25 Hz, linear between: 0.1 %
  // holds the interpolation's error, under 0.01 % at these frequencies).
  const DispersionImage& image = window.survey().offsets[1].image;
  ASSERT_EQ(lines[0].frequencies.size(), image.frequencyCount);
  const ModalCurve truth = dispfit_test::siteFundamental();
  for (std::size_t i = 0; i < image.frequencyCount; i += 10) {
    SCOPED_TRACE(image.grid.frequency.at(i));
    EXPECT_DOUBLE_EQ(lines[0].frequencies[i], image.grid.frequency.at(i));
    const double expected = modalVelocityAt(truth, lines[0].frequencies[i]);
    EXPECT_NEAR(lines[0].velocities[i], expected, 1e-3 * expected);
  }
  // A higher mode begins above the image's lowest frequency and is faster.
  ASSERT_FALSE(lines[1].frequencies.empty());
  EXPECT_GT(lines[1].frequencies.front(), image.grid.frequency.first);
  EXPECT_GT(lines[1].velocities.back(), lines[0].velocities.back());

  window.modeCount().setValue(5);
  EXPECT_EQ(view.modeLines().size(), 5u);
  // Another offset: its image's modes (the same grid, the same lines).
  window.offsetList().setCurrentRow(2);
  EXPECT_EQ(view.modeLines().size(), 5u);

  // The model changed in the main window is drawn when the records window
  // is active again: a half-space of 300 m/s has no higher mode, and its
  // fundamental is its Rayleigh velocity, below 300 m/s at every frequency.
  typeModel({{"0", "300", "2.0"}});
  form.Button1.click();
  QEvent activated(QEvent::WindowActivate);
  QCoreApplication::sendEvent(&window, &activated);
  ASSERT_EQ(view.modeLines().size(), 5u);
  ASSERT_EQ(view.modeLines()[0].frequencies.size(), image.frequencyCount);
  for (const double c : view.modeLines()[0].velocities) {
    EXPECT_LT(c, 300.0);
    EXPECT_GT(c, 0.9 * 300.0);
  }
  for (std::size_t k = 1; k < 5; ++k) EXPECT_TRUE(view.modeLines()[k].frequencies.empty()) << k;

  window.modesShown().setChecked(false);
  EXPECT_TRUE(view.modeLines().empty());
  EXPECT_FALSE(window.modeCount().isEnabled());
}

TEST_F(ShotRecordsWindowTest, UseAsMeasuredCurvePutsTheCurveIntoTheMainWindow) {
  ShotRecordsWindow& window = form.shotRecordsWindow();
  ASSERT_TRUE(open(window, writeRecords()));
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
  ASSERT_TRUE(open(window, writeRecords()));
  const QString broken = workDir.filePath(QStringLiteral("broken.sg2"));
  QFile file(broken);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("\x55\x3a\x01\x00", 4);
  file.close();
  EXPECT_FALSE(window.openRecords({broken}));
  EXPECT_FALSE(window.analysing());
  ASSERT_FALSE(messages.messages.empty());
  EXPECT_NE(messages.messages.back().text.find("broken.sg2: "), std::string::npos);
  EXPECT_EQ(window.offsetList().count(), 3);
}

TEST(MaswSettingsDialog, ShowsTheSettingsAndTakesNoneWithAFault) {
  MaswSettings given = defaultMaswSettings();
  given.geometry.source = -5.0;
  given.request.picking.largestChange = 0.08;
  MaswSettingsDialog dialog(given, 0.001, 24);  // records sampled every 1 ms
  EXPECT_EQ(dialog.windowTitle(), QStringLiteral("地震记录设置"));
  EXPECT_EQ(dialog.LowestFrequency.value(), 5.0);
  EXPECT_EQ(dialog.HighestVelocity.value(), 1000.0);
  EXPECT_TRUE(dialog.PlaceSource.isChecked());
  EXPECT_EQ(dialog.Source.value(), -5.0);
  EXPECT_FALSE(dialog.PlaceReceivers.isChecked());
  EXPECT_FALSE(dialog.FirstReceiver.isEnabled());
  EXPECT_EQ(dialog.SampleInterval.value(), 1.0);  // the records' own, in ms
  EXPECT_EQ(dialog.LastKept.value(), 24);
  EXPECT_EQ(dialog.LargestChange.value(), 8.0);  // per cent
  EXPECT_EQ(dialog.settings(), given);
  QPushButton* ok = dialog.Buttons.button(QDialogButtonBox::Ok);
  EXPECT_TRUE(ok->isEnabled());
  EXPECT_TRUE(dialog.Faults.isHidden());

  // At the records' Nyquist frequency, 500 Hz: refused, and said why.
  dialog.HighestFrequency.setValue(500.0);
  EXPECT_FALSE(ok->isEnabled());
  EXPECT_EQ(dialog.Faults.text(), MaswSettingsDialog::faultText(MaswSettingFault::aboveNyquist));
  // A sample interval of 0.5 ms set here moves it to 1000 Hz.
  dialog.SetSampleInterval.setChecked(true);
  dialog.SampleInterval.setValue(0.5);
  EXPECT_TRUE(ok->isEnabled());
  // A mute without its window, and a pick window above the image: two lines.
  dialog.UseMute.setChecked(true);
  dialog.LimitPickVelocities.setChecked(true);
  dialog.PickLowest.setValue(1200.0);
  dialog.PickHighest.setValue(1500.0);
  EXPECT_FALSE(ok->isEnabled());
  EXPECT_EQ(dialog.Faults.text(),
            MaswSettingsDialog::faultText(MaswSettingFault::muteWithoutWindow) + "\n" +
                MaswSettingsDialog::faultText(MaswSettingFault::pickVelocitiesOutside));
  dialog.UseWindow.setChecked(true);
  dialog.LimitPickVelocities.setChecked(false);
  EXPECT_TRUE(ok->isEnabled());

  dialog.Transform.setCurrentIndex(1);
  dialog.LargestChange.setValue(5.0);
  dialog.ByWavelength.setChecked(true);
  dialog.BinsPerDecade.setValue(12);
  const MaswSettings taken = dialog.settings();
  EXPECT_EQ(taken.request.image.transform, ImageTransform::beamformer);
  EXPECT_EQ(taken.geometry.sampleInterval, 0.0005);
  EXPECT_EQ(taken.request.image.window.start, 0.0);
  EXPECT_EQ(taken.request.image.window.fastVelocity, 1000.0);
  EXPECT_EQ(taken.request.picking.largestChange, 0.05);
  EXPECT_FALSE(taken.request.picking.lowestVelocity);
  EXPECT_EQ(taken.request.statistics.domain, StatisticsDomain::logWavelength);
  EXPECT_EQ(taken.request.statistics.binsPerDecade, 12u);
  EXPECT_TRUE(maswSettingFaults(taken, 0.001).empty());

  dialog.Buttons.button(QDialogButtonBox::RestoreDefaults)->click();
  EXPECT_EQ(dialog.settings(), defaultMaswSettings());
}

TEST(MaswSettingsDialog, FitsAScreenTooNarrowForItsTwoColumns) {
  // The headless screen is 800 pixels wide; the groups side by side take
  // about 1000 in Chinese (the three image fields of 110 pixels each and
  // their labels beside the geometry's form), so they must stand in one
  // column, the geometry above the image, and the dialog fit the screen
  // with its frame.
  const QRect room = QGuiApplication::primaryScreen()->availableGeometry();
  ASSERT_LT(room.width(), 900) << "the headless screen is wider than this test assumes";
  MaswSettingsDialog dialog(defaultMaswSettings(), 0.001, 24);
  dialog.show();
  QApplication::processEvents();
  EXPECT_TRUE(dialog.stacked());
  QGroupBox* geometry = nullptr;
  QGroupBox* image = nullptr;
  for (QGroupBox* box : dialog.findChildren<QGroupBox*>()) {
    if (box->title() == QStringLiteral("几何")) geometry = box;
    if (box->title() == QStringLiteral("频散图像")) image = box;
  }
  ASSERT_NE(geometry, nullptr);
  ASSERT_NE(image, nullptr);
  const QPoint geometryAt = geometry->mapTo(&dialog, QPoint(0, 0));
  const QPoint imageAt = image->mapTo(&dialog, QPoint(0, 0));
  EXPECT_EQ(geometryAt.x(), imageAt.x());
  EXPECT_GT(imageAt.y(), geometryAt.y() + geometry->height() - 1);
  EXPECT_LE(dialog.width(), room.width() - kFrameAllowance.width());
  EXPECT_LE(dialog.height(), room.height() - kFrameAllowance.height());
  // Every field is reached by scrolling up and down, none cut at the side.
  EXPECT_LE(image->width(), dialog.width());
  EXPECT_LE(dialog.HighestFrequency.mapTo(&dialog, QPoint(dialog.HighestFrequency.width(), 0)).x(),
            dialog.width());
}

TEST_F(ShotRecordsWindowTest, TheSettingsButtonAppliesWhatTheDialogGives) {
  ShotRecordsWindow& window = form.shotRecordsWindow();
  window.show();
  ASSERT_TRUE(open(window, writeRecords()));
  const std::size_t points = window.survey().curve.size();
  QTimer::singleShot(0, [] {
    auto* dialog = qobject_cast<MaswSettingsDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    dialog->LeastOffsets.setValue(2);
    dialog->Buttons.button(QDialogButtonBox::Ok)->click();
  });
  window.settingsButton().click();
  EXPECT_EQ(window.settings().request.statistics.leastOffsets, 2u);
  // Points seen at two of the three offsets join the curve; no image was
  // computed for it.
  EXPECT_FALSE(window.analysing());
  EXPECT_GT(window.survey().curve.size(), points);
}

TEST_F(ShotRecordsWindowTest, AChangeOfSettingsKeepsTheHandEditsWhereTheyMeanTheSame) {
  ShotRecordsWindow& window = form.shotRecordsWindow();
  window.show();
  ASSERT_TRUE(open(window, writeRecords()));
  window.offsetList().setCurrentRow(2);
  DispersionImageView& view = window.imageView();
  // A hand pick at 80 Hz and 600 m/s, far above the ridge.
  QTest::mouseClick(&view, Qt::LeftButton, {}, view.pointOf(80.0, 600.0).toPoint());
  const auto handPick = [&] { return velocityAt(window.survey().offsets[2], 80.0); };
  ASSERT_TRUE(handPick());
  const double placed = *handPick();
  EXPECT_NEAR(placed, 600.0, 3.0);

  // The picking's rules: the ridge picked anew at once, the edit made again.
  MaswSettings settings = window.settings();
  settings.request.picking.largestChange = 0.05;
  window.applySettings(settings);
  EXPECT_FALSE(window.analysing());
  EXPECT_EQ(handPick(), placed);
  EXPECT_EQ(window.statusLine().text(),
            QStringLiteral("已按新的设置重新计算：保留了 1 处手工编辑，0 处无法保留。"));

  // The transform: the images computed on their own thread, the survey
  // shown until they are done and the window working meanwhile.
  settings.request.image.transform = ImageTransform::beamformer;
  window.applySettings(settings);
  EXPECT_TRUE(window.analysing());
  EXPECT_EQ(window.settings().request.image.transform, ImageTransform::phaseShift);
  EXPECT_EQ(window.statusLine().text(), QStringLiteral("正在计算频散图像……"));
  window.offsetList().setCurrentRow(1);
  EXPECT_EQ(handPick(), placed);
  window.finishAnalysis();
  EXPECT_FALSE(window.analysing());
  EXPECT_EQ(window.settings().request.image.transform, ImageTransform::beamformer);
  EXPECT_EQ(window.offsetList().currentRow(), 1);  // the offset shown stays
  EXPECT_EQ(handPick(), placed);
  EXPECT_EQ(window.statusLine().text(),
            QStringLiteral("已按新的设置重新计算：保留了 1 处手工编辑，0 处无法保留。"));

  // Frequencies from 5.2 Hz by 0.5: 80 Hz is no longer one of the image's.
  settings.request.image.grid.frequency.first = 5.2;
  window.applySettings(settings);
  window.finishAnalysis();
  EXPECT_FALSE(handPick());
  EXPECT_EQ(window.statusLine().text(),
            QStringLiteral("已按新的设置重新计算：保留了 0 处手工编辑，1 处无法保留。"));

  // Back on 5 Hz and a new pick; then the receivers placed by hand where the
  // files place them: the images are the same, but a change of places turns
  // the velocities read, so the edit is dropped.
  settings.request.image.grid.frequency.first = 5.0;
  window.applySettings(settings);
  window.finishAnalysis();
  window.offsetList().setCurrentRow(2);
  QTest::mouseClick(&view, Qt::LeftButton, {}, view.pointOf(80.0, 600.0).toPoint());
  ASSERT_TRUE(handPick());
  settings.geometry.firstReceiver = 0.0;
  settings.geometry.spacing = 2.0;
  window.applySettings(settings);
  window.finishAnalysis();
  EXPECT_EQ(window.offsetList().count(), 3);
  EXPECT_NE(handPick(), std::optional<double>(placed));
  EXPECT_EQ(window.statusLine().text(),
            QStringLiteral("已按新的设置重新计算：保留了 0 处手工编辑，1 处无法保留。"));
}

TEST_F(ShotRecordsWindowTest, SettingsThatCannotPlaceTheRecordsAreNamedAndNothingChanges) {
  ShotRecordsWindow& window = form.shotRecordsWindow();
  ASSERT_TRUE(open(window, writeRecords()));
  const MaswSettings before = window.settings();
  MaswSettings settings = before;
  settings.geometry.receivers = {{20, 30}};  // the records hold 24
  window.applySettings(settings);
  window.finishAnalysis();
  ASSERT_FALSE(messages.messages.empty());
  EXPECT_EQ(window.settings(), before);
  EXPECT_EQ(window.offsetList().count(), 3);
}

}  // namespace
}  // namespace dispfit
