// SPDX-License-Identifier: GPL-3.0-or-later
#include <QInputDialog>

#include "window/layer_count_chooser.h"

namespace dispfit {

std::optional<int> DialogLayerCountChooser::layerCount(QWidget* parent, int suggested, int lowest,
                                                       int highest) {
  bool accepted = false;
  const int count =
      QInputDialog::getInt(parent, QObject::tr("建议初始模型 (Suggest starting model)"),
                           QObject::tr("层数（含半空间）(Layers, the half-space included):"),
                           suggested, lowest, highest, 1, &accepted);
  if (!accepted) return std::nullopt;
  return count;
}

}  // namespace dispfit
