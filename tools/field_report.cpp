// SPDX-License-Identifier: GPL-3.0-or-later
#include "field_report.h"

#include <string>

#include "core/number_text.h"

#include "invert_options.h"
#include "site/export_layouts.h"

namespace dispfit {

namespace {

std::string misfitLines(const FieldReportInputs& inputs) {
  std::string text =
      "Misfit above (拟合差): sqrt(sum r^2 / 2M), r = measured - computed velocity "
      "(m/s), over the M = " +
      std::to_string(inputs.fittedPoints) + " fitted points\n";
  const FitStatistics& fit = inputs.fit;
  if (fit.rmsMisfit) {
    text += "RMS misfit of the fitted curve: " + figureText(*fit.rmsMisfit, Figure::Misfit) +
            " m/s, sqrt(sum r^2 / m), unweighted, over the m = " + std::to_string(fit.compared) +
            " measured points with a computed velocity\n";
  } else {
    text += "RMS misfit of the fitted curve: none, no measured point has a computed velocity\n";
  }
  if (fit.withoutRoot > 0) {
    text += "Measured points without a computed velocity (no root): " +
            std::to_string(fit.withoutRoot) + "\n";
  }
  if (fit.withBand > 0) {
    text += "Points inside the band: " + std::to_string(fit.insideBand) + " of " +
            std::to_string(fit.withBand) + "\n";
  }
  return text;
}

}  // namespace

std::string fieldReport(const FieldReportInputs& inputs) {
  std::string text = "\n";
  if (!inputs.stopped.empty()) text += inputs.stopped + "\n";
  for (const std::string& note : inputs.startNotes) text += "Start: " + note + "\n";
  if (!inputs.atBounds.empty()) {
    text += "On a bound (the data may want it beyond; a wider bound may fit better):\n";
    for (const std::string& at : inputs.atBounds) text += "  " + at + "\n";
  }
  if (!(inputs.limits == InversionLimits{})) {
    text += "Settings (changed from the defaults): " + limitsText(inputs.limits) + "\n";
  }
  if (!(inputs.vpRule == VpRule{})) {
    text += "P velocity: " + vpRuleText(inputs.vpRule) +
            "; the forward runs went through the curve core with each layer's Vp\n";
  }
  text += misfitLines(inputs);
  text += '\n';
  text += siteSummaryText(inputs.site);
  return text;
}

}  // namespace dispfit
