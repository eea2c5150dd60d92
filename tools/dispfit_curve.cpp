// SPDX-License-Identifier: GPL-3.0-or-later
// dispfit-curve MODEL: the fundamental-mode Rayleigh dispersion curve of a
// layered model, or its lowest modes of Rayleigh or Love waves, a line per
// frequency: frequency, phase velocity and, when asked, group velocity of
// each mode.
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "batch/batch_files.h"
#include "dispersion/dispersion_curve.h"
#include "dispersion/eigenfunction.h"
#include "dispersion/observed_curve.h"

namespace dispfit {
namespace {

constexpr int kPrinted = 0;
constexpr int kModelRefused = 1;
constexpr int kUsageOrFileError = 2;

constexpr double kKilogramsPerCubicMetrePerGramPerCubicCentimetre = 1000.0;

void printHelp(std::ostream& out) {
  out << "Usage: dispfit-curve MODEL [--freq F1,F2,... | --fmin A --fmax B --count N] [--group]\n"
         "                          [--modes N] [--love]\n"
         "       dispfit-curve MODEL --eigen FREQ MODE [--love]\n"
         "       dispfit-curve MODEL [frequencies] --observed [--observed-fraction F]\n"
         "\n"
         "Prints the fundamental-mode Rayleigh dispersion curve of the layered model in\n"
         "MODEL, one line per frequency: frequency (Hz), phase velocity (m/s) and, with\n"
         "--group, group velocity (m/s). The fundamental mode is the lowest phase velocity\n"
         "at which the model carries a Rayleigh wave, below the half-space S velocity;\n"
         "where there is none the line shows 'none' instead of the velocities.\n"
         "\n"
         "With --modes N the line holds modes 0 to N-1 side by side (mode 0 the\n"
         "fundamental, mode k the k-th phase velocity above it): the phase velocity of\n"
         "each, and with --group its group velocity after it; 'none' stands for each\n"
         "velocity of a mode the model does not carry at that frequency (below its\n"
         "cut-off). --love gives Love waves instead of Rayleigh waves.\n"
         "\n"
         "With --observed the line holds the surface-observed fundamental instead of\n"
         "the lowest root: the phase velocity of the lowest Rayleigh mode whose vertical\n"
         "surface response to a vertical force at the surface is at least F (default\n"
         "0.1) of the largest among all modes below the half-space S velocity, and\n"
         "the number of that mode (0 the fundamental).\n"
         "\n"
         "With --eigen FREQ MODE it prints the motion of mode MODE (0 the fundamental)\n"
         "at FREQ Hz against depth instead: after lines starting with '#' that give the\n"
         "phase velocity, the group velocity from the curve and from the energy\n"
         "integrals, and the integrals, one line per depth: depth (m), horizontal and\n"
         "vertical displacement, shear and normal traction (Pa); for Love waves depth,\n"
         "displacement and traction. The displacements are scaled so that the larger\n"
         "one at the surface is 1; the tractions are those of a surface displacement of\n"
         "1 m. The depths run from 0 to 1.5 times the top of the half-space or two\n"
         "wavelengths, whichever is deeper, in 200 steps, every interface included.\n"
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
         "--modes N                 the lowest N modes, 1 to 100 (default 1)\n"
         "--love                    Love waves (SH motion) instead of Rayleigh waves\n"
         "--eigen FREQ MODE         the motion of one mode against depth\n"
         "--observed                the surface-observed fundamental and its mode\n"
         "--observed-fraction F     the share of the largest response (0 < F <= 1)\n"
         "\n"
         "Exit status: 0 when the curve is printed, 1 when the model or a frequency\n"
         "cannot be used (the reason goes to the standard error stream), 2 for a usage\n"
         "or file error.\n";
}

struct Options {
  std::string modelPath;
  std::vector<double> frequencies;
  bool group = false;
  int modes = 1;
  bool modesGiven = false;
  bool love = false;
  // --eigen FREQ MODE
  std::optional<double> eigenFrequency;
  int eigenMode = 0;
  // --observed [--observed-fraction F]
  bool observed = false;
  std::optional<double> observedFraction;
};

std::optional<double> numberFrom(std::string_view text) {
  double value = 0.0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) {
    return std::nullopt;
  }
  return value;
}

std::optional<std::vector<double>> numberList(std::string_view text) {
  std::vector<double> values;
  while (true) {
    const std::size_t comma = text.find(',');
    const std::optional<double> value = numberFrom(text.substr(0, comma));
    if (!value) {
      return std::nullopt;
    }
    values.push_back(*value);
    if (comma == std::string_view::npos) {
      return values;
    }
    text.remove_prefix(comma + 1);
  }
}

// `count` frequencies evenly spaced from `first` to `last`.
std::vector<double> evenlySpaced(double first, double last, int count) {
  std::vector<double> values;
  for (int i = 0; i < count; ++i) {
    values.push_back(count == 1 ? first : first + (last - first) * i / (count - 1));
  }
  return values;
}

// Reads the command line; on a fault returns nothing and says why in `error`.
std::optional<Options> parseOptions(int argc, char** argv, std::string& error) {
  Options options;
  std::optional<double> fmin, fmax, count;
  bool listed = false;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    const bool hasValue = i + 1 < argc;
    if (arg == "--group") {
      options.group = true;
    } else if (arg == "--love") {
      options.love = true;
    } else if (arg == "--observed") {
      options.observed = true;
    } else if (arg == "--observed-fraction" && hasValue) {
      const std::optional<double> value = numberFrom(argv[++i]);
      if (!value || !(*value > 0.0 && *value <= 1.0)) {
        error = "--observed-fraction needs a number above 0 and at most 1";
        return std::nullopt;
      }
      options.observedFraction = value;
    } else if (arg == "--eigen" && i + 2 < argc) {
      const std::optional<double> hertz = numberFrom(argv[++i]);
      const std::optional<double> mode = numberFrom(argv[++i]);
      if (!hertz || !mode || *mode != std::floor(*mode) || *mode < 0.0 ||
          *mode >= swcore::kMaxModes) {
        error = "--eigen needs a frequency and a mode number from 0 to 99";
        return std::nullopt;
      }
      options.eigenFrequency = hertz;
      options.eigenMode = static_cast<int>(*mode);
    } else if (arg == "--modes" && hasValue) {
      const std::optional<double> value = numberFrom(argv[++i]);
      if (!value || *value != std::floor(*value) || *value < 1.0 || *value > swcore::kMaxModes) {
        error = "--modes needs a whole number from 1 to 100";
        return std::nullopt;
      }
      options.modes = static_cast<int>(*value);
      options.modesGiven = true;
    } else if (arg == "--freq" && hasValue) {
      const std::optional<std::vector<double>> list = numberList(argv[++i]);
      if (!list) {
        error = "--freq needs numbers separated by commas";
        return std::nullopt;
      }
      options.frequencies = *list;
      listed = true;
    } else if ((arg == "--fmin" || arg == "--fmax" || arg == "--count") && hasValue) {
      const std::optional<double> value = numberFrom(argv[++i]);
      if (!value) {
        error = std::string(arg) + " needs a number";
        return std::nullopt;
      }
      (arg == "--fmin" ? fmin : arg == "--fmax" ? fmax : count) = value;
    } else if (!arg.starts_with("--") && options.modelPath.empty()) {
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
  if (options.eigenFrequency && (listed || ranged || options.modesGiven || options.group)) {
    error =
        "--eigen prints one mode; it takes no --freq, --fmin, --fmax, --count, --modes or "
        "--group";
    return std::nullopt;
  }
  if (options.observedFraction && !options.observed) {
    error = "--observed-fraction goes with --observed";
    return std::nullopt;
  }
  if (options.observed &&
      (options.group || options.modesGiven || options.love || options.eigenFrequency)) {
    error =
        "--observed prints one Rayleigh curve; it takes no --group, --modes, --love or "
        "--eigen";
    return std::nullopt;
  }
  if (listed && ranged) {
    error = "give either --freq or --fmin, --fmax and --count";
    return std::nullopt;
  }
  if (ranged) {
    if (!fmin || !fmax || !count || !(*count >= 1.0) || *count != std::floor(*count) ||
        *count > 100000.0) {
      error = "--fmin, --fmax and --count go together; --count is a whole number from 1";
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

void printCurve(const std::vector<double>& frequencies,
                const std::vector<swcore::CurvePoint>& curve, bool group) {
  for (std::size_t j = 0; j < curve.size(); ++j) {
    const swcore::CurvePoint& point = curve[j];
    if (!point.hasRoot) {
      std::printf("%g none\n", frequencies[j]);
    } else if (group) {
      std::printf("%g %.4f %.4f\n", frequencies[j], point.phaseVelocity, point.groupVelocity);
    } else {
      std::printf("%g %.4f\n", frequencies[j], point.phaseVelocity);
    }
  }
}

// Modes side by side, `modes` points a frequency; each velocity of an absent
// mode reads "none", so that the columns stay in place.
void printModes(const std::vector<double>& frequencies,
                const std::vector<swcore::CurvePoint>& points, int modes, bool group) {
  const auto perFrequency = static_cast<std::size_t>(modes);
  for (std::size_t j = 0; j < frequencies.size(); ++j) {
    std::printf("%g", frequencies[j]);
    for (std::size_t k = 0; k < perFrequency; ++k) {
      const swcore::CurvePoint& point = points[j * perFrequency + k];
      if (!point.hasRoot) {
        std::printf(group ? " none none" : " none");
      } else if (group) {
        std::printf(" %.4f %.4f", point.phaseVelocity, point.groupVelocity);
      } else {
        std::printf(" %.4f", point.phaseVelocity);
      }
    }
    std::printf("\n");
  }
}

// The depths of the motion's table: 0 to 1.5 times the top of the
// half-space or two wavelengths, whichever is deeper, in kDepthSteps steps,
// with every interface.
constexpr int kDepthSteps = 200;

std::vector<double> motionDepths(const swcore::Eigenfunction& e, double hertz) {
  const std::vector<double> interfaces = e.interfaceDepths();
  const double wavelength = e.phaseVelocity() / hertz;
  const double bottom =
      std::max(2.0 * wavelength, interfaces.empty() ? 0.0 : 1.5 * interfaces.back());
  std::vector<double> depths = interfaces;
  for (int i = 0; i <= kDepthSteps; ++i) {
    depths.push_back(bottom * i / kDepthSteps);
  }
  std::sort(depths.begin(), depths.end());
  depths.erase(std::unique(depths.begin(), depths.end()), depths.end());
  return depths;
}

// Prints the motion of one mode; the exit status.
int printEigenfunction(const std::vector<swcore::ModelLayer>& model, const Options& options) {
  const swcore::WaveType wave = options.love ? swcore::WaveType::love : swcore::WaveType::rayleigh;
  const double hertz = *options.eigenFrequency;
  const int modes = options.eigenMode + 1;
  std::vector<swcore::CurvePoint> points(static_cast<std::size_t>(modes));
  swcore::DispersionCurveSolver solver;
  const swcore::CurveStatus status = solver.computeModes(
      model, std::vector<double>{hertz}, {wave, modes, swcore::CurveKind::phaseAndGroup}, points);
  if (status != swcore::CurveStatus::ok) {
    std::cerr << "dispfit-curve: " << swcore::describe(status) << '\n';
    return kModelRefused;
  }
  const swcore::CurvePoint& point = points.back();
  const char* name = options.love ? "Love" : "Rayleigh";
  if (!point.hasRoot) {
    std::cerr << "dispfit-curve: the model carries no " << name << " mode " << options.eigenMode
              << " at " << hertz << " Hz\n";
    return kModelRefused;
  }
  swcore::Eigenfunction e;
  if (e.compute(model, wave, hertz, point.phaseVelocity) != swcore::Eigenfunction::Status::ok) {
    std::cerr << "dispfit-curve: the motion of the mode could not be computed\n";
    return kModelRefused;
  }
  const swcore::EnergyIntegrals i = e.integrals();
  std::printf(
      "# %s mode %d at %g Hz: phase velocity %.4f m/s, group velocity %.4f m/s "
      "(from the energy integrals %.4f m/s)\n",
      name, options.eigenMode, hertz, e.phaseVelocity(), point.groupVelocity, e.groupVelocity());
  if (options.love) {
    std::printf("# I1 %.6e  I2 %.6e  I3 %.6e\n", i.i1, i.i2, i.i3);
    std::printf("# depth(m) displacement traction(Pa)\n");
  } else {
    std::printf("# I1 %.6e  I2 %.6e  I3 %.6e  I4 %.6e\n", i.i1, i.i2, i.i3, i.i4);
    std::printf("# depth(m) horizontal vertical shear_traction(Pa) normal_traction(Pa)\n");
  }
  for (const double z : motionDepths(e, hertz)) {
    const swcore::MotionAt m = e.at(z);
    if (options.love) {
      std::printf("%.4f %.6e %.6e\n", z, m.values[0], m.values[1]);
    } else {
      std::printf("%.4f %.6e %.6e %.6e %.6e\n", z, m.values[0], m.values[1], m.values[2],
                  m.values[3]);
    }
  }
  return kPrinted;
}

// Prints the surface-observed fundamental and its mode; the exit status.
int printObserved(const std::vector<swcore::ModelLayer>& model, const Options& options) {
  swcore::ForwardRuleSettings rule;
  rule.fraction = options.observedFraction.value_or(rule.fraction);
  std::vector<swcore::ObservedPoint> points(options.frequencies.size());
  swcore::ObservedCurveSolver solver;
  const swcore::CurveStatus status = solver.compute(model, options.frequencies, rule, points);
  if (status != swcore::CurveStatus::ok) {
    std::cerr << "dispfit-curve: " << swcore::describe(status) << '\n';
    return kModelRefused;
  }
  for (std::size_t j = 0; j < points.size(); ++j) {
    if (points[j].hasRoot) {
      std::printf("%g %.4f %d\n", options.frequencies[j], points[j].phaseVelocity, points[j].mode);
    } else {
      std::printf("%g none\n", options.frequencies[j]);
    }
  }
  return kPrinted;
}

}  // namespace
}  // namespace dispfit

int main(int argc, char** argv) {
  using namespace dispfit;
  if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
    printHelp(std::cout);
    return kPrinted;
  }
  std::string error;
  const std::optional<Options> options = parseOptions(argc, argv, error);
  if (!options) {
    std::cerr << "dispfit-curve: " << error << " (see --help)\n";
    return kUsageOrFileError;
  }
  std::vector<swcore::ModelLayer> model;
  if (!loadModel(options->modelPath, model, error)) {
    std::cerr << "dispfit-curve: " << error << '\n';
    return kUsageOrFileError;
  }
  if (options->eigenFrequency) {
    return printEigenfunction(model, *options);
  }
  if (options->observed) {
    return printObserved(model, *options);
  }
  const swcore::CurveKind kind =
      options->group ? swcore::CurveKind::phaseAndGroup : swcore::CurveKind::phase;
  swcore::DispersionCurveSolver solver;
  swcore::CurveStatus status = swcore::CurveStatus::ok;
  if (options->modesGiven || options->love) {
    // The lowest modes, side by side.
    const swcore::ModeRequest request{
        options->love ? swcore::WaveType::love : swcore::WaveType::rayleigh, options->modes, kind};
    std::vector<swcore::CurvePoint> points(options->frequencies.size() *
                                           static_cast<std::size_t>(options->modes));
    status = solver.computeModes(model, options->frequencies, request, points);
    if (status == swcore::CurveStatus::ok) {
      printModes(options->frequencies, points, options->modes, options->group);
    }
  } else {
    std::vector<swcore::CurvePoint> curve(options->frequencies.size());
    status = solver.compute(model, options->frequencies, kind, curve);
    if (status == swcore::CurveStatus::ok) {
      printCurve(options->frequencies, curve, options->group);
    }
  }
  if (status != swcore::CurveStatus::ok) {
    std::cerr << "dispfit-curve: " << swcore::describe(status) << '\n';
    return kModelRefused;
  }
  return kPrinted;
}
