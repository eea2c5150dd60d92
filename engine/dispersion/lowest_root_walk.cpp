// SPDX-License-Identifier: GPL-3.0-or-later
#include "dispersion/lowest_root_walk.h"

#include <algorithm>
#include <cmath>

namespace swcore {

namespace {

// Rayleigh's cubic for a half-space, in xi = (c / beta)^2 with
// gamma = (beta / alpha)^2: xi^3 - 8 xi^2 + (24 - 16 gamma) xi - 16 (1 - gamma).
double rayleighCubic(double xi, double gamma) {
  return ((xi - 8.0) * xi + (24.0 - 16.0 * gamma)) * xi - 16.0 * (1.0 - gamma);
}

// 0.874: the smallest Rayleigh ratio c_R / beta, reached at Vp/Vs = sqrt 2;
// 0.9553 the largest, as Vp/Vs grows without bound. A layer whose S velocity
// exceeds the slowest one by more than their quotient cannot hold the
// smallest Rayleigh velocity.
constexpr double kRayleighRatioSpread = 0.9553 / 0.874;

// 0.95: the margin below the smallest Rayleigh velocity, so that a zero just
// above it is bracketed by the first step rather than met by the start.
constexpr double kStartMargin = 0.95;

}  // namespace

double halfSpaceRayleighRatio(double shearToP2) {
  // The cubic is negative at 0 and equals 1 at 1; its one root in between
  // by bisection to the last bit.
  double low = 0.0;
  double high = 1.0;
  while (true) {
    const double middle = 0.5 * (low + high);
    if (!(middle > low && middle < high)) {
      break;
    }
    (rayleighCubic(middle, shearToP2) < 0.0 ? low : high) = middle;
  }
  return std::sqrt(0.5 * (low + high));
}

double walkStart(const SecularModel& model) {
  const int n = model.layerCount;
  const double slowest = *std::min_element(model.shearVelocity, model.shearVelocity + n);
  double lowestRayleigh = slowest;
  for (int i = 0; i < n; ++i) {
    const double beta = model.shearVelocity[i];
    if (beta <= slowest * kRayleighRatioSpread) {
      const double ratio = beta / model.pVelocity[i];
      lowestRayleigh = std::min(lowestRayleigh, beta * halfSpaceRayleighRatio(ratio * ratio));
    }
  }
  return kStartMargin * lowestRayleigh;
}

double loveWalkStart(const SecularModel& model) {
  const int n = model.layerCount;
  return kStartMargin * *std::min_element(model.shearVelocity, model.shearVelocity + n);
}

namespace {

// The slots of a stepper as its passes read them: 1 / v_s^2 and omega h_s of
// each, padded with zeros to a whole group of four.
struct SlotArrays {
  int slots;
  const double* inverseVelocity2;
  const double* phaseFactor;
};

template <class Term>
[[gnu::always_inline]] inline double slotSum(const SlotArrays& a, const Term& term) {
  // Four partial sums over whole groups of four slots (the padding slots
  // add 0), so that neighbouring slots' square roots run side by side.
  double sums[4] = {};
  for (int i = 0; i < a.slots; i += 4) {
    for (int lane = 0; lane < 4; ++lane) {
      sums[lane] += term(i + lane);
    }
  }
  return (sums[0] + sums[1]) + (sums[2] + sums[3]);
}

[[gnu::always_inline]] inline double variationOf(const SlotArrays& s, double from, double to) {
  const double from2 = 1.0 / (from * from);
  const double to2 = 1.0 / (to * to);
  // k h |r| / omega at each end, signed: positive where the slot
  // oscillates, negative where it decays. Above the slot's velocity the
  // signed root rises, below it the decaying root falls toward zero, which
  // the signed root also shows as a rise: their difference is the slot's
  // whole variation whichever side each end lies on.
  return slotSum(s, [&](int i) {
    const double a = s.inverseVelocity2[i] - from2;
    const double b = s.inverseVelocity2[i] - to2;
    const double ra = std::copysign(std::sqrt(std::abs(a)), a);
    const double rb = std::copysign(std::sqrt(std::abs(b)), b);
    return s.phaseFactor[i] * (rb - ra);
  });
}

[[gnu::always_inline]] inline double phaseGrowthOf(const SlotArrays& s, double from, double to) {
  const double from2 = 1.0 / (from * from);
  const double to2 = 1.0 / (to * to);
  return slotSum(s, [&](int i) {
    const double a = std::sqrt(std::max(0.0, s.inverseVelocity2[i] - from2));
    const double b = std::sqrt(std::max(0.0, s.inverseVelocity2[i] - to2));
    return s.phaseFactor[i] * (b - a);
  });
}

[[gnu::always_inline]] inline double variationRateOf(const SlotArrays& s, double c, double) {
  const double slowness2 = 1.0 / (c * c);
  const double sum = slotSum(s, [&](int i) {
    return s.phaseFactor[i] / std::sqrt(std::abs(s.inverseVelocity2[i] - slowness2));
  });
  return sum * slowness2 / c;
}

// Each pass compiled for each instruction set: the baseline code, and the
// clones, whose square roots and sums run four slots to a register.
using Pass = double (*)(const SlotArrays& slots, double a, double b);

template <double (*kPass)(const SlotArrays&, double, double)>
double baselinePass(const SlotArrays& slots, double a, double b) {
  return kPass(slots, a, b);
}

#if defined(__x86_64__)
template <double (*kPass)(const SlotArrays&, double, double)>
[[gnu::target("avx2,fma")]] double avx2Pass(const SlotArrays& slots, double a, double b) {
  return kPass(slots, a, b);
}

template <double (*kPass)(const SlotArrays&, double, double)>
[[gnu::target("avx512f")]] double avx512Pass(const SlotArrays& slots, double a, double b) {
  return kPass(slots, a, b);
}
#endif

}  // namespace

struct StepperPasses {
  Pass variation;
  Pass phaseGrowth;
  Pass variationRate;
};

namespace {

constexpr StepperPasses kBaselinePasses{baselinePass<variationOf>, baselinePass<phaseGrowthOf>,
                                        baselinePass<variationRateOf>};
#if defined(__x86_64__)
constexpr StepperPasses kAvx2Passes{avx2Pass<variationOf>, avx2Pass<phaseGrowthOf>,
                                    avx2Pass<variationRateOf>};
constexpr StepperPasses kAvx512Passes{avx512Pass<variationOf>, avx512Pass<phaseGrowthOf>,
                                      avx512Pass<variationRateOf>};
#endif

const StepperPasses* passesFor(InstructionSet set) {
#if defined(__x86_64__)
  return cloneFor(set, &kBaselinePasses, &kAvx2Passes, &kAvx512Passes);
#else
  return cloneFor(set, &kBaselinePasses, &kBaselinePasses, &kBaselinePasses);
#endif
}

}  // namespace

PhaseStepper::PhaseStepper(const SecularModel& model, WaveType wave)
    : PhaseStepper(model, wave, fastestInstructionSet()) {}

PhaseStepper::PhaseStepper(const SecularModel& model, WaveType wave, InstructionSet set)
    : passes_(passesFor(set)), slots_((wave == WaveType::love ? 1 : 2) * (model.layerCount - 1)) {
  const int layers = model.layerCount - 1;
  if (wave == WaveType::love) {
    for (int m = 0; m < layers; ++m) {
      const double s = model.shearVelocity[m];
      inverseVelocity2_[m] = 1.0 / (s * s);
      thickness_[m] = model.thickness[m];
      slowestSlot_ = std::min(slowestSlot_, s);
    }
    setOmega(model.omega);
    return;
  }
  for (int m = 0; m < layers; ++m) {
    const double p = model.pVelocity[m];
    const double s = model.shearVelocity[m];
    inverseVelocity2_[m] = 1.0 / (p * p);
    inverseVelocity2_[layers + m] = 1.0 / (s * s);
    thickness_[m] = model.thickness[m];
    thickness_[layers + m] = model.thickness[m];
    slowestSlot_ = std::min({slowestSlot_, p, s});
  }
  setOmega(model.omega);
}

void PhaseStepper::setOmega(double omega) {
  for (int i = 0; i < slots_; ++i) {
    phaseFactor_[i] = omega * thickness_[i];
  }
}

double PhaseStepper::variation(double from, double to) const {
  return passes_->variation({slots_, inverseVelocity2_, phaseFactor_}, from, to);
}

double PhaseStepper::phaseGrowth(double from, double to) const {
  return passes_->phaseGrowth({slots_, inverseVelocity2_, phaseFactor_}, from, to);
}

int PhaseStepper::slotsTurningWithPhase(double from, double to, double phase) const {
  const double atTo = 1.0 / (to * to);
  const double atFrom = 1.0 / (from * from);
  int count = 0;
  for (int s = 0; s < slots_; ++s) {
    const double inverse2 = inverseVelocity2_[s];
    if (inverse2 >= atTo && inverse2 < atFrom &&
        phaseFactor_[s] * std::sqrt(inverse2 - atTo) >= phase) {
      ++count;
    }
  }
  return count;
}

double PhaseStepper::variationRate(double c) const {
  return passes_->variationRate({slots_, inverseVelocity2_, phaseFactor_}, c, 0.0);
}

double PhaseStepper::next(double c, double ceiling) const {
  const double evanescentStep = std::min(c * (1.0 + kRelativeStep), ceiling);
  if (evanescentStep <= slowestSlot_) {
    return evanescentStep;  // every slot evanescent: no guided zero to pair with
  }
  const double widest = std::min(c * (1.0 + kWidestStep), ceiling);
  // The step along the tangent of the variation. The exponent of a slot in
  // which c oscillates grows more slowly than its tangent, so there the
  // step is safe; the exponent of an evanescent slot falls ever faster
  // toward the slot's velocity, so a step past the allowed variation is
  // halved until it keeps within it. At a slot's velocity itself the
  // tangent is vertical and the halving starts from the widest step.
  double high = std::min(widest, c + kPhaseStep / variationRate(c));
  if (!(high > c)) {
    high = widest;
  }
  while (variation(c, high) > kPhaseStep) {
    const double half = 0.5 * (c + high);
    if (!(half > c)) {
      break;
    }
    high = half;
  }
  return high;
}

}  // namespace swcore
