// SPDX-License-Identifier: GPL-3.0-or-later
// The inversion settings: the bounds of the layers' S velocities and
// thicknesses and the iteration limit, shown for editing.
#pragma once

#include <QDialog>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QSpinBox>

#include "inversion/window_inversion.h"

namespace dispfit {

class InversionSettingsDialog : public QDialog {
  Q_OBJECT

 public:
  explicit InversionSettingsDialog(const InversionLimits& limits, QWidget* parent = nullptr);

  // The limits as the fields show them.
  InversionLimits limits() const;

  QDoubleSpinBox VsLower;         // m/s
  QDoubleSpinBox VsUpper;         // m/s
  QDoubleSpinBox ThicknessLower;  // m
  QDoubleSpinBox ThicknessUpper;  // m
  QSpinBox Iterations;
  QDialogButtonBox Buttons{QDialogButtonBox::Ok | QDialogButtonBox::Cancel |
                           QDialogButtonBox::RestoreDefaults};

 private:
  void showLimits(const InversionLimits& limits);
};

}  // namespace dispfit
