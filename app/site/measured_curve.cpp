// SPDX-License-Identifier: GPL-3.0-or-later
#include "site/measured_curve.h"

#include <algorithm>
#include <cmath>
#include <map>

#include "core/forward_model.h"
#include "core/number_text.h"
#include "site/log_frequency_thinning.h"

namespace dispfit {

namespace {

// Below this every field Rayleigh velocity lies only if it was written in
// km/s: the slowest soils carry Rayleigh waves at some tens of m/s, while
// 10 km/s is beyond any crustal rock.
constexpr double kKilometresPerSecondBelow = 10.0;
constexpr std::size_t kFewestPoints = 3;

std::string at(const std::string& source, int line) {
  return source + ", line " + std::to_string(line) + ": ";
}

const char* abscissaName(Abscissa abscissa) {
  switch (abscissa) {
    case Abscissa::Wavelength:
      return "the wavelength";
    case Abscissa::Period:
      return "the period";
    case Abscissa::Frequency:
      break;
  }
  return "the frequency";
}

// The first value of the row that is not a positive number, or an empty text.
std::string nonPositiveValue(const MeasuredRow& row, Abscissa abscissa) {
  const auto bad = [](double value) { return !(value > 0.0) || !std::isfinite(value); };
  const auto badOptional = [&bad](const std::optional<double>& value) {
    return value && bad(*value);
  };
  if (bad(row.abscissa)) return abscissaName(abscissa);
  if (bad(row.velocity)) return "the phase velocity";
  if (badOptional(row.sigma)) return "the standard deviation";
  if (badOptional(row.low)) return "the low bound";
  if (badOptional(row.high)) return "the high bound";
  return {};
}

double frequencyOf(const MeasuredRow& row, Abscissa abscissa) {
  switch (abscissa) {
    case Abscissa::Wavelength:
      return row.velocity / row.abscissa;
    case Abscissa::Period:
      return 1.0 / row.abscissa;
    case Abscissa::Frequency:
      break;
  }
  return row.abscissa;
}

std::optional<VelocityBand> bandOf(const MeasuredRow& row) {
  if (row.sigma) return VelocityBand{row.velocity - *row.sigma, row.velocity + *row.sigma};
  if (row.low && row.high) return VelocityBand{*row.low, *row.high};
  return std::nullopt;
}

std::string conversionNote(Abscissa abscissa) {
  switch (abscissa) {
    case Abscissa::Wavelength:
      return "wavelengths converted to frequencies (f = c / wavelength)";
    case Abscissa::Period:
      return "periods converted to frequencies (f = 1 / T)";
    case Abscissa::Frequency:
      break;
  }
  return {};
}

// The first fault of the rows, or an empty text.
std::string rowFault(const std::vector<MeasuredRow>& rows, Abscissa abscissa,
                     const std::string& source) {
  for (const MeasuredRow& row : rows) {
    if (std::string what = nonPositiveValue(row, abscissa); !what.empty()) {
      return at(source, row.line) + what + " must be a positive number";
    }
    if (row.low && row.high && *row.low > *row.high) {
      return at(source, row.line) + "the low bound " + exactText(*row.low) +
             " m/s lies above the high bound " + exactText(*row.high) + " m/s";
    }
  }
  if (rows.size() < kFewestPoints) {
    return source + ": " + std::to_string(rows.size()) + " point(s), at least " +
           std::to_string(kFewestPoints) + " are needed";
  }
  const bool allSlow = std::all_of(rows.begin(), rows.end(), [](const MeasuredRow& row) {
    return row.velocity < kKilometresPerSecondBelow;
  });
  if (allSlow) {
    return source + ", lines " + std::to_string(rows.front().line) + " to " +
           std::to_string(rows.back().line) + ": every phase velocity lies below " +
           exactText(kKilometresPerSecondBelow) + ", which looks like km/s; give them in m/s";
  }
  return {};
}

}  // namespace

int maxInvertedPoints() {
  return ForwardModel::kFreqCapacity;
}

CurvePreparation prepareMeasuredCurve(const std::vector<MeasuredRow>& rows, Abscissa abscissa,
                                      const std::string& source) {
  if (std::string fault = rowFault(rows, abscissa, source); !fault.empty()) {
    return {std::nullopt, std::move(fault)};
  }
  MeasuredCurve curve;
  curve.points.reserve(rows.size());
  // A frequency may come once for each mode (no mode named counts as one).
  std::map<std::pair<double, int>, int> lineOfFrequency;
  for (const MeasuredRow& row : rows) {
    const double frequency = frequencyOf(row, abscissa);
    const auto [earlier, inserted] =
        lineOfFrequency.emplace(std::pair{frequency, row.mode.value_or(-1)}, row.line);
    if (!inserted) {
      return {std::nullopt,
              at(source, row.line) + "the frequency " + exactText(frequency) + " Hz appears again" +
                  (row.mode ? " for mode " + std::to_string(*row.mode) : std::string()) +
                  " (first on line " + std::to_string(earlier->second) + ")"};
    }
    curve.points.push_back({frequency, row.velocity, bandOf(row), row.line, row.mode});
  }
  std::stable_sort(
      curve.points.begin(), curve.points.end(),
      [](const MeasuredPoint& a, const MeasuredPoint& b) { return a.frequency > b.frequency; });

  if (abscissa != Abscissa::Frequency) curve.notes.push_back(conversionNote(abscissa));

  const auto limit = static_cast<std::size_t>(maxInvertedPoints());
  if (curve.points.size() <= limit) {
    curve.inverted = curve.points;
    return {std::move(curve), {}};
  }
  std::vector<double> frequencies;
  frequencies.reserve(curve.points.size());
  for (const MeasuredPoint& point : curve.points) frequencies.push_back(point.frequency);
  for (const std::size_t index : thinnedIndices(frequencies, limit)) {
    curve.inverted.push_back(curve.points[index]);
  }
  curve.notes.push_back(std::to_string(curve.points.size()) + " points: the inversion fits " +
                        std::to_string(limit) +
                        " of them, evenly spaced in log frequency with both ends kept; all are "
                        "drawn");
  return {std::move(curve), {}};
}

bool namesModes(std::span<const MeasuredPoint> points) {
  return std::any_of(points.begin(), points.end(),
                     [](const MeasuredPoint& point) { return point.mode.has_value(); });
}

BandDeviations bandDeviations(std::span<const MeasuredPoint> points) {
  BandDeviations out;
  std::vector<double> sigmas;
  for (const MeasuredPoint& point : points) {
    if (!point.band) continue;
    const double sigma = 0.5 * (point.band->high - point.band->low);
    if (!(sigma > 0.0)) {
      out.fault = "the band at line " + std::to_string(point.line) +
                  " has no width, so it gives no standard deviation";
      return out;
    }
    sigmas.push_back(sigma);
  }
  if (sigmas.empty()) return out;
  if (sigmas.size() != points.size()) {
    out.fault = "some points have a band (or standard deviation) and some do not";
    return out;
  }
  out.sigmas = std::move(sigmas);
  return out;
}

double constrainedDepth(const std::vector<MeasuredPoint>& points) {
  double longest = 0.0;
  for (const MeasuredPoint& point : points) longest = std::max(longest, point.wavelength());
  return 0.5 * longest;
}

}  // namespace dispfit
