// SPDX-License-Identifier: GPL-3.0-or-later
#include "sampling/model_prior.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace dispfit {

namespace {

constexpr double kImpossible = -std::numeric_limits<double>::infinity();

bool within(double value, const Range& range) {
  return value >= range.low && value <= range.high;
}

// -log of a range's width, 0 for a fixed value (no density).
double logInverseWidth(const Range& range) {
  const double width = range.high - range.low;
  return width > 0.0 ? -std::log(width) : 0.0;
}

bool sameRanges(const LayerRanges& a, const LayerRanges& b, bool halfSpace) {
  return a.vs == b.vs && (halfSpace || a.thickness == b.thickness) && a.density == b.density &&
         a.vp == b.vp && a.poisson == b.poisson;
}

}  // namespace

std::string modelPriorFault(const SearchSpace& space, LayerCountRange counts) {
  if (counts.least < 1 || counts.most > static_cast<int>(kMostSearchLayers)) {
    return "the layer count must lie from 1 to " + std::to_string(kMostSearchLayers) +
           ", the half-space included";
  }
  if (counts.least > counts.most) {
    return "the least layer count lies above the most";
  }
  if (std::string fault = searchSpaceFault(space); !fault.empty()) return fault;
  if (counts.least == counts.most) {
    if (space.layers.size() != static_cast<std::size_t>(counts.least)) {
      return "the ranges give " + std::to_string(space.layers.size()) + " layers, not " +
             std::to_string(counts.least);
    }
    return {};
  }
  // A range of counts: every layer of every model takes the ranges of the
  // first, the half-space's thickness aside.
  const std::size_t n = space.layers.size();
  for (std::size_t i = 1; i < n; ++i) {
    if (!sameRanges(space.layers[i], space.layers.front(), i + 1 == n)) {
      return "a range of layer counts takes one set of ranges for every layer";
    }
  }
  return {};
}

ModelPrior::ModelPrior(const SearchSpace& space, LayerCountRange counts)
    : counts_(counts), increasing_(space.increasing), waterTable_(space.waterTable) {
  if (counts.least < counts.most) {
    layers_.assign(1, space.layers.front());
  } else {
    layers_ = space.layers;
  }
  for (const LayerRanges& layer : layers_) {
    samplesPoisson_ = samplesPoisson_ || layer.poisson.has_value();
    sharedVsRange_ = sharedVsRange_ && layer.vs == layers_.front().vs;
  }
}

const LayerRanges& ModelPrior::ranges(std::size_t layer, std::size_t count) const {
  (void)count;
  return layers_.size() == 1 ? layers_.front() : layers_[layer];
}

bool ModelPrior::contains(const SampledModel& model) const {
  const std::size_t k = model.layerCount();
  if (k < static_cast<std::size_t>(counts_.least) || k > static_cast<std::size_t>(counts_.most) ||
      model.thickness.size() + 1 != k || (samplesPoisson_ && model.poisson.size() != k)) {
    return false;
  }
  for (std::size_t i = 0; i < k; ++i) {
    const LayerRanges& r = ranges(i, k);
    if (!within(model.vs[i], r.vs)) return false;
    if (i + 1 < k && !within(model.thickness[i], r.thickness)) return false;
    if (r.poisson && !within(model.poisson[i], *r.poisson)) return false;
    if (increasing_ && i > 0 && model.vs[i] < model.vs[i - 1]) return false;
  }
  return true;
}

SearchSpace ModelPrior::spaceOf(std::size_t count) const {
  SearchSpace space;
  for (std::size_t i = 0; i < count; ++i) space.layers.push_back(ranges(i, count));
  space.increasing = increasing_;
  space.waterTable = waterTable_;
  return space;
}

double ModelPrior::logTruncatedShare(std::size_t count) const {
  if (!increasing_ || !(layers_.front().vs.high > layers_.front().vs.low)) return 0.0;
  // log(1 / k!)
  return -std::lgamma(static_cast<double>(count) + 1.0);
}

double ModelPrior::logDensity(const SampledModel& model) const {
  if (!contains(model)) return kImpossible;
  const std::size_t k = model.layerCount();
  double log = -std::log(static_cast<double>(counts_.most - counts_.least + 1));
  for (std::size_t i = 0; i < k; ++i) {
    const LayerRanges& r = ranges(i, k);
    log += logInverseWidth(r.vs);
    if (i + 1 < k) log += logInverseWidth(r.thickness);
    if (r.poisson) log += logInverseWidth(*r.poisson);
  }
  if (variableCount()) log -= logTruncatedShare(k);
  return log;
}

void ModelPrior::draw(TrialStream& random, SampledModel& out) const {
  const auto k = static_cast<std::size_t>(counts_.least) +
                 random.index(static_cast<std::size_t>(counts_.most - counts_.least + 1));
  out.vs.resize(k);
  out.thickness.resize(k - 1);
  out.poisson.assign(samplesPoisson_ ? k : 0, 0.0);
  for (std::size_t i = 0; i < k; ++i) {
    const LayerRanges& r = ranges(i, k);
    if (i + 1 < k) out.thickness[i] = random.uniform(r.thickness.low, r.thickness.high);
    if (r.poisson) out.poisson[i] = random.uniform(r.poisson->low, r.poisson->high);
  }
  const auto drawVs = [&] {
    for (std::size_t i = 0; i < k; ++i)
      out.vs[i] = random.uniform(ranges(i, k).vs.low, ranges(i, k).vs.high);
  };
  drawVs();
  if (!increasing_) return;
  if (sharedVsRange_) {
    std::sort(out.vs.begin(), out.vs.end());
    return;
  }
  for (int tries = 0; tries < kMostRejections; ++tries) {
    if (std::is_sorted(out.vs.begin(), out.vs.end())) return;
    drawVs();
  }
  // The nearest ordered model: sorted, each clamped into what an ordered
  // sequence allows its layer (the largest low end above, the smallest high
  // end below), which modelPriorFault's check of the space makes non-empty.
  std::sort(out.vs.begin(), out.vs.end());
  double low = 0.0;
  for (std::size_t i = 0; i < k; ++i) {
    low = std::max(low, ranges(i, k).vs.low);
    double high = ranges(i, k).vs.high;
    for (std::size_t j = i; j < k; ++j) high = std::min(high, ranges(j, k).vs.high);
    out.vs[i] = std::clamp(out.vs[i], low, high);
  }
}

void ModelPrior::trialModel(const SampledModel& model, TrialModel& out) const {
  const std::size_t k = model.layerCount();
  out.thickness.assign(k, 0.0);
  out.vs.resize(k);
  out.vp.resize(k);
  out.density.resize(k);
  double top = 0.0;  // m, top of layer i
  for (std::size_t i = 0; i < k; ++i) {
    const LayerRanges& r = ranges(i, k);
    const double vs = model.vs[i];
    if (i + 1 < k) out.thickness[i] = model.thickness[i];
    out.vs[i] = vs;
    out.vp[i] = layerPVelocity(r, vs, r.poisson ? model.poisson[i] : 0.0, top, waterTable_);
    out.density[i] = r.density;
    top += out.thickness[i];
  }
}

}  // namespace dispfit
