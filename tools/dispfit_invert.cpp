// dispfit-invert MODEL CURVE: the window's inversion without the window.
// Fits the layer velocities and thicknesses of MODEL to the dispersion
// curve in CURVE with the window's settings and prints the same report.
#include <cstring>
#include <iostream>
#include <string>

#include "core/engine_binding.h"
#include "core/stream_message_presenter.h"
#include "inversion/inversion_files.h"
#include "inversion/window_inversion.h"

namespace dispfit {
namespace {

constexpr int kSolved = 0;
constexpr int kSolveFailed = 1;
constexpr int kUsageOrFileError = 2;

void printHelp(std::ostream& out) {
  out << "Usage: dispfit-invert MODEL CURVE\n"
         "\n"
         "Inverts the dispersion curve in CURVE for the shear-wave velocities and the\n"
         "thicknesses of the layered model in MODEL (the starting model), as the invert\n"
         "button of DispFit does: bounded damped least squares, at most 30 iterations,\n"
         "misfit tolerance 0.001, velocities within 50..1000 m/s, thicknesses within\n"
         "0.1..5 m. Prints the report (iterations, misfit, fitted layers).\n"
         "\n"
         "MODEL  the number of layers (1 to 20, the half-space included), then one\n"
         "       line per layer, top first:  thickness(m)  Vs(m/s)  density(g/cm3)\n"
         "CURVE  the number of data (1 to 50), then one line per datum:\n"
         "       frequency(Hz)  phase velocity(m/s)\n"
         "\n"
         "Numbers are separated by blanks, commas or line breaks. The engine library\n"
         "libswcore.so is loaded from beside the program.\n"
         "\n"
         "Exit status: 0 when the report is printed, 1 when the inversion fails (the\n"
         "reason goes to the standard error stream), 2 for a usage or file error.\n";
}

}  // namespace
}  // namespace dispfit

int main(int argc, char** argv) {
  using namespace dispfit;
  if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
    printHelp(std::cout);
    return kSolved;
  }
  if (argc != 3) {
    std::cerr << "dispfit-invert: expected two files, MODEL and CURVE (see --help)\n";
    return kUsageOrFileError;
  }

  LayeredModel model;
  ObservedCurve curve;
  for (const std::string& error :
       {readLayeredModelFile(argv[1], model), readObservedCurveFile(argv[2], curve)}) {
    if (!error.empty()) {
      std::cerr << "dispfit-invert: " << error << '\n';
      return kUsageOrFileError;
    }
  }

  int32_t layerCount = static_cast<int32_t>(model.vs.size());
  const InversionWindowData data{layerCount,
                                 model.vs.data(),
                                 model.thickness.data(),
                                 model.density.data(),
                                 static_cast<int32_t>(curve.freq.size()),
                                 curve.freq.data(),
                                 curve.velocity.data()};
  StreamMessagePresenter messages(std::cerr);
  EngineBinding engine(messages);
  const WindowInversionOutcome outcome = invertWindowCurve(data, engine, {});
  if (!outcome.succeeded) {
    std::cerr << "dispfit-invert: " << outcome.text << '\n';
    return kSolveFailed;
  }
  std::cout << outcome.text;
  return kSolved;
}
