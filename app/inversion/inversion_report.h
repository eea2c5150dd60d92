// SPDX-License-Identifier: GPL-3.0-or-later
// The text of the inversion's result report.
#pragma once

#include <cstdint>
#include <string>

#include "core/text_translation.h"

namespace dispfit {

// The report: iteration count, misfit ("0.00E+00") and the fitted layers
// (number, thickness and velocity in "0.0"), top layer first. params holds
// the velocities of the length / 2 layers, then their thicknesses. The labels
// are in the translator's language.
std::string inversionReport(int32_t iteration, float finalMisfit, int32_t length,
                            const float* params, const TextTranslator& translator = sourceTexts());

// The same report with the half-space's thickness, which the fit does not
// use, shown as "-": the command line's, where the window keeps its own.
std::string inversionReportWithoutHalfSpaceThickness(int32_t iteration, float finalMisfit,
                                                     int32_t length, const float* params);

}  // namespace dispfit
