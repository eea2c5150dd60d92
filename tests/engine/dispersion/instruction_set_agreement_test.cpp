// SPDX-License-Identifier: GPL-3.0-or-later
// The curve solver on every instruction set this processor has, against the
// baseline code: the same modes present at every frequency, phase
// velocities within twice the search's tolerance (each set's zero lies
// within 1e-5 m/s of the same zero), group velocities within the error the
// zeros' refinement leaves in them. The models are the hard ones for a
// search: a stiff crust over buried soft layers, twenty layers with a slow
// one among them, and Vp / Vs up to 8 (saturated soft soil).
#include <gtest/gtest.h>

#include <cmath>
#include <cstddef>
#include <vector>

#include "dispersion/dispersion_curve.h"
#include "simd/instruction_set.h"

namespace {

using swcore::CurveKind;
using swcore::CurvePoint;
using swcore::CurveStatus;
using swcore::DispersionCurveSolver;
using swcore::InstructionSet;
using swcore::ModelLayer;
using swcore::ModeRequest;
using swcore::WaveType;

// 2e-5 m/s: both zeros lie within the solver's 1e-5 m/s of the same zero.
constexpr double kPhaseAgreement = 2e-5;

// 1e-7 of U: each set refines the zeros of the group velocity's differences
// to 1e-14 of c, which leaves about 1e-9 of the slope in each difference;
// the differences themselves are formed alike on every set.
constexpr double kGroupAgreement = 1e-7;

struct NamedModel {
  const char* name;
  std::vector<ModelLayer> layers;
};

std::vector<NamedModel> models() {
  std::vector<NamedModel> out;
  out.push_back(
      {"stiff crust over buried soft layers",
       {{6.0, 353.0, 1900.0}, {4.5, 150.0, 1800.0}, {2.8, 104.0, 1700.0}, {1.0, 450.0, 2000.0}}});
  out.push_back({"stiff crust over one soft layer",
                 {{4.0, 400.0, 1900.0}, {12.0, 180.0, 1800.0}, {1.0, 700.0, 2000.0}}});
  out.push_back({"saturated soft soil, Vp / Vs 5 to 8",
                 {{8.0, 180.0, 1850.0, 1450.0},
                  {12.0, 260.0, 1900.0, 1550.0},
                  {1.0, 600.0, 2050.0, 3000.0}}});
  NamedModel twenty{"twenty layers with a slow one", {}};
  for (int i = 0; i < 19; ++i) {
    twenty.layers.push_back({2.0, 120.0 + 30.0 * i, 1700.0 + 20.0 * i});
  }
  twenty.layers[6].shearVelocity = 150.0;
  twenty.layers.push_back({1.0, 700.0, 2200.0});
  out.push_back(twenty);
  return out;
}

std::vector<double> frequencies() {
  std::vector<double> hz;
  for (int f = 150; f >= 5; f -= 5) {
    hz.push_back(f);
  }
  return hz;
}

std::vector<CurvePoint> modesOn(InstructionSet set, const std::vector<ModelLayer>& model,
                                const ModeRequest& request) {
  const std::vector<double> hz = frequencies();
  DispersionCurveSolver solver;
  solver.setInstructionSet(set);
  EXPECT_EQ(solver.instructionSet(), set);
  std::vector<CurvePoint> out(hz.size() * static_cast<std::size_t>(request.modes));
  EXPECT_EQ(solver.computeModes(model, hz, request, out), CurveStatus::ok);
  return out;
}

std::vector<CurvePoint> fundamentalOn(InstructionSet set, const std::vector<ModelLayer>& model) {
  const std::vector<double> hz = frequencies();
  DispersionCurveSolver solver;
  solver.setInstructionSet(set);
  std::vector<CurvePoint> out(hz.size());
  EXPECT_EQ(solver.compute(model, hz, CurveKind::phaseAndGroup, out), CurveStatus::ok);
  return out;
}

// Counts the points compared, for the check that the table is not empty.
int expectAgreement(const std::vector<CurvePoint>& reference, const std::vector<CurvePoint>& other,
                    int modes) {
  int compared = 0;
  for (std::size_t i = 0; i < reference.size(); ++i) {
    SCOPED_TRACE(::testing::Message() << "frequency " << i / static_cast<std::size_t>(modes)
                                      << ", mode " << i % static_cast<std::size_t>(modes));
    const CurvePoint& a = reference[i];
    const CurvePoint& b = other[i];
    EXPECT_EQ(a.hasRoot, b.hasRoot);
    if (!a.hasRoot || !b.hasRoot) {
      continue;
    }
    EXPECT_NEAR(b.phaseVelocity, a.phaseVelocity, kPhaseAgreement);
    EXPECT_EQ(std::isnan(a.groupVelocity), std::isnan(b.groupVelocity));
    if (!std::isnan(a.groupVelocity)) {
      EXPECT_NEAR(b.groupVelocity, a.groupVelocity, kGroupAgreement * a.groupVelocity);
    }
    ++compared;
  }
  return compared;
}

TEST(InstructionSetAgreement, EverySetGivesTheBaselineCurvesWithinTheTolerance) {
  int setsRun = 0;
  for (const InstructionSet set : {InstructionSet::avx2, InstructionSet::avx512}) {
    if (!swcore::processorHas(set)) {
      continue;
    }
    ++setsRun;
    for (const NamedModel& model : models()) {
      for (const WaveType wave : {WaveType::rayleigh, WaveType::love}) {
        SCOPED_TRACE(::testing::Message()
                     << swcore::nameOf(set) << ", " << model.name << ", "
                     << (wave == WaveType::love ? "Love" : "Rayleigh") << " modes 0 to 2");
        const ModeRequest request{wave, 3, CurveKind::phaseAndGroup};
        const std::vector<CurvePoint> reference =
            modesOn(InstructionSet::baseline, model.layers, request);
        EXPECT_GT(expectAgreement(reference, modesOn(set, model.layers, request), 3), 30);
      }
      SCOPED_TRACE(::testing::Message() << swcore::nameOf(set) << ", " << model.name
                                        << ", fundamental mode of compute()");
      EXPECT_GT(expectAgreement(fundamentalOn(InstructionSet::baseline, model.layers),
                                fundamentalOn(set, model.layers), 1),
                20);
    }
  }
  if (setsRun == 0) {
    GTEST_SKIP() << "this processor has neither AVX2 with FMA nor AVX-512";
  }
}

}  // namespace
