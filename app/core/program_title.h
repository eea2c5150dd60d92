// SPDX-License-Identifier: GPL-3.0-or-later
// The program's title: main window caption, task-bar title and the title part
// of the About window's caption.
#pragma once

namespace dispfit {

inline constexpr const char* kProgramTitle = "DispFit";

}  // namespace dispfit
