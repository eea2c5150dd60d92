// SPDX-License-Identifier: GPL-3.0-or-later
// The window 地震记录 / Shot records: the records of a MASW survey opened
// together, one line per source offset with its pick count, the selected
// offset's gather (wiggles or variable density) and dispersion image with
// its picks to edit, the curve combined from all offsets with its sigma
// bars, and 用作实测曲线, which hands the curve table to the main window.
// The work is the Qt-free survey (shots/masw_survey.h) and pick editing.
#pragma once

#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QStringList>
#include <QWidget>
#include <vector>

#include "core/message_presenter.h"
#include "shots/masw_survey.h"
#include "window/curve_spread_view.h"
#include "window/dispersion_image_view.h"
#include "window/gather_view.h"

namespace dispfit {

class ShotRecordsWindow : public QWidget {
  Q_OBJECT

 public:
  ShotRecordsWindow(MessagePresenter& messages, QWidget* parent = nullptr);

  // Reads, places and analyses the records; a record that cannot be used is
  // named in a box and nothing changes. True when the survey is shown.
  bool openRecords(const QStringList& paths);

  // Shows offset `row` of the list (from 0).
  void selectOffset(int row);

  // The curve table of the combined curve, as dispfit-masw writes it.
  std::string curveTable() const;

  const SurveyResult& survey() const { return survey_; }
  DispersionImageView& imageView() { return image_; }
  QListWidget& offsetList() { return offsets_; }
  QPushButton& useButton() { return use_; }
  QComboBox& styleChooser() { return style_; }
  const CurveSpreadView& curveView() const { return curve_; }

 Q_SIGNALS:
  // 用作实测曲线: the curve table and the name it goes by.
  void measuredCurveChosen(const QString& table, const QString& name);

 protected:
  void changeEvent(QEvent* event) override;

 private:
  void retranslate();
  void refreshCurve();
  void refreshOffsetLines();
  void chooseFiles();

  MessagePresenter& messages_;
  SurveyRequest request_;
  std::vector<ShotGather> gathers_;
  SurveyResult survey_;
  QString name_;
  QListWidget offsets_;
  QPushButton open_;
  QPushButton repick_;
  QPushButton use_;
  QComboBox style_;
  QLabel gatherTitle_;
  QLabel imageTitle_;
  QLabel curveTitle_;
  QLabel hint_;
  GatherView gather_;
  DispersionImageView image_;
  CurveSpreadView curve_;
};

}  // namespace dispfit
