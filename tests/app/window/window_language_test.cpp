// SPDX-License-Identifier: GPL-3.0-or-later
// The window in its two languages: the 语言 / Language menu switches every
// text at once and back, the English catalogue reaches the texts of the code
// without Qt, and in English no text of the window is left in Chinese.
#include <QAbstractButton>
#include <QChart>
#include <QDialogButtonBox>
#include <QFile>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLegendMarker>
#include <QMenu>
#include <QSignalSpy>
#include <QTableWidget>
#include <string>

#include "core/engine_binding.h"
#include "curve_function_engine.h"
#include "inversion/damped_inversion.h"
#include "window_fixture.h"

namespace dispfit {

namespace {

const char* const kFourPoints =
    "f (Hz), c (m/s), sigma (m/s)\n10, 200, 5\n20, 180, 5\n30, 150, 5\n40, 120, 5\n";

bool writeFile(const QString& path, const std::string& text) {
  QFile file(path);
  return file.open(QIODevice::WriteOnly) &&
         file.write(text.data(), static_cast<qint64>(text.size())) ==
             static_cast<qint64>(text.size());
}

bool hasChinese(const QString& text) {
  for (const QChar c : text) {
    if (c.unicode() >= 0x3000 && c.unicode() <= 0x9FFF) return true;  // CJK and its punctuation
    if (c.unicode() >= 0xFF00 && c.unicode() <= 0xFFEF) return true;  // full-width forms
  }
  return false;
}

// Every text the window shows or offers: widgets, their tool tips, the menus,
// the charts' titles, axes and legends, the table's headers. The language
// menu names both languages in both on purpose and is left out.
QStringList shownTexts(TForm1& form) {
  QStringList texts;
  const auto add = [&texts](const QString& where, const QString& text) {
    if (!text.isEmpty()) texts.append(where + ": " + text);
  };
  for (QWidget* widget : form.findChildren<QWidget*>()) {
    add(widget->metaObject()->className() + QStringLiteral(" tip"), widget->toolTip());
    if (auto* label = qobject_cast<QLabel*>(widget)) add("QLabel", label->text());
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) add("button", button->text());
    if (auto* group = qobject_cast<QGroupBox*>(widget)) add("group", group->title());
    if (auto* table = qobject_cast<QTableWidget*>(widget)) {
      for (int r = 0; r < table->rowCount(); ++r) {
        for (int c = 0; c < table->columnCount(); ++c) {
          if (const QTableWidgetItem* item = table->item(r, c)) add("cell tip", item->toolTip());
        }
      }
    }
    if (auto* view = qobject_cast<QChartView*>(widget)) {
      QChart* chart = view->chart();
      add("chart", chart->title());
      for (QAbstractAxis* axis : chart->axes()) add("axis", axis->titleText());
      for (QLegendMarker* marker : chart->legend()->markers()) add("legend", marker->label());
    }
  }
  for (const ChartLegend* legend : {form.DispersionLegend.get(), form.VsChart.Legend.get()}) {
    for (const QString& label : legend->labels()) add("chart legend", label);
  }
  for (QAction* menu : form.MenuBar.actions()) {
    if (menu->menu() == form.LanguageMenu) continue;
    add("menu", menu->text());
    for (QAction* action : menu->menu()->actions()) add("menu item", action->text());
  }
  return texts;
}

class WindowLanguage_ : public WindowTest {
 protected:
  // A curve with a band loaded and the table's model computed on it: the
  // status line, the panel and both charts have something to say.
  void computeOnACurve() {
    const QString path = workDir.filePath("site.csv");
    ASSERT_TRUE(writeFile(path, kFourPoints));
    ASSERT_TRUE(form.openMeasuredCurve(path));
    typeModel({{"10", "200", "1.8"}, {"0", "400", "2"}});
    engine.curve = {123.0f, 150.0f, 190.0f, 200.0f};
    form.Button1.click();
  }
};

TEST_F(WindowLanguage_, TheMenuSwitchesEveryTextAtOnceAndBack) {
  computeOnACurve();
  const QStringList chinese = shownTexts(form);
  QSignalSpy chosen(&form, &TForm1::languageChosen);

  chooseLanguage(WindowLanguage::English);
  EXPECT_EQ(languages.language(), WindowLanguage::English);
  EXPECT_TRUE(form.EnglishAction->isChecked());
  EXPECT_FALSE(form.ChineseAction->isChecked());
  ASSERT_EQ(chosen.size(), 1);
  EXPECT_EQ(chosen[0][0].value<WindowLanguage>(), WindowLanguage::English);
  EXPECT_EQ(form.Button1.text(), "Compute curve");
  EXPECT_EQ(form.GroupBox1.title(), "Velocity model");
  EXPECT_EQ(form.chart->title(), "Dispersion curve");
  EXPECT_EQ(form.FileMenu->title(), "&File");
  EXPECT_EQ(form.VsChart.chart->title(), "Shear-wave velocity profile");
  EXPECT_TRUE(form.StatusLine.text().startsWith("Misfit (unweighted RMS) 5.2 m/s"))
      << form.StatusLine.text().toStdString();
  EXPECT_TRUE(form.ResultsPanel.text().startsWith("Table model: misfit"))
      << form.ResultsPanel.text().toStdString();
  EXPECT_TRUE(form.VsChart.ConstrainedLabel->text().startsWith("Depth the data constrain"));

  // Back to Chinese: every text as it was, the described ones included.
  chooseLanguage(WindowLanguage::Chinese);
  EXPECT_EQ(shownTexts(form), chinese);
  EXPECT_EQ(form.Button1.text(), "计算频散曲线");
  EXPECT_EQ(form.chart->title(), "频散曲线");
  ASSERT_EQ(chosen.size(), 2);
  EXPECT_EQ(chosen[1][0].value<WindowLanguage>(), WindowLanguage::Chinese);
}

TEST_F(WindowLanguage_, InEnglishNoTextOfTheWindowIsLeftInChinese) {
  chooseLanguage(WindowLanguage::English);
  const auto check = [this](const char* state) {
    SCOPED_TRACE(state);
    for (const QString& text : shownTexts(form)) {
      EXPECT_FALSE(hasChinese(text)) << text.toStdString();
    }
  };
  check("at start-up");
  computeOnACurve();
  check("after a compute on a measured curve");
  form.Model.setCell(3, 1, QStringLiteral("abc"));
  form.Button1.click();
  ASSERT_FALSE(messages.messages.empty());
  EXPECT_EQ(messages.messages.back().text,
            "The model parameters in row 1 are wrong; please check them!\n"
            "Column Rho, \"abc\": is not a number; the decimal separator is a full stop.");
}

TEST_F(WindowLanguage_, MenusShowTheLanguageInUseAndAreOffWithoutLanguages) {
  EXPECT_TRUE(form.LanguageMenu->isEnabled());
  EXPECT_TRUE(form.ChineseAction->isChecked());
  EXPECT_EQ(form.LanguageMenu->title(), "语言 / &Language");
  RecordingPresenter otherMessages;
  ScriptedEngine otherEngine;
  TForm1 bare(otherMessages, otherEngine, printers, files);
  EXPECT_FALSE(bare.LanguageMenu->isEnabled());
}

// The catalogue carries the marked texts of the code without Qt: the
// engine's and the inversion's messages, which the window's message boxes
// translate line by line, and the report's labels.
TEST_F(WindowLanguage_, TheCatalogueTranslatesTheTextsOfTheCodeWithoutQt) {
  const ApplicationTextTranslator translator;
  EXPECT_EQ(translator.translate(kMessagesContext, EngineBinding::kLoadFailed),
            EngineBinding::kLoadFailed);  // Chinese: the text as written
  ASSERT_TRUE(languages.setLanguage(WindowLanguage::English));
  EXPECT_EQ(translator.translate(kMessagesContext, EngineBinding::kLoadFailed),
            "The engine library could not be loaded!");
  EXPECT_EQ(translator.translate(kMessagesContext, kMessageCaption), "Sondrix notice...");
  EXPECT_EQ(
      translateLines(std::string(DampedInversion::kRankZero) + DampedInversion::kIterationLimit,
                     kMessagesContext, translator),
      "The sensitivity matrix has rank zero; the model may be wrong.\n"
      "The iteration limit was reached.\n");
  // Described in English, and so the same in both.
  EXPECT_EQ(translator.translate(kMessagesContext, DampedInversion::kBadStart),
            DampedInversion::kBadStart);
}

// Qt's own texts, such as a dialog's standard buttons, follow the language:
// Qt's Chinese catalogue (qt6-translations-l10n) while Chinese is shown.
TEST(WindowLanguageQt, StandardButtonsFollowTheLanguage) {
  WindowTranslations languages;
  ASSERT_TRUE(languages.hasQtChinese()) << "Qt's Chinese catalogue is missing";
  QDialogButtonBox buttons{QDialogButtonBox::Ok | QDialogButtonBox::Cancel};
  const auto shown = [&](QDialogButtonBox::StandardButton which) {
    return buttons.button(which)->text().remove(QLatin1Char('&'));
  };
  EXPECT_EQ(shown(QDialogButtonBox::Ok), QStringLiteral("确定"));
  EXPECT_EQ(shown(QDialogButtonBox::Cancel), QStringLiteral("取消"));
  ASSERT_TRUE(languages.setLanguage(WindowLanguage::English));
  QCoreApplication::processEvents();
  EXPECT_EQ(shown(QDialogButtonBox::Ok), QStringLiteral("OK"));
  EXPECT_EQ(shown(QDialogButtonBox::Cancel), QStringLiteral("Cancel"));
  ASSERT_TRUE(languages.setLanguage(WindowLanguage::Chinese));
  QCoreApplication::processEvents();
  EXPECT_EQ(shown(QDialogButtonBox::Ok), QStringLiteral("确定"));
}

// The report box of an inversion of a measured curve, in English.
TEST(WindowLanguageReport, TheInversionReportFollowsTheLanguage) {
  QTemporaryDir workDir;
  WindowTranslations languages;
  RecordingPresenter messages;
  CurveFunctionEngine engine{[](ForwardCall& call) {
    for (int j = 0; j < call.freqCount; ++j) call.phaseVelocity[j] = 0.9f * call.vs[0];
  }};
  NoPrinterSource printers;
  ScriptedFileChooser files;
  TForm1 form{messages, engine, printers, files};
  form.attachLanguages(languages);
  form.EnglishAction->trigger();
  QCoreApplication::processEvents();
  const QString path = workDir.filePath("flat.csv");
  ASSERT_TRUE(writeFile(path, "f, c, sigma\n10, 180, 2\n20, 180, 2\n30, 180, 2\n40, 180, 2\n"));
  ASSERT_TRUE(form.openMeasuredCurve(path));
  form.Button2.click();
  ASSERT_EQ(messages.messages.size(), 1u);
  const std::string& report = messages.messages[0].text;
  EXPECT_EQ(report.rfind("\tInversion result\n\nFit:\nIterations: ", 0), 0u) << report;
  EXPECT_NE(report.find("\n4 of 4 points inside the band."), std::string::npos) << report;
  EXPECT_FALSE(hasChinese(QString::fromStdString(report))) << report;
  EXPECT_EQ(form.StatusLine.text(), "Fitted curve drawn. 4 of 4 points inside the band.");
  // Under the chart, the fit's residuals in the fitted curve's pen.
  ASSERT_EQ(form.Residuals.ResidualSeries.size(), 1u);
  EXPECT_EQ(form.Residuals.ResidualSeries[0]->pen(), form.FittedSeries->pen());
  EXPECT_EQ(form.Residuals.ResidualSeries[0]->count(), 4);
}

}  // namespace

}  // namespace dispfit
