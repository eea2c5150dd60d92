// SPDX-License-Identifier: GPL-3.0-or-later
// The window with a measured field curve: the file menu, a curve and a model
// opened, the forward run at the measured frequencies with its misfit, the
// inversion of the measured curve and the fitted model applied to the table.
#include <QApplication>
#include <QFile>
#include <QKeySequence>
#include <QMenu>
#include <QTimer>
#include <cmath>
#include <string>

#include "curve_function_engine.h"
#include "window/inversion_settings_dialog.h"
#include "window_fixture.h"

namespace dispfit {

namespace {

// Four measured points at 10, 20, 30 and 40 Hz, each +/- 5 m/s.
const char* const kFourPoints =
    "f (Hz), c (m/s), sigma (m/s)\n10, 200, 5\n20, 180, 5\n30, 150, 5\n40, 120, 5\n";

bool writeFile(const QString& path, const std::string& text) {
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return false;
  return file.write(text.data(), static_cast<qint64>(text.size())) ==
         static_cast<qint64>(text.size());
}

std::string readFile(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  return file.readAll().toStdString();
}

class FieldCurve : public WindowTest {
 protected:
  // Writes `text` to `name` in the test's directory and opens it through the
  // menu, the file dialog answering with its path.
  QString openCurve(const char* name, const std::string& text) {
    const QString path = workDir.filePath(QString::fromUtf8(name));
    EXPECT_TRUE(writeFile(path, text));
    files.answers.push_back(path);
    form.OpenCurveAction->trigger();
    return path;
  }
};

TEST_F(FieldCurve, FileMenuHoldsTheCommandsWithTheirShortcuts) {
  const QList<QAction*> menus = form.MenuBar.actions();
  ASSERT_EQ(menus.size(), 4);  // file, view, inversion, language
  EXPECT_EQ(menus[3]->menu()->actions(), (QList<QAction*>{form.ChineseAction, form.EnglishAction}));
  const QList<QAction*> view = menus[1]->menu()->actions();
  ASSERT_EQ(view.size(), 4);
  EXPECT_EQ(view.first(2), (QList<QAction*>{form.LogFrequencyAction, form.WavelengthAction}));
  EXPECT_TRUE(view[2]->isSeparator());
  EXPECT_EQ(view[3], form.ModesMenu->menuAction());
  // The inversion menu: the local inversion's commands, a separator, then
  // the global search's.
  const QList<QAction*> inversion = menus[2]->menu()->actions();
  ASSERT_EQ(inversion.size(), 6);
  EXPECT_EQ(inversion.first(3), (QList<QAction*>{form.SuggestModelAction, form.SettingsAction,
                                                 form.ApplyFittedAction}));
  EXPECT_TRUE(inversion[3]->isSeparator());
  EXPECT_EQ(inversion.last(2), (QList<QAction*>{form.GlobalSearchAction, form.ApplyBestAction}));
  EXPECT_EQ(menus[0]->text(), "文件(&F)");
  const QList<QAction*> commands = menus[0]->menu()->actions();
  ASSERT_EQ(commands.size(), 8);  // seven commands and a separator before quitting
  EXPECT_EQ(commands[0], form.OpenCurveAction);
  EXPECT_EQ(commands[1], form.OpenRecordsAction);
  EXPECT_EQ(commands[2], form.OpenModelAction);
  EXPECT_EQ(commands[3], form.SaveModelAction);
  EXPECT_EQ(commands[4], form.ExportAction);
  EXPECT_EQ(commands[5], form.ExportWidthAction);
  EXPECT_TRUE(commands[6]->isSeparator());
  EXPECT_EQ(commands[7], form.QuitAction);
  EXPECT_TRUE(form.ExportAction->text().startsWith("导出结果"));
  EXPECT_EQ(form.ExportAction->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_E));
  EXPECT_TRUE(form.OpenCurveAction->text().startsWith("打开实测曲线"));
  EXPECT_TRUE(form.SaveModelAction->text().startsWith("保存模型"));
  EXPECT_EQ(form.OpenCurveAction->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_O));
  EXPECT_EQ(form.SaveModelAction->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_S));
  // Nothing has been fitted yet, so there is nothing to apply.
  EXPECT_FALSE(form.ApplyFittedAction->isEnabled());
}

TEST_F(FieldCurve, CancelledDialogChangesNothing) {
  const std::vector<QPointF> before = seriesPoints();
  const QStringList filesBefore = QDir(workDir.path()).entryList(QDir::Files);
  for (QAction* action :
       {form.OpenCurveAction, form.OpenModelAction, form.SaveModelAction, form.ExportAction}) {
    action->trigger();
  }
  EXPECT_EQ(files.asked, 4);
  EXPECT_EQ(QDir(workDir.path()).entryList(QDir::Files), filesBefore);
  EXPECT_FALSE(form.measuredCurve());
  EXPECT_EQ(form.freqCount, 30);
  EXPECT_EQ(seriesPoints(), before);
  EXPECT_TRUE(messages.messages.empty());
}

TEST_F(FieldCurve, OpenedCurveIsDrawnWithItsBandApartFromTheComputedCurve) {
  openCurve("site.csv", kFourPoints);
  ASSERT_TRUE(form.measuredCurve());
  EXPECT_TRUE(messages.messages.empty());

  const QList<QPointF> measured = form.MeasuredSeries->points();
  ASSERT_EQ(measured.size(), 4);
  EXPECT_EQ(measured.front(), QPointF(40, 120));  // descending frequency
  EXPECT_EQ(measured.back(), QPointF(10, 200));
  EXPECT_TRUE(form.MeasuredSeries->isVisible());
  EXPECT_TRUE(form.BandSeries->isVisible());
  EXPECT_EQ(form.BandSeries->upperSeries()->points().front(), QPointF(40, 125));
  EXPECT_EQ(form.BandSeries->lowerSeries()->points().front(), QPointF(40, 115));
  EXPECT_TRUE(seriesPoints().empty());  // nothing computed at these frequencies yet

  // The forward run's frequencies become the measured ones.
  ASSERT_EQ(form.freqCount, 4);
  const float expected[] = {40.0f, 30.0f, 20.0f, 10.0f};
  for (int i = 0; i < 4; ++i) EXPECT_EQ(form.freq[i], expected[i]);
  // Both axes hold every point and the band.
  EXPECT_LE(form.LeftAxis->min(), 115.0);
  EXPECT_GE(form.LeftAxis->max(), 205.0);
  EXPECT_DOUBLE_EQ(form.BottomAxis->min(), 10.0);
  EXPECT_DOUBLE_EQ(form.BottomAxis->max(), 40.0);
  // Labelled ticks at round values across that span: more than one interval
  // fits in 30 Hz.
  EXPECT_EQ(form.BottomAxis->tickType(), QValueAxis::TicksDynamic);
  EXPECT_GT(form.BottomAxis->tickInterval(), 0.0);
  EXPECT_LE(form.BottomAxis->tickInterval(), 15.0);
  EXPECT_TRUE(form.StatusLine.text().contains("site.csv"));
  EXPECT_TRUE(form.StatusLine.text().contains("4 个实测点"));
}

TEST_F(FieldCurve, LongCurveSaysItWasThinnedAndDrawsEveryPoint) {
  std::string text = "f, c\n";
  for (int i = 0; i < 60; ++i)
    text += std::to_string(5 + i) + ", " + std::to_string(400 - i) + "\n";
  openCurve("long.csv", text);
  EXPECT_EQ(form.MeasuredSeries->points().size(), 60);
  EXPECT_EQ(form.freqCount, 50);
  EXPECT_FALSE(form.BandSeries->isVisible());  // no band given
  EXPECT_TRUE(form.StatusLine.text().contains("60 个实测点，反演取其中 50 个"))
      << form.StatusLine.text().toStdString();
  EXPECT_TRUE(form.StatusLine.toolTip().contains("fits 50"));
}

TEST_F(FieldCurve, FrequencyAxisSwitchesToLogarithmicScaleAndBack) {
  openCurve("site.csv", kFourPoints);
  EXPECT_FALSE(form.LogFrequencyAction->isChecked());
  form.LogFrequencyAction->setChecked(true);
  EXPECT_TRUE(form.LogBottomAxis->isVisible());
  EXPECT_FALSE(form.BottomAxis->isVisible());
  for (QAbstractSeries* series : form.chart->series()) {
    EXPECT_TRUE(series->attachedAxes().contains(form.LogBottomAxis));
    EXPECT_FALSE(series->attachedAxes().contains(form.BottomAxis));
  }
  // The measured span, 10 to 40 Hz, high frequencies on the left as before,
  // every point at the logarithm of its frequency, the round frequencies
  // labelled in their places.
  EXPECT_DOUBLE_EQ(form.LogBottomAxis->min(), 1.0);
  EXPECT_DOUBLE_EQ(form.LogBottomAxis->max(), std::log10(40.0));
  EXPECT_TRUE(form.LogBottomAxis->isReverse());
  EXPECT_EQ(form.LogBottomAxis->categoriesLabels(), (QStringList{"10", "20", "30", "40"}));
  EXPECT_DOUBLE_EQ(form.LogBottomAxis->endValue("20"), std::log10(20.0));
  const QList<QPointF> measured = form.MeasuredSeries->points();
  ASSERT_EQ(measured.size(), 4);
  EXPECT_DOUBLE_EQ(measured.front().x(), std::log10(40.0));
  EXPECT_DOUBLE_EQ(measured.back().x(), 1.0);

  // On the wavelength axis too: 3 to 20 m.
  form.WavelengthAction->setChecked(true);
  EXPECT_DOUBLE_EQ(form.LogBottomAxis->min(), std::log10(3.0));
  EXPECT_EQ(form.LogBottomAxis->categoriesLabels(),
            (QStringList{"3", "4", "5", "6", "7", "8", "9", "10", "20"}));
  form.WavelengthAction->setChecked(false);

  form.LogFrequencyAction->setChecked(false);
  EXPECT_TRUE(form.BottomAxis->isVisible());
  EXPECT_FALSE(form.LogBottomAxis->isVisible());
  EXPECT_TRUE(form.Series1->attachedAxes().contains(form.BottomAxis));
  EXPECT_DOUBLE_EQ(form.MeasuredSeries->points().front().x(), 40.0);
  EXPECT_TRUE(messages.messages.empty());
}

TEST_F(FieldCurve, WavelengthAxisDrawsEveryCurveOverWavelength) {
  openCurve("site.csv", kFourPoints);
  engine.curve = {123.0f, 150.0f, 190.0f, 200.0f};  // at 40, 30, 20, 10 Hz
  form.Button1.click();
  form.WavelengthAction->setChecked(true);
  // lambda = c / f: measured 120/40 = 3 m ... 200/10 = 20 m; computed
  // 123/40 = 3.075 m; the band keeps the measured point's wavelength.
  const QList<QPointF> measured = form.MeasuredSeries->points();
  ASSERT_EQ(measured.size(), 4);
  EXPECT_DOUBLE_EQ(measured.front().x(), 3.0);
  EXPECT_DOUBLE_EQ(measured.back().x(), 20.0);
  EXPECT_DOUBLE_EQ(form.BandSeries->upperSeries()->points().front().x(), 3.0);
  const std::vector<QPointF> computed = seriesPoints();
  ASSERT_EQ(computed.size(), 4u);
  EXPECT_DOUBLE_EQ(computed.front().x(), 200.0 / 10.0);  // ascending frequency: 10 Hz first
  EXPECT_DOUBLE_EQ(computed.back().x(), 123.0 / 40.0);
  EXPECT_DOUBLE_EQ(form.BottomAxis->min(), 3.0);
  EXPECT_DOUBLE_EQ(form.BottomAxis->max(), 20.0);
  EXPECT_EQ(form.BottomAxis->titleText(), "λ/m");
  EXPECT_FALSE(form.BottomAxis->isReverse());

  form.WavelengthAction->setChecked(false);
  EXPECT_DOUBLE_EQ(form.MeasuredSeries->points().front().x(), 40.0);
  EXPECT_DOUBLE_EQ(form.BottomAxis->min(), 10.0);
  EXPECT_DOUBLE_EQ(form.BottomAxis->max(), 40.0);
  EXPECT_EQ(form.BottomAxis->titleText(), "f/Hz");
  EXPECT_TRUE(form.BottomAxis->isReverse());
}

TEST_F(FieldCurve, RefusedCurveIsNamedInABoxAndNothingChanges) {
  const std::vector<QPointF> before = seriesPoints();
  openCurve("bad.csv", "f, c\n10, 200\n20, 180\n10, 150\n");
  ASSERT_EQ(messages.messages.size(), 1u);
  EXPECT_EQ(messages.messages[0].kind, RecordedMessage::Kind::Box);
  EXPECT_EQ(messages.messages[0].icon, MessageIcon::Warning);
  EXPECT_NE(messages.messages[0].text.find("bad.csv, line 4"), std::string::npos)
      << messages.messages[0].text;
  EXPECT_FALSE(form.measuredCurve());
  EXPECT_EQ(form.freqCount, 30);
  EXPECT_EQ(seriesPoints(), before);
  EXPECT_FALSE(form.MeasuredSeries->isVisible());
}

TEST_F(FieldCurve, ComputeEvaluatesTheModelAtTheMeasuredFrequenciesAndGivesTheMisfit) {
  openCurve("site.csv", kFourPoints);
  // Off by 3, 0, 10 and 0 m/s at 40, 30, 20, 10 Hz: RMS = sqrt((9 + 100) / 4)
  // = 5.22 m/s; three of the four lie within the +/- 5 m/s band.
  engine.curve = {123.0f, 150.0f, 190.0f, 200.0f};
  form.Button1.click();
  ASSERT_EQ(engine.calls.size(), 1u);
  EXPECT_EQ(engine.calls[0].freqCount, 4);
  EXPECT_EQ(engine.calls[0].freq[0], 40.0f);
  EXPECT_EQ(engine.calls[0].freq[3], 10.0f);
  EXPECT_EQ(seriesPoints().size(), 4u);
  const QString status = form.StatusLine.text();
  EXPECT_EQ(status, "拟合差（未加权 RMS）5.2 m/s，3/4 个点在误差带内。");
  chooseLanguage(WindowLanguage::English);  // the same status, said again
  EXPECT_EQ(form.StatusLine.text(),
            "Misfit (unweighted RMS) 5.2 m/s, 3 of 4 points inside the band.");
  EXPECT_LE(form.LeftAxis->min(), 115.0);
  EXPECT_GE(form.LeftAxis->max(), 205.0);
}

TEST_F(FieldCurve, MisfitOfACurveWithoutBandSaysSoAndCountsPointsWithoutARoot) {
  openCurve("plain.csv", "f, c\n10, 200\n20, 180\n30, 150\n");
  // At 30, 20, 10 Hz: 150 (exact), no root, 196 (4 low): RMS over the two
  // compared points = sqrt((0 + 16) / 2) = 2.83 m/s.
  engine.curve = {150.0f, 0.0f, 196.0f};
  form.Button1.click();
  EXPECT_EQ(form.StatusLine.text(), "拟合差（未加权 RMS）2.8 m/s，曲线无误差带；1 个频率无解。");
  EXPECT_EQ(seriesPoints().size(), 2u);
}

TEST_F(FieldCurve, SavedModelOpensAgainInBothLayouts) {
  const std::vector<LayerTexts> rows{{"5", "200", "1.8"}, {"10", "400", "2"}, {"0", "800", "2.2"}};
  for (const char* name : {"SHR.TXT", "model.csv"}) {
    SCOPED_TRACE(name);
    typeModel(rows);
    const QString path = workDir.filePath(QString::fromUtf8(name));
    files.answers.push_back(path);
    form.SaveModelAction->trigger();
    typeModel({{"1", "100", "1.5"}});
    files.answers.push_back(path);
    form.OpenModelAction->trigger();
    EXPECT_EQ(form.tableRows(), rows);
    EXPECT_EQ(form.LUpDown.position(), 3);
    EXPECT_EQ(form.layerCount, 3);
    EXPECT_EQ(form.vs[2], 800.0f);
  }
  // The SHR.TXT layout, as the forward run's model file is written by hand.
  EXPECT_EQ(readFile(workDir.filePath("SHR.TXT")), "3\n5 200 1.8\n10 400 2\n0 800 2.2\n");
  EXPECT_TRUE(messages.messages.empty());
}

TEST_F(FieldCurve, ModelWithABadRowIsNotSaved) {
  typeModel({{"5", "200", "1.8"}, {"-5", "400", "2"}, {"0", "800", "2.2"}});
  const QString path = workDir.filePath("bad.txt");
  files.answers.push_back(path);
  form.SaveModelAction->trigger();
  ASSERT_EQ(messages.messages.size(), 1u);
  EXPECT_EQ(firstLine(messages.messages[0].text), badRowMessage(2));
  EXPECT_FALSE(QFile::exists(path));
}

TEST_F(FieldCurve, ModelWhoseVpIsNotThreeVsOpensWithANote) {
  const QString path = workDir.filePath("vp.csv");
  ASSERT_TRUE(writeFile(path, "h, vs, rho, vp\n4, 200, 1.8, 400\n0, 500, 2.1, 1500\n"));
  files.answers.push_back(path);
  form.OpenModelAction->trigger();
  EXPECT_EQ(form.tableRows(), (std::vector<LayerTexts>{{"4", "200", "1.8"}, {"0", "500", "2.1"}}));
  ASSERT_EQ(messages.messages.size(), 1u);
  EXPECT_EQ(messages.messages[0].icon, MessageIcon::Information);
  EXPECT_NE(messages.messages[0].text.find("Vp = 3 × Vs"), std::string::npos);
  EXPECT_NE(messages.messages[0].text.find("vp.csv"), std::string::npos);
}

TEST_F(FieldCurve, InvertWithACurveChecksTheTableFirst) {
  openCurve("site.csv", kFourPoints);
  typeModel({{"abc", "200", "1.8"}, {"0", "400", "2"}});
  form.Button2.click();
  ASSERT_EQ(messages.messages.size(), 1u);
  EXPECT_EQ(firstLine(messages.messages[0].text), badRowMessage(1));
  EXPECT_TRUE(engine.calls.empty());
}

TEST_F(FieldCurve, ChangedSettingsBoundTheInversionAndAppearInItsReport) {
  // A start outside the bounds begins mid-range: (100 + 300) / 2 = 200 m/s;
  // the engine's curve does not depend on the model, so the solve stops there.
  ASSERT_TRUE(form.setInversionLimits({100, 300, 0.5f, 4, 10}));
  engine.curve.assign(30, 150.0f);
  form.vs[0] = 1500.0f;
  form.Button2.click();
  ASSERT_EQ(messages.messages.size(), 1u);
  EXPECT_EQ(form.vs[0], 200.0f);
  const std::string& report = messages.messages[0].text;
  EXPECT_NE(report.find("反演设置：Vs 100–300 m/s，厚度 0.5–4 m，最多 10 次迭代"),
            std::string::npos)
      << report;

  // Limits with a fault are refused and the former ones stay.
  EXPECT_FALSE(form.setInversionLimits({300, 100, 0.5f, 4, 10}));
  ASSERT_EQ(messages.messages.size(), 2u);
  EXPECT_EQ(form.inversionLimits(), (InversionLimits{100, 300, 0.5f, 4, 10}));
}

TEST_F(FieldCurve, SettingsDialogEditsTheLimits) {
  // The dialog is modal: it is filled in and accepted once it shows.
  QTimer::singleShot(0, [] {
    auto* dialog = qobject_cast<InversionSettingsDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->limits(), InversionLimits{});  // the defaults to begin with
    dialog->VsUpper.setValue(600.0);
    dialog->Iterations.setValue(50);
    dialog->accept();
  });
  form.SettingsAction->trigger();
  EXPECT_EQ(form.inversionLimits(), (InversionLimits{50, 600, 0.1f, 5, 50}));
  EXPECT_TRUE(messages.messages.empty());
}

// A one-layer earth whose phase velocity is 0.9 Vs at every frequency, the
// measured curve a flat 180 m/s: the fit must find Vs = 180 / 0.9 = 200 m/s.
class FieldInversion : public ::testing::Test {
 protected:
  static void flatCurve(ForwardCall& call) {
    for (int j = 0; j < call.freqCount; ++j) call.phaseVelocity[j] = 0.9f * call.vs[0];
  }

  QTemporaryDir workDir;
  RecordingPresenter messages;
  CurveFunctionEngine engine{flatCurve};
  NoPrinterSource printers;
  ScriptedFileChooser files;
  TForm1 form{messages, engine, printers, files};
};

TEST_F(FieldInversion, FitsTheMeasuredCurveDrawsItAndAppliesOnlyWhenAsked) {
  const QString path = workDir.filePath("flat.csv");
  ASSERT_TRUE(writeFile(path, "f, c, sigma\n10, 180, 2\n20, 180, 2\n30, 180, 2\n40, 180, 2\n"));
  files.answers.push_back(path);
  form.OpenCurveAction->trigger();
  ASSERT_TRUE(form.measuredCurve());

  form.Button2.click();
  ASSERT_EQ(messages.messages.size(), 1u);
  const std::string report = messages.messages[0].text;
  EXPECT_NE(report.find("4/4 个点在误差带内。"), std::string::npos) << report;
  EXPECT_NEAR(form.vs[0], 200.0f, 0.5f);  // 0.5 m/s puts 0.9 Vs within 0.45 m/s of 180
  // The fitted curve lies over the data; the table keeps the starting model.
  const QList<QPointF> fitted = form.FittedSeries->points();
  ASSERT_EQ(fitted.size(), 4);
  for (const QPointF& point : fitted) EXPECT_NEAR(point.y(), 180.0, 2.0);
  EXPECT_TRUE(form.FittedSeries->isVisible());
  EXPECT_EQ(form.StatusLine.text(), "拟合曲线已绘出。4/4 个点在误差带内。");
  EXPECT_EQ(form.Model.cell(2, 1), "150");

  ASSERT_TRUE(form.ApplyFittedAction->isEnabled());
  form.ApplyFittedAction->trigger();
  EXPECT_NEAR(form.Model.cell(2, 1).toDouble(), 200.0, 0.5);
  EXPECT_EQ(form.Model.cell(3, 1), "1.8");
}

}  // namespace

TEST_F(FieldCurve, PointsThatNameTheirModeShowItsNumber) {
  openCurve("modes.csv",
            "f (Hz), c (m/s), mode\n10, 200, 0\n20, 180, 0\n20, 260, 1\n30, 150, 0\n"
            "30, 240, 1\n40, 230, 1\n");
  ASSERT_TRUE(form.measuredCurve());
  EXPECT_EQ(form.MeasuredSeries->points().size(), 6);  // every point, as before
  ASSERT_EQ(form.MeasuredModeSeries.size(), 2u);
  for (int mode = 0; mode < 2; ++mode) {
    SCOPED_TRACE(mode);
    const QScatterSeries* series = form.MeasuredModeSeries[static_cast<std::size_t>(mode)];
    EXPECT_EQ(series->pointLabelsFormat(), QString::number(mode));
    EXPECT_TRUE(series->pointLabelsVisible());
    EXPECT_TRUE(form.chart->series().contains(series));
  }
  EXPECT_EQ(form.MeasuredModeSeries[0]->points(),
            (QList<QPointF>{{30, 150}, {20, 180}, {10, 200}}));
  EXPECT_EQ(form.MeasuredModeSeries[1]->points(),
            (QList<QPointF>{{40, 230}, {30, 240}, {20, 260}}));

  // The computed curve: the fundamental mode's points on Series1, the higher
  // mode's on a line of its own, each above the fundamental at its frequency.
  typeModel({{"4", "200", "1.8"}, {"0", "400", "2.0"}});
  form.Button1.click();
  const QList<QPointF> fundamental = form.Series1->points();
  ASSERT_EQ(fundamental.size(), 3);
  EXPECT_EQ(fundamental.front().x(), 10.0);
  EXPECT_EQ(fundamental.back().x(), 30.0);
  ASSERT_EQ(form.ComputedModeSeries.size(), 1u);
  const QList<QPointF> first = form.ComputedModeSeries[0]->points();
  ASSERT_EQ(first.size(), 3);
  for (int j = 0; j < 2; ++j) {
    EXPECT_EQ(first[j].x(), fundamental[j + 1].x());
    EXPECT_GT(first[j].y(), fundamental[j + 1].y());
  }
  EXPECT_EQ(first[2].x(), 40.0);

  // A curve without the column shows no mode, and the last one's are gone.
  openCurve("plain.csv", kFourPoints);
  EXPECT_TRUE(form.MeasuredModeSeries.empty());
  engine.curve = {150.0f, 160.0f, 170.0f, 180.0f};  // FORWARD's run, scripted
  form.Button1.click();
  EXPECT_TRUE(form.ComputedModeSeries.empty());
  EXPECT_EQ(form.Series1->points().size(), 4);
  for (const QAbstractSeries* series : form.chart->series()) {
    const auto* scatter = qobject_cast<const QScatterSeries*>(series);
    if (scatter != nullptr) {
      EXPECT_FALSE(scatter->pointLabelsVisible());
    }
  }
}

}  // namespace dispfit

namespace dispfit {
namespace {

// A header the curve table does not know asks which column is which,
// offering the header's own fields; the answer reads the file, a cancelled
// step opens nothing and shows no box.
TEST_F(WindowTest, AHeaderNotUnderstoodAsksForTheColumns) {
  ScriptedCurveColumnChooser columns;
  form.setCurveColumnChooser(columns);
  const QString path = workDir.filePath("picks.csv");
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("freq_hz,vel_best,vel_sd\n10,150,3\n20,140,3\n30,130,3\n");
  file.close();

  EXPECT_FALSE(form.openMeasuredCurve(path));
  EXPECT_EQ(columns.asked, 1);
  EXPECT_EQ(columns.offeredHeader, (QStringList{"freq_hz", "vel_best", "vel_sd"}));
  EXPECT_TRUE(messages.messages.empty());
  EXPECT_FALSE(form.measuredCurve());

  columns.answers.push_back(columnChoiceText("f", 1, 2, "sigma", 3, 0));
  ASSERT_TRUE(form.openMeasuredCurve(path));
  ASSERT_TRUE(form.measuredCurve());
  const std::vector<MeasuredPoint>& points = form.measuredCurve()->points;
  ASSERT_EQ(points.size(), 3u);
  EXPECT_EQ(points[0].frequency, 30.0);
  EXPECT_EQ(points[0].velocity, 130.0);
  ASSERT_TRUE(points[0].band);
  EXPECT_EQ(points[0].band->low, 127.0);

  // A header the table knows asks nothing.
  file.open(QIODevice::WriteOnly | QIODevice::Truncate);
  file.write("f,c\n10,150\n20,140\n30,130\n");
  file.close();
  ASSERT_TRUE(form.openMeasuredCurve(path));
  EXPECT_EQ(columns.asked, 2);
}

TEST(CurveColumnChooser, TheAnswersMakeTheCurveReadersChoice) {
  EXPECT_EQ(columnChoiceText("lambda", 1, 2, "", 3, 4), "lambda=1,v=2");
  EXPECT_EQ(columnChoiceText("f", 2, 1, "sigma", 3, 4), "f=2,v=1,sigma=3");
  EXPECT_EQ(columnChoiceText("t", 1, 2, "bounds", 3, 4), "t=1,v=2,low=3,high=4");
}

}  // namespace
}  // namespace dispfit
