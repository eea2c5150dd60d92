#include "dispersion/dispersion_curve.h"

#include <cmath>
#include <limits>
#include <numbers>

#include "dispersion/group_velocity.h"
#include "dispersion/lowest_root_walk.h"
#include "dispersion/secular_function.h"

namespace swcore {

namespace {

// 1e-8 km/s (1e-5 m/s): the bracket width at which the refinement stops;
// the zero lies within it.
constexpr double kTolerance = 1e-8;

constexpr double kMetresPerKilometre = 1000.0;

bool positiveFinite(double value) {
  return std::isfinite(value) && value > 0.0;
}

double pVelocityOf(const ModelLayer& layer) {
  return layer.pVelocity.value_or(3.0 * layer.shearVelocity);
}

CurveStatus checkLayer(const ModelLayer& layer, bool halfSpace) {
  if (!halfSpace && !positiveFinite(layer.thickness)) {
    return CurveStatus::badThickness;
  }
  if (!positiveFinite(layer.shearVelocity)) {
    return CurveStatus::badShearVelocity;
  }
  if (!positiveFinite(layer.density)) {
    return CurveStatus::badDensity;
  }
  const double p = pVelocityOf(layer);
  if (!positiveFinite(p)) {
    return CurveStatus::badPVelocity;
  }
  if (p * p < 2.0 * layer.shearVelocity * layer.shearVelocity) {
    return CurveStatus::pToShearRatioTooLow;
  }
  return CurveStatus::ok;
}

CurveStatus checkInput(std::span<const ModelLayer> model, std::span<const double> frequencies,
                       std::size_t outputSize) {
  if (model.empty()) {
    return CurveStatus::noLayers;
  }
  if (model.size() > static_cast<std::size_t>(kMaxLayers)) {
    return CurveStatus::tooManyLayers;
  }
  for (std::size_t i = 0; i < model.size(); ++i) {
    const CurveStatus status = checkLayer(model[i], i + 1 == model.size());
    if (status != CurveStatus::ok) {
      return status;
    }
  }
  for (const double f : frequencies) {
    if (!positiveFinite(f)) {
      return CurveStatus::badFrequency;
    }
  }
  return outputSize == frequencies.size() ? CurveStatus::ok : CurveStatus::outputSizeMismatch;
}

}  // namespace

const char* describe(CurveStatus status) {
  switch (status) {
    case CurveStatus::ok:
      return "ok";
    case CurveStatus::noLayers:
      return "the model has no layers";
    case CurveStatus::tooManyLayers:
      return "the model has more than 50 layers";
    case CurveStatus::badThickness:
      return "a layer above the half-space has a thickness that is not a positive number";
    case CurveStatus::badShearVelocity:
      return "a layer has an S velocity that is not a positive number";
    case CurveStatus::badDensity:
      return "a layer has a density that is not a positive number";
    case CurveStatus::badPVelocity:
      return "a layer has a P velocity that is not a positive number";
    case CurveStatus::pToShearRatioTooLow:
      return "a layer has a P to S velocity ratio below sqrt(2)";
    case CurveStatus::badFrequency:
      return "a frequency is not a positive number";
    case CurveStatus::outputSizeMismatch:
      return "the output does not have one point per frequency";
  }
  return "unknown status";
}

CurveStatus DispersionCurveSolver::compute(std::span<const ModelLayer> model,
                                           std::span<const double> frequencies, CurveKind kind,
                                           std::span<CurvePoint> out) {
  evaluations_ = 0;
  const CurveStatus status = checkInput(model, frequencies, out.size());
  if (status != CurveStatus::ok) {
    return status;
  }
  // From SI units to the engine's, once.
  layerCount_ = static_cast<int32_t>(model.size());
  for (std::size_t i = 0; i < model.size(); ++i) {
    const ModelLayer& layer = model[i];
    const bool halfSpace = i + 1 == model.size();
    thickness_[i] = halfSpace ? 0.0 : layer.thickness / kMetresPerKilometre;
    shearVelocity_[i] = layer.shearVelocity / kMetresPerKilometre;
    pVelocity_[i] = pVelocityOf(layer) / kMetresPerKilometre;
    density_[i] = layer.density;
  }
  walkStart_ = walkStart({layerCount_, thickness_, shearVelocity_, pVelocity_, density_, 0.0});
  for (std::size_t j = 0; j < frequencies.size(); ++j) {
    out[j] = pointAt(frequencies[j], kind);
  }
  return CurveStatus::ok;
}

CurvePoint DispersionCurveSolver::pointAt(double frequency, CurveKind kind) {
  constexpr double kNoRoot = std::numeric_limits<double>::quiet_NaN();
  const SecularModel model{layerCount_, thickness_, shearVelocity_,
                           pVelocity_,  density_,   2.0 * std::numbers::pi * frequency};
  const SecularFunction d(model);
  const PhaseStepper stepper(model);
  // D without the exponential growth of its evanescent terms: the same
  // sign, and a shape close enough to a straight line near a zero that the
  // refinement converges in a handful of steps where on D itself, curved
  // like e^(k h r), it crept. Where the plain reduction overflows, or its
  // growth does, the rescaled one has that growth divided out already.
  const auto trendFree = [&](double c) {
    ++evaluations_;
    const double literal = d.literal(c);
    const double value = literal * std::exp(-stepper.decayExponent(c));
    if (std::isfinite(literal) && (value != 0.0 || literal == 0.0)) {
      return value;
    }
    return d.rescaled(c);
  };
  const double c =
      lowestRoot(trendFree, stepper, walkStart_, shearVelocity_[layerCount_ - 1], kTolerance);
  if (std::isnan(c)) {
    return {false, kNoRoot, kNoRoot};
  }
  const double group = kind == CurveKind::phaseAndGroup ? groupVelocity(model, c) : kNoRoot;
  return {true, c * kMetresPerKilometre, group * kMetresPerKilometre};
}

}  // namespace swcore
