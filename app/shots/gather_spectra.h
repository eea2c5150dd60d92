// SPDX-License-Identifier: GPL-3.0-or-later
// The spectra of a gather's windowed traces at a dispersion image's
// frequencies.
//
// Where every image frequency falls on a bin of a transform no shorter than
// the record (the frequency step divides 1 / dt and the lowest frequency is
// a whole number of steps), the traces are zero-padded to the shortest such
// length and transformed by FFTW; otherwise each frequency's value is summed
// directly, exp(-2 pi i f t) over the samples, which is exact for any
// frequency and costs one pass over the samples per frequency.
#pragma once

#include <complex>
#include <cstddef>
#include <vector>

#include "shots/image_grid.h"
#include "shots/shot_gather.h"
#include "shots/trace_window.h"

namespace dispfit {

struct GatherSpectra {
  std::size_t frequencyCount = 0;
  std::size_t channelCount = 0;
  // Frequency i, channel j at [i * channelCount + j].
  std::vector<std::complex<double>> values;

  std::complex<double> at(std::size_t i, std::size_t j) const {
    return values[i * channelCount + j];
  }
};

// The FFT length used for `samples` samples at interval `dt` on the
// frequencies, or 0 when they do not fall on the bins of any.
std::size_t binAlignedLength(std::size_t samples, double dt, const EvenSteps& frequencies);

GatherSpectra gatherSpectra(const ShotGather& gather, const EvenSteps& frequencies,
                            const TraceWindow& window);

}  // namespace dispfit
