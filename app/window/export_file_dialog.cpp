// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/export_file_dialog.h"

#include <QDir>
#include <QFileInfo>
#include <QLineEdit>

namespace dispfit {

ExportFileDialog::ExportFileDialog(QWidget* parent, const QString& caption,
                                   const QString& directory)
    : QFileDialog(parent, caption, directory) {
  // Qt's own dialog: the desktop's cannot be told to take a folder as the
  // answer of a save dialog.
  setOption(QFileDialog::DontUseNativeDialog, true);
  setAcceptMode(QFileDialog::AcceptSave);
  setFileMode(QFileDialog::AnyFile);
  setNameFilter(tr("所有文件 (*)"));
}

QString ExportFileDialog::chosen() const {
  if (!folderAnswer_.isEmpty()) return folderAnswer_;
  const QStringList files = selectedFiles();
  return files.isEmpty() ? QString() : files.front();
}

void ExportFileDialog::accept() {
  // What the name field holds, relative to the folder shown.
  const QLineEdit* name = findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
  const QString typed = name ? name->text().trimmed() : QString();
  QString candidate;
  if (!typed.isEmpty()) {
    candidate = QFileInfo(typed).isAbsolute() ? typed : directory().filePath(typed);
  } else {
    candidate = directory().absolutePath();
  }
  if (QFileInfo(candidate).isDir()) {
    folderAnswer_ = QDir::cleanPath(candidate);
    QDialog::accept();
    return;
  }
  folderAnswer_.clear();
  QFileDialog::accept();
}

}  // namespace dispfit
