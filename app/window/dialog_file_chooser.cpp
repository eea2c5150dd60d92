// SPDX-License-Identifier: GPL-3.0-or-later
#include <QFileDialog>

#include "window/export_file_dialog.h"
#include "window/file_chooser.h"

namespace dispfit {

QString DialogFileChooser::fileToOpen(QWidget* parent, const QString& caption,
                                      const QString& filter) {
  return QFileDialog::getOpenFileName(parent, caption, QString(), filter);
}

QString DialogFileChooser::fileToSave(QWidget* parent, const QString& caption,
                                      const QString& filter) {
  return QFileDialog::getSaveFileName(parent, caption, QString(), filter);
}

QString DialogFileChooser::baseOrFolderToSave(QWidget* parent, const QString& caption,
                                              const QString& directory) {
  ExportFileDialog dialog(parent, caption, directory);
  return dialog.exec() == QDialog::Accepted ? dialog.chosen() : QString();
}

}  // namespace dispfit
