// SPDX-License-Identifier: GPL-3.0-or-later
// Bounded damped least-squares inversion of a dispersion curve for the
// shear-wave velocities and thicknesses of a layered model. Each step solves
// [J; lambda I] d = [r; 0] through the singular value decomposition, drops
// singular values below 0.00001 and limits the step at the bounds.
#pragma once

#include <cstdint>
#include <functional>
#include <sstream>
#include <string>

#include "core/forward_engine.h"
#include "core/forward_model.h"
#include "core/text_translation.h"
#include "inversion/svd.h"

namespace dispfit {

// Why a solve ended.
enum class StopReason {
  NotRun,          // solve() has not run
  Converged,       // the misfit fell below the tolerance (also at the start)
  SmallStep,       // every component of the last step was too small to go on
  IterationLimit,  // the iteration limit was reached; the last model is the result
  Stalled,         // no damped step lowered the misfit further (with setStallEndsFit)
  Failed,          // a failure: the message text says which
};

class DampedInversion {
 public:
  static constexpr int kCapacity = 100;  // data + parameters, and parameter-vector entries
  static constexpr int kDataCapacity = ForwardModel::kFreqCapacity;
  static constexpr int kParamCapacity = ForwardModel::kParamCapacity;

  // Lets the window process pending messages; called at the top of every
  // outer iteration, before every decomposition and after every trial.
  using MessagePump = std::function<void()>;
  // Follows the fit as it goes: the starting model's misfit as iteration 0,
  // then the number and the misfit (m/s, unweighted, sqrt(sum r^2 / 2M) over
  // the M data, as results() gives it) of every accepted iteration. Watching
  // changes nothing in the solve.
  using Progress = std::function<void(int32_t iteration, float misfit)>;

  static constexpr const char* kSvdFailed = DISPFIT_TEXT("Messages", "奇异值分解错误.");
  static constexpr const char* kRankZero =
      DISPFIT_TEXT("Messages", "灵敏度矩阵秩为零,可能是模型不正确.") "\n";
  static constexpr const char* kBadStart = "Initial model not appropriate.";
  static constexpr const char* kIterationLimit = DISPFIT_TEXT("Messages", "迭代次数超限.") "\n";
  // A forward run failed (its own box has been shown): the solve stops there.
  static constexpr const char* kEngineFailed =
      DISPFIT_TEXT("Messages", "正演计算失败，反演已中止.") "\n";
  // More data or parameters than the inversion holds.
  static constexpr const char* kTooLarge =
      DISPFIT_TEXT("Messages", "数据或模型参数过多，无法反演.") "\n";

  // Takes the data (groupCount groups whose sizes add up to the data count;
  // only the first group reaches the model) and the starting parameter
  // vector of length entries (velocities, then thicknesses) followed by the
  // densities, and runs the engine once for it.
  DampedInversion(ForwardEngine& engine, int32_t groupCount, const int32_t* groupSizes,
                  const float* frequencies, const float* observed, int32_t length,
                  const float* params, bool logMode);

  void setControls(int32_t maxIterations, float misfitTolerance);
  void setStepThreshold(float threshold);
  // Takes the bounds when count equals the parameter count; otherwise every
  // parameter gets the bounds 0.001 .. 100000.0.
  void setBounds(int32_t count, const float* upper, const float* lower);
  void setMessagePump(MessagePump pump);
  // When on, a solve that has accepted at least one iteration and then finds
  // no damped step that lowers the misfit ends there with its current model
  // (StopReason::Stalled) instead of failing. Off by default: the window's
  // inversion fails then with kBadStart.
  void setStallEndsFit(bool on);
  void setProgress(Progress progress);

  // Runs the iteration; returns the outcome also given by succeeded().
  bool solve();

  bool succeeded() const { return succeeded_; }
  StopReason stopReason() const { return stopReason_; }
  void results(int32_t& iteration, float& finalMisfit) const;
  // The model's parameter vector: length = 2 x layers, followed by the
  // densities (the buffer must hold 3 x layers entries).
  void currentParams(int32_t& length, float* params) const;
  std::string messageText() const { return messages_.str(); }

  int32_t paramCount() const { return paramCount_; }
  int32_t dataCount() const { return dataCount_; }
  // The damping factor of the last trial.
  float dampingFactor() const { return damping_; }
  const float* upperBounds() const { return upperBound_; }
  const float* lowerBounds() const { return lowerBound_; }

 private:
  struct WorkMatrices;
  enum class TrialOutcome { Accepted, Stalled, Failed };

  void clampStart();
  bool solveIterations(WorkMatrices& work, float& misfit);
  TrialOutcome runTrials(WorkMatrices& work, float currentMisfit, float& trialMisfit);
  bool decompose(WorkMatrices& work);
  void setDampingRows(int rows, int columns);
  void fail(const char* message);
  void pumpMessages() const;
  void reportProgress(int32_t iteration, float misfit) const;

  bool logMode_ = false;
  ForwardModel model_;
  int32_t maxIterations_ = 20;
  float misfitTolerance_ = 0.0001f;
  bool succeeded_ = false;
  int32_t dataCount_ = 0;
  int32_t paramCount_ = 0;
  float params_[kCapacity] = {};
  float upperBound_[kCapacity] = {};
  float lowerBound_[kCapacity] = {};
  float residual_[kCapacity] = {};
  float system_[kCapacity][kCapacity] = {};
  float weight_[kCapacity] = {};
  float finalMisfit_ = 0.0f;
  int32_t iteration_ = 0;
  float stepThreshold_ = 0.001f;
  std::ostringstream messages_;
  SvdSolver solver_;

  float step_[kCapacity] = {};
  float damping_ = 0.0f;
  StopReason stopReason_ = StopReason::NotRun;
  bool stallEndsFit_ = false;
  bool fits_ = true;           // data and parameters within the capacities
  bool engineFailed_ = false;  // a forward run of this inversion failed
  MessagePump pump_;
  Progress progress_;
};

}  // namespace dispfit
