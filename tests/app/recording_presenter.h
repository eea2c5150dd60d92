// SPDX-License-Identifier: GPL-3.0-or-later
// A MessagePresenter that records what the program would have shown.
#pragma once

#include <string>
#include <vector>

#include "core/message_presenter.h"

namespace dispfit {

struct RecordedMessage {
  enum class Kind { Box, Plain, Error };
  Kind kind = Kind::Box;
  std::string text;
  std::string caption;
  MessageIcon icon = MessageIcon::Information;
};

class RecordingPresenter : public MessagePresenter {
 public:
  void showBox(const std::string& text, const std::string& caption, MessageIcon icon) override {
    messages.push_back({RecordedMessage::Kind::Box, text, caption, icon});
  }
  void showPlain(const std::string& text) override {
    messages.push_back({RecordedMessage::Kind::Plain, text, {}, MessageIcon::Information});
  }
  void showError(const std::string& text) override {
    messages.push_back({RecordedMessage::Kind::Error, text, {}, MessageIcon::Information});
  }

  std::vector<RecordedMessage> messages;
};

}  // namespace dispfit
