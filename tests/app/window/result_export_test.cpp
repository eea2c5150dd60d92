// SPDX-License-Identifier: GPL-3.0-or-later
// The export of the window's results, read back from the files written: the
// curve and the model as numbers, the site figures, the chart as a picture
// and a drawing, and the report as a PDF whose text is extracted by
// pdftotext. An export that cannot write leaves nothing behind.
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QStringList>
#include <string>
#include <vector>

#include "curve_function_engine.h"
#include "window_fixture.h"

namespace dispfit {

namespace {

std::string readFile(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  return file.readAll().toStdString();
}

// The rows of a CSV text after its header, each split at the commas.
std::vector<QStringList> csvRows(const std::string& text) {
  std::vector<QStringList> rows;
  const QStringList lines = QString::fromStdString(text).split('\n', Qt::SkipEmptyParts);
  for (qsizetype i = 1; i < lines.size(); ++i) rows.push_back(lines[i].split(','));
  return rows;
}

std::string pdfText(const QString& path) {
  QProcess extract;
  extract.start(QStringLiteral("pdftotext"),
                {QStringLiteral("-layout"), path, QStringLiteral("-")});
  if (!extract.waitForFinished(30000)) return {};
  return extract.readAllStandardOutput().toStdString();
}

// A one-layer earth whose phase velocity is 0.9 Vs at every frequency.
class ResultExport : public ::testing::Test {
 protected:
  static void flatCurve(ForwardCall& call) {
    for (int j = 0; j < call.freqCount; ++j) call.phaseVelocity[j] = 0.9f * call.vs[0];
  }

  // Four points at 10 to 40 Hz, each 180 +/- 2 m/s: the fit finds
  // Vs = 180 / 0.9 = 200 m/s.
  void openFlatCurve() {
    const QString path = workDir.filePath("flat.csv");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("f, c, sigma\n10, 180, 2\n20, 180, 2\n30, 180, 2\n40, 180, 2\n");
    file.close();
    ASSERT_TRUE(form.openMeasuredCurve(path));
  }

  QStringList filesIn(const QString& folder) const {
    return QDir(folder).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
  }

  QTemporaryDir workDir;
  RecordingPresenter messages;
  CurveFunctionEngine engine{flatCurve};
  NoPrinterSource printers;
  ScriptedFileChooser files;
  TForm1 form{messages, engine, printers, files};
};

TEST_F(ResultExport, FittedCurveAndModelAreWrittenAndReadBack) {
  openFlatCurve();
  form.Button2.click();
  ASSERT_EQ(messages.messages.size(), 1u);  // the report
  const float fittedVs = form.vs[0];
  ASSERT_NEAR(fittedVs, 200.0f, 0.5f);
  ASSERT_TRUE(QDir(workDir.path()).mkdir("out"));
  const QString out = workDir.filePath("out");

  // A chosen name with one of the export's own extensions names the base.
  ASSERT_TRUE(form.exportResults(out + "/site.pdf"));
  EXPECT_EQ(messages.messages.size(), 1u);
  EXPECT_EQ(filesIn(out), (QStringList{"site_curve.csv", "site_dispersion.png",
                                       "site_dispersion.svg", "site_model.csv", "site_report.pdf",
                                       "site_vs30.txt", "site_vs_depth.png", "site_vs_depth.svg"}));
  EXPECT_TRUE(form.StatusLine.text().startsWith("结果已导出：8 个文件"))
      << form.StatusLine.text().toStdString();

  // The curve: the measured points from 40 Hz down, their band, and the
  // fitted curve, 0.9 x the fitted Vs at every frequency.
  const std::vector<QStringList> curve = csvRows(readFile(out + "/site_curve.csv"));
  ASSERT_EQ(curve.size(), 4u);
  for (std::size_t i = 0; i < curve.size(); ++i) {
    SCOPED_TRACE(curve[i].join(',').toStdString());
    ASSERT_EQ(curve[i].size(), 6);
    const double f = 40.0 - 10.0 * static_cast<double>(i);
    EXPECT_EQ(curve[i][0].toDouble(), f);
    EXPECT_EQ(curve[i][1].toDouble(), 180.0 / f);
    EXPECT_EQ(curve[i][2].toDouble(), 180.0);
    EXPECT_EQ(curve[i][3].toDouble(), 178.0);
    EXPECT_EQ(curve[i][4].toDouble(), 182.0);
    EXPECT_EQ(curve[i][5].toFloat(), 0.9f * fittedVs);
  }

  // The model is the fitted one, not the table's 150 m/s.
  const std::vector<QStringList> model = csvRows(readFile(out + "/site_model.csv"));
  ASSERT_EQ(model.size(), 1u);
  EXPECT_EQ(model[0][0], "1");
  EXPECT_EQ(model[0][1].toDouble(), 0.0);
  EXPECT_EQ(model[0][4].toFloat(), fittedVs);
  EXPECT_EQ(model[0][5].toFloat(), 1.8f);
  EXPECT_EQ(form.Model.cell(2, 1), "150");

  // A half-space alone: Vs30 is its Vs, about 200 m/s, Eurocode 8 ground
  // type C (180-360) and NEHRP class D (180-360).
  const std::string site = readFile(out + "/site_vs30.txt");
  const std::string vs30 = QString::number(fittedVs, 'f', 1).toStdString();
  EXPECT_NE(site.find("Vs30 = " + vs30 + " m/s"), std::string::npos) << site;
  EXPECT_NE(site.find("Eurocode 8 ground type: C"), std::string::npos) << site;
  EXPECT_NE(site.find("NEHRP site class: D"), std::string::npos) << site;

  const QImage picture(out + "/site_dispersion.png");
  ASSERT_FALSE(picture.isNull());
  EXPECT_EQ(picture.size(), form.Chart.size());
  const std::string drawing = readFile(out + "/site_dispersion.svg");
  EXPECT_EQ(drawing.rfind("<?xml", 0), 0u);
  EXPECT_NE(drawing.find("<svg"), std::string::npos);
  // The fitted curve's pen, drawn in the drawing as in the window.
  EXPECT_NE(drawing.find("#0a8a3c"), std::string::npos);
  // The Vs-depth chart likewise, at its own size.
  EXPECT_EQ(QImage(out + "/site_vs_depth.png").size(), form.VsChart.size());
  EXPECT_NE(readFile(out + "/site_vs_depth.svg").find("<svg"), std::string::npos);

  const QString report = out + "/site_report.pdf";
  EXPECT_EQ(readFile(report).rfind("%PDF", 0), 0u);
  const std::string text = pdfText(report);
  for (const std::string& wanted :
       {std::string("Vs30 = ") + vs30 + " m/s", std::string("Eurocode 8 ground type: C"),
        std::string("NEHRP site class: D"), std::string("Points inside the band: 4 of 4"),
        std::string("Misfit (unweighted RMS"), std::string("the fitted model")}) {
    EXPECT_NE(text.find(wanted), std::string::npos) << "wanted " << wanted << " in\n" << text;
  }
}

TEST_F(ResultExport, WithoutAMeasuredCurveTheComputedCurveAndTheTableAreWritten) {
  form.Button1.click();                     // the start-up model's curve: 0.9 x 150 = 135 m/s
  files.answers.push_back(workDir.path());  // a folder: the files are named dispfit_*
  form.ExportAction->trigger();
  EXPECT_TRUE(messages.messages.empty());
  const QString base = workDir.filePath("dispfit");

  const std::vector<QStringList> curve = csvRows(readFile(base + "_curve.csv"));
  ASSERT_EQ(curve.size(), 30u);
  for (std::size_t i = 0; i < curve.size(); ++i) {
    SCOPED_TRACE(curve[i].join(',').toStdString());
    ASSERT_EQ(curve[i].size(), 3);
    const float f = form.freq[i];
    EXPECT_EQ(curve[i][0].toFloat(), f);
    EXPECT_EQ(curve[i][1].toFloat(), 135.0f / f);
    EXPECT_EQ(curve[i][2].toFloat(), 135.0f);
  }
  const std::vector<QStringList> model = csvRows(readFile(base + "_model.csv"));
  ASSERT_EQ(model.size(), 1u);
  EXPECT_EQ(model[0][4], "150");
  // Vs30 150 m/s: below 180, ground type D and NEHRP class E.
  const std::string text = pdfText(base + "_report.pdf");
  for (const char* wanted : {"Vs30 = 150.0 m/s", "Eurocode 8 ground type: D", "NEHRP site class: E",
                             "No measured curve", "the table's model"}) {
    EXPECT_NE(text.find(wanted), std::string::npos) << "wanted " << wanted << " in\n" << text;
  }
  EXPECT_FALSE(QImage(base + "_dispersion.png").isNull());
}

TEST_F(ResultExport, AnExportThatCannotWriteShowsABoxAndLeavesNoFile) {
  for (const char* blocked : {"site_curve.csv", "site_report.pdf", "site_dispersion.svg.new"}) {
    SCOPED_TRACE(blocked);
    messages.messages.clear();
    QDir dir(workDir.filePath("blocked"));
    dir.removeRecursively();
    ASSERT_TRUE(QDir(workDir.path()).mkpath("blocked/" + QString::fromUtf8(blocked)));
    form.StatusLine.setText("before");
    EXPECT_FALSE(form.exportResults(dir.filePath("site")));
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].icon, MessageIcon::Warning);
    EXPECT_EQ(firstLine(messages.messages[0].text), "结果未导出。");
    EXPECT_EQ(filesIn(dir.path()), QStringList{QString::fromUtf8(blocked)});
    EXPECT_EQ(form.StatusLine.text(), "before");
  }
}

TEST_F(ResultExport, AModelTableWithAFaultIsNotExported) {
  form.Model.setCell(2, 1, "abc");
  EXPECT_FALSE(form.exportResults(workDir.filePath("site")));
  ASSERT_EQ(messages.messages.size(), 1u);
  EXPECT_FALSE(QFile::exists(workDir.filePath("site_model.csv")));
}

}  // namespace

}  // namespace dispfit
