// SPDX-License-Identifier: GPL-3.0-or-later
#include "sampling/markov_chain.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

namespace dispfit {

namespace {

constexpr double kImpossible = -std::numeric_limits<double>::infinity();

// The share of the steps that try a birth or a death where the count is
// sampled, half each: often enough that the count mixes as fast as the
// layers' values, rarely enough that the values still get most steps.
constexpr double kJumpShare = 1.0 / 3.0;

// tau at the start: 5 % of a range, small enough for a narrow posterior to
// accept some steps at once and large enough for the tuning to reach a wide
// one within a few hundred steps.
constexpr double kInitialWidth = 0.05;
constexpr double kInitialNoiseWidth = 0.2;  // of ln s

// 0.4: near the best acceptance of a one-dimensional random walk on a
// normal target (0.44), as every move changes one parameter.
constexpr double kTargetAcceptance = 0.4;

// The widths stay within these shares of their range: below 1e-6 a step
// changes no figure a report prints; above 1 it folds back past the range.
constexpr double kLeastWidth = 1e-6;
constexpr double kMostWidth = 1.0;

// The share of the parameter steps that move every parameter at once, where
// a covariance is known: half, so that the steps of one parameter, which
// find a new mode's direction, go on as well.
constexpr double kJointShare = 0.5;

// The share of the parameter steps that move an interface, where a model
// has one between two layers above the half-space.
constexpr double kInterfaceShare = 0.25;

// sigma_b, a share of the Vs range: 10 %, so that a new layer starts near
// the velocity of the one it was cut from, while births over the whole
// range remain possible.
constexpr double kBirthSpread = 0.1;

// x folded back into [low, high], as a reflecting wall would: the normal
// step stays symmetric, so the proposal's ratio is 1.
double reflect(double x, double low, double high) {
  const double width = high - low;
  if (!(width > 0.0)) return low;
  double t = std::fmod(x - low, 2.0 * width);
  if (t < 0.0) t += 2.0 * width;
  return low + (t <= width ? t : 2.0 * width - t);
}

double logNormalDensity(double x, double mean, double sd) {
  const double z = (x - mean) / sd;
  return -0.5 * z * z - std::log(sd) - 0.5 * std::log(2.0 * std::numbers::pi);
}

double width(const Range& range) {
  return range.high - range.low;
}

}  // namespace

std::string moveName(MoveKind kind) {
  switch (kind) {
    case MoveKind::ShearVelocity:
      return "Vs step";
    case MoveKind::Thickness:
      return "thickness step";
    case MoveKind::Poisson:
      return "Poisson step";
    case MoveKind::Interface:
      return "interface step";
    case MoveKind::Joint:
      return "joint step";
    case MoveKind::Birth:
      return "birth";
    case MoveKind::Death:
      return "death";
    case MoveKind::Redraw:
      return "redraw";
    case MoveKind::Noise:
      break;
  }
  return "noise step";
}

void MoveTally::add(const MoveTally& other) {
  for (std::size_t i = 0; i < kMoveKinds; ++i) {
    proposed[i] += other.proposed[i];
    accepted[i] += other.accepted[i];
    screened[i] += other.screened[i];
  }
}

MarkovChain::MarkovChain(const SamplingProblem& problem, double temperature, std::uint64_t seed,
                         std::uint64_t index, double redrawShare)
    : problem_(problem),
      temperature_(temperature),
      beta_(1.0 / temperature),
      redrawShare_(std::clamp(redrawShare, 0.0, 1.0)),
      random_(seed, kChainStream, index),
      noiseWidth_(kInitialNoiseWidth) {
  for (auto& kind : widths_) kind.fill(kInitialWidth);
  blocks_.resize(static_cast<std::size_t>(problem_.prior->counts().most) + 1);
  if (problem_.likelihood) curve_.resize(problem_.likelihood->size());
}

double MarkovChain::evaluate(ChainState& s, ForwardCurve& forward) {
  if (problem_.likelihood == nullptr) {
    s.weightedSquares = 0.0;
    s.logLikelihood = 0.0;
    return 0.0;
  }
  problem_.prior->trialModel(s.model, trial_);
  if (!forward.compute(trial_, curve_)) {
    s.weightedSquares = std::numeric_limits<double>::infinity();
    s.logLikelihood = kImpossible;
    s.modes.clear();
    return kImpossible;
  }
  s.weightedSquares = problem_.likelihood->weightedSquares(curve_);
  s.logLikelihood = problem_.likelihood->logLikelihood(s.weightedSquares, s.noise);
  const std::span<const int> modes = forward.modes();
  s.modes.assign(modes.begin(), modes.end());
  s.ownModesSquares = std::numeric_limits<double>::quiet_NaN();
  return s.logLikelihood;
}

double MarkovChain::evaluateWithFittedNoise(ChainState& s, ForwardCurve& forward) {
  const CurveLikelihood* likelihood = problem_.likelihood;
  s.noise = 1.0;
  if (likelihood == nullptr || likelihood->noise() != NoiseModel::Hierarchical) {
    return evaluate(s, forward);
  }
  s.noise = kNoiseScaleRange.high;
  evaluate(s, forward);
  const double fitted = std::sqrt(s.weightedSquares / static_cast<double>(likelihood->size()));
  s.noise = std::isfinite(fitted) ? std::clamp(fitted, kNoiseScaleRange.low, kNoiseScaleRange.high)
                                  : kNoiseScaleRange.high;
  s.logLikelihood = likelihood->logLikelihood(s.weightedSquares, s.noise);
  return s.logLikelihood;
}

bool MarkovChain::start(ForwardCurve& forward) {
  double best = kImpossible;
  for (int draw = 0; draw < kMostStartDraws; ++draw) {
    problem_.prior->draw(random_, candidate_.model);
    if (evaluateWithFittedNoise(candidate_, forward) > best) {
      best = candidate_.logLikelihood;
      state_ = candidate_;
    }
    if (draw + 1 >= kStartDraws && best > kImpossible) break;
  }
  state_.logPrior = problem_.prior->logDensity(state_.model);
  return best > kImpossible;
}

bool MarkovChain::start(ForwardCurve& forward, const SampledModel& model) {
  state_.model = model;
  evaluateWithFittedNoise(state_, forward);
  state_.logPrior = problem_.prior->logDensity(state_.model);
  return state_.logLikelihood > kImpossible && state_.logPrior > kImpossible;
}

bool MarkovChain::accept(double logRatio) {
  return std::log(random_.uniform()) < logRatio;
}

double MarkovChain::standInSquares(const SampledModel& model, std::span<const int> modes,
                                   ForwardCurve& forward) {
  problem_.prior->trialModel(model, trial_);
  if (!forward.computeWithModes(trial_, modes, curve_)) {
    return std::numeric_limits<double>::infinity();
  }
  return problem_.likelihood->weightedSquares(curve_);
}

MarkovChain::Outcome MarkovChain::takeProposal(ForwardCurve& forward, double logFactor) {
  const bool screens = problem_.likelihood != nullptr && forward.screens() &&
                       state_.modes.size() == problem_.likelihood->size();
  if (!screens) {
    const double logL = evaluate(candidate_, forward);
    const bool taken = accept(beta_ * (logL - state_.logLikelihood) + logFactor);
    if (taken) std::swap(state_, candidate_);
    return {taken, false};
  }
  const CurveLikelihood& likelihood = *problem_.likelihood;
  // The screen: the candidate's curve with the state's modes.
  const double standIn = standInSquares(candidate_.model, state_.modes, forward);
  double logScreen = 0.0;  // ln a1(x, y)
  if (std::isfinite(standIn)) {
    logScreen = std::min(
        0.0, beta_ * (likelihood.logLikelihood(standIn, candidate_.noise) - state_.logLikelihood) +
                 logFactor);
    if (!accept(logScreen)) return {false, true};
  }
  const double logL = evaluate(candidate_, forward);
  if (logL == kImpossible) return {false, false};
  // The reverse screen: the state's curve with the candidate's modes, which
  // is the state's own stand-in where they are its modes.
  const bool sameModes = candidate_.modes == state_.modes;
  double reverse = 0.0;
  if (sameModes) {
    if (std::isnan(state_.ownModesSquares)) {
      state_.ownModesSquares = standInSquares(state_.model, state_.modes, forward);
    }
    reverse = state_.ownModesSquares;
  } else {
    reverse = standInSquares(state_.model, candidate_.modes, forward);
  }
  double logReverseScreen = 0.0;  // ln a1(y, x)
  if (std::isfinite(reverse)) {
    logReverseScreen =
        std::min(0.0, beta_ * (likelihood.logLikelihood(reverse, state_.noise) - logL) - logFactor);
  }
  const bool taken =
      accept(beta_ * (logL - state_.logLikelihood) + logFactor + logReverseScreen - logScreen);
  if (taken) {
    // The candidate's own stand-in is the screen's curve where it took the
    // state's modes.
    if (sameModes) candidate_.ownModesSquares = standIn;
    std::swap(state_, candidate_);
  }
  return {taken, false};
}

MarkovChain::Outcome MarkovChain::takeSymmetricProposal(ForwardCurve& forward) {
  // Outside the prior (out of order): a proposal of zero prior density,
  // refused without a draw, so that the stream does not depend on what a
  // refusal costs.
  if (!problem_.prior->contains(candidate_.model)) return {};
  return takeProposal(forward, 0.0);
}

void MarkovChain::count(MoveKind kind, const Outcome& outcome) {
  count(kind, outcome.taken);
  if (outcome.screened) ++tally_.screened[static_cast<std::size_t>(kind)];
}

void MarkovChain::count(MoveKind kind, bool taken) {
  const auto i = static_cast<std::size_t>(kind);
  ++tally_.proposed[i];
  if (taken) ++tally_.accepted[i];
}

void MarkovChain::adapt(double& widthOfMove, std::int64_t& tuned, bool taken) {
  ++tuned;
  // A Robbins-Monro step on ln tau with a gain that falls as 1 / sqrt(n):
  // quick at first, settling as the proposals accumulate.
  const double gain = 1.0 / std::sqrt(static_cast<double>(tuned) + 1.0);
  widthOfMove *= std::exp(gain * ((taken ? 1.0 : 0.0) - kTargetAcceptance));
  widthOfMove = std::clamp(widthOfMove, kLeastWidth, kMostWidth);
}

void MarkovChain::step(ForwardCurve& forward, bool adapting) {
  const double u = random_.uniform();
  const bool jumps = problem_.prior->variableCount();
  if (jumps && u < 0.5 * kJumpShare) {
    birth(forward);
  } else if (jumps && u < kJumpShare) {
    death(forward);
  } else {
    const std::optional<BlockProposal>& block = blocks_[state_.model.layerCount()];
    const double v = random_.uniform();
    const bool interfaces =
        state_.model.layerCount() >= 3 &&
        width(problem_.prior->ranges(0, state_.model.layerCount()).thickness) > 0.0;
    if (v < redrawShare_) {
      redraw(forward);
    } else if (interfaces && v < redrawShare_ + kInterfaceShare) {
      interfaceStep(forward, adapting);
    } else if (block && block->ready() && random_.uniform() < kJointShare) {
      jointStep(forward, adapting);
    } else {
      perturb(forward, adapting);
    }
  }
  if (adapting) {
    // The state after the move, for the covariance of its layer count.
    const std::size_t k = state_.model.layerCount();
    listAxes(k);
    if (!axes_.empty()) {
      if (!blocks_[k]) blocks_[k].emplace(axes_.size());
      scaleToUnit(state_.model);
      blocks_[k]->record(unit_);
    }
  }
  if (problem_.likelihood && problem_.likelihood->noise() == NoiseModel::Hierarchical) {
    noiseStep(adapting);
  }
}

void MarkovChain::listAxes(std::size_t k) {
  axes_.clear();
  for (std::size_t i = 0; i < k; ++i) {
    const LayerRanges& r = problem_.prior->ranges(i, k);
    if (width(r.vs) > 0.0) axes_.push_back({MoveKind::ShearVelocity, i});
    if (i + 1 < k && width(r.thickness) > 0.0) axes_.push_back({MoveKind::Thickness, i});
    if (r.poisson && width(*r.poisson) > 0.0) axes_.push_back({MoveKind::Poisson, i});
  }
}

namespace {

// The value of `axis` of a model, and its range.
template <class Model, class Axis>
auto& valueOf(Model& model, const Axis& axis) {
  switch (axis.kind) {
    case MoveKind::ShearVelocity:
      return model.vs[axis.layer];
    case MoveKind::Thickness:
      return model.thickness[axis.layer];
    default:
      break;
  }
  return model.poisson[axis.layer];
}

template <class Axis>
const Range& rangeOf(const LayerRanges& r, const Axis& axis) {
  switch (axis.kind) {
    case MoveKind::ShearVelocity:
      return r.vs;
    case MoveKind::Thickness:
      return r.thickness;
    default:
      break;
  }
  return *r.poisson;
}

}  // namespace

void MarkovChain::scaleToUnit(const SampledModel& model) {
  const std::size_t k = model.layerCount();
  unit_.resize(axes_.size());
  for (std::size_t a = 0; a < axes_.size(); ++a) {
    const Range& range = rangeOf(problem_.prior->ranges(axes_[a].layer, k), axes_[a]);
    unit_[a] = (valueOf(model, axes_[a]) - range.low) / width(range);
  }
}

void MarkovChain::jointStep(ForwardCurve& forward, bool adapting) {
  const ModelPrior& prior = *problem_.prior;
  const std::size_t k = state_.model.layerCount();
  BlockProposal& block = *blocks_[k];
  listAxes(k);
  jointStep_.resize(axes_.size());
  block.draw(random_, jointStep_);
  candidate_ = state_;
  scaleToUnit(state_.model);
  bool inside = true;
  for (std::size_t a = 0; a < axes_.size(); ++a) {
    const double u = unit_[a] + jointStep_[a];
    inside = inside && u >= 0.0 && u <= 1.0;
    const Range& range = rangeOf(prior.ranges(axes_[a].layer, k), axes_[a]);
    valueOf(candidate_.model, axes_[a]) = range.low + u * width(range);
  }
  const Outcome outcome = inside ? takeSymmetricProposal(forward) : Outcome{};
  count(MoveKind::Joint, outcome);
  if (adapting) block.adapt(outcome.taken);
}

void MarkovChain::interfaceStep(ForwardCurve& forward, bool adapting) {
  const ModelPrior& prior = *problem_.prior;
  const std::size_t k = state_.model.layerCount();
  // Interface i lies between layers i and i + 1, both above the half-space.
  const std::size_t i = random_.index(k - 2);
  const auto kindIndex = static_cast<std::size_t>(MoveKind::Interface);
  double& tau = widths_[kindIndex][i];
  const Range& upper = prior.ranges(i, k).thickness;
  const double shift = tau * width(upper) * random_.normal();
  candidate_ = state_;
  candidate_.model.thickness[i] += shift;
  candidate_.model.thickness[i + 1] -= shift;
  const Outcome outcome = takeSymmetricProposal(forward);
  count(MoveKind::Interface, outcome);
  if (adapting) adapt(tau, tuned_[kindIndex][i], outcome.taken);
}

void MarkovChain::redraw(ForwardCurve& forward) {
  const ModelPrior& prior = *problem_.prior;
  const std::size_t k = state_.model.layerCount();
  listAxes(k);
  if (axes_.empty()) return;
  const Axis axis = axes_[random_.index(axes_.size())];
  const Range& range = rangeOf(prior.ranges(axis.layer, k), axis);
  candidate_ = state_;
  valueOf(candidate_.model, axis) = random_.uniform(range.low, range.high);
  const Outcome outcome = takeSymmetricProposal(forward);
  count(MoveKind::Redraw, outcome);
}

void MarkovChain::perturb(ForwardCurve& forward, bool adapting) {
  const ModelPrior& prior = *problem_.prior;
  const std::size_t k = state_.model.layerCount();
  listAxes(k);
  if (axes_.empty()) return;
  const Axis axis = axes_[random_.index(axes_.size())];
  const LayerRanges& r = prior.ranges(axis.layer, k);
  const auto kindIndex = static_cast<std::size_t>(axis.kind);
  double& tau = widths_[kindIndex][axis.layer];
  candidate_ = state_;
  const Range& range = rangeOf(r, axis);
  double& value = valueOf(candidate_.model, axis);
  value = reflect(value + tau * width(range) * random_.normal(), range.low, range.high);
  const Outcome outcome = takeSymmetricProposal(forward);
  count(axis.kind, outcome);
  if (adapting) adapt(tau, tuned_[kindIndex][axis.layer], outcome.taken);
}

double MarkovChain::birthSpread(std::size_t count) const {
  return kBirthSpread * width(problem_.prior->ranges(0, count).vs);
}

double MarkovChain::birthLogFactor(std::optional<double> split, double newVs, double from,
                                   std::size_t count) const {
  const ModelPrior& prior = *problem_.prior;
  const LayerRanges& r = prior.ranges(0, count);
  // Z_k / Z_k+1 of the truncation: the model of k + 1 layers lies in a
  // smaller share of its box.
  double log = prior.logTruncatedShare(count - 1) - prior.logTruncatedShare(count);
  if (width(r.vs) > 0.0) {
    log += -std::log(width(r.vs)) - logNormalDensity(newVs, from, birthSpread(count));
  }
  if (split) log += std::log(*split - 2.0 * r.thickness.low) - std::log(width(r.thickness));
  return log;
}

void MarkovChain::birth(ForwardCurve& forward) {
  const ModelPrior& prior = *problem_.prior;
  const std::size_t k = state_.model.layerCount();
  if (k >= static_cast<std::size_t>(prior.counts().most)) {
    count(MoveKind::Birth, false);
    return;
  }
  const LayerRanges& r = prior.ranges(0, k + 1);
  const std::size_t j = random_.index(k);
  candidate_ = state_;
  SampledModel& m = candidate_.model;
  const double from = state_.model.vs[j];  // the split layer's, or the half-space's
  const double newVs = width(r.vs) > 0.0 ? from + birthSpread(k + 1) * random_.normal() : r.vs.low;
  const double newPoisson = r.poisson ? random_.uniform(r.poisson->low, r.poisson->high) : 0.0;
  std::optional<double> split;
  bool possible = true;
  if (j + 1 < k) {
    // Split layer j at h_a ~ U(h_lo, h - h_lo); the lower part is the new one.
    const double h = state_.model.thickness[j];
    split = h;
    possible = h > 2.0 * r.thickness.low;
    const double upper = random_.uniform(r.thickness.low, h - r.thickness.low);
    m.thickness[j] = upper;
    m.thickness.insert(m.thickness.begin() + static_cast<std::ptrdiff_t>(j) + 1, h - upper);
    m.vs.insert(m.vs.begin() + static_cast<std::ptrdiff_t>(j) + 1, newVs);
    if (prior.samplesPoisson()) {
      m.poisson.insert(m.poisson.begin() + static_cast<std::ptrdiff_t>(j) + 1, newPoisson);
    }
  } else {
    // A new layer above the half-space, its thickness from the prior.
    m.thickness.push_back(random_.uniform(r.thickness.low, r.thickness.high));
    m.vs.insert(m.vs.end() - 1, newVs);
    if (prior.samplesPoisson()) m.poisson.insert(m.poisson.end() - 1, newPoisson);
  }
  Outcome outcome;
  if (possible && prior.contains(m)) {
    candidate_.logPrior = prior.logDensity(candidate_.model);
    outcome = takeProposal(forward, birthLogFactor(split, newVs, from, k + 1));
  }
  count(MoveKind::Birth, outcome);
}

void MarkovChain::death(ForwardCurve& forward) {
  const ModelPrior& prior = *problem_.prior;
  const std::size_t k = state_.model.layerCount();
  if (k <= static_cast<std::size_t>(prior.counts().least)) {
    count(MoveKind::Death, false);
    return;
  }
  const LayerRanges& r = prior.ranges(0, k);
  // Interface i lies between layers i and i + 1; the last one on the
  // half-space.
  const std::size_t i = random_.index(k - 1);
  candidate_ = state_;
  SampledModel& m = candidate_.model;
  const double removedVs = m.vs[i + (i + 2 < k ? 1 : 0)];
  double from = 0.0;
  std::optional<double> split;
  if (i + 2 < k) {
    // Layers i and i + 1 merge, with the upper one's values.
    split = m.thickness[i] + m.thickness[i + 1];
    from = m.vs[i];
    m.thickness[i] = *split;
    m.thickness.erase(m.thickness.begin() + static_cast<std::ptrdiff_t>(i) + 1);
    m.vs.erase(m.vs.begin() + static_cast<std::ptrdiff_t>(i) + 1);
    if (prior.samplesPoisson())
      m.poisson.erase(m.poisson.begin() + static_cast<std::ptrdiff_t>(i) + 1);
  } else {
    // The layer above the half-space goes.
    from = m.vs.back();
    m.thickness.pop_back();
    m.vs.erase(m.vs.end() - 2);
    if (prior.samplesPoisson()) m.poisson.erase(m.poisson.end() - 2);
  }
  Outcome outcome;
  // The reverse split must be possible: h > 2 h_lo (both parts at least
  // h_lo make it so but for a set of no measure).
  const bool possible = !split || *split > 2.0 * r.thickness.low;
  if (possible && prior.contains(m)) {
    candidate_.logPrior = prior.logDensity(candidate_.model);
    outcome = takeProposal(forward, -birthLogFactor(split, removedVs, from, k));
  }
  count(MoveKind::Death, outcome);
}

void MarkovChain::noiseStep(bool adapting) {
  const double low = std::log(kNoiseScaleRange.low);
  const double high = std::log(kNoiseScaleRange.high);
  const double proposed =
      std::exp(reflect(std::log(state_.noise) + noiseWidth_ * random_.normal(), low, high));
  const double logL = problem_.likelihood->logLikelihood(state_.weightedSquares, proposed);
  const bool taken = accept(beta_ * (logL - state_.logLikelihood));
  if (taken) {
    state_.noise = proposed;
    state_.logLikelihood = logL;
  }
  count(MoveKind::Noise, taken);
  if (adapting) {
    adapt(noiseWidth_, noiseTuned_, taken);
    noiseWidth_ = std::min(noiseWidth_, high - low);
  }
}

}  // namespace dispfit
