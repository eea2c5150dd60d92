#include "window/global_search_dialog.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <limits>
#include <memory>

#include "core/model_table.h"

namespace dispfit {

namespace {

// Two fields side by side in one row of the form, "low – high".
std::unique_ptr<QHBoxLayout> pair(QWidget& low, QWidget& high) {
  auto row = std::make_unique<QHBoxLayout>();
  row->addWidget(&low);
  row->addWidget(&high);
  return row;
}

}  // namespace

GlobalSearchDialog::GlobalSearchDialog(const SearchRequest& request, QWidget* parent)
    : QDialog(parent) {
  setWindowTitle(tr("全局搜索 (Global search)"));
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
  VpRule.addItems(
      {tr("Vp = 3 Vs"), tr("固定 Vp (fixed Vp)"), tr("泊松比范围 (Poisson's ratio range)")});
  HasWaterTable.setText(tr("地下水位 (water table)"));
  Increasing.setText(tr("Vs 不随深度减小 (Vs does not decrease with depth)"));
  Models.setRange(1, std::numeric_limits<int>::max());
  Models.setGroupSeparatorShown(true);
  Seed.setRange(0, std::numeric_limits<int>::max());
  Threshold.setRange(0.01, 100.0);
  Threshold.setDecimals(2);
  Factor.setRange(1.0, 100.0);
  Factor.setDecimals(2);
  Factor.setSingleStep(0.05);

  auto form = std::make_unique<QFormLayout>();
  form->addRow(tr("层数，含半空间 (layers, the half-space included)"), &Layers);
  form->addRow(tr("Vs 范围 (Vs range)"), pair(VsLow, VsHigh).release());
  form->addRow(tr("厚度范围 (thickness range)"), pair(ThicknessLow, ThicknessHigh).release());
  form->addRow(tr("纵波速度 (P velocity)"), &VpRule);
  form->addRow(tr("固定 Vp (fixed Vp)"), &FixedVp);
  form->addRow(tr("泊松比 (Poisson's ratio)"), pair(PoissonLow, PoissonHigh).release());
  form->addRow(&HasWaterTable, &WaterTable);
  form->addRow(tr("密度 (density)"), &Density);
  form->addRow(&Increasing);
  form->addRow(tr("模型数 (model budget)"), &Models);
  form->addRow(tr("随机种子 (seed)"), &Seed);
  form->addRow(tr("接受：归一化拟合差不大于 (accepted: normalised misfit at most)"), &Threshold);
  form->addRow(tr("接受：拟合差 (m/s) 不大于最佳的倍数 (accepted: misfit within this factor "
                  "of the best)"),
               &Factor);
  form->addRow(&Buttons);
  setLayout(form.release());  // the dialog owns its layout and the rows' layouts
  connect(&Buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(&Buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(Buttons.button(QDialogButtonBox::RestoreDefaults), &QPushButton::clicked, this, [this] {
    SearchRequest defaults;
    defaults.layers = Layers.value();  // the table's count stays offered
    showRequest(defaults);
  });
  connect(&VpRule, &QComboBox::currentIndexChanged, this, [this] { enableDependentFields(); });
  connect(&HasWaterTable, &QCheckBox::toggled, this, [this] { enableDependentFields(); });
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
  enableDependentFields();
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
  return request;
}

}  // namespace dispfit
