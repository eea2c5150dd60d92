// SPDX-License-Identifier: GPL-3.0-or-later
#include "masw_options.h"

#include <cstdint>
#include <limits>

#include "argument_stream.h"
#include "shots/shot_record.h"

namespace dispfit {
namespace {

// A count's type: a whole number from 0. What counts may be is the
// settings' rule; this bound only keeps a count within its type.
constexpr std::int64_t kLargestCount = std::numeric_limits<std::int32_t>::max();

// The most images computed at once: far beyond a machine's cores.
constexpr std::int64_t kMostThreads = 1000;

bool count(ArgumentStream& in, std::string_view option, std::size_t& value, std::string& error) {
  std::int64_t n = 0;
  if (!in.whole(option, 0, kLargestCount, n, error)) return false;
  value = std::size_t(n);
  return true;
}

bool real(ArgumentStream& in, std::string_view option, double& value, std::string& error) {
  return in.real(option, value, error);
}

bool real(ArgumentStream& in, std::string_view option, std::optional<double>& value,
          std::string& error) {
  double read = 0.0;
  if (!in.real(option, read, error)) return false;
  value = read;
  return true;
}

bool prefix(ArgumentStream& in, std::string_view option, std::optional<std::string>& out,
            std::string& error) {
  std::string text;
  if (!in.text(option, text, error)) return false;
  out = std::move(text);
  return true;
}

bool option(ArgumentStream& in, std::string_view name, MaswCommand& command) {
  std::string& error = command.error;
  ImageRequest& image = command.settings.request.image;
  PickingRules& picking = command.settings.request.picking;
  StatisticsRules& statistics = command.settings.request.statistics;
  GeometryOverrides& geometry = command.settings.geometry;
  if (name == "--fmin") return real(in, name, image.grid.frequency.first, error);
  if (name == "--fmax") return real(in, name, image.grid.frequency.last, error);
  if (name == "--df") return real(in, name, image.grid.frequency.step, error);
  if (name == "--vmin") return real(in, name, image.grid.velocity.first, error);
  if (name == "--vmax") return real(in, name, image.grid.velocity.last, error);
  if (name == "--dv") return real(in, name, image.grid.velocity.step, error);
  if (name == "--transform") {
    std::string_view text;
    if (!in.value(name, text, error)) return false;
    if (text == "phase-shift") {
      image.transform = ImageTransform::phaseShift;
    } else if (text == "fdbf") {
      image.transform = ImageTransform::beamformer;
    } else {
      error = "--transform: \"" + std::string(text) + "\" is neither phase-shift nor fdbf";
      return false;
    }
    return true;
  }
  if (name == "--window") {
    return real(in, name, image.window.start, error) && real(in, name, image.window.end, error);
  }
  if (name == "--mute") {
    return real(in, name, image.window.fastVelocity, error) &&
           real(in, name, image.window.slowVelocity, error);
  }
  if (name == "--receivers") {
    std::size_t first = 0;
    std::size_t last = 0;
    if (!count(in, name, first, error) || !count(in, name, last, error)) return false;
    geometry.receivers = std::pair<std::size_t, std::size_t>{first, last};
    return true;
  }
  if (name == "--first") return real(in, name, geometry.firstReceiver, error);
  if (name == "--spacing") return real(in, name, geometry.spacing, error);
  if (name == "--source") return real(in, name, geometry.source, error);
  if (name == "--sample-interval") return real(in, name, geometry.sampleInterval, error);
  if (name == "--min-offsets") return count(in, name, statistics.leastOffsets, error);
  if (name == "--wavelength-bins") {
    statistics.domain = StatisticsDomain::logWavelength;
    return count(in, name, statistics.binsPerDecade, error);
  }
  if (name == "--seed") {
    SeedPoint seed;
    if (!real(in, name, seed.frequency, error) || !real(in, name, seed.velocity, error)) {
      return false;
    }
    picking.seed = seed;
    return true;
  }
  if (name == "--pick-velocities") {
    return real(in, name, picking.lowestVelocity, error) &&
           real(in, name, picking.highestVelocity, error);
  }
  if (name == "--max-change") return real(in, name, picking.largestChange, error);
  if (name == "--threads") {
    std::int64_t n = 0;
    if (!in.whole(name, 1, kMostThreads, n, error)) return false;
    command.threads = unsigned(n);
    return true;
  }
  if (name == "--csv") return prefix(in, name, command.csvPrefix, error);
  if (name == "--images") return prefix(in, name, command.imagesPrefix, error);
  error = unknownOption(name);
  return false;
}

MaswCommand failed(MaswCommand command) {
  command.action = MaswCommand::Action::Error;
  return command;
}

}  // namespace

MaswCommand parseMaswOptions(std::span<const std::string_view> arguments) {
  MaswCommand command;
  command.settings = defaultMaswSettings();
  ArgumentStream in(arguments);
  while (!in.empty()) {
    const std::string_view argument = in.next();
    if (ArgumentStream::isHelp(argument)) {
      command.action = MaswCommand::Action::Help;
      return command;
    }
    if (ArgumentStream::isOption(argument)) {
      if (!option(in, argument, command)) return failed(std::move(command));
      continue;
    }
    command.recordPaths.emplace_back(argument);
  }
  if (command.recordPaths.empty()) {
    command.error = "expected one record file or more (see --help)";
    return failed(std::move(command));
  }
  const std::vector<MaswSettingFault> faults = maswSettingFaults(command.settings);
  if (!faults.empty()) {
    command.error = maswFaultText(faults.front());
    return failed(std::move(command));
  }
  command.settings = completedSettings(std::move(command.settings));
  return command;
}

std::string maswFaultText(MaswSettingFault fault) {
  using Fault = MaswSettingFault;
  const std::string most = std::to_string(kMostSettingCount);
  switch (fault) {
    case Fault::lowestFrequency:
      return "--fmin must be above 0 Hz";
    case Fault::frequencyStep:
      return "--df must be above 0 Hz";
    case Fault::frequencyOrder:
      return "--fmin must lie below --fmax";
    case Fault::frequencyCells:
      return "--df gives more than 100000 steps from --fmin to --fmax";
    case Fault::lowestVelocity:
      return "--vmin must be above 0 m/s";
    case Fault::velocityStep:
      return "--dv must be above 0 m/s";
    case Fault::velocityOrder:
      return "--vmin must lie below --vmax";
    case Fault::velocityCells:
      return "--dv gives more than 100000 steps from --vmin to --vmax";
    case Fault::aboveNyquist:
      return "--fmax lies at or above the Nyquist frequency of --sample-interval";
    case Fault::windowOrder:
      return "--window: T0 must lie before T1";
    case Fault::muteVelocity:
      return "--mute: VFAST and VSLOW must be above 0 m/s";
    case Fault::muteOrder:
      return "--mute: VFAST must be above VSLOW";
    case Fault::muteWithoutWindow:
      return "--mute moves the window of --window T0 T1, which is not given";
    case Fault::receiverPlaces:
      return "--first and --spacing are given together";
    case Fault::receiverSpacing:
      return "--spacing must not be 0";
    case Fault::sampleInterval:
      return "--sample-interval must be above 0 s";
    case Fault::receiverRange:
      return "--receivers: A and B must be receivers from 1 to " +
             std::to_string(kMostRecordTraces) + ", A before B";
    case Fault::leastOffsets:
      return "--min-offsets must be a whole number from 2 to " + most;
    case Fault::binsPerDecade:
      return "--wavelength-bins must be a whole number from 1 to " + most;
    case Fault::pickVelocityOrder:
      return "--pick-velocities: LO must lie below HI";
    case Fault::pickVelocitiesOutside:
      return "--pick-velocities: LO to HI lies outside --vmin to --vmax";
    case Fault::seedOutside:
      return "--seed: F V lies outside the image (--fmin to --fmax, --vmin to --vmax)";
    case Fault::largestChange:
      return "--max-change: a share above 0 and below 1 (0.1 is 10 % a frequency step)";
  }
  return {};
}

std::string maswUsage() {
  return "Usage: dispfit-masw [OPTIONS] RECORD...\n"
         "\n"
         "From shot records (SEG-2, SEG-Y or Seismic Unix) to a dispersion curve with\n"
         "its spread: the records of each source position are stacked into one\n"
         "dispersion image, its fundamental-mode ridge is picked, and the picks of\n"
         "the source offsets are combined into a mean and a standard deviation at\n"
         "each frequency. Prints a line per source offset and the curve.\n"
         "\n"
         "Image:\n"
         "  --fmin F --fmax F --df F   frequencies, Hz (default 5 100 0.5)\n"
         "  --vmin V --vmax V --dv V   phase velocities, m/s (default 50 1000 1)\n"
         "  --transform T              phase-shift (default) or fdbf, the frequency-domain\n"
         "                             beamformer with cylindrical steering\n"
         "  --window T0 T1             the times kept, s after the shot\n"
         "  --mute VFAST VSLOW         the window moved out with distance r: from\n"
         "                             T0 + r/VFAST to T1 + r/VSLOW (m/s)\n"
         "Geometry (overrides what the files say):\n"
         "  --first X0 --spacing DX    receiver i at X0 + (i - 1) DX, m\n"
         "  --source X                 the source position, m, for every record\n"
         "  --sample-interval S        s between samples\n"
         "  --receivers A B            keep receivers A to B (from 1)\n"
         "Picking and statistics:\n"
         "  --seed F V                 start the ridge at F Hz, V m/s (default: the\n"
         "                             sharpest peak in the middle half of the band)\n"
         "  --pick-velocities LO HI    the velocity window of the picks, m/s\n"
         "  --max-change SHARE         largest change of velocity from one frequency to\n"
         "                             the next (default 0.1)\n"
         "  --min-offsets N            leave out points seen at fewer offsets (default 3,\n"
         "                             at least 2)\n"
         "  --wavelength-bins N        statistics in N bins a decade of wavelength\n"
         "                             instead of at each frequency\n"
         "  --threads T                images computed at once (default: one per core)\n"
         "Output:\n"
         "  --csv PREFIX               PREFIX_curve.csv (frequency, velocity, sigma; the\n"
         "                             offsets in a comment) and PREFIX_picks.csv\n"
         "  --images PREFIX            PREFIX_offset_<X>.png, one image per source offset\n"
         "  --help, --version          this text; the program's version\n"
         "Without --csv the curve table goes to standard output after the report.\n"
         "\n"
         "sigma is the scatter of the phase velocity between source offsets (sample\n"
         "standard deviation), not the error of the mean, and not a bias that every\n"
         "offset shares. Picks outside the array's limits (wavelengths below twice\n"
         "the spacing or above the array's length) are flagged and left out.\n"
         "\n"
         "Exit status: 0 when the curve is written, 1 when no curve results (too few\n"
         "offsets, no ridge) or an output cannot be written, 2 for a record that\n"
         "cannot be read or used, or wrong arguments or option values.\n";
}

}  // namespace dispfit
