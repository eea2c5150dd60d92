// SPDX-License-Identifier: GPL-3.0-or-later
#include "site/export_layouts.h"

#include "core/number_text.h"

namespace dispfit {

namespace {

// A computed velocity in the shortest digits of its single precision, so
// that the columns tell inside from outside the band as the report does.
std::string optionalText(const std::optional<float>& value) {
  return value ? exactText(*value) : std::string();
}

}  // namespace

std::string curveCsv(std::span<const MeasuredPoint> points, const ComputedCurve& curve,
                     CurveKind kind) {
  std::string text = "frequency_Hz,wavelength_m,measured_m_s,low_m_s,high_m_s,";
  text += kind == CurveKind::Fitted ? "fitted_m_s\n" : "computed_m_s\n";
  for (std::size_t i = 0; i < points.size(); ++i) {
    const MeasuredPoint& point = points[i];
    // The frequency the engine ran at and the wavelength in single precision,
    // the measured velocity and its band as they were read.
    text += exactText(static_cast<float>(point.frequency)) + ',' +
            exactText(static_cast<float>(point.wavelength())) + ',' + exactText(point.velocity) +
            ',';
    if (point.band)
      text += exactText(point.band->low) + ',' + exactText(point.band->high);
    else
      text += ',';
    text += ',' + (i < curve.size() ? optionalText(curve[i]) : std::string()) + '\n';
  }
  return text;
}

std::string computedCurveCsv(std::span<const float> frequencies,
                             std::span<const float> velocities) {
  std::string text = "frequency_Hz,wavelength_m,computed_m_s\n";
  const ComputedCurve curve = computedCurve(velocities);
  for (std::size_t i = 0; i < frequencies.size(); ++i) {
    text += exactText(frequencies[i]) + ',';
    if (i < curve.size() && curve[i]) {
      text += exactText(*curve[i] / frequencies[i]) + ',' + exactText(*curve[i]);
    } else {
      text += ',';
    }
    text += '\n';
  }
  return text;
}

std::string modelCsv(const ParsedLayers& model) {
  std::string text = "layer,top_m,bottom_m,thickness_m,vs_m_s,density_g_cm3\n";
  // Depths are summed in double and written as the nearest single-precision
  // number, the precision of the thicknesses: 0.1 + 0.2 m reads "0.3".
  double top = 0.0;
  for (int i = 0; i < model.count(); ++i) {
    const auto layer = static_cast<std::size_t>(i);
    const bool halfSpace = i + 1 == model.count();
    text += std::to_string(i + 1) + ',' + exactText(static_cast<float>(top)) + ',';
    if (!halfSpace) {
      const double bottom = top + static_cast<double>(model.thickness[layer]);
      text += exactText(static_cast<float>(bottom)) + ',' + exactText(model.thickness[layer]);
      top = bottom;
    } else {
      text += ',';
    }
    text += ',' + exactText(model.vs[layer]) + ',' + exactText(model.density[layer]) + '\n';
  }
  return text;
}

std::vector<std::string> modelTableLines(const ParsedLayers& model) {
  constexpr std::size_t kWidth = 11;
  std::vector<std::string> lines{"Layer" + rightAligned("Top (m)", kWidth) +
                                 rightAligned("Bottom (m)", kWidth) +
                                 rightAligned("H (m)", kWidth) + rightAligned("Vs (m/s)", kWidth) +
                                 rightAligned("Rho (g/cm3)", kWidth + 2)};
  double top = 0.0;
  for (int i = 0; i < model.count(); ++i) {
    const auto layer = static_cast<std::size_t>(i);
    const bool halfSpace = i + 1 == model.count();
    const double thickness = model.thickness[layer];
    std::string line = rightAligned(std::to_string(i + 1), 5) +
                       rightAligned(figureText(top, Figure::Length), kWidth);
    line += halfSpace ? rightAligned("-", kWidth) + rightAligned("-", kWidth)
                      : rightAligned(figureText(top + thickness, Figure::Length), kWidth) +
                            rightAligned(figureText(thickness, Figure::Length), kWidth);
    line += rightAligned(figureText(model.vs[layer], Figure::Velocity), kWidth) +
            rightAligned(figureText(model.density[layer], Figure::Density), kWidth + 2);
    lines.push_back(line);
    top += thickness;
  }
  return lines;
}

std::vector<std::string> fitLines(const std::optional<FitStatistics>& fit) {
  if (!fit) return {"No measured curve: no misfit"};
  std::vector<std::string> lines;
  if (fit->rmsMisfit) {
    lines.push_back("Misfit (unweighted RMS, sqrt(sum r^2 / m)): " +
                    figureText(*fit->rmsMisfit, Figure::Misfit) +
                    " m/s over m = " + std::to_string(fit->compared) + " points");
  } else {
    lines.push_back("Misfit: none, no measured point has a computed velocity");
  }
  if (fit->withoutRoot > 0) {
    lines.push_back("Points without a computed velocity (no root): " +
                    std::to_string(fit->withoutRoot));
  }
  lines.push_back(fit->withBand > 0 ? "Points inside the band: " + std::to_string(fit->insideBand) +
                                          " of " + std::to_string(fit->withBand)
                                    : std::string("The measured curve has no band"));
  return lines;
}

std::string siteSummaryText(const SiteSummary& summary) {
  // Built from texts, not a stream, so that no locale can group digits.
  std::string text =
      "Time-averaged shear-wave velocity VsZ = Z / sum(h_i / Vs_i) over the top Z m\n";
  if (summary.constrainedDepth) {
    text += "Depth the data constrain (half the longest measured wavelength): " +
            figureText(*summary.constrainedDepth, Figure::Depth) + " m\n";
  }
  const auto flag = [](bool extrapolated) {
    return extrapolated ? std::string("  extrapolated: below the constrained depth")
                        : std::string();
  };
  for (const DepthAverage& average : summary.averages) {
    text += "Vs" + std::to_string(static_cast<int>(average.depth)) + " = " +
            (average.velocity ? figureText(*average.velocity, Figure::Velocity) + " m/s"
                              : std::string("none")) +
            flag(average.extrapolated) + '\n';
  }
  if (summary.vs30 && summary.groundType && summary.nehrpClass) {
    text += "Eurocode 8 ground type: " + className(*summary.groundType) + " (Vs30 " +
            classRange(*summary.groundType) + ")" + flag(summary.vs30Extrapolated) + '\n';
    text += "NEHRP site class: " + className(*summary.nehrpClass) + " (Vs30 " +
            classRange(*summary.nehrpClass) + ")" + flag(summary.vs30Extrapolated) + '\n';
  } else {
    text += "No Vs30: the model has no usable layer\n";
  }
  text += siteClassCaution() + '\n';
  return text;
}

}  // namespace dispfit
