// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/inversion_settings_dialog.h"

#include <QFormLayout>
#include <QPushButton>
#include <memory>

#include "core/model_table.h"

namespace dispfit {

InversionSettingsDialog::InversionSettingsDialog(const InversionLimits& limits, QWidget* parent)
    : QDialog(parent) {
  setWindowTitle(tr("反演设置"));
  // Velocities to 0.1 m/s and thicknesses to 0.01 m: finer than any field
  // model is known, coarse enough to type.
  for (QDoubleSpinBox* velocity : {&VsLower, &VsUpper}) {
    velocity->setRange(0.1, kVelocityLimit - 0.1);
    velocity->setDecimals(1);
    velocity->setSuffix(QStringLiteral(" m/s"));
  }
  for (QDoubleSpinBox* thickness : {&ThicknessLower, &ThicknessUpper}) {
    thickness->setRange(0.01, 1000.0);
    thickness->setDecimals(2);
    thickness->setSuffix(QStringLiteral(" m"));
  }
  Iterations.setRange(1, kIterationCeiling);

  auto form = std::make_unique<QFormLayout>();
  form->addRow(tr("Vs 下限"), &VsLower);
  form->addRow(tr("Vs 上限"), &VsUpper);
  form->addRow(tr("厚度下限"), &ThicknessLower);
  form->addRow(tr("厚度上限"), &ThicknessUpper);
  form->addRow(tr("最多迭代次数"), &Iterations);
  form->addRow(&Buttons);
  setLayout(form.release());  // the dialog owns its layout
  connect(&Buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(&Buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(Buttons.button(QDialogButtonBox::RestoreDefaults), &QPushButton::clicked, this,
          [this] { showLimits({}); });
  showLimits(limits);
}

void InversionSettingsDialog::showLimits(const InversionLimits& limits) {
  VsLower.setValue(limits.vsLower);
  VsUpper.setValue(limits.vsUpper);
  ThicknessLower.setValue(limits.thicknessLower);
  ThicknessUpper.setValue(limits.thicknessUpper);
  Iterations.setValue(limits.maxIterations);
}

InversionLimits InversionSettingsDialog::limits() const {
  return {static_cast<float>(VsLower.value()), static_cast<float>(VsUpper.value()),
          static_cast<float>(ThicknessLower.value()), static_cast<float>(ThicknessUpper.value()),
          Iterations.value()};
}

}  // namespace dispfit
