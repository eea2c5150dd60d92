// SPDX-License-Identifier: GPL-3.0-or-later
// Dispersion curves of the fundamental Rayleigh mode of any layered model the
// caller hands in: phase velocity, and group velocity when asked, at any list
// of frequencies.
//
// Units at this interface are SI: thickness in m, velocities in m/s,
// frequencies in Hz, densities in kg/m3 (any one unit serves: only their
// ratios enter).
//
// The fundamental mode at a frequency is the lowest zero of the secular
// function below the half-space S velocity. Each frequency is searched
// from below the smallest Rayleigh velocity of the layers' materials upward
// in steps tied to the vertical phase of the layers, the same steps for
// every frequency list. Where the fundamental mode and the next one nearly
// touch, both zeros can fall inside one step without a sign change between
// its ends; such a pair is looked for where the secular function, freed of
// its exponential growth, dips toward zero between the step points, and a
// search that finds no sign change at all is repeated in steps eight times
// finer before the frequency is given no root. The frequencies are searched from the highest
// down: the steps well below the root of the next higher one are passed
// with one sign test, and the refinement starts from a guess drawn from the
// roots above. So a result does not depend on the order of the
// frequencies, and on the others in the list only within the tolerance
// (unless two zeros hide below the skipped steps). Where no zero lies below the half-space S
// velocity (a model whose half-space is slower than a layer above it can have none at low
// frequencies), the frequency has no root: its point says so and holds NaN velocities.
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
#include "dispersion/lowest_root_walk.h"
#include "dispersion/secular_function.h"

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
  outputSizeMismatch,   // fewer or more output points than frequencies
};

// A short English description of a status, for messages.
const char* describe(CurveStatus status);

// Which velocities to compute.
enum class CurveKind { phase, phaseAndGroup };

// The curve at one frequency. Without a root both velocities are NaN.
struct CurvePoint {
  bool hasRoot = false;
  double phaseVelocity = 0.0;  // m/s
  double groupVelocity = 0.0;  // m/s; NaN unless asked for with CurveKind::phaseAndGroup
};

class DispersionCurveSolver {
 public:
  // Phase velocity within 1e-5 m/s of the secular function's zero; group
  // velocity from its implicit derivative (about 1e-5 relative: the phase
  // velocity's tolerance carried through the derivatives).
  // `frequencies` in Hz; out[j] is the point of frequencies[j].
  CurveStatus compute(std::span<const ModelLayer> model, std::span<const double> frequencies,
                      CurveKind kind, std::span<CurvePoint> out);

  // Evaluations of the secular function by the last compute(), the
  // root searches' only (the group velocity's differences not counted).
  std::uint64_t evaluationCount() const { return evaluations_; }

 private:
  // The point at one frequency, its search told what the roots at higher
  // frequencies suggest.
  CurvePoint pointAt(double frequency, CurveKind kind, const RootHints& hints);

  // The model in the engine's units (km, km/s).
  int32_t layerCount_ = 0;
  double thickness_[kMaxLayers] = {};
  double shearVelocity_[kMaxLayers] = {};
  double pVelocity_[kMaxLayers] = {};
  double density_[kMaxLayers] = {};
  std::optional<SecularFunction> secular_;
  std::optional<PhaseStepper> stepper_;
  double walkStart_ = 0.0;
  double startSign_ = 0.0;  // D's sign at walkStart_, one for all frequencies; 0 until read
  std::uint64_t evaluations_ = 0;
  // The frequencies' indices from the highest frequency down; kept between
  // calls so that a solver reused for curves of one length allocates once.
  std::vector<std::size_t> order_;
};

}  // namespace swcore
