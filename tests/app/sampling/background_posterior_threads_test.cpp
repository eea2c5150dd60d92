// SPDX-License-Identifier: GPL-3.0-or-later
// The posterior on its own thread: its summary equals the same run on the
// calling thread's sampler, a cancel keeps what was sampled and marks it
// not converged, and a refused job ends cleanly with its reason. Run under
// ThreadSanitizer in CI.
#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>
#include <vector>

#include "sampling/background_posterior.h"
#include "sampling/search_starts.h"
#include "synthetic_curve.h"

namespace {

using namespace dispfit;

#ifdef DISPFIT_SANITIZED_BUILD
constexpr std::int64_t kSamples = 300;
#else
constexpr std::int64_t kSamples = 2100;  // a multiple of the 3 chains
#endif

PosteriorJob syntheticJob() {
  PosteriorJob job;
  job.space.layers.assign(3, LayerRanges{{80.0, 1000.0}, {1.0, 15.0}, 1.9, {}, {}});
  job.counts = {3, 3};
  job.points = dispfit_test::syntheticCurve();
  job.settings.samples = kSamples;
  job.settings.burnIn = kSamples / 2;
  job.settings.chains = 3;
  job.settings.heatedChains = 1;
  job.settings.threads = 2;
  job.startModels = 300;
  job.constrainedDepth = 50.0;
  return job;
}

class Listener {
 public:
  BackgroundPosterior::ProgressCallback progress(
      std::function<void(const PosteriorRunProgress&)> also = {}) {
    return [this, also](const PosteriorRunProgress& p) {
      {
        const std::lock_guard lock(mutex_);
        reports_.push_back(p);
      }
      if (also) also(p);
    };
  }
  BackgroundPosterior::FinishedCallback finished() {
    return [this] {
      const std::lock_guard lock(mutex_);
      done_ = true;
      ended_.notify_all();
    };
  }
  void waitForFinish() {
    std::unique_lock lock(mutex_);
    ended_.wait(lock, [this] { return done_; });
  }
  std::vector<PosteriorRunProgress> reports() {
    const std::lock_guard lock(mutex_);
    return reports_;
  }

 private:
  std::mutex mutex_;
  std::condition_variable ended_;
  std::vector<PosteriorRunProgress> reports_;
  bool done_ = false;
};

TEST(BackgroundPosterior, HandsOverTheSummaryOfTheSameRun) {
  const PosteriorJob job = syntheticJob();
  Listener listener;
  BackgroundPosterior run(job, listener.progress(), listener.finished());
  listener.waitForFinish();
  run.wait();
  std::optional<PosteriorSummary> summary = run.takeSummary();
  ASSERT_TRUE(summary) << run.failure();
  EXPECT_FALSE(run.takeSummary());  // moved out once

  // The same run on this thread.
  const CurveLikelihood likelihood(job.points);
  const ModelPrior prior(job.space, job.counts);
  const std::vector<SampledModel> starts =
      searchStarts(prior, job.points, 4, {job.startModels, job.settings.seed, 2, job.forward});
  const SamplerRun direct = runParallelTempering(
      {&prior, &likelihood}, ruleForward(job.points, job.forward), job.settings, starts, {});
  const std::unique_ptr<ForwardCurve> forward = ruleForward(job.points, job.forward)();
  const PosteriorSummary expected =
      summarizePosterior(direct, prior, likelihood, *forward, job.constrainedDepth);
  EXPECT_EQ(summary->samples, kSamples);
  ASSERT_EQ(summary->averages.size(), expected.averages.size());
  EXPECT_EQ(summary->averages.back().vs.p50, expected.averages.back().vs.p50);
  EXPECT_EQ(summary->profile.size(), expected.profile.size());

  const std::vector<PosteriorRunProgress> reports = listener.reports();
  ASSERT_GE(reports.size(), 2u);
  EXPECT_TRUE(reports.front().searchingStarts);
  EXPECT_FALSE(reports.back().searchingStarts);
  EXPECT_EQ(reports.back().sampler.kept, kSamples);
  EXPECT_EQ(reports.back().secondsLeft, 0.0);
}

TEST(BackgroundPosterior, CancelKeepsWhatWasSampledAndRefusalsSayWhy) {
  PosteriorJob job = syntheticJob();
  job.settings.samples = 1000000;
  job.settings.burnIn = 0;
  Listener listener;
  BackgroundPosterior* self = nullptr;
  std::mutex selfMutex;
  std::unique_ptr<BackgroundPosterior> run;
  {
    const std::lock_guard lock(selfMutex);
    run = std::make_unique<BackgroundPosterior>(
        job, listener.progress([&](const PosteriorRunProgress& p) {
          if (p.sampler.kept >= 60) {
            const std::lock_guard inner(selfMutex);
            if (self) self->cancel();
          }
        }),
        listener.finished());
    self = run.get();
  }
  listener.waitForFinish();
  run->wait();
  const std::optional<PosteriorSummary> summary = run->takeSummary();
  ASSERT_TRUE(summary) << run->failure();
  EXPECT_TRUE(summary->cancelled);
  EXPECT_FALSE(summary->convergence.converged);
  EXPECT_GE(summary->samples, 60);
  EXPECT_LT(summary->samples, 1000000);

  PosteriorJob refused = syntheticJob();
  refused.counts = {4, 2};
  Listener other;
  BackgroundPosterior bad(refused, other.progress(), other.finished());
  other.waitForFinish();
  bad.wait();
  EXPECT_FALSE(bad.takeSummary());
  EXPECT_NE(bad.failure().find("least layer count"), std::string::npos) << bad.failure();
}

}  // namespace
