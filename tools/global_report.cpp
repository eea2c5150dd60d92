// SPDX-License-Identifier: GPL-3.0-or-later
#include "global_report.h"

#include "core/number_text.h"
#include "site/site_class.h"

namespace dispfit {

namespace {

std::string misfitLines(const GlobalReportInputs& in) {
  std::string text;
  if (in.kind == MisfitKind::Normalised) {
    text += "Misfit: normalised misfit sqrt(sum ((v - c) / sigma)^2 / m) over the m = " +
            std::to_string(in.fittedPoints) +
            " fitted points, sigma the standard deviation or half the band's width\n";
    text += "Accepted: normalised misfit at most " + figureText(in.rule.threshold, Figure::Misfit) +
            " or " + figureText(in.rule.factor, Figure::Misfit) +
            " times the best, whichever is more (" +
            figureText(in.rule.limit(in.kind, in.bestMisfit), Figure::Misfit) + ")\n";
  } else {
    text += "Misfit: misfit (m/s) sqrt(sum (v - c)^2 / m) over the m = " +
            std::to_string(in.fittedPoints) + " fitted points (the curve gives no band)\n";
    text += "Accepted: misfit (m/s) at most " + figureText(in.rule.factor, Figure::Misfit) +
            " times the best\n";
  }
  return text;
}

std::string bestModelLines(const GlobalReportInputs& in) {
  const TrialModel& m = in.best;
  std::string text = "Best model (" + misfitName(in.kind) + " " +
                     figureText(in.bestMisfit, Figure::Misfit) + "):\n";
  text += "  layer  thickness (m)  Vs (m/s)  Vp (m/s)  density (g/cm3)\n";
  for (std::size_t i = 0; i < m.vs.size(); ++i) {
    const bool halfSpace = i + 1 == m.vs.size();
    text += rightAligned(std::to_string(i + 1), 7) +
            rightAligned(
                halfSpace ? std::string("half-space") : figureText(m.thickness[i], Figure::Length),
                15) +
            rightAligned(figureText(m.vs[i], Figure::Velocity), 10) +
            rightAligned(figureText(m.vp[i], Figure::Velocity), 10) +
            rightAligned(figureText(m.density[i], Figure::Density), 17) + '\n';
  }
  if (in.bestFit.withBand > 0) {
    text += "Points inside the band (best model): " + std::to_string(in.bestFit.insideBand) +
            " of " + std::to_string(in.bestFit.withBand) + "\n";
  }
  return text;
}

std::string classes(const AverageSpread& row, int q) {
  return className(row.groundTypes[q]) + "/" + className(row.nehrpClasses[q]);
}

std::string averageLines(const GlobalReportInputs& in) {
  std::string text =
      "Spread of the " + std::to_string(in.accepted) +
      " models kept near the best fit - not an uncertainty: VsZ = Z / sum(h_i / Vs_i), its "
      "10th percentile, median and 90th percentile (m/s) over those models, each with its "
      "Eurocode 8 ground type / NEHRP site class\n";
  text += "          p10  median     p90   classes (p10, median, p90)\n";
  for (const AverageSpread& row : in.averages) {
    text += rightAligned("Vs" + std::to_string(static_cast<int>(row.depth)), 5) +
            rightAligned(figureText(row.vs.p10, Figure::Velocity), 8) +
            rightAligned(figureText(row.vs.median, Figure::Velocity), 8) +
            rightAligned(figureText(row.vs.p90, Figure::Velocity), 8) + "   " + classes(row, 0) +
            "  " + classes(row, 1) + "  " + classes(row, 2) +
            (row.extrapolated ? "   extrapolated: below the constrained depth" : "") + '\n';
  }
  text += siteClassCaution() + '\n';
  text +=
      "The search crowds its models around the best one it found, so their spread shows "
      "the search, not how sure the data make the answer. For credible intervals of Vs, "
      "VsZ and Vs30 and the probability of each site class, run dispfit-invert --bayes.\n";
  return text;
}

}  // namespace

std::string globalReport(const GlobalReportInputs& in) {
  std::string text = "Global search: bounded neighbourhood algorithm, seed " +
                     std::to_string(in.settings.seed) + ", " + std::to_string(in.settings.threads) +
                     (in.settings.threads == 1 ? " thread\n" : " threads\n");
  text += "Models drawn: " + std::to_string(in.drawn) +
          (in.cancelled
               ? " (cancelled before the budget of " + std::to_string(in.settings.models) + ")\n"
               : "\n");
  text += "Forward rule: " + swcore::describeRule(in.forward) + "\n";
  text += misfitLines(in);
  text +=
      "Accepted models: " + std::to_string(in.accepted) + " of " + std::to_string(in.drawn) + "\n";
  if (in.rejected > 0) {
    text += "Rejected models (a frequency without a root): " + std::to_string(in.rejected) + "\n";
  }
  text += '\n' + bestModelLines(in);
  text += "Depth the data constrain (half the longest measured wavelength): " +
          figureText(in.constrainedDepth, Figure::Depth) + " m\n";
  if (in.accepted > 0) {
    text += '\n' + averageLines(in);
  } else {
    text += "\nNo model is accepted.\n";
  }
  return text;
}

}  // namespace dispfit
