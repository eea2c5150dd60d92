// SPDX-License-Identifier: GPL-3.0-or-later
// Where the window asks how many layers a suggested starting model gets: a
// small dialog in the program, a scripted answer in tests.
#pragma once

#include <QWidget>
#include <optional>

namespace dispfit {

class LayerCountChooser {
 public:
  virtual ~LayerCountChooser() = default;

  // The count the user chose, from `lowest` to `highest` and offered first as
  // `suggested`, or none when the choice was cancelled.
  virtual std::optional<int> layerCount(QWidget* parent, int suggested, int lowest,
                                        int highest) = 0;
};

// The desktop's integer input dialog.
class DialogLayerCountChooser : public LayerCountChooser {
 public:
  std::optional<int> layerCount(QWidget* parent, int suggested, int lowest, int highest) override;
};

}  // namespace dispfit
