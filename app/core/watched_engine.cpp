// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/watched_engine.h"

#include <utility>

namespace dispfit {

WatchedEngine::WatchedEngine(ForwardEngine& inner, Watcher watcher)
    : inner_(inner), watcher_(std::move(watcher)) {}

bool WatchedEngine::run(ForwardCall& call) {
  if (stopped_) return false;
  const bool computed = inner_.run(call);
  if (watcher_ && watcher_() == RunVerdict::Stop) stopped_ = true;
  return computed && !stopped_;
}

}  // namespace dispfit
