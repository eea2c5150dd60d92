// SPDX-License-Identifier: GPL-3.0-or-later
// The shot-records window's settings, all that dispfit-masw takes on its
// command line: the geometry's overrides (the receivers' positions, the
// source, the sample interval, a receiver range), the image's frequencies,
// velocities, transform, time window and mute, the picking's velocity
// window, largest change and seed, and the statistics' least offsets and
// wavelength bins. What may be used is the settings' one rule
// (shots/masw_settings.h); the dialog shows its faults as they arise and
// takes no settings that have one.
#pragma once

#include <QBoxLayout>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QGroupBox>
#include <QLabel>
#include <QScrollArea>
#include <QSize>
#include <QSpinBox>
#include <cstddef>
#include <optional>

#include "shots/masw_settings.h"

namespace dispfit {

class MaswSettingsDialog : public QDialog {
  Q_OBJECT

 public:
  // `recordedInterval`: the longest sample interval of the records open
  // (s), against whose Nyquist frequency the highest frequency is checked;
  // `traceCount`: the most traces a record holds, the receiver range's
  // first offer (0: none open).
  MaswSettingsDialog(const MaswSettings& settings, std::optional<double> recordedInterval,
                     std::size_t traceCount, QWidget* parent = nullptr);

  // The settings as the fields show them, completed (completedSettings);
  // what the dialog does not show is kept from the settings it was given.
  MaswSettings settings() const;

  // The fault in the dialog's words.
  static QString faultText(MaswSettingFault fault);

  // As large as the groups need, as far as the screen allows; beyond that
  // they scroll and the faults and buttons stay in view.
  QSize sizeHint() const override;
  // Whether the groups stand in one column, as on a screen too narrow for
  // two.
  bool stacked() const;

 private:
  // The scroll area holds the groups' page, the boxes hold the fields
  // below, and each is declared before what it holds, so that it is
  // destroyed after it: a holder destroyed first would destroy what it
  // holds a second time.
  QScrollArea scroll_;
  QGroupBox geometryBox_;
  QGroupBox imageBox_;
  QGroupBox pickingBox_;
  QLabel geometryNote_;
  QLabel receiversNote_;
  QLabel muteNote_;
  QLabel binsNote_;

 public:
  // Geometry.
  QCheckBox PlaceReceivers;
  QDoubleSpinBox FirstReceiver;  // m
  QDoubleSpinBox Spacing;        // m
  QCheckBox PlaceSource;
  QDoubleSpinBox Source;  // m
  QCheckBox SetSampleInterval;
  QDoubleSpinBox SampleInterval;  // ms
  QCheckBox KeepReceivers;
  QSpinBox FirstKept;  // from 1
  QSpinBox LastKept;
  // The image.
  QDoubleSpinBox LowestFrequency;  // Hz
  QDoubleSpinBox HighestFrequency;
  QDoubleSpinBox FrequencyStep;
  QDoubleSpinBox LowestVelocity;  // m/s
  QDoubleSpinBox HighestVelocity;
  QDoubleSpinBox VelocityStep;
  QComboBox Transform;  // in ImageTransform's order
  QCheckBox UseWindow;
  QDoubleSpinBox WindowStart;  // s after the shot
  QDoubleSpinBox WindowEnd;
  QCheckBox UseMute;
  QDoubleSpinBox MuteFast;  // m/s
  QDoubleSpinBox MuteSlow;
  // Picking and statistics.
  QCheckBox LimitPickVelocities;
  QDoubleSpinBox PickLowest;  // m/s
  QDoubleSpinBox PickHighest;
  QDoubleSpinBox LargestChange;  // % a frequency step
  QCheckBox UseSeed;
  QDoubleSpinBox SeedFrequency;  // Hz
  QDoubleSpinBox SeedVelocity;   // m/s
  QSpinBox LeastOffsets;
  QCheckBox ByWavelength;
  QSpinBox BinsPerDecade;
  QLabel Faults;  // the settings' faults, a line each; hidden when there are none
  QDialogButtonBox Buttons{QDialogButtonBox::Ok | QDialogButtonBox::Cancel |
                           QDialogButtonBox::RestoreDefaults};

 private:
  void showSettings(const MaswSettings& settings);
  // The groups side by side where the screen is wide enough, in one column
  // where it is not; then the dialog as large as sizeHint.
  void fitToScreen();
  // The dialog's size with the groups' page shown whole.
  QSize wholeSize() const;
  // Enables the fields their boxes switch on, shows the faults and lets OK
  // take only settings without one.
  void refresh();

  QBoxLayout* columns_ = nullptr;  // the page's, which owns it
  MaswSettings given_;
  std::optional<double> recordedInterval_;
  std::size_t traceCount_;
};

}  // namespace dispfit
