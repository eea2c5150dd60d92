// SPDX-License-Identifier: GPL-3.0-or-later
#include <QFileDialog>

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

}  // namespace dispfit
