// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/shot_records_window.h"

#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QSplitter>
#include <QVBoxLayout>

#include "core/number_text.h"
#include "shots/masw_tables.h"
#include "shots/record_file.h"
#include "shots/record_geometry.h"

namespace dispfit {

ShotRecordsWindow::ShotRecordsWindow(MessagePresenter& messages, QWidget* parent)
    : QWidget(parent, Qt::Window), messages_(messages) {
  request_.image.grid.frequency = {5.0, 100.0, 0.5};
  request_.image.grid.velocity = {50.0, 1000.0, 1.0};
  request_.statistics.leastOffsets = 3;
  request_.statistics.sigmaFloor = 0.5 * request_.image.grid.velocity.step;

  auto* controls = new QVBoxLayout;
  controls->addWidget(&open_);
  controls->addWidget(&offsets_);
  controls->addWidget(&repick_);
  controls->addWidget(&use_);
  auto* gatherColumn = new QVBoxLayout;
  auto* gatherHead = new QHBoxLayout;
  gatherHead->addWidget(&gatherTitle_, 1);
  gatherHead->addWidget(&style_);
  gatherColumn->addLayout(gatherHead);
  gatherColumn->addWidget(&gather_, 1);
  auto* imageColumn = new QVBoxLayout;
  imageColumn->addWidget(&imageTitle_);
  imageColumn->addWidget(&image_, 1);
  imageColumn->addWidget(&hint_);
  auto* curveColumn = new QVBoxLayout;
  curveColumn->addWidget(&curveTitle_);
  curveColumn->addWidget(&curve_, 1);
  auto* layout = new QHBoxLayout(this);
  layout->addLayout(controls);
  layout->addLayout(gatherColumn, 2);
  layout->addLayout(imageColumn, 3);
  layout->addLayout(curveColumn, 2);
  hint_.setWordWrap(true);
  offsets_.setMinimumWidth(320);
  style_.addItem(QString());
  style_.addItem(QString());
  repick_.setEnabled(false);
  use_.setEnabled(false);
  retranslate();
  resize(1280, 640);

  connect(&open_, &QPushButton::clicked, this, [this] { chooseFiles(); });
  connect(&offsets_, &QListWidget::currentRowChanged, this, [this](int row) { selectOffset(row); });
  connect(&style_, &QComboBox::currentIndexChanged, this, [this](int index) {
    gather_.setStyle(index == 1 ? GatherView::Style::variableDensity : GatherView::Style::wiggles);
  });
  connect(&image_, &DispersionImageView::picksEdited, this, [this] {
    refreshCurve();
    refreshOffsetLines();
  });
  connect(&repick_, &QPushButton::clicked, this, [this] {
    const int row = offsets_.currentRow();
    if (row < 0 || std::size_t(row) >= survey_.offsets.size()) return;
    OffsetResult& offset = survey_.offsets[std::size_t(row)];
    offset.picks = followRidge(offset.image, request_.picking, offset.limits);
    image_.showOffset(&offset, request_.picking);
    refreshCurve();
    refreshOffsetLines();
  });
  connect(&use_, &QPushButton::clicked, this,
          [this] { Q_EMIT measuredCurveChosen(QString::fromStdString(curveTable()), name_); });
}

void ShotRecordsWindow::changeEvent(QEvent* event) {
  if (event->type() == QEvent::LanguageChange) retranslate();
  QWidget::changeEvent(event);
}

void ShotRecordsWindow::retranslate() {
  setWindowTitle(tr("地震记录"));
  open_.setText(tr("打开记录..."));
  repick_.setText(tr("自动拾取"));
  use_.setText(tr("用作实测曲线"));
  style_.setItemText(0, tr("波形"));
  style_.setItemText(1, tr("变密度"));
  gatherTitle_.setText(tr("炮集记录"));
  imageTitle_.setText(tr("频散图像（每个频率归一化）"));
  curveTitle_.setText(tr("综合曲线：均值 ± σ（各偏移距之间的离散）"));
  hint_.setText(
      tr("单击添加拾取点，拖动移动，右键或 Delete 删除；按住 Shift 拖出范围重新拾取。"
         "红点在阵列限制之外，不计入综合曲线。"));
  refreshOffsetLines();
}

void ShotRecordsWindow::chooseFiles() {
  const QStringList paths = QFileDialog::getOpenFileNames(
      this, tr("打开地震记录"), QString(),
      tr("地震记录 (*.sg2 *.seg2 *.dat *.sgy *.segy *.su);;所有文件 (*)"));
  if (!paths.isEmpty()) openRecords(paths);
}

bool ShotRecordsWindow::openRecords(const QStringList& paths) {
  std::vector<ShotGather> gathers;
  for (const QString& path : paths) {
    ShotRecord record;
    ShotGather gather;
    std::string error;
    if (!readRecordFile(path.toStdString(), record, error) ||
        !resolveGeometry(record, {}, gather, error)) {
      messages_.showBox(error, kMessageCaption, MessageIcon::Warning);
      return false;
    }
    gathers.push_back(std::move(gather));
  }
  std::vector<SourceGroup> groups;
  std::string error;
  if (!groupBySource(gathers, groups, error)) {
    messages_.showBox(error, kMessageCaption, MessageIcon::Warning);
    return false;
  }
  SurveyRequest request = request_;
  const double nyquist = 0.5 / gathers.front().sampleInterval;
  request.image.grid.frequency.last = std::min(request.image.grid.frequency.last, 0.8 * nyquist);
  request_ = request;
  gathers_ = std::move(gathers);
  survey_ = analyseSurvey(gathers_, groups, request_, 2);
  name_ = QFileInfo(paths.front()).dir().dirName() + QStringLiteral("_curve.csv");
  offsets_.blockSignals(true);
  offsets_.clear();
  for (std::size_t n = 0; n < survey_.offsets.size(); ++n) offsets_.addItem(QString());
  offsets_.blockSignals(false);
  refreshOffsetLines();
  refreshCurve();
  repick_.setEnabled(!survey_.offsets.empty());
  offsets_.setCurrentRow(survey_.offsets.empty() ? -1 : 0);
  selectOffset(offsets_.currentRow());
  return true;
}

void ShotRecordsWindow::selectOffset(int row) {
  if (row < 0 || std::size_t(row) >= survey_.offsets.size()) {
    gather_.showGather(nullptr);
    image_.showOffset(nullptr, request_.picking);
    return;
  }
  OffsetResult& offset = survey_.offsets[std::size_t(row)];
  gather_.showGather(&gathers_[offset.group.records.front()]);
  image_.showOffset(&offset, request_.picking);
}

void ShotRecordsWindow::refreshOffsetLines() {
  for (std::size_t n = 0; n < survey_.offsets.size() && int(n) < offsets_.count(); ++n) {
    const OffsetResult& offset = survey_.offsets[n];
    const auto inside = std::count_if(offset.picks.begin(), offset.picks.end(),
                                      [](const Pick& p) { return p.insideLimits; });
    offsets_.item(int(n))->setText(
        tr("偏移距 %1 m：%2 个拾取点（%3 个在限制内），%4 个记录")
            .arg(QString::fromStdString(fixedText(offset.group.sourceOffset, 1)))
            .arg(offset.picks.size())
            .arg(inside)
            .arg(offset.group.records.size()));
  }
}

void ShotRecordsWindow::refreshCurve() {
  survey_.curve = combineOffsets(offsetPicks(survey_.offsets), request_.statistics);
  curve_.showCurve(survey_.curve);
  use_.setEnabled(!survey_.curve.empty());
}

std::string ShotRecordsWindow::curveTable() const {
  return curveTableText(survey_.curve, request_.statistics.domain);
}

}  // namespace dispfit
