// SPDX-License-Identifier: GPL-3.0-or-later
#include "argument_stream.h"

#include "core/number_text.h"

namespace dispfit {

std::string_view ArgumentStream::next() {
  std::string_view argument = rest_.front();
  rest_ = rest_.subspan(1);
  attached_.reset();
  if (isOption(argument) && argument.starts_with("--")) {
    if (const std::size_t equals = argument.find('='); equals != std::string_view::npos) {
      attached_ = argument.substr(equals + 1);
      argument = argument.substr(0, equals);
    }
  }
  return argument;
}

bool ArgumentStream::isHelp(std::string_view argument) {
  return argument == "--help" || argument == "-h";
}

bool ArgumentStream::isOption(std::string_view argument) {
  return argument.size() > 1 && argument.front() == '-';
}

bool ArgumentStream::value(std::string_view option, std::string_view& text, std::string& error) {
  if (attached_) {
    text = *attached_;
    attached_.reset();
    return true;
  }
  if (rest_.empty()) {
    error = std::string(option) + " needs a value";
    return false;
  }
  text = rest_.front();
  rest_ = rest_.subspan(1);
  return true;
}

bool ArgumentStream::text(std::string_view option, std::string& value, std::string& error) {
  std::string_view written;
  if (!this->value(option, written, error)) return false;
  if (written.empty()) {
    error = std::string(option) + ": the value is empty";
    return false;
  }
  value = std::string(written);
  return true;
}

bool ArgumentStream::real(std::string_view option, double& value, std::string_view& text,
                          std::string& error) {
  if (!this->value(option, text, error)) return false;
  const std::optional<double> number = parseDecimal(text);
  if (!number) {
    error = notANumber(option, text);
    return false;
  }
  value = *number;
  return true;
}

bool ArgumentStream::real(std::string_view option, double& value, std::string& error) {
  std::string_view text;
  return real(option, value, text, error);
}

bool ArgumentStream::positive(std::string_view option, double& value, std::string& error) {
  std::string_view text;
  if (!real(option, value, text, error)) return false;
  if (!(value > 0.0)) {
    error = std::string(option) + ": " + std::string(text) + " must be positive";
    return false;
  }
  return true;
}

bool ArgumentStream::whole(std::string_view option, std::int64_t least, std::int64_t most,
                           std::int64_t& value, std::string& error) {
  std::string_view text;
  if (!this->value(option, text, error)) return false;
  const std::optional<std::int64_t> number = parseWhole(text);
  if (!number || *number < least || *number > most) {
    error = std::string(option) + ": \"" + std::string(text) + "\" is not a whole number from " +
            std::to_string(least) + " to " + std::to_string(most);
    return false;
  }
  value = *number;
  return true;
}

bool ArgumentStream::realList(std::string_view option, std::vector<double>& values,
                              std::string& error) {
  std::string_view text;
  if (!this->value(option, text, error)) return false;
  std::vector<double> read;
  std::string_view rest = text;
  while (true) {
    const std::size_t comma = rest.find(',');
    const std::optional<double> number = parseDecimal(rest.substr(0, comma));
    if (!number) {
      error = std::string(option) + " needs numbers separated by commas, not \"" +
              std::string(text) + "\" (a full stop is the decimal separator)";
      return false;
    }
    read.push_back(*number);
    if (comma == std::string_view::npos) break;
    rest.remove_prefix(comma + 1);
  }
  values = std::move(read);
  return true;
}

bool ArgumentStream::flag(std::string_view option, std::string& error) {
  if (attached_) {
    error = std::string(option) + " takes no value";
    return false;
  }
  return true;
}

std::string ArgumentStream::notANumber(std::string_view option, std::string_view text) {
  return std::string(option) + ": \"" + std::string(text) +
         "\" is not a number (a full stop is the decimal separator)";
}

std::string unknownOption(std::string_view option) {
  return "unknown option " + std::string(option);
}

}  // namespace dispfit
