// SPDX-License-Identifier: GPL-3.0-or-later
// Model evaluation of the engine-side inversion: the fundamental-mode curve of
// the model in the engine state at the frequencies of the data set, after the
// bounds adjustment of the trial parameters in inversion mode.
#pragma once

#include <span>

#include "dispersion/engine_state.h"
#include "records/record_writer.h"

namespace swcore {

// Period offsets of the group velocity's difference quotient:
// single-precision values widened to double.
inline constexpr double kPeriodOffset = 9.999999747378752e-05;        // s, 1e-4 single
inline constexpr double kTwicePeriodOffset = 0.00019999999494757503;  // s, 2e-4 single

// When KK is non-zero, runs MODLIM on `freeParameters` (read, and written back
// after the adjustment); otherwise leaves them untouched. Then evaluates the
// curve into `state.velocity` and the phase and group copies, printing the
// records of the evaluation on `console`. The data are searched from the
// highest frequency to the lowest, each result in its own slot; a datum whose
// frequency is not positive and finite, like one without a root, keeps its
// slots. Returns false only when the bounds adjustment gave up; the curve is
// then not evaluated.
bool DISRAY(EngineState& state, std::span<double> freeParameters, const RecordWriter& console);

}  // namespace swcore
