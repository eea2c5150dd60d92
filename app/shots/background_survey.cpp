// SPDX-License-Identifier: GPL-3.0-or-later
#include "shots/background_survey.h"

#include <exception>
#include <utility>

namespace dispfit {

BackgroundSurvey::BackgroundSurvey(SurveyJob job, FinishedCallback finished)
    : finished_(std::move(finished)) {
  thread_ = std::thread([this, job = std::move(job)] { run(job); });
}

BackgroundSurvey::~BackgroundSurvey() {
  cancel();
  wait();
}

void BackgroundSurvey::cancel() {
  cancel_.store(true);
}

void BackgroundSurvey::wait() {
  if (thread_.joinable()) thread_.join();
}

std::optional<SurveyOutcome> BackgroundSurvey::takeOutcome() {
  const std::lock_guard lock(mutex_);
  std::optional<SurveyOutcome> taken = std::move(outcome_);
  outcome_.reset();
  return taken;
}

void BackgroundSurvey::run(const SurveyJob& job) {
  SurveyOutcome outcome;
  try {
    if (placeRecords(*job.records, job.settings, outcome.placed, outcome.error)) {
      outcome.survey = analyseSurvey(outcome.placed.gathers, outcome.placed.groups,
                                     job.settings.request, job.threads, {}, &cancel_);
    }
  } catch (const std::exception& error) {
    outcome.error = error.what();
  }
  if (cancel_.load()) return;
  {
    const std::lock_guard lock(mutex_);
    outcome_ = std::move(outcome);
  }
  if (finished_) finished_();
}

}  // namespace dispfit
