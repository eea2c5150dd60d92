// SPDX-License-Identifier: GPL-3.0-or-later
// Synthetic shot records of a vertical point source at the surface of a
// layered model, built from surface-wave modes: for tests, benchmarks and
// for checking which mode a line of receivers sees.
//
// Notation (SI units):
//   f        frequency (Hz);  w = 2 pi f
//   c_m(f)   phase velocity of mode m (m/s);  k_m = w / c_m
//   A_m(f)   the mode's amplitude: its vertical surface response to a
//            vertical point force, or any weight the caller chooses
//   r        distance from the source to a receiver (m)
//   R(f)     spectrum of the Ricker wavelet of peak frequency fp,
//            R(f) = (2 / sqrt(pi)) f^2 / fp^3 exp(-f^2 / fp^2), delayed by t_p
//
// Receiver at distance r, vertical motion (spectrum, the FFT's convention of
// fourier_transform.h):
//   U(r, f) = R(f) exp(-i w (t_p - t_0)) sum_m A_m(f) G(k_m, r)
// with t_0 the time of the first sample and G the mode's spreading:
//   far field (the default)  G = exp(-i k r) / sqrt(r), cylindrical
//                            spreading with the plane wave's phase;
//   with the near field      G = sqrt(pi k / 2) exp(-i pi/4) H0(2)(k r),
//                            the point source's cylindrical wave
//                            (cylindrical_wave.h), scaled to the far field's
//                            amplitude and phase far from the source.
// Body waves are left out, so a record holds the modes and nothing else,
// plus optional white noise.
//
// A mode's curve is sampled at the caller's frequencies and interpolated
// linearly in frequency between them; outside its first and last frequency,
// and where its velocity is not a number (below the mode's cut-off), the
// mode contributes nothing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "dispersion/dispersion_curve.h"
#include "shots/shot_gather.h"

namespace dispfit {

// One mode: phase velocity and amplitude at each frequency.
struct ModalCurve {
  std::vector<double> frequencies;      // Hz, ascending, > 0
  std::vector<double> phaseVelocities;  // m/s; NaN where the mode does not exist
  // The mode's amplitude at each frequency; empty: `amplitude` at every one.
  std::vector<double> amplitudes;
  double amplitude = 1.0;
};

struct SyntheticShot {
  double sourcePosition = 0.0;            // m
  std::vector<double> receiverPositions;  // m, none at the source
  double sampleInterval = 0.001;          // s
  std::size_t sampleCount = 1500;
  double firstSampleTime = 0.0;  // s after the shot (the record's delay)
  double peakFrequency = 20.0;   // Hz, the Ricker wavelet's
  double waveletDelay = 0.05;    // s, the wavelet's peak after the shot
  // Standard deviation of white Gaussian noise added to every sample, as a
  // share of the largest absolute sample of the noise-free record; 0 adds none.
  double noiseLevel = 0.0;
  bool nearField = false;  // spread with H0(2)(k r) rather than its far-field form
  std::uint64_t seed = 1;  // of the noise
};

// The record of the modes. The spectrum is built on a transform of at least
// four times the record's length, so arrivals later than the record wrap
// around only after three record lengths; what arrives after its end is lost.
ShotGather syntheticRecord(const SyntheticShot& shot, std::span<const ModalCurve> modes);

// The fundamental Rayleigh mode of `model` from the curve core at `count`
// frequencies evenly spaced from `lowest` to `highest` Hz, each of the given
// amplitude; frequencies without a root hold NaN.
ModalCurve fundamentalModeCurve(std::span<const swcore::ModelLayer> model, double lowest,
                                double highest, std::size_t count, double amplitude = 1.0);

// The velocity of a modal curve at `frequency` as the record uses it:
// interpolated linearly, NaN outside it.
double modalVelocityAt(const ModalCurve& mode, double frequency);

}  // namespace dispfit
