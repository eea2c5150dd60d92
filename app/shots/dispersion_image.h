// SPDX-License-Identifier: GPL-3.0-or-later
// Dispersion images of shot gathers: how strongly the records carry a wave
// of each phase velocity at each frequency.
//
// Notation (SI units):
//   f_i, v_l    the image's frequencies and velocities;  w = 2 pi f
//   r_j         distance from the source to receiver j
//   U_j(f)      spectrum of receiver j's windowed trace (gather_spectra.h)
//
// Phase shift (Park, Miller & Xia 1998): the spectra are reduced to their
// phase, shifted back by the travel time of each trial velocity and summed,
//   P(f, v) = | sum_j U_j / |U_j| exp(+i w r_j / v) |^2 .
// The exponential is stepped along the frequencies (exp(i 2 pi df r_j / v)
// each step) rather than evaluated at every cell: two complex products a
// cell, which the benchmark times against the direct evaluation.
//
// Frequency-domain beamformer with cylindrical steering (Zywicki 1999): the
// spectra keep their amplitudes, and each trial wavenumber k = w / v is
// steered with the outgoing cylindrical wave of a point source,
//   e_j = H0(2)(k r_j) = J0(k r_j) - i Y0(k r_j)  (cylindrical_wave.h),
//   w = e / |e|,   P(f, v) = | w^H U |^2 = w^H R w,   R = U U^H  the spectral matrix.
// The steering is computed as the near-field factor G(k r_j), the wave
// relative to its far-field form, read from a table (near_field_factor.h),
// times exp(-i k r_j) stepped along the frequencies and 1 / sqrt(r_j): a
// few more products a cell than the phase shift's, where H0(2) evaluated
// at every cell and channel costs about 40 times as much. The steering
// carries the near field of a point source, which the phase shift's plane
// waves do not: close to the source its ridge stays on the mode's velocity
// where the phase shift's falls below it.
//
// Records of one source position are stacked by adding their P, which for
// the beamformer is the steered power of the summed spectral matrices.
// Finally every frequency's row is divided by its largest value (a row of
// zeros stays zero), so each row peaks at 1.
#pragma once

#include <cstddef>
#include <span>
#include <vector>

#include "shots/image_grid.h"
#include "shots/shot_gather.h"
#include "shots/trace_window.h"

namespace dispfit {

enum class ImageTransform { phaseShift, beamformer };

struct ImageRequest {
  ImageGrid grid;
  ImageTransform transform = ImageTransform::phaseShift;
  TraceWindow window;

  bool operator==(const ImageRequest&) const = default;
};

struct DispersionImage {
  ImageGrid grid;
  std::size_t frequencyCount = 0;
  std::size_t velocityCount = 0;
  // Frequency i, velocity l at [i * velocityCount + l], each row's largest 1.
  std::vector<double> power;

  double at(std::size_t i, std::size_t l) const { return power[i * velocityCount + l]; }
};

// The image of the gathers, all of one source position and one array (the
// caller checks that); at least one gather.
DispersionImage dispersionImage(std::span<const ShotGather> gathers, const ImageRequest& request);

// The phase-shift image computed cell by cell with the exponential
// evaluated at each: the reference the stepped computation is tested and
// timed against.
DispersionImage directPhaseShiftImage(std::span<const ShotGather> gathers,
                                      const ImageRequest& request);

// The beamformer's image computed cell by cell with the Hankel function
// evaluated at each cell and channel: the reference the tabulated steering
// is tested and timed against.
DispersionImage directBeamformerImage(std::span<const ShotGather> gathers,
                                      const ImageRequest& request);

}  // namespace dispfit
