// SPDX-License-Identifier: GPL-3.0-or-later
// dispfit-curve MODEL: the fundamental-mode Rayleigh dispersion curve of a
// layered model, a line per frequency: frequency, phase velocity and, when
// asked, group velocity.
#include <cstdint>
#include <iostream>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "argument_stream.h"
#include "batch/batch_files.h"
#include "core/number_text.h"
#include "core/program_version.h"
#include "dispersion/dispersion_curve.h"

namespace dispfit {
namespace {

constexpr int kPrinted = 0;
constexpr int kModelRefused = 1;
constexpr int kUsageOrFileError = 2;

constexpr double kKilogramsPerCubicMetrePerGramPerCubicCentimetre = 1000.0;

void printHelp(std::ostream& out) {
  out << "Usage: dispfit-curve MODEL [--freq F1,F2,... | --fmin A --fmax B --count N] [--group]\n"
         "\n"
         "Prints the fundamental-mode Rayleigh dispersion curve of the layered model in\n"
         "MODEL, one line per frequency: frequency (Hz), phase velocity (m/s) and, with\n"
         "--group, group velocity (m/s). The fundamental mode is the lowest phase velocity\n"
         "at which the model carries a Rayleigh wave, below the half-space S velocity;\n"
         "where there is none the line shows 'none' instead of the velocities.\n"
         "\n"
         "MODEL  the number of layers N (1 to 50, the half-space included), then one\n"
         "       line per layer, top first:  thickness(m)  Vs(m/s)  density(g/cm3)\n"
         "       (the half-space's thickness is not used). Vp is 3 x Vs.\n"
         "       Numbers are separated by blanks, commas or line breaks.\n"
         "\n"
         "--freq F1,F2,...          the frequencies (Hz), printed in this order\n"
         "--fmin A --fmax B --count N\n"
         "                          N frequencies evenly spaced from A to B (Hz)\n"
         "                          (without either: 5 to 150 Hz every 5 Hz)\n"
         "--group                   also print the group velocity\n"
         "--help, --version         this text; the program's version\n"
         "\n"
         "Exit status: 0 when the curve is printed, 1 when the model or a frequency\n"
         "cannot be used (the reason goes to the standard error stream), 2 for a usage\n"
         "or file error.\n";
}

struct Options {
  std::string modelPath;
  std::vector<double> frequencies;
  bool group = false;
};

// `count` frequencies evenly spaced from `first` to `last`.
std::vector<double> evenlySpaced(double first, double last, int count) {
  std::vector<double> values;
  for (int i = 0; i < count; ++i) {
    values.push_back(count == 1 ? first : first + (last - first) * i / (count - 1));
  }
  return values;
}

// The most frequencies a range may give: far more than any plot needs.
constexpr std::int64_t kMostFrequencies = 100000;

// Reads the command line; on a fault returns nothing and says why in `error`.
std::optional<Options> parseOptions(std::span<const std::string_view> arguments,
                                    std::string& error) {
  Options options;
  std::optional<double> fmin, fmax;
  std::optional<std::int64_t> count;
  bool listed = false;
  ArgumentStream in(arguments);
  while (!in.empty()) {
    const std::string_view arg = in.next();
    if (arg == "--group") {
      if (!in.flag(arg, error)) return std::nullopt;
      options.group = true;
    } else if (arg == "--freq") {
      if (!in.realList(arg, options.frequencies, error)) return std::nullopt;
      listed = true;
    } else if (arg == "--fmin" || arg == "--fmax") {
      double value = 0.0;
      if (!in.real(arg, value, error)) return std::nullopt;
      (arg == "--fmin" ? fmin : fmax) = value;
    } else if (arg == "--count") {
      std::int64_t value = 0;
      if (!in.whole(arg, 1, kMostFrequencies, value, error)) return std::nullopt;
      count = value;
    } else if (ArgumentStream::isOption(arg)) {
      error = unknownOption(arg);
      return std::nullopt;
    } else if (options.modelPath.empty()) {
      options.modelPath = arg;
    } else {
      error = "unexpected argument '" + std::string(arg) + "'";
      return std::nullopt;
    }
  }
  if (options.modelPath.empty()) {
    error = "expected a model file";
    return std::nullopt;
  }
  const bool ranged = fmin || fmax || count;
  if (listed && ranged) {
    error = "give either --freq or --fmin, --fmax and --count";
    return std::nullopt;
  }
  if (ranged) {
    if (!fmin || !fmax || !count) {
      error = "--fmin, --fmax and --count go together";
      return std::nullopt;
    }
    options.frequencies = evenlySpaced(*fmin, *fmax, static_cast<int>(*count));
  } else if (!listed) {
    options.frequencies = evenlySpaced(5.0, 150.0, 30);
  }
  return options;
}

// The model file in the batch run's SHR.TXT layout. The one place that
// knows the file, so that another layout can take its place.
bool loadModel(const std::string& path, std::vector<swcore::ModelLayer>& model,
               std::string& error) {
  swcore::ModelFile file;
  if (!swcore::readModelFile(path, file, error)) {
    return false;
  }
  model.clear();
  for (std::size_t i = 0; i < file.shearVelocity.size(); ++i) {
    model.push_back({file.thickness[i], file.shearVelocity[i],
                     file.density[i] * kKilogramsPerCubicMetrePerGramPerCubicCentimetre});
  }
  return true;
}

// Velocities to 0.1 mm/s: the solver's own precision, so that the printed
// curve can serve as synthetic data for the other programs.
constexpr int kVelocityDecimals = 4;

void printCurve(const std::vector<double>& frequencies,
                const std::vector<swcore::CurvePoint>& curve, bool group) {
  for (std::size_t j = 0; j < curve.size(); ++j) {
    const swcore::CurvePoint& point = curve[j];
    std::string line = roundedText(frequencies[j], Figure::Frequency);
    if (!point.hasRoot) {
      line += " none";
    } else {
      line += ' ' + fixedText(point.phaseVelocity, kVelocityDecimals);
      if (group) line += ' ' + fixedText(point.groupVelocity, kVelocityDecimals);
    }
    std::cout << line << '\n';
  }
}

}  // namespace
}  // namespace dispfit

int main(int argc, char** argv) {
  using namespace dispfit;
  const std::vector<std::string_view> arguments(argv + 1, argv + argc);
  if (asksForVersion(arguments)) {
    std::cout << versionText("dispfit-curve") << std::flush;
    return std::cout ? kPrinted : kUsageOrFileError;
  }
  if (arguments.size() == 1 && ArgumentStream::isHelp(arguments.front())) {
    printHelp(std::cout);
    return kPrinted;
  }
  std::string error;
  const std::optional<Options> options = parseOptions(arguments, error);
  if (!options) {
    std::cerr << "dispfit-curve: " << error << " (see --help)\n";
    return kUsageOrFileError;
  }
  std::vector<swcore::ModelLayer> model;
  if (!loadModel(options->modelPath, model, error)) {
    std::cerr << "dispfit-curve: " << error << '\n';
    return kUsageOrFileError;
  }
  std::vector<swcore::CurvePoint> curve(options->frequencies.size());
  swcore::DispersionCurveSolver solver;
  const swcore::CurveStatus status = solver.compute(
      model, options->frequencies,
      options->group ? swcore::CurveKind::phaseAndGroup : swcore::CurveKind::phase, curve);
  if (status != swcore::CurveStatus::ok) {
    std::cerr << "dispfit-curve: " << swcore::describe(status) << '\n';
    return kModelRefused;
  }
  printCurve(options->frequencies, curve, options->group);
  return kPrinted;
}
