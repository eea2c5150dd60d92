// SPDX-License-Identifier: GPL-3.0-or-later
// Dispersion curves of any layered model the caller hands in: the
// fundamental Rayleigh mode (compute), or the lowest modes of Rayleigh or
// Love waves (computeModes); phase velocity, and group velocity when asked,
// at any list of frequencies.
//
// Units at this interface are SI: thickness in m, velocities in m/s,
// frequencies in Hz, densities in kg/m3 (any one unit serves: only their
// ratios enter).
//
// The fundamental mode at a frequency is the lowest zero of the secular
// function below the half-space S velocity: mode 0 of the search for the
// lowest modes below. Where no zero lies below the half-space S velocity (a
// model whose half-space is slower than a layer above it can have none at
// low frequencies), the frequency has no root: its point says so and holds
// NaN velocities. The frequencies are searched from the highest down, each
// told what the roots above it suggest, so a result does not depend on the
// order of the frequencies, and on the others in the list only within the
// tolerance (unless two zeros hide below where the search expected none).
//
// The lowest modes at a frequency are the lowest zeros of the secular
// function of their wave type below the half-space S velocity, in order:
// mode 0 the lowest, mode k the k-th zero above it. A mode with fewer zeros
// below the half-space S velocity than its number is absent there (below its
// cut-off frequency), and its point says so. The search is described in
// mode_walk.h: each mode is looked for where the roots at the higher
// frequencies predict it, and walked for from the mode below where they do
// not.
//
// A DispersionCurveSolver holds all its working data; nothing is shared
// between solvers, so any number of them may run on different threads at
// once. One solver is for one thread at a time.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "dispersion/engine_state.h"
#include "dispersion/love_secular_function.h"
#include "dispersion/lowest_root_walk.h"
#include "dispersion/mode_walk.h"
#include "dispersion/secular_function.h"
#include "dispersion/wave_type.h"
#include "simd/instruction_set.h"

namespace swcore {

// One layer of the model, top layer first; the last layer of a model is the
// half-space.
struct ModelLayer {
  double thickness;      // m, finite and > 0; not read for the half-space
  double shearVelocity;  // m/s, finite and > 0
  double density;        // kg/m3, finite and > 0
  // m/s, finite, at least sqrt(2) x shearVelocity; 3 x shearVelocity when
  // not given.
  std::optional<double> pVelocity = std::nullopt;
};

// Whether a curve could be computed; anything but `ok` names the first
// fault found in the input, in the order listed, and nothing is computed.
enum class CurveStatus {
  ok,
  noLayers,             // the model is empty
  tooManyLayers,        // more than kMaxLayers layers, the half-space included
  badThickness,         // a layer above the half-space: not finite or not > 0
  badShearVelocity,     // not finite or not > 0
  badDensity,           // not finite or not > 0
  badPVelocity,         // not finite or not > 0
  pToShearRatioTooLow,  // Vp / Vs below sqrt(2): no elastic solid has it
  badFrequency,         // not finite or not > 0
  badModeCount,         // a mode count outside 1 .. kMaxModes
  outputSizeMismatch,   // fewer or more output points than frequencies (times modes)
};

// The most modes one request may ask for.
inline constexpr int kMaxModes = 100;

// A short English description of a status, for messages.
const char* describe(CurveStatus status);

// The first fault of the model's layers, in the order of CurveStatus; ok
// when every layer can be used.
CurveStatus modelStatus(std::span<const ModelLayer> model);

// A layer's P velocity: its own, or 3 x its S velocity (m/s).
inline double pVelocityOf(const ModelLayer& layer) {
  return layer.pVelocity.value_or(3.0 * layer.shearVelocity);
}

// Which velocities to compute.
enum class CurveKind { phase, phaseAndGroup };

// The curve at one frequency. Without a root (the mode is absent there)
// both velocities are NaN.
struct CurvePoint {
  bool hasRoot = false;
  double phaseVelocity = 0.0;  // m/s
  double groupVelocity = 0.0;  // m/s; NaN unless asked for with CurveKind::phaseAndGroup
};

// Which curves computeModes gives: modes 0 .. modes - 1 of one wave type.
struct ModeRequest {
  WaveType wave = WaveType::rayleigh;
  int modes = 1;  // 1 .. kMaxModes
  CurveKind kind = CurveKind::phase;
};

class DispersionCurveSolver {
 public:
  // Phase velocity within 1e-5 m/s of the secular function's zero; group
  // velocity from the slope of the phase curve through the zeros on either
  // side of the frequency, each refined to 1e-14 of c (about 1e-8
  // relative; see group_velocity.h).
  // `frequencies` in Hz; out[j] is the point of frequencies[j].
  CurveStatus compute(std::span<const ModelLayer> model, std::span<const double> frequencies,
                      CurveKind kind, std::span<CurvePoint> out);

  // The lowest request.modes modes of request.wave, with the tolerances of
  // compute(): out[j * request.modes + k] is the point of mode k at
  // frequencies[j]. compute() is this with one mode of Rayleigh waves.
  CurveStatus computeModes(std::span<const ModelLayer> model, std::span<const double> frequencies,
                           const ModeRequest& request, std::span<CurvePoint> out);

  // The instruction set of the secular functions' code: the fastest one the
  // processor has unless set. `set` must be one the processor has
  // (processorHas); every set gives the same zeros within the tolerances
  // above, and the solver's results differ between sets by no more.
  void setInstructionSet(InstructionSet set) { set_ = set; }
  InstructionSet instructionSet() const { return set_; }

  // Evaluations of the secular function by the last compute() or
  // computeModes(), the root searches' only (the group velocity's
  // differences not counted).
  std::uint64_t evaluationCount() const { return evaluations_; }

 private:
  // Holds `model` in the engine's units and sorts the frequencies from the
  // highest down into order_; the model at rest (omega 0).
  SecularModel loadModel(std::span<const ModelLayer> model, std::span<const double> frequencies);

  // The modes at one frequency into `out` (request.modes points), the
  // search told what the modes at higher frequencies suggest.
  template <class Secular>
  void modesAt(Secular& secular, double frequency, const ModeRequest& request,
               std::span<CurvePoint> out);

  InstructionSet set_ = fastestInstructionSet();
  // The model in the engine's units (km, km/s).
  int32_t layerCount_ = 0;
  double thickness_[kMaxLayers] = {};
  double shearVelocity_[kMaxLayers] = {};
  double pVelocity_[kMaxLayers] = {};
  double density_[kMaxLayers] = {};
  std::optional<SecularFunction> secular_;
  std::optional<LoveSecularFunction> love_;
  std::optional<PhaseStepper> stepper_;
  double walkStart_ = 0.0;
  double startSign_ = 0.0;  // D's sign at walkStart_, one for all frequencies; 0 until read
  std::uint64_t evaluations_ = 0;
  // The frequencies' indices from the highest frequency down; kept between
  // calls so that a solver reused for curves of one length allocates once.
  std::vector<std::size_t> order_;
  // What the search at the higher frequencies found of one mode: its roots
  // at the last three where it had one, the newest last, and whether it was
  // absent at the last frequency searched.
  struct ModeHistory {
    struct Root {
      double frequency = 0.0;  // Hz
      double c = 0.0;          // km/s
    };
    Root roots[3];
    int count = 0;  // roots known, 0 to 3
    bool absentAtLast = false;
  };
  // What the history of mode `mode` tells of its root at `frequency`, which
  // lies below every frequency of the history; `stepper` is the model's at
  // that frequency.
  static ModeHint hintFrom(const ModeHistory& history, double frequency, int mode,
                           const PhaseStepper& stepper);

  // Each mode's history, the hints drawn from it and the zeros of one
  // frequency, km/s.
  std::vector<ModeHistory> history_;
  std::vector<ModeHint> hints_;
  std::vector<double> zeros_;
};

}  // namespace swcore
