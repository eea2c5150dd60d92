// SPDX-License-Identifier: GPL-3.0-or-later
// The command-line arguments a program has not yet consumed, read one by one
// with the values their options take.
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace dispfit {

class ArgumentStream {
 public:
  explicit ArgumentStream(std::span<const std::string_view> arguments) : rest_(arguments) {}

  bool empty() const { return rest_.empty(); }
  std::string_view next() {
    const std::string_view first = rest_.front();
    rest_ = rest_.subspan(1);
    return first;
  }
  // The value after `option`, or false with a message when there is none.
  bool value(std::string_view option, std::string_view& text, std::string& error) {
    if (rest_.empty()) {
      error = std::string(option) + " needs a value";
      return false;
    }
    text = next();
    return true;
  }

 private:
  std::span<const std::string_view> rest_;
};

}  // namespace dispfit
