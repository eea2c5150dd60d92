// SPDX-License-Identifier: GPL-3.0-or-later
#include "shots/fourier_transform.h"

#include <fftw3.h>

#include <algorithm>
#include <mutex>
#include <new>

namespace dispfit {
namespace {

// FFTW's planner is the one part of FFTW that is not thread safe.
std::mutex& plannerLock() {
  static std::mutex lock;
  return lock;
}

}  // namespace

struct RealFourierTransform::Buffers {
  double* real = nullptr;
  fftw_complex* complex = nullptr;
  fftw_plan forward = nullptr;
  fftw_plan inverse = nullptr;
};

RealFourierTransform::RealFourierTransform(std::size_t length)
    : length_(std::max<std::size_t>(length, 2)), buffers_(std::make_unique<Buffers>()) {
  const std::lock_guard<std::mutex> guard(plannerLock());
  buffers_->real = fftw_alloc_real(length_);
  buffers_->complex = fftw_alloc_complex(binCount());
  if (!buffers_->real || !buffers_->complex) throw std::bad_alloc();
  const int n = static_cast<int>(length_);
  buffers_->forward = fftw_plan_dft_r2c_1d(n, buffers_->real, buffers_->complex, FFTW_ESTIMATE);
  buffers_->inverse = fftw_plan_dft_c2r_1d(n, buffers_->complex, buffers_->real, FFTW_ESTIMATE);
  if (!buffers_->forward || !buffers_->inverse) throw std::bad_alloc();
}

RealFourierTransform::~RealFourierTransform() {
  const std::lock_guard<std::mutex> guard(plannerLock());
  if (buffers_->forward) fftw_destroy_plan(buffers_->forward);
  if (buffers_->inverse) fftw_destroy_plan(buffers_->inverse);
  fftw_free(buffers_->real);
  fftw_free(buffers_->complex);
}

void RealFourierTransform::forward(std::span<const double> samples,
                                   std::vector<std::complex<double>>& spectrum) {
  const std::size_t used = std::min(samples.size(), length_);
  std::copy_n(samples.begin(), used, buffers_->real);
  std::fill(buffers_->real + used, buffers_->real + length_, 0.0);
  fftw_execute(buffers_->forward);
  spectrum.resize(binCount());
  for (std::size_t k = 0; k < binCount(); ++k) {
    spectrum[k] = {buffers_->complex[k][0], buffers_->complex[k][1]};
  }
}

void RealFourierTransform::inverse(std::span<const std::complex<double>> spectrum,
                                   std::vector<double>& samples) {
  for (std::size_t k = 0; k < binCount(); ++k) {
    const std::complex<double> value = k < spectrum.size() ? spectrum[k] : 0.0;
    buffers_->complex[k][0] = value.real();
    buffers_->complex[k][1] = value.imag();
  }
  // The c2r transform overwrites its input; it is refilled on every call.
  fftw_execute(buffers_->inverse);
  samples.resize(length_);
  const double scale = 1.0 / static_cast<double>(length_);
  for (std::size_t t = 0; t < length_; ++t) samples[t] = buffers_->real[t] * scale;
}

}  // namespace dispfit
