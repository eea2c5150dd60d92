// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/start_arguments.h"

#include <string_view>

namespace dispfit {

namespace {

struct Option {
  std::string_view name;
  std::optional<std::string> StartFiles::*file;  // none: the language
};

constexpr std::string_view kLanguageOption = "--language";
constexpr Option kOptions[] = {
    {"--model", &StartFiles::model}, {"--curve", &StartFiles::curve}, {kLanguageOption, nullptr}};

}  // namespace

StartRequest startRequest(std::span<const std::string_view> arguments) {
  const auto asked = [&](std::string_view name) {
    for (const std::string_view argument : arguments) {
      if (argument == name) return true;
    }
    return false;
  };
  if (asked("--help") || asked("-h")) return StartRequest::showHelp;
  if (asked("--version")) return StartRequest::showVersion;
  return StartRequest::openWindow;
}

StartArguments readStartArguments(std::span<const std::string> arguments) {
  StartFiles files;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    const Option* option = nullptr;
    // Empty both when absent and when given empty: either needs a file name.
    std::string value;
    for (const Option& known : kOptions) {
      if (argument == known.name) {
        option = &known;
        if (i + 1 < arguments.size()) value = arguments[++i];
      } else if (argument.size() > known.name.size() && argument.starts_with(known.name) &&
                 argument[known.name.size()] == '=') {
        option = &known;
        value = argument.substr(known.name.size() + 1);
      }
    }
    if (option == nullptr) return {std::nullopt, "unknown argument '" + argument + "'"};
    const std::string name(option->name);
    if (option->file == nullptr) {
      if (files.language) return {std::nullopt, name + " is given more than once"};
      files.language = languageFromCode(value);
      if (!files.language) {
        return {std::nullopt, name + " takes en (English) or zh (Chinese), not '" + value + "'"};
      }
      continue;
    }
    if (value.empty()) return {std::nullopt, name + " needs a file name"};
    if (files.*(option->file)) return {std::nullopt, name + " is given more than once"};
    files.*(option->file) = std::move(value);
  }
  return {files, {}};
}

}  // namespace dispfit
