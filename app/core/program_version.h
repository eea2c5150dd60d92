// SPDX-License-Identifier: GPL-3.0-or-later
// The version every program of the project reports with --version.
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace dispfit {

// The project's version, with the commit it was built from when built from
// a git checkout: "1.0" or "1.0 (9ac3d08)".
const char* programVersion();

// Whether the arguments after the program's name ask for the version:
// "--version" is one of them.
bool asksForVersion(std::span<const std::string_view> arguments);

// The line a program prints for --version: its name, the version and the
// licence, "dispfit-curve 1.0 (9ac3d08)\nLicence: GPL-3.0-or-later\n".
std::string versionText(std::string_view program);

}  // namespace dispfit
