// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/program_version.h"

#include <algorithm>

#include "program_version_text.h"

namespace dispfit {

const char* programVersion() {
  return DISPFIT_VERSION_TEXT;
}

bool asksForVersion(std::span<const std::string_view> arguments) {
  return std::find(arguments.begin(), arguments.end(), "--version") != arguments.end();
}

std::string versionText(std::string_view program) {
  std::string text(program);
  text += ' ';
  text += programVersion();
  text += "\nLicence: GPL-3.0-or-later\n";
  return text;
}

}  // namespace dispfit
