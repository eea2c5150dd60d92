// SPDX-License-Identifier: GPL-3.0-or-later
// Rayleigh secular function D(c) of the layered model in the engine state
// (Knopoff's method in its fast layer-reduction form).
#pragma once

#include <atomic>
#include <cstdint>

#include "dispersion/engine_state.h"
#include "dispersion/pole_velocities.h"
#include "dispersion/vertical_terms.h"
#include "simd/instruction_set.h"

namespace swcore {

// Number of evaluations of D through SecularFunction::operator() since the
// library was loaded, on every thread. Not exported; read by the tests and
// benchmarks to measure the cost of a search. Functions of different models
// may be evaluated on different threads at once, so the count is atomic: a
// relaxed increment, which orders nothing else and on x86-64 costs a few
// nanoseconds beside the tens of one evaluation. The dispersion-curve solver
// counts its own evaluations per solver and does not touch it.
extern std::atomic<std::uint64_t> secularEvaluationCount;

// Everything of the model and the angular frequency that D needs, in the
// form its evaluation reads it: nothing here depends on c.
struct LayerConstants {
  int32_t layerCount = 0;
  double omega = 0.0;
  double twoTopShear2 = 0.0;  // 2 beta[1]^2
  double halfSpaceFactor = 0.0;
  double halfSpaceP2 = 0.0;  // alpha[N]^2
  double halfSpaceS2 = 0.0;  // beta[N]^2
  // v^2 and thickness of each vertical-term slot and of the padding after
  // them (see kTermSlots).
  double velocity2[kTermSlots] = {};
  double slowness2[kTermSlots] = {};  // 1 / v^2, for the quick terms
  double thickness[kTermSlots] = {};
  double densityRatio[kMaxLayers] = {};  // epsilon = rho[m+1] / rho[m]
  double eta[kMaxLayers] = {};           // 2 (beta[m]^2 - epsilon beta[m+1]^2)
};

// The literal evaluation is compiled for each instruction set
// (simd/instruction_set.h). All give the same values; the fastest one the
// processor has is used unless a set is named.
// Besides D it gives, where `decay` is not null, the product of exp(-k h r)
// over the slots evanescent at c: the inverse of the growth D carries.
using LiteralEvaluation = double (*)(const LayerConstants& model, double c, double* decay);

// A layered model and an angular frequency as D reads them, held by the
// caller: arrays of `layerCount` entries, top layer first, the last one the
// half-space (whose thickness is not read). Thickness in km, velocities in
// km/s, densities in any one unit (only their ratios enter), omega in rad/s.
struct SecularModel {
  int32_t layerCount = 0;
  const double* thickness = nullptr;
  const double* shearVelocity = nullptr;
  const double* pVelocity = nullptr;
  const double* density = nullptr;
  double omega = 0.0;
};

// D(c) for one model and angular frequency. Everything that does not depend
// on c is worked out once on construction, so a root search prepares the
// model once and then evaluates D as often as it needs.
class SecularFunction {
 public:
  // Reads the model and omega from the state. A layer count outside
  // 1..kMaxLayers leaves the function undefined: it then returns NaN.
  explicit SecularFunction(const EngineState& state);

  // The same with the code for `set`, which the processor must have
  // (processorHas): lets the tests compare the instruction sets.
  SecularFunction(const EngineState& state, InstructionSet set);

  // The same for a model the caller holds; nothing of the engine state is
  // read, so functions of different models can be used on different
  // threads at once.
  explicit SecularFunction(const SecularModel& model);
  SecularFunction(const SecularModel& model, InstructionSet set);

  // The same with the literal evaluation's terms valued at `precision`:
  // TermPrecision::quick gives D within a few units in the last place of the
  // library-valued D (relative to the size of its terms), in about two thirds
  // of the time, for the searches that read only its signs. The rescaled
  // evaluation is the library-valued one in either case.
  SecularFunction(const SecularModel& model, InstructionSet set, TermPrecision precision);

  // The same model at another angular frequency (rad/s): what construction
  // from the model with that omega gives, without reading the model again.
  void setOmega(double omega) { layers_.omega = omega; }

  // D(c): the literal reduction, and, only when that is not finite, the
  // rescaled one, which differs from it by a positive factor. Counted in
  // secularEvaluationCount; safe on any number of threads at once.
  double operator()(double c) const;

  // The same value, not counted: touches nothing outside this object, so it
  // may run on any number of threads at once.
  double value(double c) const;

  // Where D changes sign through a pole: the half-space's S and P velocities
  // (unknown when the function is undefined).
  PoleVelocities poles() const { return poles_; }

  // The plain reduction, without any guard against overflow.
  double literal(double c) const;

  // The same, and in `decay` the product of exp(-k h r) over the layer
  // terms evanescent at c (P and S of every layer above the half-space):
  // D times it is D without the growth of those terms, the same sign with
  // a shape close to a line near a zero. It underflows to 0 where that
  // growth exceeds the range of a double.
  double literal(double c, double& decay) const;

  // The reduction with the growing exponential of every evanescent layer term
  // and the running state divided out; same sign and zeros as literal(). At a
  // layer velocity itself the layer terms take their continuous limits.
  double rescaled(double c) const;

 private:
  template <bool Rescale>
  double evaluate(double c) const;

  LiteralEvaluation literal_;
  LayerConstants layers_;
  PoleVelocities poles_;
};

}  // namespace swcore
