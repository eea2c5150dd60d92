// SPDX-License-Identifier: GPL-3.0-or-later
// Which result an export writes, when the window holds more than one (the
// local fit and the best-fit search): the desktop's choice in the program, a
// scripted answer in tests.
#pragma once

#include <QString>
#include <QStringList>
#include <QWidget>
#include <optional>

namespace dispfit {

class ExportResultChooser {
 public:
  virtual ~ExportResultChooser() = default;

  // The index of the result chosen among `names`, or none when cancelled.
  virtual std::optional<int> chooseResult(QWidget* parent, const QStringList& names) = 0;
};

// A list to choose from in a small dialog.
class DialogExportResultChooser : public ExportResultChooser {
 public:
  std::optional<int> chooseResult(QWidget* parent, const QStringList& names) override;
};

}  // namespace dispfit
