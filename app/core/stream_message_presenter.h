// SPDX-License-Identifier: GPL-3.0-or-later
// Messages of a command-line program: one line each on a text stream,
// normally the standard error stream.
#pragma once

#include <ostream>
#include <string>

#include "core/message_presenter.h"

namespace dispfit {

class StreamMessagePresenter : public MessagePresenter {
 public:
  explicit StreamMessagePresenter(std::ostream& out) : out_(out) {}

  void showBox(const std::string& text, const std::string& caption, MessageIcon icon) override;
  void showPlain(const std::string& text) override;
  void showError(const std::string& text) override;

 private:
  std::ostream& out_;
};

}  // namespace dispfit
