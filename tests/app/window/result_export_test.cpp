// SPDX-License-Identifier: GPL-3.0-or-later
// The export of the window's results, read back from the files written: the
// curve and the model as numbers, the site figures, the chart as a picture
// and a drawing, and the report as a PDF whose text is extracted by
// pdftotext. An export that cannot write leaves nothing behind.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QLegend>
#include <QLegendMarker>
#include <QProcess>
#include <QStringList>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "curve_function_engine.h"
#include "window/export_file_dialog.h"
#include "window/result_charts.h"
#include "window/result_export.h"
#include "window_fixture.h"

namespace dispfit {

namespace {

std::string readFile(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  return file.readAll().toStdString();
}

// The rows of a CSV text after its comment lines and its header, each split
// at the commas.
std::vector<QStringList> csvRows(const std::string& text) {
  std::vector<QStringList> rows;
  QStringList lines = QString::fromStdString(text).split('\n', Qt::SkipEmptyParts);
  while (!lines.isEmpty() && lines.front().startsWith('#')) lines.removeFirst();
  for (qsizetype i = 1; i < lines.size(); ++i) rows.push_back(lines[i].split(','));
  return rows;
}

// The comment lines that open a text: the export's metadata.
QStringList commentLines(const std::string& text) {
  QStringList comments;
  for (const QString& line : QString::fromStdString(text).split('\n')) {
    if (!line.startsWith(QStringLiteral("# "))) break;
    comments.append(line.mid(2));
  }
  return comments;
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
                                       "site_dispersion.svg", "site_measured.surf96",
                                       "site_measured.target", "site_model.csv", "site_report.pdf",
                                       "site_vs30.txt", "site_vs_depth.png", "site_vs_depth.svg"}));
  EXPECT_TRUE(form.StatusLine.text().startsWith("结果已导出：10 个文件"))
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

  // Every table opens with the metadata as comment lines, the result first.
  const QStringList comments = commentLines(readFile(out + "/site_curve.csv"));
  ASSERT_GE(comments.size(), 5);
  EXPECT_EQ(comments[0], "Result: local fit");
  EXPECT_TRUE(comments[1].startsWith("Program: DispFit ")) << comments[1].toStdString();
  EXPECT_TRUE(comments.contains("Input: measured curve " + workDir.filePath("flat.csv")))
      << comments.join('|').toStdString();
  EXPECT_TRUE(comments.last().startsWith("Misfit: unweighted RMS"));
  EXPECT_EQ(commentLines(readFile(out + "/site_vs30.txt")), comments);

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

  // Pictures at print resolution: 300 dpi over the report's 180 mm chart
  // width, 2126 pixels, unless set otherwise; each says what it shows.
  const QImage picture(out + "/site_dispersion.png");
  ASSERT_FALSE(picture.isNull());
  EXPECT_EQ(picture.width(), 2126);
  EXPECT_NEAR(picture.dotsPerMeterX(), 300.0 / 0.0254, 1.0);
  EXPECT_TRUE(picture.text("Description").startsWith("Result: local fit"))
      << picture.text("Description").toStdString();
  const std::string drawing = readFile(out + "/site_dispersion.svg");
  EXPECT_EQ(drawing.rfind("<?xml", 0), 0u);
  EXPECT_NE(drawing.find("<svg"), std::string::npos);
  // The fitted curve's pen, drawn in the drawing as in the window.
  EXPECT_NE(drawing.find("#009e73"), std::string::npos);
  // The Vs-depth chart likewise, at the same width.
  EXPECT_EQ(QImage(out + "/site_vs_depth.png").width(), 2126);
  EXPECT_NE(readFile(out + "/site_vs_depth.svg").find("<svg"), std::string::npos);

  const QString report = out + "/site_report.pdf";
  EXPECT_EQ(readFile(report).rfind("%PDF", 0), 0u);
  const std::string text = pdfText(report);
  for (const std::string& wanted :
       {std::string("Vs30 = ") + vs30 + " m/s", std::string("Eurocode 8 ground type: C"),
        std::string("NEHRP site class: D"), std::string("Points inside the band: 4 of 4"),
        std::string("Misfit (unweighted RMS"), std::string("the fitted model"),
        std::string("Result: local fit"), std::string("Input: measured curve"),
        std::string("Program: DispFit"), std::string("Date: 20")}) {
    EXPECT_NE(text.find(wanted), std::string::npos) << "wanted " << wanted << " in\n" << text;
  }
}

// The measured curve goes out for dinver and surf96 and opens again as the
// same curve: 180 m/s at 40, 30, 20 and 10 Hz with sigma 2 m/s. SURF96 keeps
// sigma, so the band is 178 to 182 m/s again; a target keeps the band's width
// in log velocity, F = sqrt(182 / 178), so it comes back as [180 / F, 180 F].
TEST_F(ResultExport, TheMeasuredCurveOpensAgainFromItsFilesForOtherPrograms) {
  openFlatCurve();
  form.Button2.click();
  const QString out = workDir.filePath("site");
  ASSERT_TRUE(form.exportResults(out));
  const double factor = std::sqrt(182.0 / 178.0);
  const struct {
    const char* suffix;
    double low, high;
  } written[] = {{"_measured.surf96", 178.0, 182.0},
                 {"_measured.target", 180.0 / factor, 180.0 * factor}};
  for (const auto& file : written) {
    SCOPED_TRACE(file.suffix);
    ASSERT_TRUE(form.openMeasuredCurve(out + file.suffix));
    ASSERT_TRUE(form.measuredCurve().has_value());
    const std::vector<MeasuredPoint>& points = form.measuredCurve()->points;
    ASSERT_EQ(points.size(), 4u);
    for (std::size_t i = 0; i < points.size(); ++i) {
      // Written in the shortest exact digits (km/s, s): a rounding or two.
      constexpr double kRoundings = 1e-12;
      EXPECT_NEAR(points[i].frequency, 40.0 - 10.0 * static_cast<double>(i), 40.0 * kRoundings);
      EXPECT_NEAR(points[i].velocity, 180.0, 180.0 * kRoundings);
      ASSERT_TRUE(points[i].band.has_value());
      EXPECT_NEAR(points[i].band->low, file.low, 180.0 * kRoundings);
      EXPECT_NEAR(points[i].band->high, file.high, 180.0 * kRoundings);
    }
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

namespace dispfit {
namespace {

// The export's dialog opens in the measured curve's folder; before a curve
// is opened it opens where the desktop chooses. The picture width set is the
// pictures' width.
TEST_F(WindowTest, TheExportOpensInTheCurvesFolderAndTakesThePictureWidthSet) {
  ASSERT_TRUE(QDir(workDir.path()).mkdir("field"));
  const QString path = workDir.filePath("field/picks.csv");
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("f, c\n10, 180\n20, 170\n30, 160\n");
  file.close();
  form.ExportAction->trigger();  // cancelled: no curve yet
  ASSERT_TRUE(form.openMeasuredCurve(path));
  form.ExportAction->trigger();
  ASSERT_EQ(files.directories.size(), 2u);
  EXPECT_EQ(files.directories[0], QString());
  EXPECT_EQ(files.directories[1], QFileInfo(path).absolutePath());

  form.setExportPictureWidth(900);
  EXPECT_EQ(form.exportPictureWidth(), 900);
  form.setExportPictureWidth(50);  // below the least: the least
  EXPECT_EQ(form.exportPictureWidth(), kLeastChartPictureWidth);
  form.setExportPictureWidth(900);
  form.Button1.click();
  ASSERT_TRUE(form.exportResults(workDir.filePath("field")));
  EXPECT_EQ(QImage(workDir.filePath("field/dispfit_dispersion.png")).width(), 900);
}

// A folder typed into the export's dialog is the answer, not a place to go.
TEST(ExportFileDialog, AFolderTypedIsTheAnswer) {
  QTemporaryDir dir;
  ASSERT_TRUE(QDir(dir.path()).mkdir("results"));
  ExportFileDialog dialog(nullptr, "export", dir.path());
  dialog.selectFile(QStringLiteral("results"));
  dialog.accept();
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(dialog.chosen(), QDir::cleanPath(dir.filePath("results")));

  ExportFileDialog named(nullptr, "export", dir.path());
  named.selectFile(QStringLiteral("site"));  // no such folder: a base name
  named.accept();
  EXPECT_EQ(named.chosen(), dir.filePath("site"));
}

}  // namespace
}  // namespace dispfit

namespace dispfit {
namespace {

// Below the described report: why the fit stopped and what it left on a
// bound. The flat curve wants Vs = 200 m/s; an upper bound of 190 holds it
// there.
TEST_F(ResultExport, TheReportSaysWhyTheFitStoppedAndWhatIsOnABound) {
  ASSERT_TRUE(form.setInversionLimits({50, 190, 0.1f, 5, 30}));
  openFlatCurve();
  form.Button2.click();
  ASSERT_EQ(messages.messages.size(), 1u);
  const std::string& report = messages.messages[0].text;
  EXPECT_EQ(report.rfind("\t反演结果\n", 0), 0u);  // the described lines first
  EXPECT_NE(report.find("\n停止原因："), std::string::npos) << report;
  EXPECT_NE(report.find("第 1 层 Vs 190.0 m/s 停在上限 190 m/s"), std::string::npos) << report;

  messages.messages.clear();
  ASSERT_TRUE(form.setInversionLimits({50, 1000, 0.1f, 5, 30}));
  form.Button2.click();
  ASSERT_EQ(messages.messages.size(), 1u);
  EXPECT_EQ(messages.messages[0].text.find("停在"), std::string::npos) << messages.messages[0].text;
}

}  // namespace
}  // namespace dispfit

namespace dispfit {
namespace {

// The text of one page of a PDF.
std::string pdfPageText(const QString& path, int page) {
  QProcess extract;
  const QString number = QString::number(page);
  extract.start(QStringLiteral("pdftotext"), {QStringLiteral("-f"), number, QStringLiteral("-l"),
                                              number, path, QStringLiteral("-")});
  if (!extract.waitForFinished(30000)) return {};
  return extract.readAllStandardOutput().toStdString();
}

// The report's charts share the page with a short text and go on a page of
// their own below a long one. At the page's full width (180 mm) the 800 x 500
// dispersion chart is 112.5 mm tall and the 800 x 900 Vs chart 202.5 mm, 315 mm
// together; 60 % of that, 189 mm, is the least room that keeps them on the
// first of the 267 mm a page gives. A 9-point line takes about 4.7 mm: 3 lines
// leave some 240 mm, 50 lines less than 30.
TEST(ReportPdf, ChartsTooSmallBelowTheTextGetAPageOfTheirOwn) {
  ResultCharts series;
  series.dispersion.push_back(
      {"measured", {{5.0, 300.0}, {50.0, 150.0}}, LineStyle::Markers, kMeasuredRgb});
  series.profile.push_back(
      {"best model", {{150.0, 0.0}, {150.0, 10.0}}, LineStyle::Solid, kBestModelRgb});
  series.profileDepth = 10.0;
  const std::unique_ptr<QChartView> dispersion =
      dispersionChart(series, false, QStringLiteral("ChartOfCurves"));
  const std::unique_ptr<QChartView> profile = profileChart(series, QStringLiteral("ChartOfDepths"));
  const std::vector<ExportedChart> charts{{"dispersion", dispersion.get()},
                                          {"vs_depth", profile.get()}};
  QTemporaryDir dir;
  const struct {
    int lines;
    int chartPage;
  } cases[] = {{3, 1}, {50, 2}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.lines);
    ReportBlock block;
    for (int i = 0; i < c.lines; ++i) block.lines.push_back("TextLine" + std::to_string(i));
    const QString path = dir.filePath(QStringLiteral("report%1.pdf").arg(c.lines));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(reportPdf(QStringLiteral("Report"), {block}, charts));
    file.close();
    const std::string first = pdfPageText(path, 1);
    EXPECT_NE(first.find("TextLine" + std::to_string(c.lines - 1)), std::string::npos) << first;
    const std::string chartText = pdfPageText(path, c.chartPage);
    EXPECT_NE(chartText.find("ChartOfCurves"), std::string::npos) << chartText;
    EXPECT_NE(chartText.find("ChartOfDepths"), std::string::npos) << chartText;
    if (c.chartPage == 2) {
      EXPECT_EQ(first.find("ChartOf"), std::string::npos) << first;
    }
    // No page beyond the charts'.
    EXPECT_TRUE(pdfPageText(path, c.chartPage + 1).empty());
  }
}

// The names the results give themselves and their series are shown in the
// window's language; a name the window does not know is shown as it is.
TEST(ResultCharts, NamesAreShownInTheWindowsLanguage) {
  EXPECT_EQ(shownName("best-fit search"), QStringLiteral("全局搜索最佳拟合"));
  EXPECT_EQ(shownName("measured"), QStringLiteral("实测曲线"));
  EXPECT_EQ(shownName("posterior mean"), QStringLiteral("posterior mean"));
  ResultCharts series;
  series.profile.push_back({"10% / 90%", {{100.0, 0.0}, {100.0, 5.0}}, LineStyle::Dashed, 0});
  series.profile.push_back({"10% / 90%", {{200.0, 0.0}, {200.0, 5.0}}, LineStyle::Dashed, 0});
  const std::unique_ptr<QChartView> view = profileChart(series, QString());
  // The two ends of the spread: one entry in the legend.
  int shown = 0;
  for (QLegendMarker* marker : view->chart()->legend()->markers()) {
    if (marker->isVisible()) {
      ++shown;
      EXPECT_EQ(marker->label(), QStringLiteral("10%/90%"));
    }
  }
  EXPECT_EQ(shown, 1);
}

}  // namespace
}  // namespace dispfit
