// SPDX-License-Identifier: GPL-3.0-or-later
// The posterior sampler on a thread of its own, and all that thread shares
// with the thread that started it: the cancel flag, and the summary handed
// over at the end. The callbacks run on the sampler's thread and must pass
// what they hear on by their own safe means (a queued call into the window).
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/background_run.h"
#include "sampling/model_prior.h"
#include "sampling/parallel_tempering.h"
#include "sampling/posterior_summary.h"
#include "sampling/search_starts.h"
#include "search/search_space.h"
#include "site/measured_curve.h"

namespace dispfit {

// Everything a run needs, copied to its thread.
struct PosteriorJob {
  SearchSpace space;  // the prior's ranges; with a range of counts, its most layers
  LayerCountRange counts;
  std::vector<MeasuredPoint> points;  // the curve fitted
  SamplerSettings settings;
  std::int64_t startModels = kDefaultStartModels;  // of the search for the starts, per layer count
  double constrainedDepth = 0.0;                   // m
  swcore::ForwardRuleSettings forward;             // how each model's curve is taken
};

// What the window hears: the sampler's own progress, whether the start
// search still runs, and the time left (the elapsed time's share of the
// steps to come; NaN until a step is done).
struct PosteriorRunProgress {
  SamplerProgress sampler;
  bool searchingStarts = true;
  double secondsLeft = 0.0;
};

class BackgroundPosterior {
 public:
  using ProgressCallback = std::function<void(const PosteriorRunProgress&)>;
  using FinishedCallback = std::function<void()>;

  // Starts the run at once.
  BackgroundPosterior(PosteriorJob job, ProgressCallback progress, FinishedCallback finished);
  // Cancels a run still going and waits for its thread; a run cancelled
  // this way is not summed up.
  ~BackgroundPosterior() = default;
  BackgroundPosterior(const BackgroundPosterior&) = delete;
  BackgroundPosterior& operator=(const BackgroundPosterior&) = delete;

  // From any thread: stops the sampler after its current round; the
  // samples kept so far are summed up, marked as not converged.
  void cancel() { run_.cancel(); }
  bool cancelRequested() const { return run_.cancelRequested(); }
  void wait() { run_.wait(); }

  // Once finished: the summary, moved out (none the second time), or none
  // with failure() saying why.
  std::optional<PosteriorSummary> takeSummary() { return run_.takeSummary(); }
  std::string failure() const { return run_.failure(); }

 private:
  BackgroundRun<PosteriorSummary> run_;
};

}  // namespace dispfit
