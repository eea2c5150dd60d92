// SPDX-License-Identifier: GPL-3.0-or-later
#include "shots/dispersion_image.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <numbers>

#include "shots/cylindrical_wave.h"
#include "shots/gather_spectra.h"
#include "shots/near_field_factor.h"

namespace dispfit {
namespace {

using Complex = std::complex<double>;
constexpr double kTwoPi = 2.0 * std::numbers::pi;

DispersionImage emptyImage(const ImageGrid& grid) {
  DispersionImage image;
  image.grid = grid;
  image.frequencyCount = grid.frequency.count();
  image.velocityCount = grid.velocity.count();
  image.power.assign(image.frequencyCount * image.velocityCount, 0.0);
  return image;
}

void normaliseRows(DispersionImage& image) {
  for (std::size_t i = 0; i < image.frequencyCount; ++i) {
    double* row = image.power.data() + i * image.velocityCount;
    const double largest = *std::max_element(row, row + image.velocityCount);
    if (largest > 0.0) {
      for (std::size_t l = 0; l < image.velocityCount; ++l) row[l] /= largest;
    }
  }
}

// The spectra reduced to their phase, as separate real and imaginary rows
// so that the sums over channels vectorise.
struct PhaseRows {
  std::size_t channels = 0;
  std::vector<double> re;  // [i * channels + j]
  std::vector<double> im;
};

PhaseRows phaseRows(const GatherSpectra& spectra) {
  PhaseRows rows;
  rows.channels = spectra.channelCount;
  rows.re.resize(spectra.values.size());
  rows.im.resize(spectra.values.size());
  for (std::size_t n = 0; n < spectra.values.size(); ++n) {
    const double magnitude = std::abs(spectra.values[n]);
    const Complex unit = magnitude > 0.0 ? spectra.values[n] / magnitude : Complex(0.0);
    rows.re[n] = unit.real();
    rows.im[n] = unit.imag();
  }
  return rows;
}

void addPhaseShift(const ShotGather& gather, const ImageRequest& request, DispersionImage& image) {
  const GatherSpectra spectra = gatherSpectra(gather, request.grid.frequency, request.window);
  const PhaseRows rows = phaseRows(spectra);
  const std::vector<double> r = gather.distances();
  const std::size_t channels = rows.channels;
  const EvenSteps& f = request.grid.frequency;
  std::vector<double> zr(channels), zi(channels), sr(channels), si(channels);
  for (std::size_t l = 0; l < image.velocityCount; ++l) {
    const double slowness = 1.0 / request.grid.velocity.at(l);
    for (std::size_t j = 0; j < channels; ++j) {
      const Complex start = std::polar(1.0, kTwoPi * f.first * r[j] * slowness);
      const Complex step = std::polar(1.0, kTwoPi * f.step * r[j] * slowness);
      zr[j] = start.real();
      zi[j] = start.imag();
      sr[j] = step.real();
      si[j] = step.imag();
    }
    for (std::size_t i = 0; i < image.frequencyCount; ++i) {
      const double* ar = rows.re.data() + i * channels;
      const double* ai = rows.im.data() + i * channels;
      double sumRe = 0.0;
      double sumIm = 0.0;
      for (std::size_t j = 0; j < channels; ++j) {
        sumRe += ar[j] * zr[j] - ai[j] * zi[j];
        sumIm += ar[j] * zi[j] + ai[j] * zr[j];
        const double nr = zr[j] * sr[j] - zi[j] * si[j];
        zi[j] = zr[j] * si[j] + zi[j] * sr[j];
        zr[j] = nr;
      }
      image.power[i * image.velocityCount + l] += sumRe * sumRe + sumIm * sumIm;
    }
  }
}

// The steering, h_j = G(k r_j) exp(-i k r_j) / sqrt(r_j) with G the
// near-field factor (near_field_factor.h), is H0(2)(k r_j) times
// sqrt(pi k / 2) exp(-i pi/4), a factor that every channel of a cell shares
// and that the normalised power w^H R w / w^H w does not see. Along the
// frequencies of one velocity, k r_j grows by a fixed step, so exp(-i k r_j)
// is stepped by a complex product as the phase shift's exponential is. The
// products are written out in real arithmetic, which spares std::complex's
// checks for infinite parts in each.
void addBeamformer(const ShotGather& gather, const ImageRequest& request,
                   const NearFieldFactor& nearField, DispersionImage& image) {
  const GatherSpectra spectra = gatherSpectra(gather, request.grid.frequency, request.window);
  const std::vector<double> r = gather.distances();
  const std::size_t channels = spectra.channelCount;
  const std::size_t cells = image.frequencyCount * channels;
  const EvenSteps& f = request.grid.frequency;
  std::vector<double> ur(cells), ui(cells);
  for (std::size_t n = 0; n < cells; ++n) {
    ur[n] = spectra.values[n].real();
    ui[n] = spectra.values[n].imag();
  }
  std::vector<double> inverseR(channels), inverseRootR(channels);
  for (std::size_t j = 0; j < channels; ++j) {
    inverseR[j] = 1.0 / r[j];
    inverseRootR[j] = 1.0 / std::sqrt(r[j]);
  }
  std::vector<double> phasePerHertz(channels), zr(channels), zi(channels), sr(channels),
      si(channels);
  for (std::size_t l = 0; l < image.velocityCount; ++l) {
    const double velocity = request.grid.velocity.at(l);
    const double slowness = 1.0 / velocity;
    for (std::size_t j = 0; j < channels; ++j) {
      phasePerHertz[j] = kTwoPi * r[j] * slowness;
      const Complex start = std::polar(1.0, -phasePerHertz[j] * f.first);
      const Complex step = std::polar(1.0, -phasePerHertz[j] * f.step);
      zr[j] = start.real();
      zi[j] = start.imag();
      sr[j] = step.real();
      si[j] = step.imag();
    }
    for (std::size_t i = 0; i < image.frequencyCount; ++i) {
      const double frequency = f.at(i);
      const double inverseK = velocity / (kTwoPi * frequency);
      const double* br = ur.data() + i * channels;
      const double* bi = ui.data() + i * channels;
      double sumRe = 0.0;
      double sumIm = 0.0;
      double norm = 0.0;
      for (std::size_t j = 0; j < channels; ++j) {
        const Complex g = nearField(phasePerHertz[j] * frequency, inverseK * inverseR[j]);
        const double er = g.real() * inverseRootR[j];
        const double ei = g.imag() * inverseRootR[j];
        const double hr = er * zr[j] - ei * zi[j];
        const double hi = er * zi[j] + ei * zr[j];
        sumRe += hr * br[j] + hi * bi[j];  // conj(h) u
        sumIm += hr * bi[j] - hi * br[j];
        norm += er * er + ei * ei;
        const double nr = zr[j] * sr[j] - zi[j] * si[j];
        zi[j] = zr[j] * si[j] + zi[j] * sr[j];
        zr[j] = nr;
      }
      image.power[i * image.velocityCount + l] +=
          norm > 0.0 ? (sumRe * sumRe + sumIm * sumIm) / norm : 0.0;
    }
  }
}

}  // namespace

DispersionImage dispersionImage(std::span<const ShotGather> gathers, const ImageRequest& request) {
  DispersionImage image = emptyImage(request.grid);
  if (request.transform == ImageTransform::phaseShift) {
    for (const ShotGather& gather : gathers) addPhaseShift(gather, request, image);
  } else {
    const NearFieldFactor nearField;
    for (const ShotGather& gather : gathers) addBeamformer(gather, request, nearField, image);
  }
  normaliseRows(image);
  return image;
}

DispersionImage directPhaseShiftImage(std::span<const ShotGather> gathers,
                                      const ImageRequest& request) {
  DispersionImage image = emptyImage(request.grid);
  for (const ShotGather& gather : gathers) {
    const GatherSpectra spectra = gatherSpectra(gather, request.grid.frequency, request.window);
    const std::vector<double> r = gather.distances();
    for (std::size_t i = 0; i < image.frequencyCount; ++i) {
      const double w = kTwoPi * request.grid.frequency.at(i);
      for (std::size_t l = 0; l < image.velocityCount; ++l) {
        Complex sum = 0.0;
        for (std::size_t j = 0; j < spectra.channelCount; ++j) {
          const Complex u = spectra.at(i, j);
          const double magnitude = std::abs(u);
          if (magnitude > 0.0)
            sum += u / magnitude * std::polar(1.0, w * r[j] / request.grid.velocity.at(l));
        }
        image.power[i * image.velocityCount + l] += std::norm(sum);
      }
    }
  }
  normaliseRows(image);
  return image;
}

DispersionImage directBeamformerImage(std::span<const ShotGather> gathers,
                                      const ImageRequest& request) {
  DispersionImage image = emptyImage(request.grid);
  for (const ShotGather& gather : gathers) {
    const GatherSpectra spectra = gatherSpectra(gather, request.grid.frequency, request.window);
    const std::vector<double> r = gather.distances();
    std::vector<Complex> steering(spectra.channelCount);
    for (std::size_t i = 0; i < image.frequencyCount; ++i) {
      const double w = kTwoPi * request.grid.frequency.at(i);
      for (std::size_t l = 0; l < image.velocityCount; ++l) {
        const double k = w / request.grid.velocity.at(l);
        double norm = 0.0;
        Complex sum = 0.0;
        for (std::size_t j = 0; j < spectra.channelCount; ++j) {
          steering[j] = hankelSecondKind(k * r[j]);
          norm += std::norm(steering[j]);
          sum += std::conj(steering[j]) * spectra.at(i, j);
        }
        image.power[i * image.velocityCount + l] += norm > 0.0 ? std::norm(sum) / norm : 0.0;
      }
    }
  }
  normaliseRows(image);
  return image;
}

}  // namespace dispfit
