// The program's messages as parentless modal Qt message boxes.
#pragma once

#include "core/message_presenter.h"

namespace dispfit {

class QtMessagePresenter : public MessagePresenter {
 public:
  void showBox(const std::string& text, const std::string& caption, MessageIcon icon) override;
  void showPlain(const std::string& text) override;
  void showError(const std::string& text) override;
};

}  // namespace dispfit
