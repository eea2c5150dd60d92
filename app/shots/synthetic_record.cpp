// SPDX-License-Identifier: GPL-3.0-or-later
#include "shots/synthetic_record.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <numbers>
#include <random>

#include "shots/cylindrical_wave.h"
#include "shots/fourier_transform.h"

namespace dispfit {
namespace {

// The value of `values` at `frequency`, linear between the curve's
// frequencies; NaN outside them.
double interpolated(const std::vector<double>& frequencies, const std::vector<double>& values,
                    double frequency) {
  if (frequencies.empty() || frequency < frequencies.front() || frequency > frequencies.back()) {
    return std::nan("");
  }
  const auto above = std::lower_bound(frequencies.begin(), frequencies.end(), frequency);
  const std::size_t j = static_cast<std::size_t>(above - frequencies.begin());
  if (j == 0) return values.front();
  const double share = (frequency - frequencies[j - 1]) / (frequencies[j] - frequencies[j - 1]);
  return values[j - 1] + share * (values[j] - values[j - 1]);
}

double amplitudeAt(const ModalCurve& mode, double frequency) {
  if (mode.amplitudes.empty()) return mode.amplitude;
  return interpolated(mode.frequencies, mode.amplitudes, frequency);
}

double rickerSpectrum(double f, double peak) {
  const double ratio = f / peak;
  return 2.0 / std::sqrt(std::numbers::pi) * ratio * ratio / peak * std::exp(-ratio * ratio);
}

}  // namespace

double modalVelocityAt(const ModalCurve& mode, double frequency) {
  return interpolated(mode.frequencies, mode.phaseVelocities, frequency);
}

ShotGather syntheticRecord(const SyntheticShot& shot, std::span<const ModalCurve> modes) {
  ShotGather gather;
  gather.name = "synthetic";
  gather.sampleInterval = shot.sampleInterval;
  gather.delay = shot.firstSampleTime;
  gather.sourcePosition = shot.sourcePosition;
  gather.receiverPositions = shot.receiverPositions;

  RealFourierTransform transform(4 * shot.sampleCount);
  const double binWidth = 1.0 / (double(transform.length()) * shot.sampleInterval);
  std::vector<std::complex<double>> spectrum(transform.binCount());
  std::vector<double> samples;
  for (const double x : shot.receiverPositions) {
    const double r = std::abs(x - shot.sourcePosition);
    for (std::size_t bin = 1; bin < transform.binCount(); ++bin) {
      const double f = double(bin) * binWidth;
      const double w = 2.0 * std::numbers::pi * f;
      std::complex<double> modesSum = 0.0;
      for (const ModalCurve& mode : modes) {
        const double c = modalVelocityAt(mode, f);
        const double a = amplitudeAt(mode, f);
        if (!std::isfinite(c) || !std::isfinite(a) || c <= 0.0) continue;
        const double k = w / c;
        // Both spread as G sqrt(r); the division by sqrt(r) follows.
        modesSum += shot.nearField
                        ? a * std::sqrt(std::numbers::pi * k * r / 2.0) *
                              std::polar(1.0, -std::numbers::pi / 4.0) * hankelSecondKind(k * r)
                        : a * std::polar(1.0, -k * r);
      }
      spectrum[bin] = rickerSpectrum(f, shot.peakFrequency) *
                      std::polar(1.0, -w * (shot.waveletDelay - shot.firstSampleTime)) * modesSum /
                      std::sqrt(r);
    }
    spectrum[0] = 0.0;
    // The transform's sum of bins stands for an integral over frequency.
    for (auto& bin : spectrum) bin *= double(transform.length()) * binWidth;
    transform.inverse(spectrum, samples);
    samples.resize(shot.sampleCount);
    gather.traces.push_back(samples);
  }
  if (shot.noiseLevel > 0.0) {
    double largest = 0.0;
    for (const auto& trace : gather.traces) {
      for (const double s : trace) largest = std::max(largest, std::abs(s));
    }
    std::mt19937_64 random(shot.seed);
    std::normal_distribution<double> noise(0.0, shot.noiseLevel * largest);
    for (auto& trace : gather.traces) {
      for (double& s : trace) s += noise(random);
    }
  }
  return gather;
}

ModalCurve fundamentalModeCurve(std::span<const swcore::ModelLayer> model, double lowest,
                                double highest, std::size_t count, double amplitude) {
  ModalCurve curve;
  curve.amplitude = amplitude;
  for (std::size_t i = 0; i < count; ++i) {
    curve.frequencies.push_back(
        count == 1 ? lowest : lowest + (highest - lowest) * double(i) / double(count - 1));
  }
  std::vector<swcore::CurvePoint> points(count);
  swcore::DispersionCurveSolver solver;
  solver.compute(model, curve.frequencies, swcore::CurveKind::phase, points);
  for (const swcore::CurvePoint& point : points) {
    curve.phaseVelocities.push_back(point.hasRoot ? point.phaseVelocity : std::nan(""));
  }
  return curve;
}

}  // namespace dispfit
