// SPDX-License-Identifier: GPL-3.0-or-later
// The one updating line a long search shows on a terminal: models done of
// the total, the best misfit, the accepted count and the time left.
#pragma once

#include <chrono>
#include <ostream>
#include <string>

#include "sampling/parallel_tempering.h"
#include "search/global_search.h"

namespace dispfit {

// "12000 of 50000 models, best normalised misfit 0.53, 812 accepted, 3 s
// left"; the time left is the elapsed time's share of the models to come.
std::string progressText(const SearchProgress& progress, MisfitKind kind, double elapsedSeconds);

// Rewrites its line in place ("\r") at most ten times a second, and ends it
// with a line break once done. Writes nothing when not `shown` (standard
// error is not a terminal).
class ProgressLine {
 public:
  ProgressLine(std::ostream& out, bool shown, MisfitKind kind);

  void update(const SearchProgress& progress);
  void finish();

 private:
  using Clock = std::chrono::steady_clock;
  std::ostream& out_;
  bool shown_;
  MisfitKind kind_;
  Clock::time_point start_;
  Clock::time_point lastShown_;
  std::size_t width_ = 0;  // of the line last written, to blank its rest
  bool written_ = false;
};

// "burn-in 1200 of 6250 steps, 4 s left" while burning in, then "36000 of
// 100000 samples, R-hat 1.02, 12 s left": the steps of each chain done of
// its total, the time left their share of the elapsed time.
std::string posteriorProgressText(const SamplerProgress& progress, double elapsedSeconds);

// The sampler's line, shown as ProgressLine shows the search's.
class PosteriorLine {
 public:
  PosteriorLine(std::ostream& out, bool shown);

  void update(const SamplerProgress& progress);
  void finish();

 private:
  using Clock = std::chrono::steady_clock;
  std::ostream& out_;
  bool shown_;
  Clock::time_point start_;
  Clock::time_point lastShown_;
  std::size_t width_ = 0;
  bool written_ = false;
};

}  // namespace dispfit
