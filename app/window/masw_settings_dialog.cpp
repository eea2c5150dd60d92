// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/masw_settings_dialog.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QVBoxLayout>
#include <algorithm>
#include <memory>

#include "shots/shot_record.h"
#include "window/screen_placement.h"

namespace dispfit {

namespace {

// The dialog shows the sample interval in ms and the largest change in
// per cent; the settings hold s and a share.
constexpr double kMillisecondsPerSecond = 1000.0;
constexpr double kPercentPerShare = 100.0;

// Ranges wide enough that the settings' rule, not the field, refuses a
// value: every field reaches 0 (or below, where a sign means something).
constexpr double kFarthest = 100000.0;  // m, m/s, Hz
constexpr int kMostCount = 100000;

void setUp(QDoubleSpinBox& box, double lowest, double highest, int decimals,
           const QString& suffix) {
  box.setRange(lowest, highest);
  box.setDecimals(decimals);
  box.setSuffix(suffix);
  box.setMinimumWidth(110);
}

// Fields side by side in one row of a form.
QHBoxLayout* row(std::initializer_list<QWidget*> widgets) {
  auto line = std::make_unique<QHBoxLayout>();
  for (QWidget* widget : widgets) line->addWidget(widget);
  return line.release();  // the form takes it
}

std::optional<double> checkedValue(const QCheckBox& box, const QDoubleSpinBox& field) {
  return box.isChecked() ? std::optional<double>(field.value()) : std::nullopt;
}

void showOptional(QCheckBox& box, QDoubleSpinBox& field, const std::optional<double>& value) {
  box.setChecked(value.has_value());
  if (value) field.setValue(*value);
}

}  // namespace

MaswSettingsDialog::MaswSettingsDialog(const MaswSettings& settings,
                                       std::optional<double> recordedInterval,
                                       std::size_t traceCount, QWidget* parent)
    : QDialog(parent),
      given_(settings),
      recordedInterval_(recordedInterval),
      traceCount_(traceCount) {
  setWindowTitle(tr("地震记录设置"));
  const QString metres = QStringLiteral(" m");
  const QString hertz = QStringLiteral(" Hz");
  const QString speed = QStringLiteral(" m/s");
  const QString seconds = QStringLiteral(" s");
  // Positions to the millimetre, as field positions are written.
  for (QDoubleSpinBox* place : {&FirstReceiver, &Spacing, &Source}) {
    setUp(*place, -kFarthest, kFarthest, 3, metres);
  }
  setUp(SampleInterval, 0.0, 1000.0, 4, QStringLiteral(" ms"));
  for (QSpinBox* receiver : {&FirstKept, &LastKept}) receiver->setRange(0, kMostCount);
  // Frequencies to 0.001 Hz and velocities to 0.01 m/s: finer than the
  // steps any image takes.
  for (QDoubleSpinBox* f : {&LowestFrequency, &HighestFrequency, &FrequencyStep, &SeedFrequency}) {
    setUp(*f, 0.0, kFarthest, 3, hertz);
  }
  for (QDoubleSpinBox* v : {&LowestVelocity, &HighestVelocity, &VelocityStep, &PickLowest,
                            &PickHighest, &SeedVelocity, &MuteFast, &MuteSlow}) {
    setUp(*v, 0.0, kFarthest, 2, speed);
  }
  // Times to the millisecond, before the shot too.
  for (QDoubleSpinBox* t : {&WindowStart, &WindowEnd}) setUp(*t, -100.0, 1000.0, 3, seconds);
  setUp(LargestChange, 0.0, 100.0, 1, QStringLiteral(" %"));
  LeastOffsets.setRange(0, kMostCount);
  BinsPerDecade.setRange(0, kMostCount);
  Transform.addItems({tr("相移法"), tr("频率域波束形成（柱面波）")});

  PlaceReceivers.setText(tr("接收点位置"));
  PlaceSource.setText(tr("震源位置"));
  SetSampleInterval.setText(tr("采样间隔"));
  KeepReceivers.setText(tr("只用接收点：从、到"));
  UseWindow.setText(tr("时间窗"));
  UseMute.setText(tr("随距离移动的切除"));
  LimitPickVelocities.setText(tr("拾取速度范围"));
  UseSeed.setText(tr("起始点"));
  ByWavelength.setText(tr("按对数波长分组"));
  geometryBox_.setTitle(tr("几何"));
  imageBox_.setTitle(tr("频散图像"));
  pickingBox_.setTitle(tr("拾取与统计"));
  geometryNote_.setText(tr("不选时使用文件中的几何。"));
  receiversNote_.setText(tr("第 1 个接收点的位置，道间距"));
  muteNote_.setText(tr("距离 r 处的时间窗：从 T0 + r/V快 到 T1 + r/V慢"));
  binsNote_.setText(tr("每十倍波长的分组数；不选时按频率统计"));
  Faults.setWordWrap(true);
  Faults.setStyleSheet(QStringLiteral("color: #b00020;"));

  auto geometry = std::make_unique<QFormLayout>();
  geometry->addRow(&geometryNote_);
  geometry->addRow(&PlaceReceivers, row({&FirstReceiver, &Spacing}));
  geometry->addRow(QString(), &receiversNote_);
  geometry->addRow(&PlaceSource, &Source);
  geometry->addRow(&SetSampleInterval, &SampleInterval);
  geometry->addRow(&KeepReceivers, row({&FirstKept, &LastKept}));
  auto image = std::make_unique<QFormLayout>();
  image->addRow(tr("频率：最低、最高、步长"),
                row({&LowestFrequency, &HighestFrequency, &FrequencyStep}));
  image->addRow(tr("相速度：最低、最高、步长"),
                row({&LowestVelocity, &HighestVelocity, &VelocityStep}));
  image->addRow(tr("变换"), &Transform);
  image->addRow(&UseWindow, row({&WindowStart, &WindowEnd}));
  image->addRow(&UseMute, row({&MuteFast, &MuteSlow}));
  image->addRow(QString(), &muteNote_);
  auto picking = std::make_unique<QFormLayout>();
  picking->addRow(&LimitPickVelocities, row({&PickLowest, &PickHighest}));
  picking->addRow(tr("相邻频率间速度的最大变化"), &LargestChange);
  picking->addRow(&UseSeed, row({&SeedFrequency, &SeedVelocity}));
  picking->addRow(tr("每点至少出现在几个偏移距"), &LeastOffsets);
  picking->addRow(&ByWavelength, &BinsPerDecade);
  picking->addRow(QString(), &binsNote_);

  auto page = std::make_unique<QWidget>();
  auto columns = std::make_unique<QHBoxLayout>();
  auto left = std::make_unique<QVBoxLayout>();
  geometryBox_.setLayout(geometry.release());  // each box owns its form
  pickingBox_.setLayout(picking.release());
  imageBox_.setLayout(image.release());
  left->addWidget(&geometryBox_);
  left->addWidget(&pickingBox_);
  left->addStretch(1);
  columns->addLayout(left.release());
  auto right = std::make_unique<QVBoxLayout>();
  right->addWidget(&imageBox_);
  right->addStretch(1);
  columns->addLayout(right.release());
  columns->setContentsMargins(0, 0, 0, 0);
  columns_ = columns.get();
  page->setLayout(columns.release());  // the page owns its layout
  scroll_.setWidget(page.release());   // the scroll area owns the page
  scroll_.setWidgetResizable(true);
  scroll_.setFrameShape(QFrame::NoFrame);
  scroll_.setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContents);
  auto layout = std::make_unique<QVBoxLayout>();
  layout->addWidget(&scroll_, 1);
  layout->addWidget(&Faults);
  layout->addWidget(&Buttons);
  setLayout(layout.release());  // the dialog owns its layout

  connect(&Buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(&Buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(Buttons.button(QDialogButtonBox::RestoreDefaults), &QPushButton::clicked, this,
          [this] { showSettings(defaultMaswSettings()); });
  for (QCheckBox* box : {&PlaceReceivers, &PlaceSource, &SetSampleInterval, &KeepReceivers,
                         &UseWindow, &UseMute, &LimitPickVelocities, &UseSeed, &ByWavelength}) {
    connect(box, &QCheckBox::toggled, this, [this] { refresh(); });
  }
  for (QDoubleSpinBox* field :
       {&FirstReceiver, &Spacing, &Source, &SampleInterval, &LowestFrequency, &HighestFrequency,
        &FrequencyStep, &LowestVelocity, &HighestVelocity, &VelocityStep, &WindowStart, &WindowEnd,
        &MuteFast, &MuteSlow, &PickLowest, &PickHighest, &LargestChange, &SeedFrequency,
        &SeedVelocity}) {
    connect(field, &QDoubleSpinBox::valueChanged, this, [this] { refresh(); });
  }
  for (QSpinBox* field : {&FirstKept, &LastKept, &LeastOffsets, &BinsPerDecade}) {
    connect(field, &QSpinBox::valueChanged, this, [this] { refresh(); });
  }
  showSettings(settings);
  fitToScreen();
}

QSize MaswSettingsDialog::wholeSize() const {
  const QMargins margins = layout()->contentsMargins();
  const int spacing = layout()->spacing();
  const QSize page = scroll_.widget()->sizeHint();
  QSize whole =
      page +
      QSize(margins.left() + margins.right() + scroll_.verticalScrollBar()->sizeHint().width(),
            margins.top() + margins.bottom() + spacing + Buttons.sizeHint().height());
  // The faults' lines, as wrapped across the page, while there are any.
  if (!Faults.isHidden()) whole.rheight() += spacing + Faults.heightForWidth(page.width());
  return whole;
}

QSize MaswSettingsDialog::sizeHint() const {
  const QSize wanted = wholeSize();
  const QScreen* shownOn = screen();
  if (shownOn == nullptr) return wanted;
  return wanted.boundedTo(shownOn->availableGeometry().size() - kFrameAllowance);
}

bool MaswSettingsDialog::stacked() const {
  return columns_->direction() == QBoxLayout::TopToBottom;
}

void MaswSettingsDialog::fitToScreen() {
  const auto relayOut = [this] {
    columns_->invalidate();
    columns_->activate();
  };
  columns_->setDirection(QBoxLayout::LeftToRight);
  relayOut();
  if (const QScreen* shownOn = screen()) {
    const int room = shownOn->availableGeometry().width() - kFrameAllowance.width();
    if (wholeSize().width() > room) {
      columns_->setDirection(QBoxLayout::TopToBottom);
      relayOut();
    }
  }
  // Neither the two thirds of the screen a window is held to by default
  // nor a dialog's first size, which can exceed a small screen.
  resize(sizeHint());
}

void MaswSettingsDialog::showSettings(const MaswSettings& settings) {
  // Values a box leaves unset show a value to start from when it is set.
  const GeometryOverrides& geometry = settings.geometry;
  PlaceReceivers.setChecked(geometry.firstReceiver.has_value() || geometry.spacing.has_value());
  FirstReceiver.setValue(geometry.firstReceiver.value_or(0.0));
  Spacing.setValue(geometry.spacing.value_or(1.0));
  showOptional(PlaceSource, Source, geometry.source);
  SetSampleInterval.setChecked(geometry.sampleInterval.has_value());
  SampleInterval.setValue(geometry.sampleInterval.value_or(recordedInterval_.value_or(0.001)) *
                          kMillisecondsPerSecond);
  KeepReceivers.setChecked(geometry.receivers.has_value());
  FirstKept.setValue(int(geometry.receivers ? geometry.receivers->first : 1));
  LastKept.setValue(
      int(geometry.receivers ? geometry.receivers->second : std::max<std::size_t>(traceCount_, 2)));

  const ImageRequest& image = settings.request.image;
  LowestFrequency.setValue(image.grid.frequency.first);
  HighestFrequency.setValue(image.grid.frequency.last);
  FrequencyStep.setValue(image.grid.frequency.step);
  LowestVelocity.setValue(image.grid.velocity.first);
  HighestVelocity.setValue(image.grid.velocity.last);
  VelocityStep.setValue(image.grid.velocity.step);
  Transform.setCurrentIndex(image.transform == ImageTransform::phaseShift ? 0 : 1);
  UseWindow.setChecked(image.window.start.has_value() || image.window.end.has_value());
  WindowStart.setValue(image.window.start.value_or(0.0));
  WindowEnd.setValue(image.window.end.value_or(1.0));
  UseMute.setChecked(image.window.fastVelocity.has_value() ||
                     image.window.slowVelocity.has_value());
  MuteFast.setValue(image.window.fastVelocity.value_or(1000.0));
  MuteSlow.setValue(image.window.slowVelocity.value_or(100.0));

  const PickingRules& rules = settings.request.picking;
  LimitPickVelocities.setChecked(rules.lowestVelocity.has_value() ||
                                 rules.highestVelocity.has_value());
  PickLowest.setValue(rules.lowestVelocity.value_or(image.grid.velocity.first));
  PickHighest.setValue(rules.highestVelocity.value_or(image.grid.velocity.last));
  LargestChange.setValue(rules.largestChange * kPercentPerShare);
  UseSeed.setChecked(rules.seed.has_value());
  SeedFrequency.setValue(rules.seed
                             ? rules.seed->frequency
                             : 0.5 * (image.grid.frequency.first + image.grid.frequency.last));
  SeedVelocity.setValue(rules.seed ? rules.seed->velocity
                                   : 0.5 * (image.grid.velocity.first + image.grid.velocity.last));
  const StatisticsRules& statistics = settings.request.statistics;
  LeastOffsets.setValue(int(statistics.leastOffsets));
  ByWavelength.setChecked(statistics.domain == StatisticsDomain::logWavelength);
  BinsPerDecade.setValue(int(statistics.binsPerDecade));
  refresh();
}

MaswSettings MaswSettingsDialog::settings() const {
  MaswSettings settings = given_;
  GeometryOverrides& geometry = settings.geometry;
  geometry.firstReceiver = checkedValue(PlaceReceivers, FirstReceiver);
  geometry.spacing = checkedValue(PlaceReceivers, Spacing);
  geometry.source = checkedValue(PlaceSource, Source);
  geometry.sampleInterval =
      SetSampleInterval.isChecked()
          ? std::optional<double>(SampleInterval.value() / kMillisecondsPerSecond)
          : std::nullopt;
  geometry.receivers.reset();
  if (KeepReceivers.isChecked()) {
    geometry.receivers = {std::size_t(FirstKept.value()), std::size_t(LastKept.value())};
  }

  ImageRequest& image = settings.request.image;
  image.grid.frequency = {LowestFrequency.value(), HighestFrequency.value(), FrequencyStep.value()};
  image.grid.velocity = {LowestVelocity.value(), HighestVelocity.value(), VelocityStep.value()};
  image.transform =
      Transform.currentIndex() == 0 ? ImageTransform::phaseShift : ImageTransform::beamformer;
  image.window.start = checkedValue(UseWindow, WindowStart);
  image.window.end = checkedValue(UseWindow, WindowEnd);
  image.window.fastVelocity = checkedValue(UseMute, MuteFast);
  image.window.slowVelocity = checkedValue(UseMute, MuteSlow);

  PickingRules& rules = settings.request.picking;
  rules.lowestVelocity = checkedValue(LimitPickVelocities, PickLowest);
  rules.highestVelocity = checkedValue(LimitPickVelocities, PickHighest);
  rules.largestChange = LargestChange.value() / kPercentPerShare;
  rules.seed.reset();
  if (UseSeed.isChecked()) rules.seed = SeedPoint{SeedFrequency.value(), SeedVelocity.value()};
  StatisticsRules& statistics = settings.request.statistics;
  statistics.leastOffsets = std::size_t(LeastOffsets.value());
  statistics.domain =
      ByWavelength.isChecked() ? StatisticsDomain::logWavelength : StatisticsDomain::frequency;
  statistics.binsPerDecade = std::size_t(BinsPerDecade.value());
  return completedSettings(settings);
}

void MaswSettingsDialog::refresh() {
  FirstReceiver.setEnabled(PlaceReceivers.isChecked());
  Spacing.setEnabled(PlaceReceivers.isChecked());
  Source.setEnabled(PlaceSource.isChecked());
  SampleInterval.setEnabled(SetSampleInterval.isChecked());
  FirstKept.setEnabled(KeepReceivers.isChecked());
  LastKept.setEnabled(KeepReceivers.isChecked());
  WindowStart.setEnabled(UseWindow.isChecked());
  WindowEnd.setEnabled(UseWindow.isChecked());
  MuteFast.setEnabled(UseMute.isChecked());
  MuteSlow.setEnabled(UseMute.isChecked());
  PickLowest.setEnabled(LimitPickVelocities.isChecked());
  PickHighest.setEnabled(LimitPickVelocities.isChecked());
  SeedFrequency.setEnabled(UseSeed.isChecked());
  SeedVelocity.setEnabled(UseSeed.isChecked());
  BinsPerDecade.setEnabled(ByWavelength.isChecked());

  QStringList lines;
  for (const MaswSettingFault fault : maswSettingFaults(settings(), recordedInterval_)) {
    lines << faultText(fault);
  }
  Faults.setText(lines.join(QLatin1Char('\n')));
  Faults.setVisible(!lines.isEmpty());
  Buttons.button(QDialogButtonBox::Ok)->setEnabled(lines.isEmpty());
  // Taller by the faults' lines where the screen has the room, so that
  // the groups do not start to scroll; never smaller, which would move
  // the fields under the user's hand.
  if (sizeHint().height() > height()) resize(width(), sizeHint().height());
}

QString MaswSettingsDialog::faultText(MaswSettingFault fault) {
  using Fault = MaswSettingFault;
  switch (fault) {
    case Fault::lowestFrequency:
      return tr("最低频率必须大于 0。");
    case Fault::frequencyStep:
      return tr("频率步长必须大于 0。");
    case Fault::frequencyOrder:
      return tr("最低频率必须低于最高频率。");
    case Fault::frequencyCells:
      return tr("频率步长太小：从最低到最高超过 %1 步。").arg(int(kMostImageSteps));
    case Fault::lowestVelocity:
      return tr("最低相速度必须大于 0。");
    case Fault::velocityStep:
      return tr("相速度步长必须大于 0。");
    case Fault::velocityOrder:
      return tr("最低相速度必须低于最高相速度。");
    case Fault::velocityCells:
      return tr("相速度步长太小：从最低到最高超过 %1 步。").arg(int(kMostImageSteps));
    case Fault::aboveNyquist:
      return tr("最高频率必须低于记录的奈奎斯特频率（采样间隔的倒数的一半）。");
    case Fault::windowOrder:
      return tr("时间窗的起点必须早于终点。");
    case Fault::muteVelocity:
      return tr("切除的两个速度必须大于 0。");
    case Fault::muteOrder:
      return tr("切除的前沿速度必须大于后沿速度。");
    case Fault::muteWithoutWindow:
      return tr("切除移动的是时间窗的两端：请同时选择时间窗。");
    case Fault::receiverPlaces:
      return tr("第 1 个接收点的位置和道间距须一起给出。");
    case Fault::receiverSpacing:
      return tr("道间距不能为 0。");
    case Fault::sampleInterval:
      return tr("采样间隔必须大于 0。");
    case Fault::receiverRange:
      return tr("接收点范围：从 1 到 %1，起点在终点之前。").arg(int(kMostRecordTraces));
    case Fault::leastOffsets:
      return tr("每点至少出现的偏移距数须为 2 到 %1。").arg(int(kMostSettingCount));
    case Fault::binsPerDecade:
      return tr("每十倍波长的分组数须为 1 到 %1。").arg(int(kMostSettingCount));
    case Fault::pickVelocityOrder:
      return tr("拾取速度范围的下限必须低于上限。");
    case Fault::pickVelocitiesOutside:
      return tr("拾取速度范围在图像的相速度之外。");
    case Fault::seedOutside:
      return tr("起始点在图像之外。");
    case Fault::largestChange:
      return tr("最大变化须大于 0 % 且小于 100 %。");
  }
  return {};
}

}  // namespace dispfit
