// SPDX-License-Identifier: GPL-3.0-or-later
// The batch run: reads a model and an observed curve from text files in a
// directory and either rewrites the curve file with the model's computed curve
// (forward run) or inverts the curve and writes the fitted curve and
// parameters. Talks to the user through records on a console.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

#include "dispersion/engine_state.h"
#include "inversion/damped_least_squares.h"
#include "records/record_writer.h"

namespace swcore {

// The run settings; the defaults are the built-in values.
struct BatchSettings {
  int32_t KK = 0;                     // 0 = forward run, otherwise inversion
  int32_t KPG = 0;                    // group-velocity switch
  double BL = 0.009999999776482582;   // km/s, 0.01 in single precision
  double BU = 5.0;                    // km/s
  double HL = 9.999999747378752e-05;  // km, 1e-4 in single precision
  double HU = 0.05000000074505806;    // km, 0.05 in single precision
  double EA = 1e-5;                   // (km/s)^2
};

struct BatchResult {
  bool ok = false;
  std::string error;           // why the run stopped, when !ok
  InversionOutcome inversion;  // filled by an inversion run
};

// Runs the batch in `directory` on `state`. A fault in the input (a missing,
// unreadable or short file, a non-number, a count over the capacities, every
// parameter fixed), bounds the model cannot be brought into, a result that
// is not a finite number, or records the console could not take stop the run
// before any output file is touched. An output file is only ever replaced
// whole: the forward run keeps the FIT.TXT it replaces as a numbered backup,
// an inversion replaces TVF.TXT and HPV.TXT both or neither. An inversion that
// ends at its iteration limit or on a singular system still writes its files:
// its status is in the result and on the console.
BatchResult INVRUN(EngineState& state, const BatchSettings& settings,
                   const std::filesystem::path& directory, const RecordWriter& console);

}  // namespace swcore
