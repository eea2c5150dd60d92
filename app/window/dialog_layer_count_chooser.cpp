// SPDX-License-Identifier: GPL-3.0-or-later
#include <QCoreApplication>
#include <QInputDialog>

#include "window/layer_count_chooser.h"

namespace dispfit {

std::optional<int> DialogLayerCountChooser::layerCount(QWidget* parent, int suggested, int lowest,
                                                       int highest) {
  bool accepted = false;
  const int count =
      QInputDialog::getInt(parent, QCoreApplication::translate("LayerCountChooser", "建议初始模型"),
                           QCoreApplication::translate("LayerCountChooser", "层数（含半空间）："),
                           suggested, lowest, highest, 1, &accepted);
  if (!accepted) return std::nullopt;
  return count;
}

}  // namespace dispfit
