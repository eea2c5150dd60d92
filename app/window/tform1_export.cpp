// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's export of one of its results at a time (the local fit,
// the best-fit search): its tables, both charts drawn from its own series as
// pictures and drawings, and a one-page report, each naming the result and
// carrying the metadata (input files, date, program version, settings,
// misfit), all rendered in memory and then written together or not at all.
#include <QDateTime>
#include <QFileInfo>
#include <QInputDialog>
#include <QMenu>
#include <algorithm>
#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/program_version.h"
#include "dispersion/observed_curve.h"
#include "exchange/dinver_target.h"
#include "exchange/surf96_curve.h"
#include "records/file_replacement.h"
#include "sampling/posterior_request.h"
#include "sampling/posterior_result.h"
#include "search/search_result.h"
#include "site/export_files.h"
#include "site/export_layouts.h"
#include "site/fit_statistics.h"
#include "site/local_fit_result.h"
#include "site/measured_curve_file.h"
#include "site/site_summary.h"
#include "window/result_charts.h"
#include "window/result_export.h"
#include "window/tform1.h"

namespace dispfit {

namespace {

QByteArray bytesOf(const std::string& text) {
  return QByteArray(text.data(), static_cast<qsizetype>(text.size()));
}

// What the local fit's misfit is, and the search's.
constexpr const char* kLocalMisfit =
    "unweighted RMS of the residuals, sqrt(sum (v - c)^2 / m) in m/s over the m measured points "
    "with a computed velocity; the inversion itself minimises sqrt(sum r^2 / 2M) over its M "
    "fitted points";

std::string searchMisfit(MisfitKind kind) {
  return kind == MisfitKind::Normalised
             ? "normalised misfit sqrt(sum ((v - c) / sigma)^2 / m) over the m fitted points, "
               "sigma the standard deviation or half the band's width"
             : "misfit (m/s) sqrt(sum (v - c)^2 / m) over the m fitted points";
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
  QAction* before = save + 1 < commands.size() ? commands[save + 1] : nullptr;
  file->insertAction(before, action.release());
  ExportAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
  ExportAction->setShortcutContext(Qt::WindowShortcut);
  addAction(ExportAction);
  connect(ExportAction, &QAction::triggered, this, [this] { ExportResultsClick(); });
  // The width of the exported pictures, right after the export.
  auto width = std::make_unique<QAction>(file);
  ExportWidthAction = width.get();
  file->insertAction(before, width.release());
  connect(ExportWidthAction, &QAction::triggered, this, [this] {
    bool ok = false;
    const int chosen = QInputDialog::getInt(
        this, ExportWidthAction->text().remove(QStringLiteral("...")),
        tr("导出图片的宽度（像素，默认按 A4 页面 300 dpi）："), exportPictureWidth_,
        kLeastChartPictureWidth, kMostChartPictureWidth, 100, &ok);
    if (ok) setExportPictureWidth(chosen);
  });
}

void TForm1::setExportPictureWidth(int width) {
  exportPictureWidth_ = std::clamp(width, kLeastChartPictureWidth, kMostChartPictureWidth);
}

void TForm1::ExportResultsClick() {
  const QString chosen =
      files_.baseOrFolderToSave(this, tr("导出结果：文件名前缀或文件夹"), curveFolder_);
  if (!chosen.isEmpty()) exportResults(chosen);
}

std::vector<std::unique_ptr<ExportedResult>> TForm1::exportableResults(QStringList& names,
                                                                       std::string& fault) {
  std::vector<std::unique_ptr<ExportedResult>> results;
  // The fitted model when there is one, else the table's, checked as the
  // forward run checks it.
  std::optional<ParsedLayers> model = fitted_;
  if (!model) {
    const TableReading reading = checkLayerRows(tableRows());
    if (reading.layers) {
      model = reading.layers;
    } else {
      fault = badCellMessage(reading.bad, translator_);
    }
  }
  if (model) {
    LocalFitInputs inputs{*model, fitted_.has_value(), measured_, {}, {}, {}};
    if (measured_) {
      // The model was evaluated at the points the inversion fits.
      inputs.curve =
          fitted_ ? fittedVelocities_ : computedCurve(std::span<const float>(vr, freqCount));
    } else {
      inputs.frequencies.assign(freq, freq + freqCount);
      inputs.velocities.assign(vr, vr + freqCount);
    }
    results.push_back(std::make_unique<LocalFitResult>(std::move(inputs)));
    names.append(fitted_ ? tr("局部反演：拟合模型") : tr("当前表格模型"));
  }
  if (searchSummary_ && searchSummary_->best && measured_) {
    results.push_back(std::make_unique<SearchResult>(*searchSummary_, *measured_));
    names.append(tr("全局搜索：最佳模型与接受模型的分布"));
  }
  if (posteriorSummary_ && measured_) {
    results.push_back(std::make_unique<PosteriorResult>(*posteriorSummary_, *measured_));
    names.append(tr("后验分布：可信区间与场地类别概率"));
  }
  return results;
}

ExportMetadata TForm1::exportMetadata(const ExportedResult& result) const {
  ExportMetadata metadata;
  if (!curvePath_.isEmpty())
    metadata.inputs.push_back("measured curve " + curvePath_.toStdString());
  if (!modelPath_.isEmpty()) metadata.inputs.push_back("model " + modelPath_.toStdString());
  if (metadata.inputs.empty()) metadata.inputs.push_back("none: the model typed into the table");
  metadata.date = QDateTime::currentDateTimeUtc().toString(Qt::ISODate).toStdString();
  metadata.version = programVersion();
  const bool search = dynamic_cast<const SearchResult*>(&result) != nullptr;
  if (search && searchSummary_) {
    metadata.settings.push_back("global search of " + std::to_string(searchRequest_.layers) +
                                " layers, " + std::to_string(searchSummary_->budget) +
                                " models, seed " + std::to_string(searchRequest_.seed));
    metadata.settings.push_back("forward rule: " + swcore::describeRule(searchSummary_->forward));
    metadata.misfit = searchMisfit(searchSummary_->kind);
  } else if (dynamic_cast<const PosteriorResult*>(&result) != nullptr && posteriorSummary_) {
    const LayerCountRange& counts = posteriorSummary_->counts;
    metadata.settings.push_back(
        "posterior of " +
        (counts.least == counts.most
             ? std::to_string(counts.most)
             : std::to_string(counts.least) + " to " + std::to_string(counts.most)) +
        " layers, " + std::to_string(posteriorSummary_->samples) + " samples, seed " +
        std::to_string(searchRequest_.seed));
    metadata.settings.push_back("forward rule: " +
                                swcore::describeRule(posteriorSummary_->forward));
    if (const std::optional<FitCheck>& fit = posteriorSummary_->fit) {
      metadata.settings.push_back("fit check: " + describeFit(*fit));
    }
    if (const std::optional<RecordedModeCheck>& check = posteriorSummary_->recordedModes) {
      metadata.settings.push_back("forward-rule check: " + describeCheck(*check));
    }
    metadata.misfit =
        "Gaussian likelihood of the measured velocities with their sigma (or a sampled noise "
        "scale where the curve has none); the report gives the best fit's normalised misfit";
  } else {
    metadata.settings.push_back("local inversion, " + limitsText(inversionLimits_));
    metadata.misfit = kLocalMisfit;
  }
  return metadata;
}

bool TForm1::exportResults(const QString& chosen) {
  QStringList names;
  std::string fault;
  std::vector<std::unique_ptr<ExportedResult>> results = exportableResults(names, fault);
  if (results.empty()) {
    messages_.showBox(fault, kMessageCaption, MessageIcon::Warning);
    return false;
  }
  std::size_t which = 0;
  if (results.size() > 1) {
    const std::optional<int> answer = resultChooser_->chooseResult(this, names);
    if (!answer) return false;
    which = static_cast<std::size_t>(*answer);
  }
  const ExportedResult& result = *results[which];
  const std::vector<std::string> metadata = metadataLines(exportMetadata(result), result.name());
  const QString resultName = QString::fromStdString(result.name());
  const QString shownResult = shownName(result.name());  // in the window's language

  // The charts drawn from the result's own series, so that pictures and
  // report show the result the text speaks of.
  const ResultCharts series = result.charts();
  const std::unique_ptr<QChartView> dispersion = dispersionChart(
      series, LogFrequencyAction->isChecked(), tr("频散曲线（%1）").arg(shownResult));
  const std::unique_ptr<QChartView> profile =
      profileChart(series, tr("横波速度剖面（%1）").arg(shownResult));
  const std::vector<ExportedChart> charts{{"dispersion", dispersion.get()},
                                          {"vs_depth", profile.get()}};

  std::vector<std::string> chartNames;
  for (const ExportedChart& exported : charts) chartNames.push_back(exported.name);
  const std::vector<ResultTable> tables = result.tables();
  std::vector<std::string> suffixes;
  for (const ResultTable& table : tables) suffixes.push_back(table.suffix);
  const std::filesystem::path base =
      exportBase(std::filesystem::path(chosen.toStdU16String()), QFileInfo(chosen).isDir());
  const std::vector<ExportFile> files =
      exportFiles(base, suffixes, chartNames, measured_.has_value());

  std::vector<ReportBlock> report{{metadata, false}};
  for (ReportBlock& block : result.report()) report.push_back(std::move(block));
  const QString description = QString::fromStdString([&metadata] {
    std::string text;
    for (const std::string& line : metadata) text += (text.empty() ? "" : "; ") + line;
    return text;
  }());

  std::vector<QByteArray> contents;
  for (const ExportFile& file : files) {
    switch (file.part) {
      case ExportPart::Table:
        contents.push_back(bytesOf(withCommentLines(metadata, tables[file.index].text)));
        break;
      case ExportPart::ChartPng:
        contents.push_back(chartPng(*charts[file.index].view, exportPictureWidth_, description));
        break;
      case ExportPart::ChartSvg:
        contents.push_back(
            chartSvg(*charts[file.index].view,
                     QStringLiteral("DispFit %1: %2")
                         .arg(resultName, QString::fromStdString(charts[file.index].name)),
                     description));
        break;
      case ExportPart::ReportPdf:
        contents.push_back(reportPdf(tr("DispFit 结果报告：%1").arg(shownResult), report, charts));
        break;
      // The curve as read, for dinver and surf96, which take no comment lines.
      case ExportPart::MeasuredTarget:
        contents.push_back(bytesOf(formatDinverTarget(curveFileOf(measured_->points))));
        break;
      case ExportPart::MeasuredSurf96:
        contents.push_back(bytesOf(formatSurf96Curve(curveFileOf(measured_->points))));
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
  showStatus([count, pattern, shownResult] {
    return StatusText{tr("结果已导出：%1 个文件 %2（%3）。").arg(count).arg(pattern, shownResult),
                      {}};
  });
  return true;
}

}  // namespace dispfit
