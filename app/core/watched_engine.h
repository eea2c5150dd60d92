// SPDX-License-Identifier: GPL-3.0-or-later
// A ForwardEngine that passes every run on to another and, after each, lets a
// watcher look in: the window processes its pending events there, so it
// repaints and can take a cancel click, and the watcher's answer can stop
// whatever drives the engine.
#pragma once

#include <functional>

#include "core/forward_engine.h"

namespace dispfit {

// What the watcher wants after a run.
enum class RunVerdict { Continue, Stop };

class WatchedEngine : public ForwardEngine {
 public:
  // Called after every run of the inner engine, successful or not.
  using Watcher = std::function<RunVerdict()>;

  // `inner` must outlive this engine; an empty watcher never stops it.
  WatchedEngine(ForwardEngine& inner, Watcher watcher);

  // Runs the inner engine, then the watcher. Once the watcher has answered
  // Stop, that run and every later one return false without a report, and
  // later runs leave the inner engine and `call` alone: whoever drives the
  // engine ends as after a failed run, and asks stopped() why.
  bool run(ForwardCall& call) override;

  // True once the watcher has answered Stop.
  bool stopped() const { return stopped_; }

 private:
  ForwardEngine& inner_;
  Watcher watcher_;
  bool stopped_ = false;
};

}  // namespace dispfit
