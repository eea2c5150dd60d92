// SPDX-License-Identifier: GPL-3.0-or-later
// A measured curve from any file the programs read: DispFit's own layouts
// (the free format and the curve table, files/curve_file.h) and the
// dispersion files of the field's other programs, told apart by what they
// hold rather than by their names. Of another program's format only the
// Rayleigh phase velocity is read, every datum with its mode.
#pragma once

#include <string>
#include <string_view>

#include "files/column_table.h"
#include "files/curve_file.h"
#include "files/input_rules.h"

namespace dispfit {

enum class CurveFormat {
  DispFit,       // the free format (the count, then frequency and velocity) or a table
  Surf96,        // CPS dispersion lines
  GpdcCurve,     // gpdc's printed modes
  DinverTarget,  // Geopsy's .target archive or its contents.xml
};

// How messages name the format: "a SURF96 file".
std::string_view curveFormatName(CurveFormat format);

// The format `bytes` are in: a gzip archive or <Dinver> XML is a target, a
// first line "SURF96 ..." SURF96 lines, a "# Mode N" comment gpdc output,
// anything else one of DispFit's own layouts.
CurveFormat curveFormatOf(std::string_view bytes);

// Reads `bytes` in its format. The free format takes `freeLimits`, every
// other format `tableLimits`; `columns`, when it chooses any, says which
// column of a table is which (and is refused for the other formats, whose
// columns are fixed). Every datum is checked by the input rules. False with
// what is wrong in `error`, naming `source` and, where it applies, the line
// and column; `format` is set whether or not the reading succeeds.
bool readCurveFormats(std::string_view bytes, const std::string& source,
                      const swcore::InputLimits& freeLimits, const swcore::InputLimits& tableLimits,
                      const swcore::ColumnChoice& columns, swcore::CurveFile& curve,
                      CurveFormat& format, std::string& error);

}  // namespace dispfit
