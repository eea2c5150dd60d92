// The global search settings: the layer count, the ranges of Vs and thickness
// shared by every layer, the P-velocity rule, the water table, the density,
// whether Vs may decrease with depth, the model budget, the seed and the
// acceptance thresholds, shown for editing.
#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QSpinBox>

#include "search/search_request.h"

namespace dispfit {

class GlobalSearchDialog : public QDialog {
  Q_OBJECT

 public:
  explicit GlobalSearchDialog(const SearchRequest& request, QWidget* parent = nullptr);

  // The request as the fields show it.
  SearchRequest request() const;

  QSpinBox Layers;
  QDoubleSpinBox VsLow;         // m/s
  QDoubleSpinBox VsHigh;        // m/s
  QDoubleSpinBox ThicknessLow;  // m
  QDoubleSpinBox ThicknessHigh;
  QComboBox VpRule;        // in PVelocityRule's order
  QDoubleSpinBox FixedVp;  // m/s
  QDoubleSpinBox PoissonLow;
  QDoubleSpinBox PoissonHigh;
  QCheckBox HasWaterTable;
  QDoubleSpinBox WaterTable;  // m
  QDoubleSpinBox Density;     // g/cm3
  QCheckBox Increasing;
  QSpinBox Models;
  QSpinBox Seed;
  QDoubleSpinBox Threshold;  // normalised misfit
  QDoubleSpinBox Factor;     // times the best misfit in m/s
  QDialogButtonBox Buttons{QDialogButtonBox::Ok | QDialogButtonBox::Cancel |
                           QDialogButtonBox::RestoreDefaults};

 private:
  void showRequest(const SearchRequest& request);
  // Enables the fields the chosen P-velocity rule and water table use.
  void enableDependentFields();
};

}  // namespace dispfit
