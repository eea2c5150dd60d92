// SPDX-License-Identifier: GPL-3.0-or-later
// Where the program's messages go: parentless message boxes in the window
// program, a recorder in tests, the standard error stream in command-line tools.
#pragma once

#include <string>

#include "core/text_translation.h"

namespace dispfit {

enum class MessageIcon { Information, Warning };

// The caption of the program's message boxes.
inline constexpr const char* kMessageCaption = DISPFIT_TEXT("Messages", "Sondrix提示...");

class MessagePresenter {
 public:
  virtual ~MessagePresenter() = default;

  // Modal box with a caption, an icon and one OK button, no owner window.
  virtual void showBox(const std::string& text, const std::string& caption, MessageIcon icon) = 0;

  // The plain message dialog: the text and one OK button.
  virtual void showPlain(const std::string& text) = 0;

  // The standard error box for an error that left an event handler.
  virtual void showError(const std::string& text) = 0;

  // A report laid out in columns: a box with the warning icon, as showBox,
  // unless the presenter can show it in a fixed-pitch font.
  virtual void showReport(const std::string& text, const std::string& caption) {
    showBox(text, caption, MessageIcon::Warning);
  }
};

}  // namespace dispfit
