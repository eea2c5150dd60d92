// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/window_language.h"

namespace dispfit {

std::optional<WindowLanguage> languageFromCode(std::string_view code) {
  if (code == "zh") return WindowLanguage::Chinese;
  if (code == "en") return WindowLanguage::English;
  return std::nullopt;
}

const char* languageCode(WindowLanguage language) {
  return language == WindowLanguage::English ? "en" : "zh";
}

}  // namespace dispfit
