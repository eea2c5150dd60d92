// SPDX-License-Identifier: GPL-3.0-or-later
// The window 地震记录 / Shot records: the records of a MASW survey opened
// together, one line per source offset with its pick count, the selected
// offset's gather (wiggles or variable density) and dispersion image with
// its picks to edit, the curve combined from all offsets with its sigma
// bars, and 用作实测曲线, which hands the curve table to the main window.
// 设置… opens the settings (window/masw_settings_dialog.h); a change of them
// computes anew what depends on it, the images on a thread of their own
// while the window stays live, and keeps the hand edits where they mean the
// same (shots/pick_editing.h). 叠加表中模型的模态 draws modes 0 to N - 1 of
// the main window's model over the image, at the image's frequencies, so
// that the fundamental can be told from the higher modes; the model is
// asked for again whenever the window becomes active, so a model changed in
// the main window is the one drawn. The work is the Qt-free survey
// (shots/masw_survey.h, shots/background_survey.h) and pick editing.
#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QStringList>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <vector>

#include "core/message_presenter.h"
#include "inversion/model_mode_lines.h"
#include "shots/background_survey.h"
#include "shots/masw_settings.h"
#include "shots/masw_survey.h"
#include "shots/pick_editing.h"
#include "window/curve_spread_view.h"
#include "window/dispersion_image_view.h"
#include "window/gather_view.h"

namespace dispfit {

class ShotRecordsWindow : public QWidget {
  Q_OBJECT

 public:
  ShotRecordsWindow(MessagePresenter& messages, QWidget* parent = nullptr);

  // Computes Rayleigh modes 0 to modes - 1 of a model at the frequencies
  // given (rayleighModeLines); without one the overlay draws nothing.
  using ModeSource =
      std::function<std::vector<ModeLine>(std::span<const double> frequencies, int modes)>;
  void setModeSource(ModeSource source);

  // Reads and places the records and starts their analysis, whose survey
  // is shown when it is done; a record that cannot be read or placed is
  // named in a box and nothing changes. The settings' highest frequency is
  // lowered to 0.8 times the records' Nyquist frequency where it lies above
  // that. True when the analysis began.
  bool openRecords(const QStringList& paths);

  // Takes settings without faults (maswSettingFaults) and computes anew
  // what they change: the curve, the picks (the hand edits made again on
  // them), or the images on the analysis's thread, the edits carried over
  // when only the images changed and dropped when the records' places did.
  void applySettings(const MaswSettings& settings);

  // Shows the settings dialog and applies what it gives.
  void editSettings();

  // Waits for an analysis still running and shows its survey at once.
  void finishAnalysis();
  bool analysing() const { return job_ != nullptr; }

  // Shows offset `row` of the list (from 0).
  void selectOffset(int row);

  // The curve table of the combined curve, as dispfit-masw writes it.
  std::string curveTable() const;

  const SurveyResult& survey() const { return survey_; }
  // The settings shown, and those of an analysis still running, which
  // become the ones shown when it ends.
  const MaswSettings& settings() const { return settings_; }
  const MaswSettings& settingsAsked() const { return job_ ? jobSettings_ : settings_; }
  QLabel& statusLine() { return status_; }
  DispersionImageView& imageView() { return image_; }
  QListWidget& offsetList() { return offsets_; }
  QPushButton& useButton() { return use_; }
  QPushButton& settingsButton() { return settingsButton_; }
  QPushButton& repickButton() { return repick_; }
  QComboBox& styleChooser() { return style_; }
  QCheckBox& modesShown() { return modesShown_; }
  QSpinBox& modeCount() { return modeCount_; }
  const CurveSpreadView& curveView() const { return curve_; }

 Q_SIGNALS:
  // 用作实测曲线: the curve table and the name it goes by.
  void measuredCurveChosen(const QString& table, const QString& name);

 protected:
  void changeEvent(QEvent* event) override;
  bool event(QEvent* event) override;

 private:
  void retranslate();
  void refreshCurve();
  void refreshOffsetLines();
  // Asks the mode source for the shown image's modes, or draws none.
  void refreshModes();
  void chooseFiles();
  // Starts the analysis of `records` by `settings` on its own thread,
  // dropping one still running; `keepEdits` carries the hand edits of the
  // survey shown to its outcome.
  void startAnalysis(std::shared_ptr<const std::vector<ShotRecord>> records,
                     const MaswSettings& settings, bool keepEdits);
  // Shows the outcome of the analysis started as `generation`, if it is
  // still the one wanted.
  void showAnalysis(std::uint64_t generation);
  // Fills the offsets' list and shows offset `row` (or the first).
  void showSurvey(int row);
  // The line under the offsets after a change: what it kept of the edits.
  void showEditsCarried(const EditsCarried& carried);

  MessagePresenter& messages_;
  MaswSettings settings_;
  std::shared_ptr<const std::vector<ShotRecord>> records_;
  std::vector<ShotGather> gathers_;
  SurveyResult survey_;
  QString name_;
  // The analysis running, its settings and records, and whether it keeps
  // the hand edits; none while nothing runs.
  std::uint64_t generation_ = 0;  // of the analyses started
  MaswSettings jobSettings_;
  std::shared_ptr<const std::vector<ShotRecord>> jobRecords_;
  QString jobName_;
  bool jobKeepsEdits_ = false;
  // What the status line says, kept to be said again in another language.
  std::function<QString()> statusText_;
  QListWidget offsets_;
  QPushButton open_;
  QPushButton settingsButton_;
  QPushButton repick_;
  QPushButton use_;
  QComboBox style_;
  ModeSource modeSource_;
  QCheckBox modesShown_;
  QLabel modeCountLabel_;
  QSpinBox modeCount_;
  QLabel gatherTitle_;
  QLabel imageTitle_;
  QLabel curveTitle_;
  QLabel hint_;
  QLabel status_;
  GatherView gather_;
  DispersionImageView image_;
  CurveSpreadView curve_;
  // Declared last, so that it is destroyed first: its thread ends before
  // anything it reports to goes.
  std::unique_ptr<BackgroundSurvey> job_;
};

}  // namespace dispfit
