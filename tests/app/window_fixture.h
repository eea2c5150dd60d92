// SPDX-License-Identifier: GPL-3.0-or-later
// A main window wired to test doubles: recorded messages, a scripted engine
// and a printer that writes a PDF file.
#pragma once

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "recording_presenter.h"
#include "scripted_engine.h"
#include "window/file_chooser.h"
#include "window/printer_source.h"
#include "window/tform1.h"
#include "window/window_translations.h"

namespace dispfit {

// The first line of a message: the row message of a refused table row.
inline std::string firstLine(const std::string& text) {
  return text.substr(0, text.find('\n'));
}

class PdfPrinterSource : public PrinterSource {
 public:
  explicit PdfPrinterSource(QString path) : path_(std::move(path)) {}
  std::unique_ptr<QPrinter> defaultPrinter() override {
    ++requests;
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(path_);
    printer->setPageSize(QPageSize(QPageSize::A4));
    printer->setPageOrientation(QPageLayout::Portrait);
    return printer;
  }
  int requests = 0;

 private:
  QString path_;
};

class NoPrinterSource : public PrinterSource {
 public:
  std::unique_ptr<QPrinter> defaultPrinter() override { return nullptr; }
};

// Answers the window's file dialogs with the names queued, in order; an
// empty queue answers as a cancelled dialog.
class ScriptedFileChooser : public FileChooser {
 public:
  QString fileToOpen(QWidget*, const QString&, const QString&) override { return next(); }
  QString fileToSave(QWidget*, const QString&, const QString&) override { return next(); }
  QString baseOrFolderToSave(QWidget*, const QString&, const QString& directory) override {
    directories.push_back(directory);
    return next();
  }
  std::vector<QString> answers;
  std::vector<QString> directories;  // where each export's dialog was to open
  int asked = 0;

 private:
  QString next() {
    ++asked;
    if (answers.empty()) return {};
    QString answer = answers.front();
    answers.erase(answers.begin());
    return answer;
  }
};

// Answers the export's question of which result to write with the indices
// queued; an empty queue answers as a cancelled choice.
class ScriptedExportResultChooser : public ExportResultChooser {
 public:
  std::optional<int> chooseResult(QWidget*, const QStringList& names) override {
    offered = names;
    if (answers.empty()) return std::nullopt;
    const int answer = answers.front();
    answers.erase(answers.begin());
    return answer;
  }
  std::vector<int> answers;
  QStringList offered;
};

// Answers the column step of opening a curve with the choices queued.
class ScriptedCurveColumnChooser : public CurveColumnChooser {
 public:
  std::optional<QString> chooseColumns(QWidget*, const QString&,
                                       const QStringList& header) override {
    offeredHeader = header;
    ++asked;
    if (answers.empty()) return std::nullopt;
    const QString answer = answers.front();
    answers.erase(answers.begin());
    return answer;
  }
  std::vector<QString> answers;
  QStringList offeredHeader;
  int asked = 0;
};

class WindowTest : public ::testing::Test {
 protected:
  WindowTest() : printers(workDir.filePath(QStringLiteral("chart.pdf"))) {
    form.attachLanguages(languages);
  }

  // Shows the window in the language through its menu, as a user would; the
  // widgets get Qt's LanguageChange events, which are posted.
  void chooseLanguage(WindowLanguage language) {
    (language == WindowLanguage::English ? form.EnglishAction : form.ChineseAction)->trigger();
    QCoreApplication::processEvents();
  }

  // Writes the model rows into the table through the spinner, as a user would.
  void typeModel(const std::vector<LayerTexts>& rows) {
    while (form.LUpDown.position() < static_cast<int>(rows.size())) form.LUpDown.stepBy(+1);
    while (form.LUpDown.position() > static_cast<int>(rows.size())) form.LUpDown.stepBy(-1);
    for (std::size_t i = 0; i < rows.size(); ++i) {
      const int r = static_cast<int>(i) + 1;
      form.Model.setCell(1, r, QString::fromStdString(rows[i].thickness));
      form.Model.setCell(2, r, QString::fromStdString(rows[i].vs));
      form.Model.setCell(3, r, QString::fromStdString(rows[i].density));
    }
  }

  std::vector<QPointF> seriesPoints() const {
    const QList<QPointF> points = form.Series1->points();
    return {points.begin(), points.end()};
  }

  QTemporaryDir workDir;
  // Chinese until a test chooses; back to Chinese when the test ends.
  WindowTranslations languages;
  RecordingPresenter messages;
  ScriptedEngine engine;
  PdfPrinterSource printers;
  ScriptedFileChooser files;
  TForm1 form{messages, engine, printers, files};
};

}  // namespace dispfit
