// SPDX-License-Identifier: GPL-3.0-or-later
// Where the window asks which file to open or save: the desktop's file
// dialogs in the program, a scripted answer in tests.
#pragma once

#include <QString>
#include <QWidget>

namespace dispfit {

class FileChooser {
 public:
  virtual ~FileChooser() = default;

  // The file the user chose, or an empty text when the choice was cancelled.
  // `filter` lists the offered file types as Qt's file dialogs take them.
  virtual QString fileToOpen(QWidget* parent, const QString& caption, const QString& filter) = 0;
  virtual QString fileToSave(QWidget* parent, const QString& caption, const QString& filter) = 0;

  // Where an export goes: a base name or a folder, the dialog opening in
  // `directory`; a folder typed or chosen is the answer. By default the save
  // dialog's answer.
  virtual QString baseOrFolderToSave(QWidget* parent, const QString& caption,
                                     const QString& directory) {
    (void)directory;
    return fileToSave(parent, caption, QStringLiteral("*"));
  }
};

// The desktop's file dialogs.
class DialogFileChooser : public FileChooser {
 public:
  QString fileToOpen(QWidget* parent, const QString& caption, const QString& filter) override;
  QString fileToSave(QWidget* parent, const QString& caption, const QString& filter) override;
  QString baseOrFolderToSave(QWidget* parent, const QString& caption,
                             const QString& directory) override;
};

}  // namespace dispfit
