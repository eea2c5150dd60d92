// SPDX-License-Identifier: GPL-3.0-or-later
// dispfit-masw [OPTIONS] RECORD...: from field shot records to a dispersion
// curve with its spread across source offsets, ready for dispfit-invert.
#include <unistd.h>

#include <iostream>
#include <string_view>
#include <vector>

#include "core/program_version.h"
#include "masw_options.h"
#include "masw_run.h"

int main(int argc, char** argv) {
  const std::vector<std::string_view> arguments(argv + 1, argv + argc);
  if (dispfit::asksForVersion(arguments)) {
    std::cout << dispfit::versionText("dispfit-masw") << std::flush;
    return std::cout ? dispfit::kMaswDone : dispfit::kMaswNoCurve;
  }
  const dispfit::MaswCommand command = dispfit::parseMaswOptions(arguments);
  switch (command.action) {
    case dispfit::MaswCommand::Action::Help:
      std::cout << dispfit::maswUsage();
      std::cout.flush();
      return std::cout ? dispfit::kMaswDone : dispfit::kMaswNoCurve;
    case dispfit::MaswCommand::Action::Error:
      std::cerr << "dispfit-masw: " << command.error << '\n';
      return dispfit::kMaswUsageOrFileError;
    case dispfit::MaswCommand::Action::Run:
      break;
  }
  return dispfit::runMasw(command, std::cout, std::cerr, isatty(STDERR_FILENO) == 1);
}
