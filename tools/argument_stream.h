// SPDX-License-Identifier: GPL-3.0-or-later
// The one option reader of the command-line programs: the arguments a program
// has not yet consumed, read one by one with the values their options take,
// each value read and checked the same way in every program and refused in
// the same words.
//
// An option's value is the next argument ("--iterations 50") or, written
// with an equals sign, the rest of the option's own ("--iterations=50").
// Numbers are read by the programs' one number reader (core/number_text.h):
// a full stop is the decimal point whatever the locale.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace dispfit {

class ArgumentStream {
 public:
  explicit ArgumentStream(std::span<const std::string_view> arguments) : rest_(arguments) {}

  bool empty() const { return rest_.empty(); }

  // The next argument. An option written "--name=value" comes back as
  // "--name", its value kept for the next value read.
  std::string_view next();

  // True for "--help" and "-h".
  static bool isHelp(std::string_view argument);
  // True for an argument that names an option: a '-' followed by more.
  static bool isOption(std::string_view argument);

  // Each read below takes the value of `option`, the option last returned by
  // next(); on a fault it returns false with the message in `error`.

  // The value as written; a missing one is refused.
  bool value(std::string_view option, std::string_view& text, std::string& error);
  // A value that is not empty ("--csv PREFIX").
  bool text(std::string_view option, std::string& value, std::string& error);
  // A finite decimal number; `text` is the value as written, for messages.
  bool real(std::string_view option, double& value, std::string_view& text, std::string& error);
  bool real(std::string_view option, double& value, std::string& error);
  // A number above zero.
  bool positive(std::string_view option, double& value, std::string& error);
  // A whole number from `least` to `most`.
  bool whole(std::string_view option, std::int64_t least, std::int64_t most, std::int64_t& value,
             std::string& error);
  // Finite numbers separated by commas ("5,10,20").
  bool realList(std::string_view option, std::vector<double>& values, std::string& error);
  // An option that takes no value: refused when one was attached
  // ("--group=1").
  bool flag(std::string_view option, std::string& error);

  // The words every program uses for a value that is not a number.
  static std::string notANumber(std::string_view option, std::string_view text);

 private:
  std::span<const std::string_view> rest_;
  std::optional<std::string_view> attached_;  // the value after '=' of the last option
};

// "unknown option --name": what every program says of an option it does not know.
std::string unknownOption(std::string_view option);

}  // namespace dispfit
