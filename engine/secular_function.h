// Rayleigh secular function D(c) of the layered model in the engine state
// (Knopoff's method in its fast layer-reduction form).
#pragma once

#include <cstdint>

#include "engine_state.h"
#include "vertical_terms.h"

namespace swcore {

// Number of evaluations of D since the library was loaded. Not exported;
// read by the tests and benchmarks to measure the cost of a search.
extern std::uint64_t secularEvaluationCount;

// D(c) for one model and angular frequency. Everything that does not depend
// on c is worked out once on construction, so a root search prepares the
// model once and then evaluates D as often as it needs.
class SecularFunction {
 public:
  // Reads the model and omega from the state. A layer count outside
  // 1..kMaxLayers leaves the function undefined: it then returns NaN.
  explicit SecularFunction(const EngineState& state);

  // D(c): the literal reduction, and, only when that is not finite, the
  // rescaled one, which differs from it by a positive factor.
  double operator()(double c) const;

  // The plain reduction, without any guard against overflow.
  double literal(double c) const;

  // The reduction with the growing exponential of every evanescent layer term
  // and the running state divided out; same sign and zeros as literal(). At a
  // layer velocity itself the layer terms take their continuous limits.
  double rescaled(double c) const;

 private:
  template <bool Rescale>
  double evaluate(double c) const;

  int32_t layerCount_ = 0;
  double omega_ = 0.0;
  double twoTopShear2_ = 0.0;  // 2 beta[1]^2
  double halfSpaceFactor_ = 0.0;
  double halfSpaceP2_ = 0.0;  // alpha[N]^2
  double halfSpaceS2_ = 0.0;  // beta[N]^2
  double inverseVelocity2_[kTermSlots] =
      {};                                 // 1/alpha^2, 1/beta^2 of each layer above the half-space
  double thickness_[kTermSlots] = {};     // its thickness, once per slot
  double densityRatio_[kMaxLayers] = {};  // epsilon = rho[m+1] / rho[m]
  double eta_[kMaxLayers] = {};           // 2 (beta[m]^2 - epsilon beta[m+1]^2)
};

}  // namespace swcore
