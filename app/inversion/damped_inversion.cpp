// SPDX-License-Identifier: GPL-3.0-or-later
#include "inversion/damped_inversion.h"

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "core/single_precision.h"
#include "inversion/step_limit.h"
#include "inversion/truncated_step.h"

namespace dispfit {

namespace {

constexpr float kStartDamping = 0.5f;
constexpr double kDampingGrowth = 5.0;  // after a rejected trial
constexpr double kDampingShrink = 0.4;  // after an accepted iteration
constexpr int kTrialLimit = 5;          // rejected trials before the start is given up
constexpr float kSvdTolerance = 1.0e-7f;
constexpr float kSmallStep = 0.01f;  // step components counted as converged
constexpr float kDefaultUpper = 100000.0f;
constexpr float kDefaultLower = 0.001f;

}  // namespace

// The solve's work matrices, sized from the actual system and reused by
// every trial: A (rows x columns), U (rows x rows), V (columns x columns),
// and the kept sensitivity rows.
struct DampedInversion::WorkMatrices {
  WorkMatrices(int rowCount, int columnCount, int dataRows)
      : rows(rowCount),
        columns(columnCount),
        a(static_cast<size_t>(rowCount) * columnCount),
        u(static_cast<size_t>(rowCount) * rowCount),
        v(static_cast<size_t>(columnCount) * columnCount),
        kept(static_cast<size_t>(dataRows) * columnCount) {}

  int rows;
  int columns;
  std::vector<float> a;
  std::vector<float> u;
  std::vector<float> v;
  std::vector<float> kept;
  int rank = 0;
};

DampedInversion::DampedInversion(ForwardEngine& engine, int32_t groupCount,
                                 const int32_t* groupSizes, const float* frequencies,
                                 const float* observed, int32_t length, const float* params,
                                 bool logMode)
    : logMode_(logMode), model_(engine, logMode) {
  for (int32_t g = 0; g < groupCount; ++g) {
    if (groupSizes[g] < 0) fits_ = false;
    dataCount_ += std::max(groupSizes[g], int32_t{0});
  }
  paramCount_ = length >= 0 ? 2 * (length / 2) : 0;
  fits_ = fits_ && length >= 0 && dataCount_ <= kDataCapacity && paramCount_ <= kParamCapacity &&
          dataCount_ + paramCount_ <= kCapacity;
  if (!fits_) return;

  std::fill_n(weight_, dataCount_, 1.0f);
  // Until setBounds, the wide bounds that also stand in for a wrong count.
  std::fill_n(upperBound_, paramCount_, kDefaultUpper);
  std::fill_n(lowerBound_, paramCount_, kDefaultLower);
  model_.setData(groupCount, groupSizes, frequencies, observed);
  engineFailed_ = !model_.loadParams(length, params);
  model_.getParams(paramCount_, params_);
}

void DampedInversion::setControls(int32_t maxIterations, float misfitTolerance) {
  maxIterations_ = maxIterations;
  misfitTolerance_ = misfitTolerance;
}

void DampedInversion::setStepThreshold(float threshold) {
  stepThreshold_ = threshold;
}

void DampedInversion::setBounds(int32_t count, const float* upper, const float* lower) {
  if (count == paramCount_) {
    std::copy_n(upper, count, upperBound_);
    std::copy_n(lower, count, lowerBound_);
    return;
  }
  std::fill_n(upperBound_, paramCount_, kDefaultUpper);
  std::fill_n(lowerBound_, paramCount_, kDefaultLower);
}

void DampedInversion::setStallEndsFit(bool on) {
  stallEndsFit_ = on;
}

void DampedInversion::setMessagePump(MessagePump pump) {
  pump_ = std::move(pump);
}

void DampedInversion::setProgress(Progress progress) {
  progress_ = std::move(progress);
}

void DampedInversion::results(int32_t& iteration, float& finalMisfit) const {
  iteration = iteration_;
  finalMisfit = finalMisfit_;
}

void DampedInversion::currentParams(int32_t& length, float* params) const {
  model_.getParams(length, params);
}

bool DampedInversion::solve() {
  succeeded_ = false;
  if (!fits_) {
    fail(kTooLarge);
    return false;
  }
  if (engineFailed_) {
    fail(kEngineFailed);
    return false;
  }
  clampStart();
  if (!model_.loadParams(paramCount_, params_)) {
    fail(kEngineFailed);
    return false;
  }
  damping_ = kStartDamping;
  iteration_ = 1;
  float misfit = model_.misfit(weight_);
  reportProgress(0, misfit);
  if (!(misfit > misfitTolerance_)) {
    finalMisfit_ = misfit;
    succeeded_ = true;
    stopReason_ = StopReason::Converged;
    return true;
  }
  WorkMatrices work(dataCount_ + paramCount_, paramCount_, dataCount_);
  succeeded_ = solveIterations(work, misfit);
  return succeeded_;
}

void DampedInversion::clampStart() {
  for (int32_t i = 0; i < paramCount_; ++i) {
    if (params_[i] < lowerBound_[i] || params_[i] > upperBound_[i]) {
      params_[i] = stored((static_cast<double>(upperBound_[i]) + lowerBound_[i]) * 0.5);
    }
  }
}

bool DampedInversion::solveIterations(WorkMatrices& work, float& misfit) {
  const int columns = work.columns;
  while (iteration_ <= maxIterations_) {
    pumpMessages();
    model_.weightedResiduals(residual_, weight_);
    if (!model_.computeSensitivity(weight_)) {
      fail(kEngineFailed);
      return false;
    }
    for (int i = 0; i < dataCount_; ++i) {
      std::copy_n(model_.sensitivity[i], columns, system_[i]);
      std::copy_n(system_[i], columns,
                  work.kept.begin() + static_cast<std::ptrdiff_t>(i) * columns);
    }

    float trialMisfit = 0.0f;
    const TrialOutcome outcome = runTrials(work, misfit, trialMisfit);
    if (outcome == TrialOutcome::Failed) return false;
    if (outcome == TrialOutcome::Stalled) {
      // The model the last accepted iteration left is the result.
      --iteration_;
      finalMisfit_ = misfit;
      stopReason_ = StopReason::Stalled;
      return true;
    }

    model_.getParams(paramCount_, params_);
    misfit = trialMisfit;
    reportProgress(iteration_, misfit);
    const auto small =
        std::count_if(step_, step_ + columns, [](float d) { return std::fabs(d) <= kSmallStep; });
    if (small == work.rank || misfit < misfitTolerance_) {
      finalMisfit_ = misfit;
      stopReason_ = misfit < misfitTolerance_ ? StopReason::Converged : StopReason::SmallStep;
      return true;
    }
    ++iteration_;
    damping_ = stored(damping_ * kDampingShrink);
    if (!model_.loadParams(paramCount_, params_)) {
      fail(kEngineFailed);
      return false;
    }
  }
  finalMisfit_ = misfit;
  messages_ << kIterationLimit;
  stopReason_ = StopReason::IterationLimit;
  return true;
}

DampedInversion::TrialOutcome DampedInversion::runTrials(WorkMatrices& work, float currentMisfit,
                                                         float& trialMisfit) {
  const int rows = work.rows;
  const int columns = work.columns;
  for (int trial = 1;; ++trial) {
    setDampingRows(rows, columns);
    for (int i = 0; i < rows; ++i) {
      std::copy_n(system_[i], columns, work.a.begin() + static_cast<std::ptrdiff_t>(i) * columns);
    }
    pumpMessages();
    if (!decompose(work)) return TrialOutcome::Failed;
    for (int i = 0; i < rows; ++i) {
      std::copy_n(work.a.begin() + static_cast<std::ptrdiff_t>(i) * columns, columns, system_[i]);
    }
    work.rank = countRank(work.a.data(), rows, columns);
    if (work.rank == 0) {
      fail(kRankZero);
      return TrialOutcome::Failed;
    }
    truncatedStep(work.a.data(), work.u.data(), work.v.data(), rows, columns, work.rank, residual_,
                  step_);
    limitStep(step_, params_, upperBound_, lowerBound_, columns, stepThreshold_);

    if (!model_.applyStep(step_)) {
      fail(kEngineFailed);
      return TrialOutcome::Failed;
    }
    trialMisfit = model_.misfit(weight_);
    pumpMessages();

    if (trial > kTrialLimit) {
      if (stallEndsFit_ && iteration_ > 1) {
        // Back to the model of the last accepted iteration.
        if (!model_.loadParams(paramCount_, params_)) {
          fail(kEngineFailed);
          return TrialOutcome::Failed;
        }
        return TrialOutcome::Stalled;
      }
      finalMisfit_ = trialMisfit;
      fail(kBadStart);
      return TrialOutcome::Failed;
    }
    if (!(trialMisfit > currentMisfit)) return TrialOutcome::Accepted;

    if (!model_.loadParams(paramCount_, params_)) {
      fail(kEngineFailed);
      return TrialOutcome::Failed;
    }
    damping_ = stored(damping_ * kDampingGrowth);
    for (int i = 0; i < dataCount_; ++i) {
      std::copy_n(work.kept.begin() + static_cast<std::ptrdiff_t>(i) * columns, columns,
                  system_[i]);
    }
  }
}

bool DampedInversion::decompose(WorkMatrices& work) {
  const int result =
      solver_.svdDecompose(work.a.data(), work.rows, work.columns, work.u.data(), work.v.data(),
                           kSvdTolerance, std::max(work.rows, work.columns) + 1);
  if (result < 0) {
    fail(kSvdFailed);
    return false;
  }
  return true;
}

void DampedInversion::setDampingRows(int rows, int columns) {
  for (int row = dataCount_; row < rows; ++row) {
    std::fill_n(system_[row], columns, 0.0f);
    system_[row][row - dataCount_] = damping_;
    residual_[row] = 0.0f;
  }
}

void DampedInversion::fail(const char* message) {
  succeeded_ = false;
  stopReason_ = StopReason::Failed;
  messages_ << message;
}

void DampedInversion::pumpMessages() const {
  if (pump_) pump_();
}

void DampedInversion::reportProgress(int32_t iteration, float misfit) const {
  if (progress_) progress_(iteration, misfit);
}

}  // namespace dispfit
