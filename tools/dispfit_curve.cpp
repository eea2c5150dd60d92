// SPDX-License-Identifier: GPL-3.0-or-later
// dispfit-curve MODEL: the fundamental-mode Rayleigh dispersion curve of a
// layered model, or its lowest modes of Rayleigh or Love waves, a line per
// frequency: frequency, phase velocity and, when asked, group velocity of
// each mode; the motion of one mode against depth; the surface-observed
// fundamental.
#include <algorithm>
#include <cstdint>
#include <iostream>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "argument_stream.h"
#include "core/number_text.h"
#include "core/program_version.h"
#include "dispersion/dispersion_curve.h"
#include "dispersion/eigenfunction.h"
#include "dispersion/observed_curve.h"
#include "exchange/model_formats.h"
#include "files/text_file.h"

namespace dispfit {
namespace {

constexpr int kPrinted = 0;
constexpr int kModelRefused = 1;
constexpr int kUsageOrFileError = 2;

constexpr double kKilogramsPerCubicMetrePerGramPerCubicCentimetre = 1000.0;
// The layers the curve core takes, the half-space included; no curve file.
constexpr swcore::InputLimits kCurveModelLimits{50, 0};

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
         "       MODEL may instead be a model table with a header (thickness, Vs,\n"
         "       density and optionally Vp, as dispfit-invert --csv writes PREFIX_best.csv),\n"
         "       a gpdc model (count, then thickness Vp Vs density(kg/m3) a line) or a\n"
         "       CPS model96 file; the Vp such a file gives is used.\n"
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
    } else if (arg == "--love") {
      if (!in.flag(arg, error)) return std::nullopt;
      options.love = true;
    } else if (arg == "--observed") {
      if (!in.flag(arg, error)) return std::nullopt;
      options.observed = true;
    } else if (arg == "--observed-fraction") {
      double value = 0.0;
      if (!in.positive(arg, value, error)) return std::nullopt;
      if (value > 1.0) {
        error = "--observed-fraction must lie above 0 and at most 1";
        return std::nullopt;
      }
      options.observedFraction = value;
    } else if (arg == "--eigen") {
      double hertz = 0.0;
      std::int64_t mode = 0;
      if (!in.positive(arg, hertz, error)) return std::nullopt;
      // The mode is the option's second value: the stream gives it to the
      // same option once more.
      if (!in.whole(arg, 0, swcore::kMaxModes - 1, mode, error)) return std::nullopt;
      options.eigenFrequency = hertz;
      options.eigenMode = static_cast<int>(mode);
    } else if (arg == "--modes") {
      std::int64_t value = 0;
      if (!in.whole(arg, 1, swcore::kMaxModes, value, error)) return std::nullopt;
      options.modes = static_cast<int>(value);
      options.modesGiven = true;
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

// The model file in any layout the programs read: the SHR.TXT layout, a
// model table (PREFIX_best.csv among them), a gpdc model or a model96 file.
// A P velocity the file gives is used; without one Vp is 3 Vs.
bool loadModel(const std::string& path, std::vector<swcore::ModelLayer>& model,
               std::string& error) {
  std::string text;
  if (!swcore::readTextFile(path, "the model file " + path, text, error)) return false;
  swcore::ModelFile file;
  ModelFormat format = ModelFormat::DispFit;
  if (!readModelFormats(text, path, kCurveModelLimits, file, format, error)) return false;
  model.clear();
  for (std::size_t i = 0; i < file.shearVelocity.size(); ++i) {
    swcore::ModelLayer layer{file.thickness[i], file.shearVelocity[i],
                             file.density[i] * kKilogramsPerCubicMetrePerGramPerCubicCentimetre};
    if (i < file.pVelocity.size()) layer.pVelocity = file.pVelocity[i];
    model.push_back(layer);
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

// Modes side by side, `modes` points a frequency; each velocity of an absent
// mode reads "none", so that the columns stay in place.
void printModes(const std::vector<double>& frequencies,
                const std::vector<swcore::CurvePoint>& points, int modes, bool group) {
  const auto perFrequency = static_cast<std::size_t>(modes);
  for (std::size_t j = 0; j < frequencies.size(); ++j) {
    std::string line = roundedText(frequencies[j], Figure::Frequency);
    for (std::size_t k = 0; k < perFrequency; ++k) {
      const swcore::CurvePoint& point = points[j * perFrequency + k];
      if (!point.hasRoot) {
        line += group ? " none none" : " none";
      } else {
        line += ' ' + fixedText(point.phaseVelocity, kVelocityDecimals);
        if (group) line += ' ' + fixedText(point.groupVelocity, kVelocityDecimals);
      }
    }
    std::cout << line << '\n';
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

// The motion's values to 7 significant digits: they span many decades.
constexpr int kMotionDecimals = 6;
// Depths to 0.1 mm.
constexpr int kDepthDecimals = 4;

// The values of a line of the motion's table, each after a blank.
std::string motionValues(std::span<const double> values) {
  std::string text;
  for (const double value : values) text += ' ' + scientificText(value, kMotionDecimals);
  return text;
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
  const std::string at = roundedText(hertz, Figure::Frequency);
  if (!point.hasRoot) {
    std::cerr << "dispfit-curve: the model carries no " << name << " mode " << options.eigenMode
              << " at " << at << " Hz\n";
    return kModelRefused;
  }
  swcore::Eigenfunction e;
  if (e.compute(model, wave, hertz, point.phaseVelocity) != swcore::Eigenfunction::Status::ok) {
    std::cerr << "dispfit-curve: the motion of the mode could not be computed\n";
    return kModelRefused;
  }
  const swcore::EnergyIntegrals i = e.integrals();
  std::cout << "# " << name << " mode " << options.eigenMode << " at " << at
            << " Hz: phase velocity " << fixedText(e.phaseVelocity(), kVelocityDecimals)
            << " m/s, group velocity " << fixedText(point.groupVelocity, kVelocityDecimals)
            << " m/s (from the energy integrals " << fixedText(e.groupVelocity(), kVelocityDecimals)
            << " m/s)\n";
  const auto integral = [](double value) { return scientificText(value, kMotionDecimals); };
  std::cout << "# I1 " << integral(i.i1) << "  I2 " << integral(i.i2) << "  I3 " << integral(i.i3);
  if (options.love) {
    std::cout << "\n# depth(m) displacement traction(Pa)\n";
  } else {
    std::cout << "  I4 " << integral(i.i4)
              << "\n# depth(m) horizontal vertical shear_traction(Pa) normal_traction(Pa)\n";
  }
  const std::size_t columns = options.love ? 2 : 4;
  for (const double z : motionDepths(e, hertz)) {
    const swcore::MotionAt m = e.at(z);
    std::cout << fixedText(z, kDepthDecimals)
              << motionValues(std::span<const double>(m.values).first(columns)) << '\n';
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
    std::string line = roundedText(options.frequencies[j], Figure::Frequency);
    if (points[j].hasRoot) {
      line += ' ' + fixedText(points[j].phaseVelocity, kVelocityDecimals) + ' ' +
              std::to_string(points[j].mode);
    } else {
      line += " none";
    }
    std::cout << line << '\n';
  }
  return kPrinted;
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
