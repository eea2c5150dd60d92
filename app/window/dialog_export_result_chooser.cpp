// SPDX-License-Identifier: GPL-3.0-or-later
#include <QCoreApplication>
#include <QInputDialog>

#include "window/export_result_chooser.h"

namespace dispfit {

std::optional<int> DialogExportResultChooser::chooseResult(QWidget* parent,
                                                           const QStringList& names) {
  bool ok = false;
  const QString chosen = QInputDialog::getItem(
      parent, QCoreApplication::translate("ExportResultChooser", "导出结果"),
      QCoreApplication::translate("ExportResultChooser",
                                  "一次导出一个结果，每个文件都写明是哪一个："),
      names, 0, false, &ok);
  if (!ok) return std::nullopt;
  const qsizetype index = names.indexOf(chosen);
  return index < 0 ? std::nullopt : std::optional<int>(static_cast<int>(index));
}

}  // namespace dispfit
