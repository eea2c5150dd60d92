// SPDX-License-Identifier: GPL-3.0-or-later
// The About window: what the program is, its version, who wrote it and where
// to read more. Created hidden once, shown modally on demand.
#pragma once

#include <QDialog>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QUrl>

#include "window/clickable_label.h"
#include "window/link_opener.h"

namespace dispfit {

class TAbout : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kClientWidth = 443;
  static constexpr int kClientHeight = 422;

  explicit TAbout(LinkOpener& links, QWidget* parent = nullptr);

  // Sets the caption to "关于" + programTitle + "..." and shows the window
  // modally; returns when it is closed.
  void showModalWithTitle(const QString& programTitle);

  // Opens the web address of StaticText10.
  void StaticText10Click();

  QUrl webAddress() const;

  QFrame Panel1{this};
  QLabel Image1{&Panel1};
  QLabel Label1{this};
  QLabel Label2{this};
  QFrame Bevel2{this};
  QLabel Label6{this};
  QLabel Label5{this};
  QLabel StaticText2{this};
  QLabel StaticText3{this};
  QLabel StaticText4{this};
  QFrame Panel2{this};
  QLabel StaticText5{&Panel2};
  QLabel StaticText6{&Panel2};
  QLabel StaticText7{&Panel2};
  QLabel StaticText11{&Panel2};
  ClickableLabel StaticText10{&Panel2};
  QFrame Bevel1{this};
  QLabel StaticText1{this};
  QPushButton BitBtn1{this};

 protected:
  void changeEvent(QEvent* event) override;

 private:
  void buildLayout();
  void buildMakerPanel();
  // Sets every text in the language the application shows.
  void retranslate();

  LinkOpener& links_;
  QString programTitle_;  // of the caption, once shown
};

}  // namespace dispfit
