// SPDX-License-Identifier: GPL-3.0-or-later
// A measured dispersion curve after reading: its rows brought to frequency,
// checked, sorted by descending frequency and, when there are more points
// than the inversion holds, thinned for the inversion while every measured
// point is kept for drawing.
//
// Notation (m, m/s, Hz, s):
//   f        frequency;  c  measured phase velocity
//   lambda   wavelength, c / f;  T  period, 1 / f
//   sigma    standard deviation of c; the band of a point is [c - sigma, c + sigma]
//            or the [low, high] bounds given with it
#pragma once

#include <optional>
#include <span>
#include <string>
#include <vector>

namespace dispfit {

// What the first column of a curve file holds.
enum class Abscissa { Frequency, Wavelength, Period };

// One row as a reader found it: the abscissa in the unit of its kind (Hz, m
// or s), the phase velocity c (m/s), optionally sigma or a low and a high
// bound (m/s), and the file line it came from (counted from 1).
struct MeasuredRow {
  double abscissa = 0.0;
  double velocity = 0.0;
  std::optional<double> sigma;
  std::optional<double> low;
  std::optional<double> high;
  int line = 0;
  std::optional<int> mode =
      std::nullopt;  // the mode the row measured (0 the fundamental), when the file says
};

// The velocities a measured point allows, m/s, low <= high.
struct VelocityBand {
  double low = 0.0;
  double high = 0.0;

  bool contains(double velocity) const { return velocity >= low && velocity <= high; }
};

struct MeasuredPoint {
  double frequency = 0.0;  // Hz, > 0
  double velocity = 0.0;   // m/s, > 0
  std::optional<VelocityBand> band;
  int line = 0;  // file line, from 1
  // The mode the point measured (0 the fundamental); none for the mode the
  // fit's forward rule takes.
  std::optional<int> mode = std::nullopt;

  double wavelength() const { return velocity / frequency; }  // m
};

struct MeasuredCurve {
  std::vector<MeasuredPoint> points;    // every measured point, descending frequency
  std::vector<MeasuredPoint> inverted;  // the points the inversion fits, same order
  std::vector<std::string> notes;       // what was done to the rows, one sentence each
};

struct CurvePreparation {
  std::optional<MeasuredCurve> curve;  // set when the rows are usable
  std::string error;                   // otherwise why not, naming the file and line
};

// The most points an inversion fits (what the forward-model record holds).
int maxInvertedPoints();

// Brings rows read from the file `source` (its name as the user knows it) to
// a measured curve. Refused, with the first fault found: a value that is not
// positive (abscissa, velocity, sigma, bounds) or bounds with low above high;
// fewer than 3 rows; every velocity below 10 m/s (km/s taken for m/s); two
// rows of the same frequency and mode (rows of different modes may share a
// frequency). Points of one frequency keep the rows' order. Wavelengths become f = c / lambda and
// periods f = 1 / T, with a note saying so. More than maxInvertedPoints() points are thinned for
// the inversion to that many, evenly spaced in log frequency with both ends kept, with a note.
CurvePreparation prepareMeasuredCurve(const std::vector<MeasuredRow>& rows, Abscissa abscissa,
                                      const std::string& source);

// Whether any point names its mode.
bool namesModes(std::span<const MeasuredPoint> points);

// Each point's standard deviation, half the width of its band, where every
// point has a band; none where no point has one. A band of no width, or bands
// at only some of the points, is a fault, which `fault` names.
struct BandDeviations {
  std::optional<std::vector<double>> sigmas;
  std::string fault;
};
BandDeviations bandDeviations(std::span<const MeasuredPoint> points);

// Half the longest measured wavelength (m): the depth the curve constrains.
// 0 for no points.
double constrainedDepth(const std::vector<MeasuredPoint>& points);

}  // namespace dispfit
