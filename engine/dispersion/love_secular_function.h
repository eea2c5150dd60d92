// SPDX-License-Identifier: GPL-3.0-or-later
// Love secular function F(c) of a layered model: the SH motion carried up
// from the half-space to the free surface.
#pragma once

#include <cstdint>

#include "dispersion/engine_state.h"
#include "dispersion/secular_function.h"
#include "dispersion/vertical_terms.h"
#include "simd/instruction_set.h"

namespace swcore {

// What F needs of the model and the angular frequency, in the form its
// evaluation reads it: nothing here depends on c.
struct LoveLayerConstants {
  int32_t layerCount = 0;
  double omega = 0.0;
  double halfSpaceS2 = 0.0;  // beta[N]^2
  // beta^2 and thickness of each layer above the half-space, one slot each,
  // and of the padding after them (see kTermSlots).
  double velocity2[kTermSlots] = {};
  double slowness2[kTermSlots] = {};  // 1 / v^2, for the quick terms
  double thickness[kTermSlots] = {};
  // mu = rho beta^2 of each layer over that of the half-space, and its inverse.
  double modulus[kMaxLayers] = {};
  double inverseModulus[kMaxLayers] = {};
};

// F(c) for one model and angular frequency, with the interface of
// SecularFunction: everything that does not depend on c is worked out on
// construction, and the function touches nothing outside itself, so
// functions of different models may be used on different threads at once.
// Its zeros below the half-space S velocity are the Love phase velocities;
// it has no pole there, and none lies at or below the slowest S velocity of
// the model.
class LoveSecularFunction {
 public:
  // A layer count outside 1..kMaxLayers leaves the function undefined: it
  // then returns NaN. The P velocities are not read.
  explicit LoveSecularFunction(const SecularModel& model);

  // The same with the literal propagation's code for `set`, which the
  // processor must have (processorHas). Every set gives values within a few
  // units in the last place of each other: the clones form the exponential
  // kernel with fused multiply-adds.
  LoveSecularFunction(const SecularModel& model, InstructionSet set);

  // The same with the literal propagation's terms valued at `precision`, as
  // SecularFunction has it.
  LoveSecularFunction(const SecularModel& model, InstructionSet set, TermPrecision precision);

  // The same model at another angular frequency (rad/s).
  void setOmega(double omega) { layers_.omega = omega; }

  // F(c): the literal propagation, and, only when that is not finite, the
  // rescaled one, which differs from it by a positive factor.
  double value(double c) const;
  double operator()(double c) const { return value(c); }

  // The plain propagation, without any guard against overflow; it grows
  // like exp(sum k h |r|) over the layers in which the motion decays.
  double literal(double c) const;

  // The same, and in `decay` the product of exp(-k h r) over the layers in
  // which the motion decays at c, as SecularFunction has it.
  double literal(double c, double& decay) const;

  // The propagation with that growth divided out and the state normalised
  // at every layer: the same sign and zeros as literal(). At a layer's
  // velocity itself the layer's terms take their continuous limits.
  double rescaled(double c) const;

 private:
  template <bool Rescale>
  double evaluate(double c) const;

  using Evaluation = double (*)(const LoveLayerConstants& model, double c, double* decay);
  Evaluation literal_;
  LoveLayerConstants layers_;
};

}  // namespace swcore
