// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/global_search_dialog.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <algorithm>
#include <limits>
#include <memory>
#include <optional>

#include "core/model_table.h"
#include "core/number_text.h"
#include "search/search_ranges_text.h"
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

// A range end or density in a cell: the shortest digits that read back, so
// that what a file gave reads back unchanged.
QString cellText(double value) {
  return QString::fromStdString(exactText(value));
}

// The number a cell holds, read as every table of the programs reads one.
std::optional<double> cellValue(const QTableWidgetItem* item) {
  return item ? parseDecimal(item->text().toStdString()) : std::nullopt;
}

const char* const kColumnNames[GlobalSearchDialog::ColumnCount] = {
    QT_TRANSLATE_NOOP("dispfit::GlobalSearchDialog", "Vs 下限 (m/s)"),
    QT_TRANSLATE_NOOP("dispfit::GlobalSearchDialog", "Vs 上限 (m/s)"),
    QT_TRANSLATE_NOOP("dispfit::GlobalSearchDialog", "h 下限 (m)"),
    QT_TRANSLATE_NOOP("dispfit::GlobalSearchDialog", "h 上限 (m)"),
    QT_TRANSLATE_NOOP("dispfit::GlobalSearchDialog", "密度 (g/cm³)")};

// A half-space's thickness cell: no number, as its thickness is not used.
const QString kNotUsed = QStringLiteral("—");

bool samePVelocity(const LayerRanges& a, const LayerRanges& b) {
  return a.vp == b.vp && a.poisson == b.poisson;
}

}  // namespace

GlobalSearchDialog::GlobalSearchDialog(const SearchRequest& request, FileChooser& files,
                                       MessagePresenter& messages, QWidget* parent)
    : QDialog(parent), files_(files), messages_(messages) {
  setWindowTitle(tr("全局搜索"));
  Layers.setRange(1, static_cast<int>(kMostSearchLayers));
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
  Seed.setRange(0, std::numeric_limits<int>::max());
  Threshold.setRange(0.01, 100.0);
  Threshold.setDecimals(2);
  Factor.setRange(1.0, 100.0);
  Factor.setDecimals(2);
  Factor.setSingleStep(0.05);
  LayerTable.setColumnCount(ColumnCount);
  QStringList headers;
  for (const char* name : kColumnNames) headers << tr(name);
  LayerTable.setHorizontalHeaderLabels(headers);
  LayerTable.horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
  LayerTable.setMinimumHeight(180);
  FillLayers.setText(tr("统一范围填入各层"));
  ReadRanges.setText(tr("从文件读取…"));
  PerLayerNote.setText(tr("各层保留文件中自己的 Vp 或泊松比范围。"));
  PerLayerNote.setWordWrap(true);
  PerLayerNote.setVisible(false);

  auto form = std::make_unique<QFormLayout>();
  form->addRow(tr("层数，含半空间"), &Layers);
  form->addRow(tr("Vs 范围"), pair(VsLow, VsHigh).release());
  form->addRow(tr("厚度范围"), pair(ThicknessLow, ThicknessHigh).release());
  form->addRow(tr("密度"), &Density);
  auto tableButtons = std::make_unique<QHBoxLayout>();
  tableButtons->addWidget(&FillLayers);
  tableButtons->addWidget(&ReadRanges);
  form->addRow(tr("各层范围"), tableButtons.release());
  form->addRow(&LayerTable);
  form->addRow(&PerLayerNote);
  form->addRow(tr("纵波速度"), &VpRule);
  form->addRow(tr("固定 Vp"), &FixedVp);
  form->addRow(tr("泊松比"), pair(PoissonLow, PoissonHigh).release());
  form->addRow(&HasWaterTable, &WaterTable);
  form->addRow(&Increasing);
  form->addRow(tr("模型数"), &Models);
  form->addRow(tr("随机种子"), &Seed);
  form->addRow(tr("接受：归一化拟合差不大于"), &Threshold);
  form->addRow(tr("接受：拟合差 (m/s) 不大于最佳的倍数"), &Factor);
  form->addRow(&Buttons);
  setLayout(form.release());  // the dialog owns its layout and the rows' layouts
  connect(&Buttons, &QDialogButtonBox::accepted, this, [this] { acceptIfTableReads(); });
  connect(&Buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(Buttons.button(QDialogButtonBox::RestoreDefaults), &QPushButton::clicked, this, [this] {
    SearchRequest defaults;
    defaults.layers = Layers.value();  // the table's count stays offered
    showRequest(defaults);
  });
  connect(&VpRule, &QComboBox::currentIndexChanged, this, [this] { enableDependentFields(); });
  connect(&HasWaterTable, &QCheckBox::toggled, this, [this] { enableDependentFields(); });
  // The table follows the uniform fields until a cell is edited or a file
  // read; then only the layer count changes it, until 统一范围填入各层.
  for (QDoubleSpinBox* uniform : {&VsLow, &VsHigh, &ThicknessLow, &ThicknessHigh, &Density}) {
    connect(uniform, &QDoubleSpinBox::valueChanged, this, [this] {
      if (!tableEdited_ && !filling_) fillTableFromUniform();
    });
  }
  connect(&Layers, &QSpinBox::valueChanged, this, [this] {
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
  showRequest(request);
}

void GlobalSearchDialog::showRequest(const SearchRequest& request) {
  Layers.setValue(request.layers);
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

std::vector<QString> GlobalSearchDialog::uniformRowTexts() const {
  return {cellText(VsLow.value()), cellText(VsHigh.value()), cellText(ThicknessLow.value()),
          cellText(ThicknessHigh.value()), cellText(Density.value())};
}

void GlobalSearchDialog::setRowTexts(int row, const std::vector<QString>& texts) {
  for (int c = 0; c < ColumnCount; ++c) {
    // the table owns its items
    LayerTable.setItem(
        row, c, std::make_unique<QTableWidgetItem>(texts[static_cast<std::size_t>(c)]).release());
  }
}

void GlobalSearchDialog::fillTableFromUniform() {
  filling_ = true;
  LayerTable.setRowCount(Layers.value());
  for (int r = 0; r < Layers.value(); ++r) setRowTexts(r, uniformRowTexts());
  markHalfSpace();
  filling_ = false;
  ownPVelocity_.clear();
  PerLayerNote.setVisible(false);
}

void GlobalSearchDialog::resizeTable() {
  const int count = Layers.value();
  const int old = LayerTable.rowCount();
  std::vector<std::vector<QString>> rows;
  for (int r = 0; r < old; ++r) {
    std::vector<QString>& texts = rows.emplace_back();
    for (int c = 0; c < ColumnCount; ++c) {
      const QTableWidgetItem* item = LayerTable.item(r, c);
      texts.push_back(item ? item->text() : QString());
    }
  }
  std::vector<QString> halfSpace = rows.empty() ? uniformRowTexts() : rows.back();
  if (!rows.empty()) rows.pop_back();
  rows.resize(static_cast<std::size_t>(std::min<int>(static_cast<int>(rows.size()), count - 1)));
  while (static_cast<int>(rows.size()) < count - 1) rows.push_back(uniformRowTexts());
  rows.push_back(halfSpace);
  filling_ = true;
  LayerTable.setRowCount(count);
  for (int r = 0; r < count; ++r) setRowTexts(r, rows[static_cast<std::size_t>(r)]);
  markHalfSpace();
  filling_ = false;
  ownPVelocity_.clear();  // they no longer line up with the layers
  PerLayerNote.setVisible(false);
}

void GlobalSearchDialog::showLayerRanges(const std::vector<LayerRanges>& layers) {
  filling_ = true;
  Layers.setValue(static_cast<int>(layers.size()));
  LayerTable.setRowCount(static_cast<int>(layers.size()));
  for (std::size_t i = 0; i < layers.size(); ++i) {
    const LayerRanges& l = layers[i];
    setRowTexts(static_cast<int>(i),
                {cellText(l.vs.low), cellText(l.vs.high), cellText(l.thickness.low),
                 cellText(l.thickness.high), cellText(l.density)});
  }
  markHalfSpace();
  filling_ = false;
  tableEdited_ = true;
}

void GlobalSearchDialog::showPVelocityRules(const std::vector<LayerRanges>& layers) {
  ownPVelocity_.clear();
  const bool same = std::all_of(layers.begin(), layers.end(), [&](const LayerRanges& l) {
    return samePVelocity(l, layers.front());
  });
  if (same && !layers.empty()) {
    const LayerRanges& top = layers.front();
    if (top.vp) {
      VpRule.setCurrentIndex(static_cast<int>(PVelocityRule::Fixed));
      FixedVp.setValue(*top.vp);
    } else if (top.poisson) {
      VpRule.setCurrentIndex(static_cast<int>(PVelocityRule::PoissonRange));
      PoissonLow.setValue(top.poisson->low);
      PoissonHigh.setValue(top.poisson->high);
    } else {
      VpRule.setCurrentIndex(static_cast<int>(PVelocityRule::ThreeTimesVs));
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
    for (int c = 0; c < ColumnCount; ++c) {
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
  const int last = LayerTable.rowCount() - 1;
  for (int r = 0; r <= last; ++r) {
    for (int c = 0; c < ColumnCount; ++c) {
      if (r == last && (c == HMin || c == HMax)) continue;
      const QTableWidgetItem* item = LayerTable.item(r, c);
      if (!cellValue(item)) {
        return tr("第 %1 层 %2：「%3」不是数字，小数点请用英文句点“.”。")
            .arg(r + 1)
            .arg(tr(kColumnNames[c]), item ? item->text() : QString())
            .toStdString();
      }
    }
  }
  return {};
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
}

SearchRequest GlobalSearchDialog::request() const {
  SearchRequest request;
  request.layers = Layers.value();
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
  const int last = LayerTable.rowCount() - 1;
  const auto cell = [this](int r, int c) {
    // A cell that is not a number is refused by the search.
    return cellValue(LayerTable.item(r, c)).value_or(std::numeric_limits<double>::quiet_NaN());
  };
  const bool ownP = ownPVelocity_.size() == static_cast<std::size_t>(last + 1);
  for (int r = 0; r <= last; ++r) {
    LayerRanges& layer = request.layerRanges.emplace_back();
    layer.vs = {cell(r, VsMin), cell(r, VsMax)};
    layer.thickness = r == last ? Range{} : Range{cell(r, HMin), cell(r, HMax)};
    layer.density = cell(r, DensityColumn);
    if (ownP) {
      layer.vp = ownPVelocity_[static_cast<std::size_t>(r)].vp;
      layer.poisson = ownPVelocity_[static_cast<std::size_t>(r)].poisson;
    }
  }
  return request;
}

}  // namespace dispfit
