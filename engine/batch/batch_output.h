// SPDX-License-Identifier: GPL-3.0-or-later
// The files a batch run writes: the forward curve over FIT.TXT, and the
// fitted curve and parameters of an inversion in TVF.TXT and HPV.TXT. A
// result that holds a number that is not finite is a failed run: it is
// refused before any file is touched.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace swcore {

// The forward run's curve as FIT.TXT gets it: Hz and m/s per datum, in single
// precision as the forward entry gives them.
struct ForwardCurve {
  std::vector<float> frequency;
  std::vector<float> velocity;
};

// An inversion's result: per datum the period (s), the fitted and the
// observed velocity (m/s); per free parameter its fitted and its starting
// value (m/s or m).
struct InversionResult {
  std::vector<double> period;
  std::vector<double> fittedVelocity;
  std::vector<double> observedVelocity;
  std::vector<double> fittedParameter;
  std::vector<double> startingParameter;
};

// Replaces FIT.TXT in `directory` with the count and one line per datum,
// keeping the file it replaces as a numbered backup. False, with FIT.TXT
// untouched, when a value is not finite or the file cannot be written.
bool writeForwardCurve(const std::filesystem::path& directory, const ForwardCurve& curve,
                       std::string& error);

// Replaces TVF.TXT (period, fitted and observed velocity per datum, in one
// record) and HPV.TXT (fitted and starting value, one line per parameter) in
// `directory`, both or neither. False, with both untouched, when a value is
// not finite or a file cannot be written.
bool writeInversionResult(const std::filesystem::path& directory, const InversionResult& result,
                          std::string& error);

}  // namespace swcore
