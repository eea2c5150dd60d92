// SPDX-License-Identifier: GPL-3.0-or-later
// The program's messages as parentless modal Qt message boxes, in the
// language the application shows: every line of a text, and the caption,
// that is a marked text of the Messages context is shown translated (the
// engine's failures, the inversion's messages, the box caption); the rest
// arrives composed in that language.
#pragma once

#include <QMessageBox>
#include <memory>

#include "core/message_presenter.h"
#include "window/window_translations.h"

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

 private:
  QString shown(const std::string& text) const;

  ApplicationTextTranslator translator_;
};

}  // namespace dispfit
