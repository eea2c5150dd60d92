// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's file commands: a measured curve and a model opened, the
// model saved, and the fitted model taken into the table.
#include <QFileInfo>
#include <QScreen>
#include <algorithm>
#include <filesystem>
#include <span>
#include <string>

#include "core/curve_points.h"
#include "core/velocity_axis.h"
#include "files/column_text.h"
#include "files/curve_file.h"
#include "files/text_file.h"
#include "inversion/model_mode_lines.h"
#include "records/file_replacement.h"
#include "site/measured_curve_file.h"
#include "site/model_file_text.h"
#include "window/screen_placement.h"
#include "window/tform1.h"
#include "window/window_style.h"

namespace dispfit {

namespace {

std::filesystem::path filePath(const QString& path) {
  return std::filesystem::path(path.toStdU16String());
}

std::string displayName(const QString& path) {
  return QFileInfo(path).fileName().toStdString();
}

QString curveFilter() {
  return TForm1::tr("曲线文件 (*.csv *.txt *.dat);;所有文件 (*)");
}

QString modelFilter() {
  return TForm1::tr("模型文件 (*.txt *.csv);;所有文件 (*)");
}

}  // namespace

void TForm1::OpenCurveClick() {
  const QString path = files_.fileToOpen(this, tr("打开实测曲线"), curveFilter());
  if (!path.isEmpty()) openMeasuredCurve(path);
}

void TForm1::OpenModelClick() {
  const QString path = files_.fileToOpen(this, tr("打开模型"), modelFilter());
  if (!path.isEmpty()) openModel(path);
}

void TForm1::SaveModelClick() {
  const QString path = files_.fileToSave(this, tr("保存模型"), modelFilter());
  if (!path.isEmpty()) saveModel(path);
}

void TForm1::OpenRecordsClick() {
  const bool first = !shotRecords_;
  ShotRecordsWindow& window = shotRecordsWindow();
  // Opened the first time on the main window's screen, within its free room;
  // then where the user left it.
  if (first && screen() != nullptr) placeOnScreen(window, screen()->availableGeometry());
  window.show();
  window.raise();
  window.activateWindow();
}

ShotRecordsWindow& TForm1::shotRecordsWindow() {
  if (!shotRecords_) {
    shotRecords_ = std::make_unique<ShotRecordsWindow>(messages_, this);
    // The overlay's modes are those of the model the window holds, as the
    // 视图 → 模态 lines are.
    shotRecords_->setModeSource([this](std::span<const double> frequencies, int modes) {
      const auto layers = static_cast<std::size_t>(layerCount);
      return rayleighModeLines(std::span<const float>(thickness, layers),
                               std::span<const float>(vs, layers),
                               std::span<const float>(density, layers), frequencies, modes);
    });
    connect(shotRecords_.get(), &ShotRecordsWindow::measuredCurveChosen, this,
            [this](const QString& table, const QString& name) {
              if (useMeasuredCurveText(table.toStdString(), name.toStdString())) {
                raise();
                activateWindow();
              }
            });
  }
  return *shotRecords_;
}

bool TForm1::openMeasuredCurve(const QString& path) {
  const std::string name = displayName(path);
  std::string text, error;
  if (!swcore::readTextFile(filePath(path), name, text, error)) {
    messages_.showBox(error, kMessageCaption, MessageIcon::Warning);
    return false;
  }
  return useMeasuredCurveText(text, name, path);
}

bool TForm1::useMeasuredCurveText(const std::string& text, const std::string& name,
                                  const QString& path) {
  CurvePreparation prepared = readMeasuredCurve(text, name);
  if (!prepared.curve && curveHeaderNeedsChoice(text)) {
    // The header names columns the curve table does not know: the user says
    // which is which, and the file is read again with that choice.
    swcore::ColumnText split;
    std::string error;
    swcore::splitColumnText(text, name, split, error);
    QStringList header;
    for (const std::string& field : split.header) header.append(QString::fromStdString(field));
    const std::optional<QString> answer =
        columnChooser_->chooseColumns(this, QString::fromStdString(name), header);
    if (!answer) return false;
    swcore::ColumnChoice columns;
    if (!swcore::parseCurveColumnChoice(answer->toStdString(), columns, error)) {
      messages_.showBox(error, kMessageCaption, MessageIcon::Warning);
      return false;
    }
    prepared = readMeasuredCurve(text, name, columns);
  }
  if (!prepared.curve) {
    messages_.showBox(prepared.error, kMessageCaption, MessageIcon::Warning);
    return false;
  }
  measured_ = std::move(prepared.curve);
  modalEngine_ = modalEngineFor(measured_->inverted);
  // A curve from the shot records has no file: the export names it and its
  // dialog opens where it last did.
  curvePath_ = path.isEmpty() ? QString::fromStdString(name) : path;
  if (!path.isEmpty()) curveFolder_ = QFileInfo(path).absolutePath();
  fitted_.reset();
  ApplyFittedAction->setEnabled(false);
  SuggestModelAction->setEnabled(true);
  resetSiteResults();
  enableSearchCommands(true);

  // The forward run now works at the frequencies the inversion fits; until it
  // has run there is no computed curve to draw.
  const std::vector<MeasuredPoint>& inverted = measured_->inverted;
  freqCount = static_cast<int32_t>(inverted.size());
  for (int i = 0; i < freqCount; ++i) {
    freq[i] = static_cast<float>(inverted[static_cast<std::size_t>(i)].frequency);
    vr[i] = 0.0f;
  }
  Series1->clear();
  fittedCurve_.clear();
  FittedSeries->clear();
  FittedSeries->setVisible(false);
  drawMeasuredCurve();

  const QString fileName = QString::fromStdString(name);
  const auto pointCount = static_cast<int>(measured_->points.size());
  const auto fittedCount = static_cast<int>(measured_->inverted.size());
  // The curve's notes come from its reader, in English.
  QStringList notes;
  for (const std::string& note : measured_->notes) notes.append(QString::fromStdString(note));
  showStatus([fileName, pointCount, fittedCount, notes] {
    QString shown = tr("已打开 %1：%2 个实测点").arg(fileName).arg(pointCount);
    if (fittedCount < pointCount) shown += tr("，反演取其中 %1 个").arg(fittedCount);
    return StatusText{shown + tr("。"), notes.join(QLatin1Char(' '))};
  });
  return true;
}

void TForm1::drawMeasuredCurve() {
  QList<QPointF> points, upper, lower;
  for (const MeasuredPoint& point : measured_->points) {
    const double x = abscissa(point.frequency, point.velocity);
    points.append(QPointF(x, point.velocity));
    if (point.band) {
      upper.append(QPointF(x, point.band->high));
      lower.append(QPointF(x, point.band->low));
    }
  }
  MeasuredSeries->replace(points);
  BandSeries->upperSeries()->replace(upper);
  BandSeries->lowerSeries()->replace(lower);
  MeasuredSeries->setVisible(true);
  BandSeries->setVisible(!upper.isEmpty());
  drawMeasuredModes();
  fitAxesToMeasuredCurve();
}

void TForm1::fitAxesToMeasuredCurve() {
  // Every velocity on the chart, the computed ones first: the velocity axis
  // is fitted to them as to a computed curve.
  const DrawableCurve drawable = drawableCurve(freq, vr, freqCount);
  std::vector<float> velocities = drawable.vr;
  double lowest = measured_->points.back().frequency;
  double highest = measured_->points.front().frequency;
  for (const MeasuredPoint& point : measured_->points) {
    velocities.push_back(static_cast<float>(point.velocity));
    if (point.band) {
      velocities.push_back(static_cast<float>(point.band->low));
      velocities.push_back(static_cast<float>(point.band->high));
    }
  }
  for (const QXYSeries* series :
       {static_cast<QXYSeries*>(FittedSeries), static_cast<QXYSeries*>(BestCurveSeries),
        static_cast<QXYSeries*>(EnvelopeSeries->upperSeries()),
        static_cast<QXYSeries*>(EnvelopeSeries->lowerSeries())}) {
    for (const QPointF& point : series->points()) {
      velocities.push_back(static_cast<float>(point.y()));
    }
  }
  for (const QLineSeries* series : ModeSeries) {
    for (const QPointF& point : series->points()) {
      velocities.push_back(static_cast<float>(point.y()));
    }
  }
  for (const float f : drawable.freq) {
    lowest = std::min(lowest, double{f});
    highest = std::max(highest, double{f});
  }
  const AxisRange fitted = fitVelocityAxis({LeftAxis->min(), LeftAxis->max()}, velocities.data(),
                                           static_cast<int>(velocities.size()));
  setVelocityRange(fitted.minimum, fitted.maximum);
  if (wavelengthAxis_) {
    spanAbscissaAxis();
  } else {
    setAbscissaRange(lowest, highest);
  }
  updateDispersionLegend();
  drawResiduals();
}

bool TForm1::openModel(const QString& path) {
  const std::string name = displayName(path);
  std::string text, error;
  if (!swcore::readTextFile(filePath(path), name, text, error)) {
    messages_.showBox(error, kMessageCaption, MessageIcon::Warning);
    return false;
  }
  const ModelOpening opening = readModelText(text, name, kWindowLayerLimit);
  if (!opening.rows) {
    messages_.showBox(opening.error, kMessageCaption, MessageIcon::Warning);
    return false;
  }
  modelPath_ = path;
  setTableRows(*opening.rows);
  LUpDown.setPosition(static_cast<int>(opening.rows->size()));
  const TableReading reading = readLayerRows(tableRows());
  if (reading.layers) storeLayers(*reading.layers);
  if (opening.pVelocityNotThreeVs) {
    messages_.showBox(tr("%1 给出的纵波速度不是 3 × Vs；本程序的计算按 Vp = 3 × Vs 进行。")
                          .arg(QString::fromStdString(name))
                          .toStdString(),
                      kMessageCaption, MessageIcon::Information);
  }
  return true;
}

bool TForm1::saveModel(const QString& path) {
  const TableReading reading = checkLayerRows(tableRows());
  if (!reading.layers) {
    messages_.showBox(badCellMessage(reading.bad, translator_), kMessageCaption,
                      MessageIcon::Warning);
    return false;
  }
  const std::filesystem::path target = filePath(path);
  std::string error;
  if (!swcore::replaceFileText(target, modelFileText(*reading.layers, target), error)) {
    messages_.showBox(error, kMessageCaption, MessageIcon::Warning);
    return false;
  }
  const QString fileName = QString::fromStdString(displayName(path));
  showStatus([fileName] { return StatusText{tr("模型已保存到 %1。").arg(fileName), {}}; });
  return true;
}

void TForm1::showStatus(std::function<StatusText()> text) {
  status_ = std::move(text);
  const StatusText shown = status_();
  StatusLine.setText(shown.shown);
  StatusLine.setToolTip(shown.detail.isEmpty() ? shown.shown
                                               : shown.shown + QLatin1Char('\n') + shown.detail);
}

void TForm1::clearStatus() {
  status_ = nullptr;
  StatusLine.clear();
  StatusLine.setToolTip(QString());
}

void TForm1::ApplyFittedClick() {
  if (fitted_) applyModelToTable(*fitted_);
}

void TForm1::applyModelToTable(const ParsedLayers& model) {
  const std::vector<LayerTexts> rows = layerTexts(model);
  setTableRows(rows);
  LUpDown.setPosition(static_cast<int>(rows.size()));
  storeLayers(model);
}

}  // namespace dispfit
