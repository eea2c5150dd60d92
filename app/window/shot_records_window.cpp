// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/shot_records_window.h"

#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QVBoxLayout>
#include <algorithm>
#include <memory>
#include <thread>
#include <utility>

#include "core/number_text.h"
#include "shots/masw_tables.h"
#include "shots/placed_records.h"
#include "shots/record_file.h"
#include "window/masw_settings_dialog.h"

namespace dispfit {

ShotRecordsWindow::ShotRecordsWindow(MessagePresenter& messages, QWidget* parent)
    : QWidget(parent, Qt::Window), messages_(messages), settings_(defaultMaswSettings()) {
  // Each layout is made owned and released into the layout or widget that
  // takes it; the widgets are members, which the layouts only arrange.
  auto controls = std::make_unique<QVBoxLayout>();
  controls->addWidget(&open_);
  controls->addWidget(&settingsButton_);
  controls->addWidget(&offsets_);
  controls->addWidget(&status_);
  controls->addWidget(&repick_);
  controls->addWidget(&use_);
  auto gatherHead = std::make_unique<QHBoxLayout>();
  gatherHead->addWidget(&gatherTitle_, 1);
  gatherHead->addWidget(&style_);
  auto gatherColumn = std::make_unique<QVBoxLayout>();
  gatherColumn->addLayout(gatherHead.release());
  gatherColumn->addWidget(&gather_, 1);
  auto imageColumn = std::make_unique<QVBoxLayout>();
  imageColumn->addWidget(&imageTitle_);
  imageColumn->addWidget(&image_, 1);
  auto modesRow = std::make_unique<QHBoxLayout>();
  modesRow->addWidget(&modesShown_);
  modesRow->addWidget(&modeCountLabel_);
  modesRow->addWidget(&modeCount_);
  modesRow->addStretch(1);
  imageColumn->addLayout(modesRow.release());
  imageColumn->addWidget(&hint_);
  auto curveColumn = std::make_unique<QVBoxLayout>();
  curveColumn->addWidget(&curveTitle_);
  curveColumn->addWidget(&curve_, 1);
  auto layout = std::make_unique<QHBoxLayout>();
  layout->addLayout(controls.release());
  layout->addLayout(gatherColumn.release(), 2);
  layout->addLayout(imageColumn.release(), 3);
  layout->addLayout(curveColumn.release(), 2);
  setLayout(layout.release());  // the window owns its layout
  // The titles, the hint and the status line wrap and the list scrolls
  // sideways, so that the window fits a 1366 x 768 screen at 150 % in
  // either language.
  for (QLabel* text : {&gatherTitle_, &imageTitle_, &curveTitle_, &hint_, &status_}) {
    text->setWordWrap(true);
  }
  offsets_.setMinimumWidth(200);
  status_.setMaximumWidth(320);
  style_.addItem(QString());
  style_.addItem(QString());
  // Modes 0 to 2 by default: the fundamental and the first two higher ones.
  modeCount_.setRange(1, kMostDisplayedModes);
  modeCount_.setValue(3);
  modeCountLabel_.setBuddy(&modeCount_);
  repick_.setEnabled(false);
  use_.setEnabled(false);
  retranslate();
  resize(1280, 640);

  connect(&open_, &QPushButton::clicked, this, [this] { chooseFiles(); });
  connect(&settingsButton_, &QPushButton::clicked, this, [this] { editSettings(); });
  connect(&offsets_, &QListWidget::currentRowChanged, this, [this](int row) { selectOffset(row); });
  connect(&style_, &QComboBox::currentIndexChanged, this, [this](int index) {
    gather_.setStyle(index == 1 ? GatherView::Style::variableDensity : GatherView::Style::wiggles);
  });
  connect(&modesShown_, &QCheckBox::toggled, this, [this] { refreshModes(); });
  connect(&modeCount_, &QSpinBox::valueChanged, this, [this] { refreshModes(); });
  connect(&image_, &DispersionImageView::picksEdited, this, [this] {
    refreshCurve();
    refreshOffsetLines();
  });
  connect(&repick_, &QPushButton::clicked, this, [this] {
    const int row = offsets_.currentRow();
    if (row < 0 || std::size_t(row) >= survey_.offsets.size()) return;
    OffsetResult& offset = survey_.offsets[std::size_t(row)];
    repickOffset(offset, settings_.request.picking);
    image_.showOffset(&offset, settings_.request.picking);
    refreshCurve();
    refreshOffsetLines();
  });
  connect(&use_, &QPushButton::clicked, this,
          [this] { Q_EMIT measuredCurveChosen(QString::fromStdString(curveTable()), name_); });
}

void ShotRecordsWindow::setModeSource(ModeSource source) {
  modeSource_ = std::move(source);
  refreshModes();
}

void ShotRecordsWindow::changeEvent(QEvent* event) {
  if (event->type() == QEvent::LanguageChange) retranslate();
  QWidget::changeEvent(event);
}

bool ShotRecordsWindow::event(QEvent* event) {
  // Back from the main window, whose model may have changed meanwhile.
  if (event->type() == QEvent::WindowActivate) refreshModes();
  return QWidget::event(event);
}

void ShotRecordsWindow::refreshModes() {
  modeCount_.setEnabled(modesShown_.isChecked());
  const int row = offsets_.currentRow();
  if (!modesShown_.isChecked() || !modeSource_ || row < 0 ||
      std::size_t(row) >= survey_.offsets.size()) {
    image_.showModeLines({});
    return;
  }
  const DispersionImage& image = survey_.offsets[std::size_t(row)].image;
  std::vector<double> frequencies(image.frequencyCount);
  for (std::size_t i = 0; i < frequencies.size(); ++i) frequencies[i] = image.grid.frequency.at(i);
  image_.showModeLines(modeSource_(frequencies, modeCount_.value()));
}

void ShotRecordsWindow::retranslate() {
  setWindowTitle(tr("地震记录"));
  open_.setText(tr("打开记录..."));
  settingsButton_.setText(tr("设置..."));
  repick_.setText(tr("自动拾取"));
  use_.setText(tr("用作实测曲线"));
  style_.setItemText(0, tr("波形"));
  style_.setItemText(1, tr("变密度"));
  modesShown_.setText(tr("叠加表中模型的模态"));
  modesShown_.setToolTip(
      tr("在频散图像上画出主窗口表中模型的瑞利波第 0 至 N−1 阶模态：实线为基阶，虚线为高阶，"
         "数字为阶数。"));
  modeCountLabel_.setText(tr("阶数 N："));
  gatherTitle_.setText(tr("炮集记录"));
  imageTitle_.setText(tr("频散图像（每个频率归一化）"));
  curveTitle_.setText(tr("综合曲线：均值 ± σ（各偏移距之间的离散）"));
  hint_.setText(
      tr("单击添加拾取点，拖动移动，右键或 Delete 删除；按住 Shift 拖出范围重新拾取。"
         "红点在阵列限制之外，不计入综合曲线。"));
  status_.setText(statusText_ ? statusText_() : QString());
  refreshOffsetLines();
}

void ShotRecordsWindow::chooseFiles() {
  const QStringList paths = QFileDialog::getOpenFileNames(
      this, tr("打开地震记录"), QString(),
      tr("地震记录 (*.sg2 *.seg2 *.dat *.sgy *.segy *.su);;所有文件 (*)"));
  if (!paths.isEmpty()) openRecords(paths);
}

bool ShotRecordsWindow::openRecords(const QStringList& paths) {
  auto records = std::make_shared<std::vector<ShotRecord>>();
  for (const QString& path : paths) {
    ShotRecord record;
    std::string error;
    if (!readRecordFile(path.toStdString(), record, error)) {
      messages_.showBox(error, kMessageCaption, MessageIcon::Warning);
      return false;
    }
    records->push_back(std::move(record));
  }
  MaswSettings settings = settingsAsked();
  const std::optional<double> interval = settings.geometry.sampleInterval
                                             ? settings.geometry.sampleInterval
                                             : longestSampleInterval(*records);
  if (interval) {
    EvenSteps& f = settings.request.image.grid.frequency;
    f.last = std::min(f.last, 0.8 * 0.5 / *interval);
  }
  // Placed here as well as on the analysis's thread, so that a record that
  // cannot be used is named before anything changes.
  PlacedRecords placed;
  std::string error;
  const std::vector<MaswSettingFault> faults = maswSettingFaults(settings, interval);
  if (!faults.empty()) {
    messages_.showBox(MaswSettingsDialog::faultText(faults.front()).toStdString(), kMessageCaption,
                      MessageIcon::Warning);
    return false;
  }
  if (!placeRecords(*records, settings, placed, error)) {
    messages_.showBox(error, kMessageCaption, MessageIcon::Warning);
    return false;
  }
  jobName_ = QFileInfo(paths.front()).dir().dirName() + QStringLiteral("_curve.csv");
  startAnalysis(std::move(records), settings, false);
  return true;
}

void ShotRecordsWindow::editSettings() {
  const std::optional<double> interval =
      records_ ? longestSampleInterval(*records_) : std::optional<double>();
  std::size_t traces = 0;
  if (records_) {
    for (const ShotRecord& record : *records_) traces = std::max(traces, record.traces.size());
  }
  MaswSettingsDialog dialog(settingsAsked(), interval, traces, this);
  if (dialog.exec() == QDialog::Accepted) applySettings(dialog.settings());
}

void ShotRecordsWindow::applySettings(const MaswSettings& settings) {
  // Records being opened are analysed anew by the new settings.
  if (job_ && jobRecords_ != records_) {
    startAnalysis(jobRecords_, settings, false);
    return;
  }
  const SettingsChange change = settingsChange(settings_, settings);
  if (change == SettingsChange::images || change == SettingsChange::geometry) {
    if (records_) {
      jobName_ = name_;
      startAnalysis(records_, settings, change == SettingsChange::images);
      return;
    }
    settings_ = settings;
    return;
  }
  // Nothing to compute anew on the images: an analysis still running is
  // of settings that are no longer asked for.
  job_.reset();
  settings_ = settings;
  if (change == SettingsChange::picking) {
    EditsCarried carried;
    for (OffsetResult& offset : survey_.offsets) {
      carried += repickKeepingEdits(offset, settings_.request.picking);
    }
    showEditsCarried(carried);
    selectOffset(offsets_.currentRow());
  }
  if (change != SettingsChange::none) {
    refreshCurve();
    refreshOffsetLines();
  }
}

void ShotRecordsWindow::startAnalysis(std::shared_ptr<const std::vector<ShotRecord>> records,
                                      const MaswSettings& settings, bool keepEdits) {
  job_.reset();  // cancels the one running and waits for its image
  jobSettings_ = settings;
  jobRecords_ = records;
  jobKeepsEdits_ = keepEdits;
  statusText_ = [] { return tr("正在计算频散图像……"); };
  status_.setText(statusText_());
  const unsigned threads = std::max(1u, std::thread::hardware_concurrency());
  // The callback runs on the analysis's thread; it only queues a call to
  // this window's, which Qt drops if the window is gone by then and which
  // passes over a job that was replaced meanwhile.
  const std::uint64_t generation = ++generation_;
  job_ = std::make_unique<BackgroundSurvey>(
      SurveyJob{std::move(records), settings, threads}, [this, generation] {
        QMetaObject::invokeMethod(
            this, [this, generation] { showAnalysis(generation); }, Qt::QueuedConnection);
      });
}

void ShotRecordsWindow::finishAnalysis() {
  if (!job_) return;
  job_->wait();
  showAnalysis(generation_);
}

void ShotRecordsWindow::showAnalysis(std::uint64_t generation) {
  if (!job_ || generation != generation_) return;
  job_->wait();  // its thread has nothing left to do
  std::optional<SurveyOutcome> outcome = job_->takeOutcome();
  job_.reset();
  if (!outcome) return;
  if (!outcome->error.empty()) {
    statusText_ = {};
    status_.clear();
    messages_.showBox(outcome->error, kMessageCaption, MessageIcon::Warning);
    return;
  }
  const int row = offsets_.currentRow();
  const bool sameRecords = jobRecords_ == records_;
  EditsCarried carried;
  if (jobKeepsEdits_) {
    carried = carryEdits(survey_, outcome->survey, jobSettings_.request.picking);
  } else if (sameRecords) {
    carried.dropped = editCount(survey_);
  }
  settings_ = jobSettings_;
  records_ = std::move(jobRecords_);
  gathers_ = std::move(outcome->placed.gathers);
  survey_ = std::move(outcome->survey);
  name_ = jobName_;
  if (sameRecords) {
    showEditsCarried(carried);
  } else {
    statusText_ = {};
    status_.clear();
  }
  showSurvey(sameRecords ? row : 0);
}

void ShotRecordsWindow::showEditsCarried(const EditsCarried& carried) {
  const auto kept = qulonglong(carried.kept);
  const auto dropped = qulonglong(carried.dropped);
  if (kept + dropped == 0) {
    statusText_ = [] { return tr("已按新的设置重新计算。"); };
  } else {
    statusText_ = [kept, dropped] {
      return tr("已按新的设置重新计算：保留了 %1 处手工编辑，%2 处无法保留。")
          .arg(kept)
          .arg(dropped);
    };
  }
  status_.setText(statusText_());
}

void ShotRecordsWindow::showSurvey(int row) {
  offsets_.blockSignals(true);
  offsets_.clear();
  for (std::size_t n = 0; n < survey_.offsets.size(); ++n) offsets_.addItem(QString());
  offsets_.blockSignals(false);
  refreshOffsetLines();
  refreshCurve();
  repick_.setEnabled(!survey_.offsets.empty());
  if (survey_.offsets.empty()) {
    row = -1;
  } else {
    row = std::clamp(row, 0, int(survey_.offsets.size()) - 1);
  }
  offsets_.setCurrentRow(row);
  selectOffset(row);
}

void ShotRecordsWindow::selectOffset(int row) {
  if (row < 0 || std::size_t(row) >= survey_.offsets.size()) {
    gather_.showGather(nullptr);
    image_.showOffset(nullptr, settings_.request.picking);
    refreshModes();
    return;
  }
  OffsetResult& offset = survey_.offsets[std::size_t(row)];
  gather_.showGather(&gathers_[offset.group.records.front()]);
  image_.showOffset(&offset, settings_.request.picking);
  refreshModes();
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
  survey_.curve = combineOffsets(offsetPicks(survey_.offsets), settings_.request.statistics);
  curve_.showCurve(survey_.curve);
  use_.setEnabled(!survey_.curve.empty());
}

std::string ShotRecordsWindow::curveTable() const {
  return curveTableText(survey_.curve, settings_.request.statistics.domain);
}

}  // namespace dispfit
