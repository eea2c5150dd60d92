// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/stream_message_presenter.h"

namespace dispfit {

void StreamMessagePresenter::showBox(const std::string& text, const std::string& caption,
                                     MessageIcon /*icon*/) {
  out_ << caption << ' ' << text << '\n';
}

void StreamMessagePresenter::showPlain(const std::string& text) {
  out_ << text << '\n';
}

void StreamMessagePresenter::showError(const std::string& text) {
  out_ << text << '\n';
}

}  // namespace dispfit
