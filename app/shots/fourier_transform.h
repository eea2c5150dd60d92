// SPDX-License-Identifier: GPL-3.0-or-later
// Fourier transforms of real traces through FFTW3, one plan per length.
//
// Convention: bin k of an n-point transform lies at k / (n dt) Hz and holds
// X_k = sum_t x_t exp(-2 pi i k t / n), so a wave that reaches a receiver
// t0 later has its spectrum multiplied by exp(-2 pi i f t0). The inverse
// gives x_t = (1/n) sum_k X_k exp(+2 pi i k t / n), the 1/n applied here.
//
// FFTW's planner keeps state of its own for the whole program and is not
// reentrant: plans are made and destroyed under one lock, while transforms
// with a plan run on any number of threads, each with its own plan object.
#pragma once

#include <complex>
#include <cstddef>
#include <memory>
#include <span>
#include <vector>

namespace dispfit {

class RealFourierTransform {
 public:
  // A transform of `length` points (>= 2), forward and inverse.
  explicit RealFourierTransform(std::size_t length);
  ~RealFourierTransform();
  RealFourierTransform(const RealFourierTransform&) = delete;
  RealFourierTransform& operator=(const RealFourierTransform&) = delete;

  std::size_t length() const { return length_; }
  std::size_t binCount() const { return length_ / 2 + 1; }

  // The spectrum of `samples` (at most length() of them), zero-padded to
  // length(): binCount() bins.
  void forward(std::span<const double> samples, std::vector<std::complex<double>>& spectrum);
  // The signal of binCount() bins: length() samples.
  void inverse(std::span<const std::complex<double>> spectrum, std::vector<double>& samples);

 private:
  struct Buffers;
  std::size_t length_;
  std::unique_ptr<Buffers> buffers_;
};

}  // namespace dispfit
