// SPDX-License-Identifier: GPL-3.0-or-later
#include "sampling/block_proposal.h"

#include <algorithm>
#include <cmath>

namespace dispfit {

namespace {

// The first batch: twenty states a parameter, enough for a covariance that
// is not singular by chance.
constexpr std::int64_t kFirstBatchPerParameter = 20;

// eps: 1e-10 of a range squared, far below any posterior's variance that a
// report prints, and enough to keep L finite for a parameter that did not
// move in a batch.
constexpr double kRidge = 1e-10;

constexpr double kTargetAcceptance = 0.234;

// lambda stays within these factors of its start.
constexpr double kLeastScaleFactor = 1e-3;
constexpr double kMostScaleFactor = 10.0;

}  // namespace

BlockProposal::BlockProposal(std::size_t dimension)
    : dimension_(dimension),
      sum_(dimension, 0.0),
      products_(dimension * dimension, 0.0),
      batch_(kFirstBatchPerParameter *
             static_cast<std::int64_t>(std::max<std::size_t>(dimension, 1))),
      scale_(2.38 / std::sqrt(static_cast<double>(std::max<std::size_t>(dimension, 1)))),
      normal_(dimension, 0.0) {}

void BlockProposal::record(std::span<const double> unit) {
  const std::size_t d = dimension_;
  for (std::size_t i = 0; i < d; ++i) {
    sum_[i] += unit[i];
    for (std::size_t j = 0; j <= i; ++j) products_[i * d + j] += unit[i] * unit[j];
  }
  if (++count_ >= batch_) {
    estimate();
    std::fill(sum_.begin(), sum_.end(), 0.0);
    std::fill(products_.begin(), products_.end(), 0.0);
    count_ = 0;
    batch_ *= 2;
  }
}

void BlockProposal::estimate() {
  const std::size_t d = dimension_;
  const double n = static_cast<double>(count_);
  std::vector<double> a(d * d, 0.0);
  for (std::size_t i = 0; i < d; ++i) {
    for (std::size_t j = 0; j <= i; ++j) {
      a[i * d + j] = (products_[i * d + j] - sum_[i] * sum_[j] / n) / (n - 1.0);
    }
    a[i * d + i] += kRidge;
  }
  // Cholesky, lower triangle: A = L L^T.
  std::vector<double> l(d * d, 0.0);
  for (std::size_t i = 0; i < d; ++i) {
    for (std::size_t j = 0; j <= i; ++j) {
      double s = a[i * d + j];
      for (std::size_t k = 0; k < j; ++k) s -= l[i * d + k] * l[j * d + k];
      if (i == j) {
        if (!(s > 0.0)) return;  // not positive: keep the last estimate
        l[i * d + i] = std::sqrt(s);
      } else {
        l[i * d + j] = s / l[j * d + j];
      }
    }
  }
  factor_ = std::move(l);
}

void BlockProposal::draw(TrialStream& random, std::span<double> step) const {
  const std::size_t d = dimension_;
  for (std::size_t i = 0; i < d; ++i) normal_[i] = random.normal();
  for (std::size_t i = 0; i < d; ++i) {
    double s = 0.0;
    for (std::size_t k = 0; k <= i; ++k) s += factor_[i * d + k] * normal_[k];
    step[i] = scale_ * s;
  }
}

void BlockProposal::adapt(bool taken) {
  ++tuned_;
  const double start = 2.38 / std::sqrt(static_cast<double>(std::max<std::size_t>(dimension_, 1)));
  const double gain = 1.0 / std::sqrt(static_cast<double>(tuned_) + 1.0);
  scale_ *= std::exp(gain * ((taken ? 1.0 : 0.0) - kTargetAcceptance));
  scale_ = std::clamp(scale_, kLeastScaleFactor * start, kMostScaleFactor * start);
}

}  // namespace dispfit
