// SPDX-License-Identifier: GPL-3.0-or-later
#include "posterior_report.h"

#include <charconv>
#include <cmath>

#include "records/number_text.h"
#include "sampling/curve_likelihood.h"
#include "sampling/measured_calibration.h"
#include "sampling/search_starts.h"
#include "site/site_class.h"

namespace dispfit {

namespace {

std::string fixed(double value, int decimals) {
  if (std::isnan(value)) return "unknown";
  char buffer[64];
  const auto result =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
  return std::string(buffer, result.ptr);
}

std::string column(const std::string& text, std::size_t width) {
  return text.size() >= width ? text : std::string(width - text.size(), ' ') + text;
}

std::string quantileColumns(const Credible& c) {
  return column(fixed(c.p5, 1), 8) + column(fixed(c.p10, 1), 8) + column(fixed(c.p50, 1), 8) +
         column(fixed(c.p90, 1), 8) + column(fixed(c.p95, 1), 8);
}

std::string problemLines(const PosteriorReportInputs& in) {
  const PosteriorSummary& s = in.summary;
  std::string text = "Posterior: parallel tempering (Sambridge 2014), " + std::to_string(s.chains) +
                     " chains at temperature 1";
  if (s.temperatures.size() > static_cast<std::size_t>(s.chains)) {
    text += " and " + std::to_string(s.temperatures.size() - static_cast<std::size_t>(s.chains)) +
            " heated (T =";
    for (std::size_t c = static_cast<std::size_t>(s.chains); c < s.temperatures.size(); ++c) {
      text += ' ';
      text += fixed(s.temperatures[c], 2);
    }
    text += ")";
  }
  text += ", seed " + std::to_string(in.settings.seed) + ", " +
          std::to_string(in.settings.threads) +
          (in.settings.threads == 1 ? " thread\n" : " threads\n");
  text += "Chains started at the best models of best-fit searches of " +
          std::to_string(in.startModels) + " models per layer count (" +
          std::to_string(startSearchCount(in.startModels)) + " independent searches)\n";
  text += "Forward rule: " + swcore::describeRule(in.forward) + "\n";
  text += "Samples kept: " + std::to_string(s.samples) +
          " (the chains at temperature 1 together), after a burn-in of " +
          std::to_string(in.settings.burnIn) +
          (s.cancelled ? "; cancelled before the end\n" : "\n");
  if (s.noise == NoiseModel::Given) {
    text +=
        "Likelihood: Gaussian, independent errors with each point's sigma (its standard "
        "deviation or half its band) over the m = " +
        std::to_string(in.fittedPoints) + " fitted points\n";
  } else {
    text += "Likelihood: Gaussian over the m = " + std::to_string(in.fittedPoints) +
            " fitted points; the curve gives no sigma, so a relative noise scale s (sigma = s c, "
            "log-uniform prior on " +
            fixed(100.0 * kNoiseScaleRange.low, 1) + " to " +
            fixed(100.0 * kNoiseScaleRange.high, 0) +
            " %) is sampled with the model (hierarchical)";
    if (s.noiseScale) {
      text += ": median " + fixed(100.0 * s.noiseScale->p50, 2) + " %, 10-90 % " +
              fixed(100.0 * s.noiseScale->p10, 2) + "-" + fixed(100.0 * s.noiseScale->p90, 2) +
              " %";
    }
    text += "\n";
  }
  text +=
      "Prior: each layer's Vs and thickness (and Poisson's ratio where ranged) uniform and "
      "independent within the ranges";
  if (in.increasing) text += ", truncated to Vs not decreasing with depth";
  if (s.counts.least < s.counts.most) {
    text += "; the layer count uniform over " + std::to_string(s.counts.least) + " to " +
            std::to_string(s.counts.most) + " and sampled by reversible jump";
  } else {
    text += "; " + std::to_string(s.counts.least) + " layers, the half-space included";
  }
  return text + "\n";
}

std::string convergenceLines(const PosteriorSummary& s) {
  const Convergence& c = s.convergence;
  std::string text = "Convergence: split R-hat over the " + std::to_string(s.chains) + " chains " +
                     fixed(c.rhatVs30, 3) + " (Vs30), " + fixed(c.rhatLogLikelihood, 3) +
                     " (log-likelihood), converged at " + fixed(kMostConvergedRhat, 1) +
                     " or less; effective sample size " + fixed(c.essVs30, 0) + " (Vs30), " +
                     fixed(c.essLogLikelihood, 0) + " (log-likelihood)\n";
  text += "Acceptance of each move:";
  bool first = true;
  for (std::size_t k = 0; k < kMoveKinds; ++k) {
    if (c.moves.proposed[k] == 0) continue;
    text +=
        std::string(first ? " " : ", ") + moveName(static_cast<MoveKind>(k)) + " " +
        fixed(static_cast<double>(c.moves.accepted[k]) / static_cast<double>(c.moves.proposed[k]),
              2);
    first = false;
  }
  text += "\n";
  // The share among the moves of the model, which the screen sees: the
  // noise steps need no curve.
  std::int64_t proposed = 0;
  std::int64_t screened = 0;
  for (std::size_t k = 0; k < kMoveKinds; ++k) {
    if (static_cast<MoveKind>(k) == MoveKind::Noise) continue;
    proposed += c.moves.proposed[k];
    screened += c.moves.screened[k];
  }
  if (screened > 0) {
    text += "Delayed acceptance: " +
            fixed(100.0 * static_cast<double>(screened) / static_cast<double>(proposed), 0) +
            " % of the proposals refused on a stand-in, their curve with the modes of the state "
            "they left, without the rule's own curve; the chains sample the same posterior\n";
  }
  if (!c.swaps.empty()) {
    text += "Tempering swap rates:";
    first = true;
    for (const SwapTally& swap : c.swaps) {
      const double rate = swap.proposed > 0 ? static_cast<double>(swap.accepted) /
                                                  static_cast<double>(swap.proposed)
                                            : 0.0;
      text += std::string(first ? " " : ", ") + "T " + fixed(swap.colder, 2) + "-" +
              fixed(swap.hotter, 2) + " " + fixed(rate, 2);
      first = false;
    }
    text += "\n";
  }
  return text;
}

std::string modelLines(const std::string& title, const TrialModel& m) {
  std::string text = title + "\n  layer  thickness (m)  Vs (m/s)  Vp (m/s)  density (g/cm3)\n";
  for (std::size_t i = 0; i < m.vs.size(); ++i) {
    const bool halfSpace = i + 1 == m.vs.size();
    text += column(std::to_string(i + 1), 7) +
            column(halfSpace ? std::string("half-space") : fixed(m.thickness[i], 2), 15) +
            column(fixed(m.vs[i], 1), 10) + column(fixed(m.vp[i], 1), 10) +
            column(fixed(m.density[i], 2), 17) + '\n';
  }
  return text;
}

std::string intervalLines(const PosteriorSummary& s) {
  const bool unrecorded = s.recordedModes && s.recordedModes->warns();
  std::string marks = s.convergence.converged ? "" : "not converged";
  if (s.fit && s.fit->warns()) {
    marks += std::string(marks.empty() ? "" : "; ") + "misfit beyond sigma";
  }
  if (unrecorded) marks += std::string(marks.empty() ? "" : "; ") + "holding unrecorded modes";
  const std::string mark = marks.empty() ? "" : "  (" + marks + ")";
  std::string text = "Credible intervals (equal-tailed percentiles of the samples, m/s)" + mark +
                     ":\n           p5     p10     p50     p90     p95\n";
  for (const PosteriorAverage& row : s.averages) {
    text += column("Vs" + std::to_string(static_cast<int>(row.depth)), 5) +
            quantileColumns(row.vs) +
            (row.extrapolated ? "   extrapolated: below the constrained depth" : "") + '\n';
  }
  text += "Vs at depth (m):\n";
  for (const double depth : {0.0, 1.0, 2.0, 3.0, 5.0, 7.5, 10.0, 15.0, 20.0, 25.0, 30.0, 40.0}) {
    for (const PosteriorProfileRow& row : s.profile) {
      if (std::abs(row.depth - depth) < 1e-9) {
        text += column(fixed(depth, 1), 5) + quantileColumns(row.vs) +
                (depth > s.constrainedDepth ? "   extrapolated" : "") + '\n';
      }
    }
  }
  return text;
}

std::string classLines(const PosteriorSummary& s) {
  std::string text = "Site class probabilities (the share of the samples' Vs30 in each class)" +
                     std::string(s.convergence.converged ? "" : "  (not converged)") + ":\n";
  std::string system;
  for (const ClassProbability& row : s.classes) {
    if (row.system != system) {
      if (!system.empty()) text += '\n';
      system = row.system;
      text += "  " + system + ":";
    }
    text += "  " + row.name + " " + fixed(row.probability, 3);
  }
  text += '\n';
  text += siteClassCaution();
  text += '\n';
  return text;
}

}  // namespace

std::string notConvergedWarning(const PosteriorSummary& summary) {
  if (summary.convergence.converged) return {};
  if (summary.cancelled) {
    return "not converged: the sampler was cancelled; raise --samples and let it finish; the "
           "intervals and probabilities are not to be trusted";
  }
  return "not converged: raise --samples (R-hat " + fixed(summary.convergence.rhatVs30, 3) +
         " for Vs30, " + fixed(summary.convergence.rhatLogLikelihood, 3) +
         " for the log-likelihood, above " + fixed(kMostConvergedRhat, 1) +
         "); the intervals and probabilities are not to be trusted";
}

std::string recordedModeWarning(const PosteriorSummary& summary) {
  if (!summary.recordedModes || !summary.recordedModes->warns()) return {};
  return fixed(100.0 * summary.recordedModes->share(), 0) +
         " % of the samples fit the curve through modes a surface array would not record "
         "(modes trapped at depth, whose surface motion is weak beside another mode's); the "
         "intervals and probabilities hold those models: sample under the surface-observed rule "
         "(without --lowest-root)";
}

std::string misfitWarning(const PosteriorSummary& summary, swcore::ForwardRule rule) {
  if (!summary.fit || !summary.fit->warns()) return {};
  const std::string why =
      rule == swcore::ForwardRule::lowestRoot
          ? "at some frequencies the curve may record a mode other than the lowest root (sample "
            "under the surface-observed rule, without --lowest-root), the ranges may "
            "exclude the site, or the sigma is too small"
          : "the ranges may exclude the site, the sigma may be too small, or the curve may hold "
            "a mode the rule does not choose";
  return "no model of the ranges fits the curve within its sigma under the forward rule (the "
         "best fit's chi-square p below " +
         std::string(swcore::formatNumber(kLeastFitPValue).view()) + "): " + why +
         "; the intervals are those of a problem the curve does not fit";
}

std::string posteriorReport(const PosteriorReportInputs& in) {
  const PosteriorSummary& s = in.summary;
  std::string text = problemLines(in);
  text += convergenceLines(s);
  if (s.fit) text += "Fit check: " + describeFit(*s.fit) + "\n";
  if (s.recordedModes) text += "Forward-rule check: " + describeCheck(*s.recordedModes) + "\n";
  for (const std::string& warning :
       {notConvergedWarning(s), misfitWarning(s, in.forward.rule), recordedModeWarning(s)}) {
    if (!warning.empty()) text += "Warning: " + warning + "\n";
  }
  if (s.counts.least < s.counts.most) {
    text += "Layer count probabilities:";
    for (std::size_t i = 0; i < s.layerCountProbabilities.size(); ++i) {
      text += "  " + std::to_string(s.counts.least + static_cast<int>(i)) + ": " +
              fixed(s.layerCountProbabilities[i], 3);
    }
    text += "\n";
  }
  text += "Depth the data constrain (half the longest measured wavelength): " +
          fixed(s.constrainedDepth, 1) + " m\n\n";
  text += intervalLines(s) + '\n';
  text += classLines(s) + '\n';
  text +=
      modelLines("Maximum a posteriori model (the sample of the highest prior times likelihood):",
                 s.maximumPosterior);
  text +=
      modelLines("Best-fit model (the highest likelihood any chain reached, normalised misfit " +
                     fixed(s.bestFitMisfit, 3) + "):",
                 s.bestFit);
  text += '\n' + calibrationNote(s.counts, in.forward.rule);
  return text;
}

}  // namespace dispfit
