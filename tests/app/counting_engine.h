// SPDX-License-Identifier: GPL-3.0-or-later
// Counts the runs of another ForwardEngine and the time spent in them.
#pragma once

#include <chrono>

#include "core/forward_engine.h"

namespace dispfit {

class CountingEngine : public ForwardEngine {
 public:
  explicit CountingEngine(ForwardEngine& inner) : inner_(inner) {}

  bool run(ForwardCall& call) override {
    const auto start = std::chrono::steady_clock::now();
    const bool ok = inner_.run(call);
    seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    ++runs;
    return ok;
  }

  int runs = 0;
  double seconds = 0.0;

 private:
  ForwardEngine& inner_;
};

}  // namespace dispfit
