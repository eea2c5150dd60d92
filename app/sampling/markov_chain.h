// SPDX-License-Identifier: GPL-3.0-or-later
// One Markov chain of the posterior sampler at one temperature: Metropolis-
// Hastings steps that change one parameter of the model, births and deaths
// of layers where the layer count is sampled (reversible jump, Green 1995,
// "Reversible jump Markov chain Monte Carlo computation and Bayesian model
// determination", Biometrika 82, 711-732), and a step of the noise scale
// where it is sampled.
//
// Notation (m, m/s; see model_prior.h and curve_likelihood.h):
//   T, beta    the chain's temperature and 1 / T: the chain samples
//              p(theta) L(theta)^beta, the posterior at T = 1
//   alpha      the chance a proposal is taken: min(1, ratio), the ratio of
//              the target densities times the proposal's own ratio
//   tau        a step's width, a share of its parameter's range (ln s for the
//              noise scale), tuned while burning in toward kTargetAcceptance
//              and fixed after, so that the kept steps form a Markov chain
//
// The moves:
//   a parameter   one free parameter, chosen uniformly, takes a normal step of
//                 width tau, folded back into its range (a symmetric
//                 proposal); a model out of order is refused
//   birth         one of the k - 1 layers or the half-space, chosen uniformly,
//                 gains an interface. A layer of thickness h is split at
//                 h_a ~ U(h_lo, h - h_lo): the upper part keeps Vs_j, the lower
//                 one takes Vs' ~ N(Vs_j, sigma_b), and its Poisson's ratio
//                 from the prior; the half-space gains a layer above it of
//                 thickness from the prior and Vs' ~ N(Vs_half-space, sigma_b).
//                 alpha's ratio is then, for the split (Jacobian 1),
//                   L'^beta / L^beta (Z_k / Z_k+1) (h - 2 h_lo) / (dh dVs N(Vs'))
//                 and for the new layer above the half-space
//                   L'^beta / L^beta (Z_k / Z_k+1) / (dVs N(Vs'))
//                 the 1/k of the choice, the prior of the count and the
//                 prior draws cancelling against their reverse
//   interface     an interface between two layers above the half-space moves
//                 by a normal step, the layer above thickening by as much as the
//                 one below thins, so that every other depth stays (a symmetric
//                 proposal; the trade of thickness between neighbours that a
//                 curve hardly sees, which steps of one thickness cross slowly)
//   joint step    every free parameter at once, along the correlations the
//                 chain met while burning in (block_proposal.h); half the
//                 parameter steps once such a covariance is known for the
//                 chain's layer count
//   redraw        one free parameter, chosen uniformly, drawn afresh from its
//                 prior range: an independence proposal, symmetric under the
//                 uniform prior, so alpha's ratio is the likelihood's alone.
//                 It crosses what no local step can: models with no curve at
//                 some frequency (a half-space slower than the layers above
//                 it loses its short-wavelength roots) cut the posterior's
//                 support into pieces, and tempering cannot heat a chain
//                 across a gap where the likelihood is zero
//   death         one of the k - 1 interfaces, chosen uniformly, goes: two
//                 layers merge into one of their summed thickness and the upper
//                 one's velocity, or the layer above the half-space goes; the
//                 exact reverse of a birth, with the reciprocal ratio
//   noise         ln s takes a normal step, folded into ln kNoiseScaleRange
//                 (uniform in ln s: the ratio is the likelihood's alone);
//                 it needs no forward calculation, as Q is kept
//
// Delayed acceptance, where the forward rule picks among modes
// (ForwardCurve::screens; Christen & Fox 2005, "Markov chain Monte Carlo
// using an approximation", J. Comput. Graph. Stat. 14, 795-810):
//   L*_x(y)    the stand-in for L(y) from the state x: y's curve with x's
//              mode at every point, which skips what choosing the modes
//              costs and is L(y) itself wherever y's rule takes x's modes
//   f          the ratio of the prior and proposal densities beside the
//              likelihood in alpha (1 for a symmetric step)
//   a1(x, y)   min(1, (L*_x(y) / L(x))^beta f): the chance that a proposal
//              passes the screen; 1 where the stand-in has no curve
//   a2         min(1, (L(y) / L(x))^beta f a1(y, x) / a1(x, y)): the chance
//              that one which passed is taken, once y's own curve is known;
//              a1(y, x) is the reverse screen's, with x's curve for y's modes
// Both stages together keep detailed balance for the exact target, so the
// chain samples the posterior it would without the screen; a proposal the
// screen refuses costs the stand-in alone, and where y takes x's modes a2
// is 1.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <span>
#include <string>
#include <vector>

#include "sampling/block_proposal.h"
#include "sampling/curve_likelihood.h"
#include "sampling/forward_curve.h"
#include "sampling/model_prior.h"
#include "sampling/sampled_model.h"
#include "search/search_space.h"
#include "search/trial_stream.h"

namespace dispfit {

enum class MoveKind {
  ShearVelocity,
  Thickness,
  Poisson,
  Interface,
  Joint,
  Birth,
  Death,
  Redraw,
  Noise
};
inline constexpr std::size_t kMoveKinds = 9;

// "Vs step", "thickness step", "Poisson step", "interface step", "joint
// step", "birth", "death", "redraw", "noise step".
std::string moveName(MoveKind kind);

// Proposals made and taken, per move.
struct MoveTally {
  std::array<std::int64_t, kMoveKinds> proposed{};
  std::array<std::int64_t, kMoveKinds> accepted{};
  // Refused by the screen of delayed acceptance, without their own curve.
  std::array<std::int64_t, kMoveKinds> screened{};

  void add(const MoveTally& other);
};

struct ChainState {
  SampledModel model;
  double noise = 1.0;            // s
  double weightedSquares = 0.0;  // Q
  double logLikelihood = 0.0;    // log L; 0 with the likelihood switched off
  double logPrior = 0.0;         // log p(k) p(theta | k)
  // Under delayed acceptance: the mode the rule took at each point, and Q
  // of the stand-in with those modes (NaN until needed, +infinity for no
  // curve).
  std::vector<int> modes;
  double ownModesSquares = std::numeric_limits<double>::quiet_NaN();
};

// What every chain reads, shared and read-only.
struct SamplingProblem {
  const ModelPrior* prior = nullptr;
  // None: the likelihood is switched off and the chains sample the prior
  // alone, which checks the moves against a known distribution.
  const CurveLikelihood* likelihood = nullptr;
};

// The share of the parameter steps that draw a parameter afresh when none
// is chosen: a tenth, which costs a cold chain a tenth of its local steps
// (few redraws land in a narrow posterior) and lets every chain, the heated
// ones most, reach the pieces of the posterior that local steps cannot.
inline constexpr double kDefaultRedrawShare = 0.1;

class MarkovChain {
 public:
  // The chain's random numbers come from the stream (seed, kChainStream,
  // index) alone. `problem`'s objects must outlive the chain.
  MarkovChain(const SamplingProblem& problem, double temperature, std::uint64_t seed,
              std::uint64_t index, double redrawShare = kDefaultRedrawShare);

  // Starts at the best of kStartDraws draws from the prior (the highest
  // likelihood, tempered or not), drawing on up to kMostStartDraws until one
  // has a curve at every point; false when none has.
  bool start(ForwardCurve& forward);
  // Starts at `model`, which must lie inside the prior; false when it has
  // no curve at some point.
  bool start(ForwardCurve& forward, const SampledModel& model);

  // One step: a move of the model (a parameter, or a birth or death), then,
  // where it is sampled, one of the noise scale. While `adapting`, each
  // step width is tuned after its proposal.
  void step(ForwardCurve& forward, bool adapting);

  const ChainState& state() const { return state_; }
  // The state itself, for the exchange of states between chains.
  ChainState& exchangedState() { return state_; }
  double temperature() const { return temperature_; }

  const MoveTally& tally() const { return tally_; }
  void clearTally() { tally_ = {}; }

  // The stream tag of the chains, beside the exchanges'.
  static constexpr std::uint64_t kChainStream = 1;
  static constexpr int kStartDraws = 32;
  static constexpr int kMostStartDraws = 2000;

 private:
  struct Axis {
    MoveKind kind;
    std::size_t layer;
  };

  // The free parameters of a model of `count` layers, into axes_.
  void listAxes(std::size_t count);
  // The state's free parameters scaled to their ranges, into unit_.
  void scaleToUnit(const SampledModel& model);
  // log L of `s`, with Q set; the forward calculation skipped with the
  // likelihood switched off.
  double evaluate(ChainState& s, ForwardCurve& forward);
  // log L of `s` with the noise scale that fits it best, sqrt(Q / m) within
  // its range, where the scale is sampled: a start the first noise steps
  // need not search for.
  double evaluateWithFittedNoise(ChainState& s, ForwardCurve& forward);
  // True with the chance min(1, exp(logRatio)).
  bool accept(double logRatio);
  // What became of a proposal.
  struct Outcome {
    bool taken = false;
    bool screened = false;  // refused by the screen, without its own curve
  };
  // Takes `candidate_`, inside the prior, with the chance min(1, (L' /
  // L)^beta exp(logFactor)), or through the two stages of delayed
  // acceptance where the forward curve screens; swaps it into the state
  // when taken.
  Outcome takeProposal(ForwardCurve& forward, double logFactor);
  // Q of `model`'s stand-in curve with `modes`; +infinity without one.
  double standInSquares(const SampledModel& model, std::span<const int> modes,
                        ForwardCurve& forward);
  // The same for a symmetric proposal, false with no forward calculation
  // when the candidate lies outside the prior.
  Outcome takeSymmetricProposal(ForwardCurve& forward);
  void perturb(ForwardCurve& forward, bool adapting);
  void jointStep(ForwardCurve& forward, bool adapting);
  void interfaceStep(ForwardCurve& forward, bool adapting);
  void birth(ForwardCurve& forward);
  void death(ForwardCurve& forward);
  void redraw(ForwardCurve& forward);
  void noiseStep(bool adapting);
  // Tunes tau of a move after a proposal that was (not) taken.
  void adapt(double& width, std::int64_t& count, bool taken);
  // The count of the proposal of `kind`, taken or not.
  void count(MoveKind kind, bool taken);
  void count(MoveKind kind, const Outcome& outcome);
  // sigma_b, m/s.
  double birthSpread(std::size_t count) const;
  // The log of the birth's proposal and prior factors that alpha's ratio
  // holds beside the likelihood: for a split of a layer of thickness
  // `split` (m), or for a new layer above the half-space when none; Vs'
  // drawn about `from` (m/s); the new model has `count` layers.
  double birthLogFactor(std::optional<double> split, double newVs, double from,
                        std::size_t count) const;

  SamplingProblem problem_;
  double temperature_;
  double beta_;
  double redrawShare_;
  TrialStream random_;
  ChainState state_;
  ChainState candidate_;
  TrialModel trial_;
  std::vector<double> curve_;
  std::vector<Axis> axes_;
  std::vector<double> unit_;
  std::vector<double> jointStep_;
  // The joint step of each layer count, made when the count is first met.
  std::vector<std::optional<BlockProposal>> blocks_;
  // tau per parameter kind (and the interface steps) and layer, and the
  // proposals that tuned it.
  std::array<std::array<double, kMostSearchLayers>, 4> widths_{};
  std::array<std::array<std::int64_t, kMostSearchLayers>, 4> tuned_{};
  double noiseWidth_;
  std::int64_t noiseTuned_ = 0;
  MoveTally tally_;
};

}  // namespace dispfit
