// SPDX-License-Identifier: GPL-3.0-or-later
#include "masw_options.h"

#include <cmath>
#include <cstdint>

#include "argument_stream.h"

namespace dispfit {
namespace {

// The most cells an image axis may have: a thousandth of a hertz over
// 10 kHz, far finer than any record resolves, and small enough that a wrong
// step is refused before memory is taken.
constexpr double kMostSteps = 100000.0;

// The most a count option takes: far beyond a survey's offsets, a decade's
// bins or a machine's cores, and below any count that would exhaust memory.
constexpr std::int64_t kMostCount = 1000;

bool whole(ArgumentStream& in, std::string_view option, std::int64_t least, std::int64_t& value,
           std::string& error) {
  return in.whole(option, least, kMostCount, value, error);
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
  ImageRequest& image = command.request.image;
  PickingRules& picking = command.request.picking;
  GeometryOverrides& geometry = command.geometry;
  double a = 0.0;
  double b = 0.0;
  if (name == "--fmin") return in.positive(name, image.grid.frequency.first, error);
  if (name == "--fmax") return in.positive(name, image.grid.frequency.last, error);
  if (name == "--df") return in.positive(name, image.grid.frequency.step, error);
  if (name == "--vmin") return in.positive(name, image.grid.velocity.first, error);
  if (name == "--vmax") return in.positive(name, image.grid.velocity.last, error);
  if (name == "--dv") return in.positive(name, image.grid.velocity.step, error);
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
    if (!in.real(name, a, error) || !in.real(name, b, error)) return false;
    if (!(a < b)) {
      error = "--window: T0 must lie before T1";
      return false;
    }
    image.window.start = a;
    image.window.end = b;
    return true;
  }
  if (name == "--mute") {
    if (!in.positive(name, a, error) || !in.positive(name, b, error)) return false;
    if (!(a > b)) {
      error = "--mute: VFAST must be above VSLOW";
      return false;
    }
    image.window.fastVelocity = a;
    image.window.slowVelocity = b;
    return true;
  }
  if (name == "--receivers") {
    std::int64_t first = 0;
    std::int64_t last = 0;
    if (!in.whole(name, 1, std::int64_t(kMostRecordTraces), first, error) ||
        !in.whole(name, 1, std::int64_t(kMostRecordTraces), last, error)) {
      return false;
    }
    if (first >= last) {
      error = "--receivers: A must come before B";
      return false;
    }
    geometry.receivers = std::pair<std::size_t, std::size_t>{std::size_t(first), std::size_t(last)};
    return true;
  }
  if (name == "--first") {
    if (!in.real(name, a, error)) return false;
    geometry.firstReceiver = a;
    return true;
  }
  if (name == "--spacing") {
    if (!in.real(name, a, error)) return false;
    if (a == 0.0) {
      error = "--spacing must not be 0";
      return false;
    }
    geometry.spacing = a;
    return true;
  }
  if (name == "--source") {
    if (!in.real(name, a, error)) return false;
    geometry.source = a;
    return true;
  }
  if (name == "--sample-interval") {
    if (!in.positive(name, a, error)) return false;
    geometry.sampleInterval = a;
    return true;
  }
  if (name == "--min-offsets") {
    std::int64_t n = 0;
    if (!whole(in, name, 2, n, error)) return false;
    command.request.statistics.leastOffsets = std::size_t(n);
    return true;
  }
  if (name == "--wavelength-bins") {
    std::int64_t n = 0;
    if (!whole(in, name, 1, n, error)) return false;
    command.request.statistics.domain = StatisticsDomain::logWavelength;
    command.request.statistics.binsPerDecade = std::size_t(n);
    return true;
  }
  if (name == "--seed") {
    if (!in.positive(name, a, error) || !in.positive(name, b, error)) return false;
    picking.seed = SeedPoint{a, b};
    return true;
  }
  if (name == "--pick-velocities") {
    if (!in.positive(name, a, error) || !in.positive(name, b, error)) return false;
    if (!(a < b)) {
      error = "--pick-velocities: LO must lie below HI";
      return false;
    }
    picking.lowestVelocity = a;
    picking.highestVelocity = b;
    return true;
  }
  if (name == "--max-change") {
    if (!in.positive(name, a, error)) return false;
    if (!(a < 1.0)) {
      error = "--max-change: a share below 1 (0.1 is 10 % a frequency step)";
      return false;
    }
    picking.largestChange = a;
    return true;
  }
  if (name == "--threads") {
    std::int64_t n = 0;
    if (!whole(in, name, 1, n, error)) return false;
    command.threads = unsigned(n);
    return true;
  }
  if (name == "--csv") return prefix(in, name, command.csvPrefix, error);
  if (name == "--images") return prefix(in, name, command.imagesPrefix, error);
  error = "unknown option " + std::string(name);
  return false;
}

// What the options decide alone about the image's axes.
bool checkAxis(const EvenSteps& steps, const char* low, const char* high, const char* step,
               std::string& error) {
  if (!(steps.first < steps.last)) {
    error = std::string(low) + " must lie below " + high;
    return false;
  }
  if ((steps.last - steps.first) / steps.step > kMostSteps) {
    error = std::string(step) + " gives more than 100000 steps from " + low + " to " + high;
    return false;
  }
  return true;
}

MaswCommand failed(MaswCommand command) {
  command.action = MaswCommand::Action::Error;
  return command;
}

}  // namespace

MaswCommand defaultMaswCommand() {
  MaswCommand command;
  command.request.image.grid.frequency = {5.0, 100.0, 0.5};
  command.request.image.grid.velocity = {50.0, 1000.0, 1.0};
  command.request.statistics.leastOffsets = 3;
  return command;
}

MaswCommand parseMaswOptions(std::span<const std::string_view> arguments) {
  MaswCommand command = defaultMaswCommand();
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
  if (command.geometry.firstReceiver.has_value() != command.geometry.spacing.has_value()) {
    command.error = "--first and --spacing are given together";
    return failed(std::move(command));
  }
  const ImageGrid& grid = command.request.image.grid;
  if (!checkAxis(grid.frequency, "--fmin", "--fmax", "--df", command.error) ||
      !checkAxis(grid.velocity, "--vmin", "--vmax", "--dv", command.error)) {
    return failed(std::move(command));
  }
  // A pick's resolution: half a velocity step.
  command.request.statistics.sigmaFloor = 0.5 * grid.velocity.step;
  return command;
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
