// SPDX-License-Identifier: GPL-3.0-or-later
// swcore-batch: runs the engine's batch run in the current directory.
#include <iostream>
#include <string_view>
#include <vector>

#include "batch/batch_run.h"
#include "batch_options.h"
#include "core/program_version.h"
#include "dispersion/engine_state.h"
#include "records/record_writer.h"

namespace {

constexpr int kExitFault = 1;
constexpr int kExitUsage = 2;

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string_view> arguments(argv + 1, argv + argc);
  if (dispfit::asksForVersion(arguments)) {
    std::cout << dispfit::versionText("swcore-batch") << std::flush;
    return std::cout ? 0 : kExitFault;
  }
  const swcore::BatchCommand command = swcore::parseBatchOptions(arguments);
  switch (command.action) {
    case swcore::BatchCommand::Action::Help:
      std::cout << swcore::batchUsage() << std::flush;
      if (!std::cout) {
        std::cerr << "swcore-batch: the help could not be written to standard output\n";
        return kExitFault;
      }
      return 0;
    case swcore::BatchCommand::Action::Error:
      std::cerr << "swcore-batch: " << command.error << "\n"
                << "Try 'swcore-batch --help'.\n";
      return kExitUsage;
    case swcore::BatchCommand::Action::Run:
      break;
  }
  const swcore::RecordWriter console;
  const swcore::BatchResult result =
      swcore::INVRUN(swcore::engineState, command.settings, ".", console);
  // The run checks its records before it writes its files; what it printed
  // after them must arrive too.
  const bool recordsArrived = console.flush();
  if (!result.ok) {
    std::cerr << "swcore-batch: " << result.error << "\n";
    return kExitFault;
  }
  if (!recordsArrived) {
    std::cerr << "swcore-batch: the records could not be written to standard output\n";
    return kExitFault;
  }
  return 0;
}
