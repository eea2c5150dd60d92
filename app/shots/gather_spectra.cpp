// SPDX-License-Identifier: GPL-3.0-or-later
#include "shots/gather_spectra.h"

#include <cmath>
#include <numbers>

#include "shots/fourier_transform.h"

namespace dispfit {
namespace {

// A bin index counts as whole within this: the steps and the interval are
// decimal fractions (0.5 Hz, 0.25 ms) whose binary rounding leaves errors
// near 1e-12, while a frequency off its bin is off by a sizeable fraction.
constexpr double kWholeBin = 1e-6;

bool whole(double value) {
  return std::abs(value - std::round(value)) < kWholeBin;
}

// The longest transform considered: beyond it the direct sums are cheaper.
constexpr std::size_t kLongestTransform = 1u << 22;

}  // namespace

std::size_t binAlignedLength(std::size_t samples, double dt, const EvenSteps& frequencies) {
  const double perBin = 1.0 / (frequencies.step * dt);  // the length whose bins are the steps
  if (!whole(perBin) || std::round(perBin) < 1.0) return 0;
  const auto unit = static_cast<std::size_t>(std::round(perBin));
  if (unit > kLongestTransform) return 0;
  const std::size_t length = unit * ((samples + unit - 1) / unit);
  if (!whole(frequencies.first / frequencies.step)) return 0;
  return length;
}

GatherSpectra gatherSpectra(const ShotGather& gather, const EvenSteps& frequencies,
                            const TraceWindow& window) {
  GatherSpectra out;
  out.frequencyCount = frequencies.count();
  out.channelCount = gather.traces.size();
  out.values.assign(out.frequencyCount * out.channelCount, 0.0);
  const std::vector<double> r = gather.distances();
  const double dt = gather.sampleInterval;
  const std::size_t length = binAlignedLength(gather.sampleCount(), dt, frequencies);

  std::vector<double> samples;
  if (length > 0) {
    RealFourierTransform transform(length);
    std::vector<std::complex<double>> spectrum;
    for (std::size_t j = 0; j < out.channelCount; ++j) {
      samples = gather.traces[j];
      applyWindow(window, r[j], gather.delay, dt, samples);
      transform.forward(samples, spectrum);
      for (std::size_t i = 0; i < out.frequencyCount; ++i) {
        const auto bin =
            static_cast<std::size_t>(std::round(frequencies.at(i) * double(length) * dt));
        out.values[i * out.channelCount + j] = bin < spectrum.size() ? spectrum[bin] : 0.0;
      }
    }
    return out;
  }
  for (std::size_t j = 0; j < out.channelCount; ++j) {
    samples = gather.traces[j];
    applyWindow(window, r[j], gather.delay, dt, samples);
    for (std::size_t i = 0; i < out.frequencyCount; ++i) {
      const std::complex<double> step =
          std::polar(1.0, -2.0 * std::numbers::pi * frequencies.at(i) * dt);
      std::complex<double> phase = 1.0;
      std::complex<double> sum = 0.0;
      for (const double s : samples) {
        sum += s * phase;
        phase *= step;
      }
      out.values[i * out.channelCount + j] = sum;
    }
  }
  return out;
}

}  // namespace dispfit
