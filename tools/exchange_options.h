// SPDX-License-Identifier: GPL-3.0-or-later
// The options of dispfit-invert, local and global alike, that read a curve
// table's columns as the user says and hand the curve and the model to the
// field's other programs:
//
//   --columns f=1,v=2,sigma=3   which column of the curve table is which
//   --target FILE               the measured curve as a Geopsy dinver target
//   --surf96 FILE               the measured curve as CPS SURF96 lines
//   --gpdc FILE                 the fitted (or best) model as a gpdc model
//   --model96 FILE              the fitted (or best) model as a CPS model96 file
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "argument_stream.h"
#include "files/column_table.h"
#include "files/model_file.h"
#include "site/measured_curve.h"

namespace dispfit {

struct ExchangeOptions {
  swcore::ColumnChoice columns;        // none chosen: by the header
  std::optional<std::string> target;   // --target FILE
  std::optional<std::string> surf96;   // --surf96 FILE
  std::optional<std::string> gpdc;     // --gpdc FILE
  std::optional<std::string> model96;  // --model96 FILE
};

// Reads the option `name` when it is one of these: true when it was, with
// `handled` set; false with `error` when its value is refused.
bool exchangeOption(ArgumentStream& in, std::string_view name, ExchangeOptions& options,
                    bool& handled, std::string& error);

// Writes the files the options ask for, each replaced whole or not at all:
// the measured points' curve and `model` (m, m/s, g/cm3, with its Vp).
// False, with the file named on standard error, when one cannot be written.
bool writeExchangeFiles(const ExchangeOptions& options, const MeasuredCurve& curve,
                        const swcore::ModelFile& model);

// What --help says of these options.
std::string exchangeUsage();

}  // namespace dispfit
