// SPDX-License-Identifier: GPL-3.0-or-later
// The program's messages as parentless modal Qt message boxes.
#pragma once

#include <QMessageBox>
#include <memory>

#include "core/message_presenter.h"

namespace dispfit {

// The box of a report: the warning icon, the text in a fixed-pitch font so
// that its columns line up, selectable and copyable with mouse and keyboard.
std::unique_ptr<QMessageBox> makeReportBox(const QString& text, const QString& caption);

class QtMessagePresenter : public MessagePresenter {
 public:
  void showBox(const std::string& text, const std::string& caption, MessageIcon icon) override;
  void showPlain(const std::string& text) override;
  void showError(const std::string& text) override;
  void showReport(const std::string& text, const std::string& caption) override;
};

}  // namespace dispfit
