// SPDX-License-Identifier: GPL-3.0-or-later
// The languages the window speaks, and their codes on the command line
// (DispFit --language en|zh) and in the stored settings.
#pragma once

#include <optional>
#include <string_view>

namespace dispfit {

// Chinese is the window's own language: its texts are written in it, and
// English comes from a translation.
enum class WindowLanguage { Chinese, English };

// "zh" or "en"; any other code is none.
std::optional<WindowLanguage> languageFromCode(std::string_view code);
const char* languageCode(WindowLanguage language);

}  // namespace dispfit
