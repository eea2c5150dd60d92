// SPDX-License-Identifier: GPL-3.0-or-later
// The texts of the exported results: the curve and the model as CSV (comma
// separated, one header line, a full stop as decimal separator whatever the
// locale, lines ending in "\n") and the site summary as plain text.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/model_table.h"
#include "site/fit_statistics.h"
#include "site/measured_curve.h"
#include "site/site_summary.h"

namespace dispfit {

// Which curve the last column holds.
enum class CurveKind { Computed, Fitted };

// One line per measured point, in the points' order: frequency (Hz),
// wavelength (m), measured, low, high and computed or fitted velocity (m/s).
// low and high are empty for a point without a band, the last column where
// the curve has no velocity. The measured velocity and its band as they were
// read; the frequency the engine ran at, the wavelength and the computed
// velocity in the shortest digits of single precision, the precision the
// engine computes in, so that the columns read back to the values the report
// speaks of (a point inside its band there is inside here).
std::string curveCsv(std::span<const MeasuredPoint> points, const ComputedCurve& curve,
                     CurveKind kind);

// The curve without a measured one: one line per frequency, in the given
// order, of frequency (Hz), wavelength (m) and computed velocity (m/s); the
// last two empty where the velocity is not a positive number (no root);
// every number in the shortest digits of single precision.
std::string computedCurveCsv(std::span<const float> frequencies, std::span<const float> velocities);

// One line per layer, top first: layer number, top and bottom depth,
// thickness (m), Vs (m/s), density (g/cm3), in the shortest digits of single
// precision, the precision of the model. The half-space's bottom and
// thickness are empty.
std::string modelCsv(const ParsedLayers& model);

// The model as a report's table: a header, then one line per layer of
// number, top and bottom depth, thickness (m), Vs (m/s) and density (g/cm3)
// in columns of fixed width, depths and thickness to 0.01 m, Vs to 0.1 m/s,
// density to 0.01 g/cm3; the half-space's bottom and thickness are "-".
std::vector<std::string> modelTableLines(const ParsedLayers& model);

// The fit of a curve to the measured one in words: the unweighted RMS misfit
// (m/s, to 0.01) over the points compared, the points without a root and the
// points inside the band; a single line saying so without a measured curve.
std::vector<std::string> fitLines(const std::optional<FitStatistics>& fit);

// VsZ at each depth, Vs30 with both classes and their ranges, the constrained
// depth and the extrapolation flags, and the caution on the classes;
// velocities to 0.1 m/s, depths to 0.1 m.
std::string siteSummaryText(const SiteSummary& summary);

}  // namespace dispfit
