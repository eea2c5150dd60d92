#include "damped_least_squares.h"

#include <algorithm>
#include <cmath>

#include "dispersion_evaluation.h"
#include "ldl_solve.h"

namespace swcore {

namespace {

enum class Next { Finish, IterationStep, LineSearchTrial };

std::size_t freeCount(const InversionState& inv) {
  return static_cast<std::size_t>(std::clamp(inv.NF, 0, kMaxParameters));
}

int32_t dataCount(const InversionState& inv) {
  return std::clamp(inv.M, 0, kMaxData);
}

double& normalEntry(InversionState& inv, int32_t row, int32_t column) {
  return inv.GNM[row * kMaxParameters + column];
}

// The model just evaluated is better than PHIOLD: finish on a step that was
// small against the parameters or on a misfit below EA, otherwise relax the
// damping and go on.
Next accept(InversionState& inv, std::span<const double> x) {
  double stepSize = 0.0;
  double parameterSize = 0.0;
  for (std::size_t k = 0; k < x.size(); ++k) {
    stepSize += std::abs(inv.TFAC * inv.STEP[k]);
    parameterSize += std::abs(x[k]);
  }
  if (kSmallStepRatio * parameterSize > stepSize || inv.PHI < inv.EA) {
    return Next::Finish;
  }
  inv.PHIOLD = inv.PHI;
  inv.LAMBDA *= 0.5;
  return Next::IterationStep;
}

// What follows an evaluation, by the loop state ISB: after the first one a
// full step; after a full step acceptance or the parabolic trial; after a
// trial acceptance, the halved trial, or the old point with more damping.
Next decide(InversionState& inv, std::span<double> x, RecordWriter& console) {
  switch (inv.ISB) {
    case 2:
      console.write(Record().add(inv.PHI).add(inv.PHIOLD));
      if (inv.PHI < inv.PHIOLD) {
        inv.TFAC = 1.0;
        return accept(inv, x);
      } else {
        double slope = 0.0;
        for (std::size_t k = 0; k < x.size(); ++k) {
          slope += inv.GRAD[k] * inv.STEP[k];
        }
        inv.NTRY = 0;
        // Minimum of the parabola through the misfit at the old point, its
        // slope along the step and the misfit at the full step.
        inv.TFAC = slope / (2.0 * slope + (inv.PHI - inv.PHIOLD));
        return Next::LineSearchTrial;
      }
    case 3:
      if (inv.PHI < inv.PHIOLD) {
        return accept(inv, x);
      }
      if (inv.NTRY < 2) {
        inv.TFAC *= 0.5;
        return Next::LineSearchTrial;
      }
      for (std::size_t k = 0; k < x.size(); ++k) {
        x[k] = inv.XOLD[k];
      }
      inv.LAMBDA *= 1.5;
      return Next::IterationStep;
    default:
      inv.PHIOLD = inv.PHI;
      return Next::IterationStep;
  }
}

// One evaluation of the trial parameters: curve, misfit and their records.
bool evaluate(EngineState& state, std::span<double> x, RecordWriter& console) {
  InversionState& inv = state.inversion;
  if (!DISRAY(state, x, console)) {
    return false;
  }
  inv.PHI = MISFIT(state);
  console.write(Record("PHI=").add(inv.PHI));
  console.write(
      Record().add(std::span<const double>(state.velocity, static_cast<std::size_t>(inv.M))));
  console.write(Record("ISB=").add(inv.ISB));
  return true;
}

// GRAD = S^T RES and GNM = S^T S + LAMBDA I over the free parameters.
void formNormalEquations(InversionState& inv) {
  const auto nf = static_cast<int32_t>(freeCount(inv));
  const int32_t m = dataCount(inv);
  for (int32_t k = 0; k < nf; ++k) {
    double g = 0.0;
    for (int32_t j = 0; j < m; ++j) {
      g += inv.SENS[k][j] * inv.RES[j];
    }
    inv.GRAD[k] = g;
    inv.STEP[k] = g;
    for (int32_t l = k; l < nf; ++l) {
      double a = 0.0;
      for (int32_t j = 0; j < m; ++j) {
        a += inv.SENS[k][j] * inv.SENS[l][j];
      }
      normalEntry(inv, k, l) = a;
      normalEntry(inv, l, k) = a;
    }
    normalEntry(inv, k, k) += inv.LAMBDA;
  }
}

}  // namespace

double MISFIT(EngineState& state) {
  InversionState& inv = state.inversion;
  double phi = 0.0;
  for (int32_t j = 0; j < dataCount(inv); ++j) {
    inv.RES[j] = inv.VOBS[j] - state.velocity[j];
    phi += inv.RES[j] * inv.RES[j];
  }
  return phi;
}

bool LDLSOL(InversionState& inv) {
  return solveLdl(freeCount(inv), SquareMatrixView{inv.GNM, kMaxParameters}, inv.GRAD, inv.STEP,
                  inv.pivotInverse);
}

bool JACOB(EngineState& state, std::span<double> freeParameters, RecordWriter& console) {
  InversionState& inv = state.inversion;
  inv.PRTSW = 0;
  if (!DISRAY(state, freeParameters, console)) {
    return false;
  }
  const int32_t m = dataCount(inv);
  for (int32_t j = 0; j < m; ++j) {
    inv.referenceCurve[j] = state.velocity[j];
  }
  const std::size_t nf = std::min(freeCount(inv), freeParameters.size());
  for (std::size_t k = 0; k < nf; ++k) {
    freeParameters[k] += kSensitivityDelta;
    const bool evaluated = DISRAY(state, freeParameters, console);
    freeParameters[k] -= kSensitivityDelta;
    if (!evaluated) {
      return false;
    }
    for (int32_t j = 0; j < m; ++j) {
      inv.SENS[k][j] = (state.velocity[j] - inv.referenceCurve[j]) * kSensitivityScale;
    }
  }
  inv.PRTSW = 1;
  return true;
}

InversionOutcome DLSINV(EngineState& state, std::span<double> freeParameters, double LAMBDA0,
                        RecordWriter& console) {
  InversionState& inv = state.inversion;
  std::span<double> x = freeParameters.first(std::min(freeCount(inv), freeParameters.size()));
  InversionOutcome out;
  console.write("DAMPING LEAST SQUARE METHOD");
  inv.PRTSW = 2;
  inv.LAMBDA = LAMBDA0;
  inv.ISB = 1;
  for (;;) {
    if (!evaluate(state, x, console)) {
      out.ISTAT = kStatusBoundsUnreachable;
      out.PHIOUT = inv.PHI;
      return out;
    }
    if (inv.PHI < kMisfitFloor) {
      break;
    }
    const Next next = decide(inv, x, console);
    if (next == Next::Finish) {
      break;
    }
    if (next == Next::IterationStep) {
      if (++out.ITER > kMaxIterationSteps) {
        out.ISTAT = kStatusIterationLimit;
        break;
      }
      if (!JACOB(state, x, console)) {
        out.ISTAT = kStatusBoundsUnreachable;
        out.PHIOUT = inv.PHI;
        return out;
      }
      formNormalEquations(inv);
      if (!LDLSOL(inv)) {
        out.ISTAT = kStatusSingular;
        break;
      }
      for (std::size_t k = 0; k < x.size(); ++k) {
        inv.XOLD[k] = x[k];
        x[k] += inv.STEP[k];
      }
      inv.ISB = 2;
    } else {
      ++inv.NTRY;
      for (std::size_t k = 0; k < x.size(); ++k) {
        x[k] = inv.XOLD[k] + inv.TFAC * inv.STEP[k];
      }
      inv.ISB = 3;
    }
  }
  out.PHIOUT = inv.PHI;
  if (!JACOB(state, x, console)) {
    out.ISTAT = kStatusBoundsUnreachable;
  }
  return out;
}

}  // namespace swcore
