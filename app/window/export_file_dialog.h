// SPDX-License-Identifier: GPL-3.0-or-later
// The dialog that asks where the export goes: a base name or a folder. A
// save dialog takes a folder typed or chosen as the place to go into; this
// one takes it as the answer, since the export writes its files into a folder
// as readily as beside a base name.
#pragma once

#include <QFileDialog>
#include <QString>
#include <QWidget>

namespace dispfit {

class ExportFileDialog : public QFileDialog {
  Q_OBJECT

 public:
  // Opens in `directory` (the measured curve's folder where there is one).
  ExportFileDialog(QWidget* parent, const QString& caption, const QString& directory);

  // The answer: the folder or base name chosen.
  QString chosen() const;

 public Q_SLOTS:
  // A folder named in the name field, or selected, is the answer; anything
  // else goes as the save dialog takes it.
  void accept() override;

 private:
  QString folderAnswer_;
};

}  // namespace dispfit
