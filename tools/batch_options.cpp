// SPDX-License-Identifier: GPL-3.0-or-later
#include "batch_options.h"

#include "argument_stream.h"

namespace swcore {

namespace {

// The setting an option with a value assigns, or nullptr for an unknown name.
double* settingFor(std::string_view name, BatchSettings& settings) {
  if (name == "--bl") return &settings.BL;
  if (name == "--bu") return &settings.BU;
  if (name == "--hl") return &settings.HL;
  if (name == "--hu") return &settings.HU;
  if (name == "--ea") return &settings.EA;
  return nullptr;
}

BatchCommand error(std::string message) {
  BatchCommand command;
  command.action = BatchCommand::Action::Error;
  command.error = std::move(message);
  return command;
}

}  // namespace

BatchCommand parseBatchOptions(std::span<const std::string_view> arguments) {
  BatchCommand command;
  dispfit::ArgumentStream in(arguments);
  std::string fault;
  while (!in.empty()) {
    const std::string_view name = in.next();
    if (dispfit::ArgumentStream::isHelp(name)) {
      command.action = BatchCommand::Action::Help;
      return command;
    }
    if (name == "--invert" || name == "--group") {
      if (!in.flag(name, fault)) return error(fault);
      (name == "--invert" ? command.settings.KK : command.settings.KPG) = 1;
      continue;
    }
    double* setting = settingFor(name, command.settings);
    if (setting == nullptr) return error(dispfit::unknownOption(name));
    if (!in.real(name, *setting, fault)) return error(fault);
  }
  if (!(command.settings.BL < command.settings.BU)) {
    return error("the mean-velocity bounds need BL < BU");
  }
  if (!(command.settings.HL < command.settings.HU)) {
    return error("the depth bounds need HL < HU");
  }
  return command;
}

std::string batchUsage() {
  return "Usage: swcore-batch [options]\n"
         "\n"
         "Runs the engine's batch run in the current directory.\n"
         "\n"
         "Forward run (the default): reads the model from SHR.TXT and the frequencies from\n"
         "FIT.TXT, computes the fundamental-mode Rayleigh phase velocities and rewrites\n"
         "FIT.TXT with them, keeping the file it replaces as FIT.TXT.~1~, FIT.TXT.~2~, ...\n"
         "\n"
         "Inversion (--invert): also reads LX.TXT and fits the free S velocities and\n"
         "thicknesses to the curve in FIT.TXT by damped least squares; writes the fitted\n"
         "curve to TVF.TXT and the fitted parameters to HPV.TXT, both or neither.\n"
         "\n"
         "Files (free format: numbers separated by blanks, commas or line breaks):\n"
         "  SHR.TXT  number of layers N (the half-space included), then per layer:\n"
         "           thickness (m), S velocity (m/s), density (g/cm3)\n"
         "  FIT.TXT  number of data M, then one line per datum: frequency (Hz),\n"
         "           phase velocity (m/s); anything further on a line is skipped\n"
         "  LX.TXT   2N flags in the order S velocity 1, thickness 1, S velocity 2, ...;\n"
         "           0 frees the parameter, any other value fixes it\n"
         "  TVF.TXT  per datum: period (s), fitted velocity (m/s), observed velocity (m/s)\n"
         "  HPV.TXT  per free parameter: fitted value and starting value (m/s or m)\n"
         "\n"
         "Options (default in brackets):\n"
         "  --invert  invert instead of the forward run\n"
         "  --group   fit group velocities instead of phase velocities (inversion)\n"
         "  --bl X    lower bound of the mean S velocity above the half-space, km/s [0.01]\n"
         "  --bu X    upper bound of that mean velocity, km/s [5]\n"
         "  --hl X    lower bound of the depth to the half-space, km [0.0001]\n"
         "  --hu X    upper bound of that depth, km [0.05]\n"
         "  --ea X    misfit that ends the inversion at an accepted step, (km/s)^2 [1e-5]\n"
         "  --help    show this text\n"
         "  --version show the program's version\n"
         "\n"
         "Records of the run go to standard output. A fault, a result that is not a\n"
         "finite number, or records that cannot be written go to standard error and end\n"
         "the run with a non-zero exit status, leaving every output file as it was.\n";
}

}  // namespace swcore
