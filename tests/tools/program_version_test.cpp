// SPDX-License-Identifier: GPL-3.0-or-later
// Every program answers --version with its name, the project's version and
// its licence, and the window program answers --help and --version without
// a display.
#include <gtest/gtest.h>

#include <string>

#include "tool_run.h"

namespace dispfit_test {
namespace {

struct Program {
  const char* name;
  const char* path;
};

const Program kPrograms[] = {
    {"swcore-batch", SWCORE_BATCH_PATH},   {"dispfit-invert", DISPFIT_INVERT_PATH},
    {"dispfit-curve", DISPFIT_CURVE_PATH}, {"dispfit-masw", DISPFIT_MASW_PATH},
#ifdef DISPFIT_WINDOW_PATH
    {"DispFit", DISPFIT_WINDOW_PATH},
#endif
};

// Runs a program with no display in its environment, in a scratch folder
// (swcore-batch would otherwise run its batch in the current one).
class ProgramVersion : public ToolTest {
 protected:
  ProgramVersion() : ToolTest("/usr/bin/env", "dispfit_version_") {}
  ToolRun runWithoutDisplay(const Program& program, const std::string& arguments) {
    return run("-C " + quoted(dir_) + " -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM " +
               quoted(program.path) + " " + arguments);
  }
};

TEST_F(ProgramVersion, EveryProgramNamesItselfTheProjectVersionAndTheLicence) {
  for (const Program& program : kPrograms) {
    SCOPED_TRACE(program.name);
    // The project's version from CMake, whatever the checkout adds after it.
    const std::string expected = std::string(program.name) + " " + DISPFIT_PROJECT_VERSION;
    for (const char* arguments : {"--version", "--help --version", "--version SHR.TXT"}) {
      SCOPED_TRACE(arguments);
      const ToolRun result = runWithoutDisplay(program, arguments);
      if (std::string(arguments).starts_with("--help")) {
        // Where help is asked for too, a program answers one or the other.
        EXPECT_EQ(result.status, 0) << result.err;
        continue;
      }
      EXPECT_EQ(result.status, 0) << result.err;
      EXPECT_TRUE(result.out.starts_with(expected + " ") || result.out.starts_with(expected + "\n"))
          << result.out;
      EXPECT_NE(result.out.find("\nLicence: GPL-3.0-or-later\n"), std::string::npos) << result.out;
      EXPECT_EQ(result.err, "");
    }
  }
}

#ifdef DISPFIT_WINDOW_PATH
TEST_F(ProgramVersion, TheWindowProgramHelpsWithoutADisplayAndRefusesToStartWithoutOne) {
  const Program window{"DispFit", DISPFIT_WINDOW_PATH};
  const ToolRun help = runWithoutDisplay(window, "--help");
  EXPECT_EQ(help.status, 0) << help.err;
  EXPECT_TRUE(
      help.out.starts_with("usage: DispFit [--model FILE] [--curve FILE] [--language en|zh]\n"))
      << help.out;
  EXPECT_NE(help.out.find("--version"), std::string::npos) << help.out;

  const ToolRun start = runWithoutDisplay(window, "");
  EXPECT_EQ(start.status, 1);
  EXPECT_NE(start.err.find("needs a display"), std::string::npos) << start.err;
  EXPECT_EQ(start.out, "");
}
#endif

}  // namespace
}  // namespace dispfit_test
