// SPDX-License-Identifier: GPL-3.0-or-later
// A ForwardEngine for inversion tests: the curve is a function of the model
// chosen by the test, every call is recorded, and a chosen run can fail the
// way the engine binding fails (a report, then false). Calls are recorded
// with the curve the engine gave.
#pragma once

#include <functional>
#include <utility>
#include <vector>

#include "core/forward_engine.h"

namespace dispfit {

class CurveFunctionEngine : public ForwardEngine {
 public:
  // Writes the phase velocities of call.freqCount frequencies.
  using Curve = std::function<void(ForwardCall& call)>;

  explicit CurveFunctionEngine(Curve curveFunction) : curve(std::move(curveFunction)) {}

  bool run(ForwardCall& call) override {
    ++runs;
    if (runs == failAtRun || (failFromRun > 0 && runs >= failFromRun)) {
      ++failures;  // stands for the binding's message box
      calls.push_back(call);
      return false;
    }
    curve(call);
    calls.push_back(call);
    return true;
  }

  Curve curve;
  int runs = 0;
  int failures = 0;
  int failAtRun = 0;    // 1-based run that fails; 0 for none
  int failFromRun = 0;  // every run from this one on fails; 0 for none
  std::vector<ForwardCall> calls;
};

}  // namespace dispfit
