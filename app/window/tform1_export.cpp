// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's export of its results: the curve, the model and the site
// figures as text, every chart as a picture and a drawing, and a one-page
// report, all rendered in memory and then written together or not at all.
#include <QFileInfo>
#include <QMenu>
#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "records/file_replacement.h"
#include "site/export_files.h"
#include "site/export_layouts.h"
#include "site/fit_statistics.h"
#include "site/site_summary.h"
#include "window/result_export.h"
#include "window/tform1.h"

namespace dispfit {

namespace {

std::vector<std::string> textLines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find('\n', start);
    lines.push_back(text.substr(start, end == std::string::npos ? end : end - start));
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return lines;
}

QByteArray bytesOf(const std::string& text) {
  return QByteArray(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

void TForm1::buildExportCommand() {
  // In the file menu, right after saving the model; its text comes with
  // retranslate().
  QMenu* file = FileMenu;
  const QList<QAction*> commands = file->actions();
  const qsizetype save = commands.indexOf(SaveModelAction);
  auto action = std::make_unique<QAction>(file);
  ExportAction = action.get();
  file->insertAction(save + 1 < commands.size() ? commands[save + 1] : nullptr, action.release());
  ExportAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
  ExportAction->setShortcutContext(Qt::WindowShortcut);
  addAction(ExportAction);
  connect(ExportAction, &QAction::triggered, this, [this] { ExportResultsClick(); });
}

std::vector<ExportedChart> TForm1::exportedCharts() {
  // Every chart of the window, each exported as a picture, a drawing and a
  // part of the report.
  return {{"dispersion", &Chart}, {"vs_depth", &VsChart}};
}

void TForm1::ExportResultsClick() {
  const QString chosen =
      files_.fileToSave(this, tr("导出结果：文件名前缀或文件夹"), tr("所有文件 (*)"));
  if (!chosen.isEmpty()) exportResults(chosen);
}

bool TForm1::exportResults(const QString& chosen) {
  // The fitted model when there is one, else the table's, checked as the
  // forward run checks it.
  std::optional<ParsedLayers> model = fitted_;
  if (!model) {
    const TableReading reading = checkLayerRows(tableRows());
    if (!reading.layers) {
      messages_.showBox(badCellMessage(reading.bad, translator_), kMessageCaption,
                        MessageIcon::Warning);
      return false;
    }
    model = reading.layers;
  }

  std::string curveText;
  std::optional<FitStatistics> fit;
  std::vector<std::string> curveNotes;
  if (measured_) {
    // The model was evaluated at the points the inversion fits.
    const ComputedCurve curve =
        fitted_ ? fittedVelocities_ : computedCurve(std::span<const float>(vr, freqCount));
    curveText =
        curveCsv(measured_->inverted, curve, fitted_ ? CurveKind::Fitted : CurveKind::Computed);
    fit = fitStatistics(measured_->inverted, curve);
    if (measured_->inverted.size() < measured_->points.size()) {
      curveNotes.push_back("The curve file holds the " +
                           std::to_string(measured_->inverted.size()) +
                           " points the inversion fits of the " +
                           std::to_string(measured_->points.size()) + " measured");
    }
  } else {
    curveText = computedCurveCsv(std::span<const float>(freq, freqCount),
                                 std::span<const float>(vr, freqCount));
  }
  const std::optional<double> constrained =
      measured_ ? std::optional<double>(constrainedDepth(measured_->points)) : std::nullopt;
  const std::string siteText =
      siteSummaryText(summarizeSite(model->thickness, model->vs, constrained));

  std::vector<ReportBlock> report{
      {{fitted_ ? "Model (模型): the fitted model" : "Model (模型): the table's model"}, false},
      {modelTableLines(*model), true},
      {fitLines(fit), false},
      {textLines(siteText), false}};
  if (!curveNotes.empty()) report.push_back({curveNotes, false});

  const std::vector<ExportedChart> charts = exportedCharts();
  std::vector<std::string> chartNames;
  for (const ExportedChart& exported : charts) chartNames.push_back(exported.name);
  const std::filesystem::path base =
      exportBase(std::filesystem::path(chosen.toStdU16String()), QFileInfo(chosen).isDir());
  const std::vector<ExportFile> files = exportFiles(base, chartNames);

  std::vector<QByteArray> contents;
  for (const ExportFile& file : files) {
    switch (file.part) {
      case ExportPart::CurveCsv:
        contents.push_back(bytesOf(curveText));
        break;
      case ExportPart::ModelCsv:
        contents.push_back(bytesOf(modelCsv(*model)));
        break;
      case ExportPart::SiteText:
        contents.push_back(bytesOf(siteText));
        break;
      case ExportPart::ChartPng:
        contents.push_back(chartPng(*charts[file.chart].view));
        break;
      case ExportPart::ChartSvg:
        contents.push_back(
            chartSvg(*charts[file.chart].view, QString::fromStdString(charts[file.chart].name)));
        break;
      case ExportPart::ReportPdf:
        contents.push_back(reportPdf(tr("DispFit 结果报告"), report, charts));
        break;
    }
  }
  std::vector<swcore::OutputText> outputs;
  for (std::size_t i = 0; i < files.size(); ++i) {
    outputs.push_back(
        {files[i].path,
         std::string_view(contents[i].constData(), static_cast<std::size_t>(contents[i].size()))});
  }
  std::string error;
  if (!swcore::replaceFileTextsTogether(outputs, error)) {
    messages_.showBox(tr("结果未导出。").toStdString() + '\n' + error, kMessageCaption,
                      MessageIcon::Warning);
    return false;
  }
  const QString pattern = QString::fromStdU16String(base.filename().u16string()) + "_*";
  const auto count = static_cast<qulonglong>(files.size());
  showStatus([count, pattern] {
    return StatusText{tr("结果已导出：%1 个文件 %2。").arg(count).arg(pattern), {}};
  });
  return true;
}

}  // namespace dispfit
