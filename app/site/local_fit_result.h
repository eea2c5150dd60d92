// SPDX-License-Identifier: GPL-3.0-or-later
// The local fit as an exported result: the fitted model (or the table's,
// before a fit) with its curve at the measured points, or, without a measured
// curve, the curve computed at the window's frequencies.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/model_table.h"
#include "site/exported_result.h"
#include "site/fit_statistics.h"
#include "site/measured_curve.h"

namespace dispfit {

struct LocalFitInputs {
  ParsedLayers model;
  bool fitted = false;                    // the fit of a measured curve, else the table's model
  std::optional<MeasuredCurve> measured;  // none: the window's own frequencies
  ComputedCurve curve;                    // with a measured curve: at its inverted points
  std::vector<float> frequencies;         // without one: the window's, Hz
  std::vector<float> velocities;          // and the computed velocities there, m/s
};

class LocalFitResult : public ExportedResult {
 public:
  explicit LocalFitResult(LocalFitInputs inputs);

  // "local fit", or "table model" before a fit.
  std::string name() const override;
  // _curve.csv, _model.csv and _vs30.txt, the layouts of dispfit-invert --csv.
  std::vector<ResultTable> tables() const override;
  std::vector<ReportBlock> report() const override;
  // The measured points and their band with the fitted or computed curve;
  // the model's step profile.
  ResultCharts charts() const override;

 private:
  std::optional<double> constrainedDepth() const;

  LocalFitInputs in_;
};

}  // namespace dispfit
