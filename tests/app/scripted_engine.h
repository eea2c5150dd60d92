// SPDX-License-Identifier: GPL-3.0-or-later
// A ForwardEngine for tests: records every call and answers with a curve set
// by the test, a failure, or an exception.
#pragma once

#include <stdexcept>
#include <vector>

#include "core/forward_engine.h"

namespace dispfit {

class ScriptedEngine : public ForwardEngine {
 public:
  enum class Answer { Curve, Fail, Throw };

  bool run(ForwardCall& call) override {
    calls.push_back(call);
    if (answer == Answer::Throw) throw std::runtime_error("scripted engine error");
    if (answer == Answer::Fail) {
      // Scribble over the output as a half-finished call would.
      for (float& v : call.phaseVelocity) v = -1.0f;
      return false;
    }
    for (int j = 0; j < call.freqCount && j < static_cast<int>(curve.size()); ++j) {
      call.phaseVelocity[j] = curve[static_cast<std::size_t>(j)];
    }
    return true;
  }

  Answer answer = Answer::Curve;
  std::vector<float> curve;
  std::vector<ForwardCall> calls;
};

}  // namespace dispfit
