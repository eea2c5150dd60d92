// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/global_search_dialog.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <algorithm>
#include <limits>
#include <memory>
#include <optional>

#include "core/model_table.h"
#include "search/search_ranges_text.h"
#include "window/screen_placement.h"
#include "window/window_style.h"

namespace dispfit {

namespace {

// Two fields side by side in one row of the form, "low – high".
std::unique_ptr<QHBoxLayout> pair(QWidget& low, QWidget& high) {
  auto row = std::make_unique<QHBoxLayout>();
  row->addWidget(&low);
  row->addWidget(&high);
  return row;
}

const char* const kColumnNames[kRangeColumns] = {
    QT_TRANSLATE_NOOP("dispfit::GlobalSearchDialog", "Vs 下限 (m/s)"),
    QT_TRANSLATE_NOOP("dispfit::GlobalSearchDialog", "Vs 上限 (m/s)"),
    QT_TRANSLATE_NOOP("dispfit::GlobalSearchDialog", "h 下限 (m)"),
    QT_TRANSLATE_NOOP("dispfit::GlobalSearchDialog", "h 上限 (m)"),
    QT_TRANSLATE_NOOP("dispfit::GlobalSearchDialog", "密度 (g/cm³)")};

// A half-space's thickness cell: no number, as its thickness is not used.
const QString kNotUsed = QStringLiteral("—");

// The table shows a few layers before it scrolls; the two columns of the
// form stand apart (pixels).
constexpr int kTableLeastHeight = 150;
// On a narrow screen the table keeps room for its layer numbers and two
// or three columns.
constexpr int kTableLeastWidth = 240;
constexpr int kColumnGap = 16;

}  // namespace

GlobalSearchDialog::GlobalSearchDialog(const SearchRequest& request, FileChooser& files,
                                       MessagePresenter& messages, QWidget* parent)
    : QDialog(parent), files_(files), messages_(messages) {
  setWindowTitle(tr("全局搜索"));
  setUpFields();
  setUpTable();
  layOut();
  connectFields();
  showRequest(request);
  fitToForm();
}

void GlobalSearchDialog::fitToForm() {
  // The form's layout asked again each time: the table's width changes what
  // it answers.
  QLayout* form = Scroll.widget()->layout();
  const auto relayOut = [form] {
    form->invalidate();
    form->activate();
  };
  LayerTable.setMinimumWidth(wholeTableWidth_);
  relayOut();
  if (const QScreen* shownOn = screen()) {
    const int excess =
        wholeSize().width() - (shownOn->availableGeometry().width() - kFrameAllowance.width());
    if (excess > 0) {
      LayerTable.setMinimumWidth(std::max(kTableLeastWidth, wholeTableWidth_ - excess));
      relayOut();
    }
  }
  // Not the two thirds of the screen a window is held to by default.
  resize(size().expandedTo(sizeHint()));
}

void GlobalSearchDialog::setUpFields() {
  Method.addItems({tr("最佳拟合搜索"), tr("后验分布（可信区间、场地类别概率）")});
  Layers.setRange(1, static_cast<int>(kMostSearchLayers));
  FewestLayers.setRange(1, static_cast<int>(kMostSearchLayers));
  FewestLayers.setToolTip(tr("少于层数时层数也被抽样"));
  // Velocities to 0.1 m/s and thicknesses to 0.01 m, as in the inversion
  // settings.
  for (QDoubleSpinBox* velocity : {&VsLow, &VsHigh, &FixedVp}) {
    velocity->setRange(0.1, kVelocityLimit - 0.1);
    velocity->setDecimals(1);
    velocity->setSuffix(QStringLiteral(" m/s"));
  }
  for (QDoubleSpinBox* depth : {&ThicknessLow, &ThicknessHigh, &WaterTable}) {
    depth->setRange(0.01, 1000.0);
    depth->setDecimals(2);
    depth->setSuffix(QStringLiteral(" m"));
  }
  // Poisson's ratio below 0.5, three decimals: 0.499 is already Vp = 22 Vs.
  for (QDoubleSpinBox* ratio : {&PoissonLow, &PoissonHigh}) {
    ratio->setRange(0.0, 0.499);
    ratio->setDecimals(3);
    ratio->setSingleStep(0.01);
  }
  Density.setRange(0.01, 10.0);
  Density.setDecimals(2);
  Density.setSuffix(QStringLiteral(" g/cm³"));
  VpRule.addItems({tr("Vp = 3 Vs"), tr("固定 Vp"), tr("泊松比范围")});
  HasWaterTable.setText(tr("地下水位"));
  Increasing.setText(tr("Vs 不随深度减小"));
  Models.setRange(1, std::numeric_limits<int>::max());
  Models.setGroupSeparatorShown(true);
  Samples.setRange(1, std::numeric_limits<int>::max());
  Samples.setGroupSeparatorShown(true);
  PosteriorObserved.setText(tr("后验按地表可观测基阶取样"));
  PosteriorObserved.setToolTip(
      tr("后验的模型曲线取地表台阵记录的模态（默认）；不勾选则取最低根：约快 10 "
         "倍，但可能以地表记录不到的深部陷波模态拟合曲线"));
  Seed.setRange(0, std::numeric_limits<int>::max());
  Threshold.setRange(0.01, 100.0);
  Threshold.setDecimals(2);
  Factor.setRange(1.0, 100.0);
  Factor.setDecimals(2);
  Factor.setSingleStep(0.05);
}

void GlobalSearchDialog::setUpTable() {
  LayerTable.setColumnCount(kRangeColumns);
  QStringList headers;
  for (const char* name : kColumnNames) headers << tr(name);
  LayerTable.setHorizontalHeaderLabels(headers);
  LayerTable.horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
  LayerTable.setMinimumHeight(kTableLeastHeight);
  FillLayers.setText(tr("统一范围填入各层"));
  ReadRanges.setText(tr("从文件读取…"));
  PerLayerNote.setText(tr("各层保留文件中自己的 Vp 或泊松比范围。"));
  PerLayerNote.setWordWrap(true);
  PerLayerNote.setVisible(false);
}

void GlobalSearchDialog::layOut() {
  auto ranges = std::make_unique<QFormLayout>();
  ranges->addRow(tr("方法"), &Method);
  ranges->addRow(tr("层数，含半空间"), &Layers);
  ranges->addRow(tr("后验：最少层数"), &FewestLayers);
  ranges->addRow(tr("Vs 范围"), pair(VsLow, VsHigh).release());
  ranges->addRow(tr("厚度范围"), pair(ThicknessLow, ThicknessHigh).release());
  ranges->addRow(tr("密度"), &Density);
  auto tableButtons = std::make_unique<QHBoxLayout>();
  tableButtons->addWidget(&FillLayers);
  tableButtons->addWidget(&ReadRanges);
  ranges->addRow(tr("各层范围"), tableButtons.release());
  ranges->addRow(&LayerTable);
  ranges->addRow(&PerLayerNote);
  auto rules = std::make_unique<QFormLayout>();
  rules->addRow(tr("纵波速度"), &VpRule);
  rules->addRow(tr("固定 Vp"), &FixedVp);
  rules->addRow(tr("泊松比"), pair(PoissonLow, PoissonHigh).release());
  rules->addRow(&HasWaterTable, &WaterTable);
  rules->addRow(&Increasing);
  rules->addRow(tr("模型数"), &Models);
  rules->addRow(tr("后验：样本数"), &Samples);
  rules->addRow(&PosteriorObserved);
  rules->addRow(tr("随机种子"), &Seed);
  rules->addRow(tr("接受：归一化拟合差不大于"), &Threshold);
  rules->addRow(tr("接受：拟合差 (m/s) 不大于最佳的倍数"), &Factor);

  auto content = std::make_unique<QWidget>();
  auto columns = std::make_unique<QHBoxLayout>(content.get());  // owned by the content
  columns->addLayout(ranges.release(), 1);  // the table takes what the window gains
  columns->addSpacing(kColumnGap);
  columns->addLayout(rules.release());
  columns.release();
  Scroll.setWidget(content.release());  // the scroll area owns the content
  Scroll.setWidgetResizable(true);
  Scroll.setFrameShape(QFrame::NoFrame);
  // As large as the form needs, as far as the screen allows; beyond that
  // the form scrolls and the buttons stay in view.
  Scroll.setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContents);

  auto dialog = std::make_unique<QVBoxLayout>();
  dialog->addWidget(&Scroll, 1);
  dialog->addWidget(&Buttons);
  setLayout(dialog.release());  // the dialog owns its layout and the nested ones
}

QSize GlobalSearchDialog::wholeSize() const {
  const QMargins margins = layout()->contentsMargins();
  return Scroll.widget()->sizeHint() +
         QSize(
             margins.left() + margins.right() + Scroll.verticalScrollBar()->sizeHint().width(),
             margins.top() + margins.bottom() + layout()->spacing() + Buttons.sizeHint().height());
}

QSize GlobalSearchDialog::sizeHint() const {
  const QSize wanted = wholeSize();
  const QScreen* shownOn = screen();
  if (shownOn == nullptr) return wanted;
  return wanted.boundedTo(shownOn->availableGeometry().size() - kFrameAllowance);
}

void GlobalSearchDialog::connectFields() {
  connect(&Buttons, &QDialogButtonBox::accepted, this, [this] { acceptIfTableReads(); });
  connect(&Buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(Buttons.button(QDialogButtonBox::RestoreDefaults), &QPushButton::clicked, this, [this] {
    SearchRequest defaults;
    defaults.layers = Layers.value();  // the table's count stays offered
    defaults.method = static_cast<SearchMethod>(Method.currentIndex());  // and the method
    showRequest(defaults);
  });
  connect(&VpRule, &QComboBox::currentIndexChanged, this, [this] { enableDependentFields(); });
  connect(&Method, &QComboBox::currentIndexChanged, this, [this] { enableDependentFields(); });
  connect(&HasWaterTable, &QCheckBox::toggled, this, [this] { enableDependentFields(); });
  // The table follows the uniform fields until a cell is edited or a file
  // read; then only the layer count changes it, until 统一范围填入各层.
  for (QDoubleSpinBox* uniform : {&VsLow, &VsHigh, &ThicknessLow, &ThicknessHigh, &Density}) {
    connect(uniform, &QDoubleSpinBox::valueChanged, this, [this] {
      if (!tableEdited_ && !filling_) fillTableFromUniform();
    });
  }
  connect(&Layers, &QSpinBox::valueChanged, this, [this] {
    FewestLayers.setMaximum(Layers.value());
    if (filling_) return;
    if (tableEdited_) {
      resizeTable();
    } else {
      fillTableFromUniform();
    }
  });
  connect(&LayerTable, &QTableWidget::itemChanged, this, [this] {
    if (!filling_) tableEdited_ = true;
  });
  connect(&FillLayers, &QPushButton::clicked, this, [this] {
    tableEdited_ = false;
    fillTableFromUniform();
  });
  connect(&ReadRanges, &QPushButton::clicked, this, [this] { readRangesFile(); });
}

void GlobalSearchDialog::showRequest(const SearchRequest& request) {
  Method.setCurrentIndex(static_cast<int>(request.method));
  Layers.setValue(request.layers);
  FewestLayers.setMaximum(request.layers);
  FewestLayers.setValue(request.fewestLayers == 0 ? request.layers : request.fewestLayers);
  Samples.setValue(
      static_cast<int>(std::min<std::int64_t>(request.samples, std::numeric_limits<int>::max())));
  VsLow.setValue(request.vs.low);
  VsHigh.setValue(request.vs.high);
  ThicknessLow.setValue(request.thickness.low);
  ThicknessHigh.setValue(request.thickness.high);
  VpRule.setCurrentIndex(static_cast<int>(request.vpRule));
  FixedVp.setValue(request.fixedVp);
  PoissonLow.setValue(request.poisson.low);
  PoissonHigh.setValue(request.poisson.high);
  HasWaterTable.setChecked(request.waterTable.has_value());
  WaterTable.setValue(request.waterTable.value_or(WaterTable.value()));
  Density.setValue(request.density);
  Increasing.setChecked(request.increasing);
  PosteriorObserved.setChecked(request.posteriorObserved);
  Models.setValue(
      static_cast<int>(std::min<std::int64_t>(request.models, std::numeric_limits<int>::max())));
  Seed.setValue(
      static_cast<int>(std::min<std::uint64_t>(request.seed, std::numeric_limits<int>::max())));
  Threshold.setValue(request.acceptance.threshold);
  Factor.setValue(request.acceptance.factor);
  if (request.layerRanges.empty()) {
    tableEdited_ = false;
    fillTableFromUniform();
  } else {
    showLayerRanges(request.layerRanges);
    ownPVelocity_.clear();
    const bool own = std::any_of(request.layerRanges.begin(), request.layerRanges.end(),
                                 [](const LayerRanges& l) { return l.vp || l.poisson; });
    if (own) ownPVelocity_ = request.layerRanges;
    PerLayerNote.setVisible(own);
    Layers.setValue(request.layers);  // a count offered apart from the ranges': the table resized
  }
  enableDependentFields();
}

RangeRow GlobalSearchDialog::uniformRow() const {
  return uniformRangeRow({VsLow.value(), VsHigh.value()},
                         {ThicknessLow.value(), ThicknessHigh.value()}, Density.value());
}

std::vector<RangeRow> GlobalSearchDialog::tableRows() const {
  std::vector<RangeRow> rows(static_cast<std::size_t>(LayerTable.rowCount()));
  for (int r = 0; r < LayerTable.rowCount(); ++r) {
    for (int c = 0; c < kRangeColumns; ++c) {
      const QTableWidgetItem* item = LayerTable.item(r, c);
      rows[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)] =
          item ? item->text().toStdString() : std::string();
    }
  }
  return rows;
}

void GlobalSearchDialog::setTableRows(const std::vector<RangeRow>& rows) {
  filling_ = true;
  LayerTable.setRowCount(static_cast<int>(rows.size()));
  for (std::size_t r = 0; r < rows.size(); ++r) {
    for (std::size_t c = 0; c < kRangeColumns; ++c) {
      LayerTable.setItem(  // the table owns its items
          static_cast<int>(r), static_cast<int>(c),
          std::make_unique<QTableWidgetItem>(QString::fromStdString(rows[r][c])).release());
    }
  }
  markHalfSpace();
  // Every column whole: the table at least as wide as its columns (a size
  // hint of a scroll area stops at a few dozen characters).
  LayerTable.resizeColumnsToContents();
  wholeTableWidth_ = LayerTable.verticalHeader()->sizeHint().width() +
                     LayerTable.horizontalHeader()->length() + 2 * LayerTable.frameWidth() +
                     LayerTable.verticalScrollBar()->sizeHint().width();
  LayerTable.setMinimumWidth(wholeTableWidth_);
  filling_ = false;
}

void GlobalSearchDialog::fillTableFromUniform() {
  setTableRows(std::vector<RangeRow>(static_cast<std::size_t>(Layers.value()), uniformRow()));
  ownPVelocity_.clear();
  PerLayerNote.setVisible(false);
}

void GlobalSearchDialog::resizeTable() {
  setTableRows(resizeRangeRows(tableRows(), Layers.value(), uniformRow()));
  ownPVelocity_.clear();  // they no longer line up with the layers
  PerLayerNote.setVisible(false);
}

void GlobalSearchDialog::showLayerRanges(const std::vector<LayerRanges>& layers) {
  std::vector<RangeRow> rows;
  for (const LayerRanges& layer : layers) rows.push_back(rangeRow(layer));
  filling_ = true;
  Layers.setValue(static_cast<int>(layers.size()));
  filling_ = false;
  setTableRows(rows);
  tableEdited_ = true;
}

void GlobalSearchDialog::showPVelocityRules(const std::vector<LayerRanges>& layers) {
  ownPVelocity_.clear();
  if (const std::optional<SharedPVelocity> shared = sharedPVelocity(layers)) {
    VpRule.setCurrentIndex(static_cast<int>(shared->rule));
    if (shared->rule == PVelocityRule::Fixed) FixedVp.setValue(shared->fixedVp);
    if (shared->rule == PVelocityRule::PoissonRange) {
      PoissonLow.setValue(shared->poisson.low);
      PoissonHigh.setValue(shared->poisson.high);
    }
  } else {
    ownPVelocity_ = layers;
  }
  PerLayerNote.setVisible(!ownPVelocity_.empty());
}

void GlobalSearchDialog::markHalfSpace() {
  const int last = LayerTable.rowCount() - 1;
  for (int r = 0; r <= last; ++r) {
    const bool halfSpace = r == last;
    LayerTable.setVerticalHeaderItem(  // the table owns its items
        r, std::make_unique<QTableWidgetItem>(halfSpace ? tr("%1 半空间").arg(r + 1)
                                                        : QString::number(r + 1))
               .release());
    for (int c = 0; c < kRangeColumns; ++c) {
      QTableWidgetItem* item = LayerTable.item(r, c);
      item->setBackground(halfSpace ? kHalfSpaceTint : QBrush());
      if (halfSpace && (c == HMin || c == HMax)) {
        item->setText(kNotUsed);
        item->setFlags(item->flags() & ~Qt::ItemIsEditable);
        item->setForeground(palette().placeholderText());
        item->setToolTip(tr("半空间的厚度不参与计算。"));
      }
    }
  }
}

std::string GlobalSearchDialog::tableFault() const {
  const RangeTableReading reading = readRangeRows(tableRows());
  if (reading.layers) return {};
  return tr("第 %1 层 %2：「%3」不是数字，小数点请用英文句点“.”。")
      .arg(reading.bad.layer)
      .arg(tr(kColumnNames[reading.bad.column]), QString::fromStdString(reading.bad.text))
      .toStdString();
}

bool GlobalSearchDialog::readRangesFile() {
  const QString path =
      files_.fileToOpen(this, tr("读取搜索范围"), tr("范围文件 (*.csv *.txt);;所有文件 (*)"));
  if (path.isEmpty()) return false;
  const RangesReading reading = readSearchRangesFile(path.toStdString());
  if (!reading.layers) {
    messages_.showBox(reading.error, kMessageCaption, MessageIcon::Warning);
    return false;
  }
  showLayerRanges(*reading.layers);
  showPVelocityRules(*reading.layers);
  fitToForm();  // wider cells shown whole, within the screen
  return true;
}

void GlobalSearchDialog::acceptIfTableReads() {
  const std::string fault = tableFault();
  if (!fault.empty()) {
    messages_.showBox(fault, kMessageCaption, MessageIcon::Warning);
    return;
  }
  accept();
}

void GlobalSearchDialog::enableDependentFields() {
  FixedVp.setEnabled(VpRule.currentIndex() == static_cast<int>(PVelocityRule::Fixed));
  const bool poisson = VpRule.currentIndex() == static_cast<int>(PVelocityRule::PoissonRange);
  PoissonLow.setEnabled(poisson);
  PoissonHigh.setEnabled(poisson);
  WaterTable.setEnabled(HasWaterTable.isChecked());
  const bool posterior = Method.currentIndex() == static_cast<int>(SearchMethod::Posterior);
  FewestLayers.setEnabled(posterior);
  Samples.setEnabled(posterior);
  PosteriorObserved.setEnabled(posterior);
  Models.setEnabled(!posterior);
  Threshold.setEnabled(!posterior);
  Factor.setEnabled(!posterior);
}

SearchRequest GlobalSearchDialog::request() const {
  SearchRequest request;
  request.method = static_cast<SearchMethod>(Method.currentIndex());
  request.layers = Layers.value();
  request.fewestLayers = FewestLayers.value() < Layers.value() ? FewestLayers.value() : 0;
  request.samples = Samples.value();
  request.posteriorObserved = PosteriorObserved.isChecked();
  request.vs = {VsLow.value(), VsHigh.value()};
  request.thickness = {ThicknessLow.value(), ThicknessHigh.value()};
  request.vpRule = static_cast<PVelocityRule>(VpRule.currentIndex());
  request.fixedVp = FixedVp.value();
  request.poisson = {PoissonLow.value(), PoissonHigh.value()};
  if (HasWaterTable.isChecked()) request.waterTable = WaterTable.value();
  request.density = Density.value();
  request.increasing = Increasing.isChecked();
  request.models = Models.value();
  request.seed = static_cast<std::uint64_t>(Seed.value());
  request.acceptance = {Threshold.value(), Factor.value()};
  if (!tableEdited_) return request;
  const std::vector<RangeRow> rows = tableRows();
  const RangeTableReading reading = readRangeRows(rows);
  if (!reading.layers) {
    // Refused by the search; OK already refuses such a table in a box.
    const double nan = std::numeric_limits<double>::quiet_NaN();
    request.layerRanges.assign(
        rows.size(), LayerRanges{{nan, nan}, {nan, nan}, nan, std::nullopt, std::nullopt});
    return request;
  }
  request.layerRanges = *reading.layers;
  if (ownPVelocity_.size() == request.layerRanges.size()) {
    for (std::size_t r = 0; r < ownPVelocity_.size(); ++r) {
      request.layerRanges[r].vp = ownPVelocity_[r].vp;
      request.layerRanges[r].poisson = ownPVelocity_[r].poisson;
    }
  }
  return request;
}

}  // namespace dispfit
