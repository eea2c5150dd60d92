// SPDX-License-Identifier: GPL-3.0-or-later
#include "inversion/damped_least_squares.h"

#include <algorithm>
#include <cmath>

#include "inversion/dispersion_evaluation.h"
#include "inversion/ldl_solve.h"

namespace swcore {

namespace {

enum class Next { Finish, IterationStep, LineSearchTrial };

std::size_t freeCount(const EngineState& state) {
  return static_cast<std::size_t>(std::clamp(state.NF, 0, kMaxParameters));
}

int32_t dataCount(const EngineState& state) {
  return std::clamp(state.M, 0, kMaxData);
}

double& normalEntry(EngineState& state, int32_t row, int32_t column) {
  return state.GNM[row * kMaxParameters + column];
}

// The model just evaluated is better than PHIOLD: finish on a step that was
// small against the parameters or on a misfit below EA, otherwise relax the
// damping and go on.
Next accept(EngineState& state, std::span<const double> x) {
  double stepSize = 0.0;
  double parameterSize = 0.0;
  for (std::size_t k = 0; k < x.size(); ++k) {
    stepSize += std::abs(state.TFAC * state.STEP[k]);
    parameterSize += std::abs(x[k]);
  }
  if (kSmallStepRatio * parameterSize > stepSize || state.PHI < state.EA) {
    return Next::Finish;
  }
  state.PHIOLD = state.PHI;
  state.LAMBDA *= 0.5;
  return Next::IterationStep;
}

// What follows an evaluation, by the loop state ISB: after the first one a
// full step; after a full step acceptance or the parabolic trial; after a
// trial acceptance, the halved trial, or the old point with more damping.
Next decide(EngineState& state, std::span<double> x, const RecordWriter& console) {
  switch (state.ISB) {
    case 2:
      console.write(Record().add(state.PHI).add(state.PHIOLD));
      if (state.PHI < state.PHIOLD) {
        state.TFAC = 1.0;
        return accept(state, x);
      } else {
        double slope = 0.0;
        for (std::size_t k = 0; k < x.size(); ++k) {
          slope += state.GRAD[k] * state.STEP[k];
        }
        state.NTRY = 0;
        // Minimum of the parabola through the misfit at the old point, its
        // slope along the step and the misfit at the full step.
        state.TFAC = slope / (2.0 * slope + (state.PHI - state.PHIOLD));
        return Next::LineSearchTrial;
      }
    case 3:
      if (state.PHI < state.PHIOLD) {
        return accept(state, x);
      }
      if (state.NTRY < 2) {
        state.TFAC *= 0.5;
        return Next::LineSearchTrial;
      }
      for (std::size_t k = 0; k < x.size(); ++k) {
        x[k] = state.XOLD[k];
      }
      state.LAMBDA *= 1.5;
      return Next::IterationStep;
    default:
      state.PHIOLD = state.PHI;
      return Next::IterationStep;
  }
}

// One evaluation of the trial parameters: curve, misfit and their records.
bool evaluate(EngineState& state, std::span<double> x, const RecordWriter& console) {
  if (!DISRAY(state, x, console)) {
    return false;
  }
  state.PHI = MISFIT(state);
  console.write(Record("PHI=").add(state.PHI));
  console.write(
      Record().add(std::span<const double>(state.velocity, static_cast<std::size_t>(state.M))));
  console.write(Record("ISB=").add(state.ISB));
  return true;
}

// GRAD = S^T RES and GNM = S^T S + LAMBDA I over the free parameters.
void formNormalEquations(EngineState& state) {
  const auto nf = static_cast<int32_t>(freeCount(state));
  const int32_t m = dataCount(state);
  for (int32_t k = 0; k < nf; ++k) {
    double g = 0.0;
    for (int32_t j = 0; j < m; ++j) {
      g += state.SENS[k][j] * state.RES[j];
    }
    state.GRAD[k] = g;
    state.STEP[k] = g;
    for (int32_t l = k; l < nf; ++l) {
      double a = 0.0;
      for (int32_t j = 0; j < m; ++j) {
        a += state.SENS[k][j] * state.SENS[l][j];
      }
      normalEntry(state, k, l) = a;
      normalEntry(state, l, k) = a;
    }
    normalEntry(state, k, k) += state.LAMBDA;
  }
}

// PAR holds the S velocity and the thickness of each layer in turn.
bool isThickness(int32_t parameterIndex) {
  return parameterIndex % 2 == 1;
}

}  // namespace

void keepThicknessesPositive(EngineState& state, std::span<const double> freeParameters) {
  const std::size_t nf = std::min(freeCount(state), freeParameters.size());
  double factor = 1.0;
  std::size_t k = 0;
  for (int32_t i = 0; i < state.NP && k < nf; ++i) {
    if (state.IFIX[i] != 0) {
      continue;
    }
    const std::size_t free = k++;
    const double thickness = freeParameters[free];
    const double step = state.STEP[free];
    if (!isThickness(i) || !(step < 0.0) || thickness + step > 0.0) {
      continue;
    }
    if (thickness > 0.0) {
      factor = std::min(factor, (1.0 - kThinningLimit) * thickness / -step);
    } else {
      state.STEP[free] = 0.0;
    }
  }
  if (factor < 1.0) {
    for (std::size_t l = 0; l < nf; ++l) {
      state.STEP[l] *= factor;
    }
  }
}

double MISFIT(EngineState& state) {
  double phi = 0.0;
  for (int32_t j = 0; j < dataCount(state); ++j) {
    state.RES[j] = state.VOBS[j] - state.velocity[j];
    phi += state.RES[j] * state.RES[j];
  }
  return phi;
}

bool LDLSOL(EngineState& state) {
  return solveLdl(freeCount(state), SquareMatrixView{state.GNM, kMaxParameters}, state.GRAD,
                  state.STEP, state.pivotInverse);
}

bool JACOB(EngineState& state, std::span<double> freeParameters, const RecordWriter& console) {
  state.PRTSW = 0;
  if (!DISRAY(state, freeParameters, console)) {
    return false;
  }
  const int32_t m = dataCount(state);
  for (int32_t j = 0; j < m; ++j) {
    state.referenceCurve[j] = state.velocity[j];
  }
  const std::size_t nf = std::min(freeCount(state), freeParameters.size());
  for (std::size_t k = 0; k < nf; ++k) {
    freeParameters[k] += kSensitivityDelta;
    const bool evaluated = DISRAY(state, freeParameters, console);
    freeParameters[k] -= kSensitivityDelta;
    if (!evaluated) {
      return false;
    }
    for (int32_t j = 0; j < m; ++j) {
      state.SENS[k][j] = (state.velocity[j] - state.referenceCurve[j]) * kSensitivityScale;
    }
  }
  state.PRTSW = 1;
  return true;
}

InversionOutcome DLSINV(EngineState& state, std::span<double> freeParameters, double LAMBDA0,
                        const RecordWriter& console) {
  std::span<double> x = freeParameters.first(std::min(freeCount(state), freeParameters.size()));
  InversionOutcome out;
  console.write("DAMPING LEAST SQUARE METHOD");
  state.PRTSW = 2;
  state.LAMBDA = LAMBDA0;
  state.ISB = 1;
  for (;;) {
    if (!evaluate(state, x, console)) {
      out.ISTAT = kStatusBoundsUnreachable;
      out.PHIOUT = state.PHI;
      return out;
    }
    if (state.PHI < kMisfitFloor) {
      break;
    }
    const Next next = decide(state, x, console);
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
        out.PHIOUT = state.PHI;
        return out;
      }
      formNormalEquations(state);
      if (!LDLSOL(state)) {
        out.ISTAT = kStatusSingular;
        break;
      }
      keepThicknessesPositive(state, x);
      for (std::size_t k = 0; k < x.size(); ++k) {
        state.XOLD[k] = x[k];
        x[k] += state.STEP[k];
      }
      state.ISB = 2;
    } else {
      ++state.NTRY;
      for (std::size_t k = 0; k < x.size(); ++k) {
        x[k] = state.XOLD[k] + state.TFAC * state.STEP[k];
      }
      state.ISB = 3;
    }
  }
  out.PHIOUT = state.PHI;
  if (!JACOB(state, x, console)) {
    out.ISTAT = kStatusBoundsUnreachable;
  }
  return out;
}

}  // namespace swcore
