// SPDX-License-Identifier: GPL-3.0-or-later
// What a search asks of the thing that scores its models: one scorer per
// thread, each with its own working data.
#pragma once

#include <functional>
#include <memory>

#include "search/search_space.h"

namespace dispfit {

class ModelScorer {
 public:
  virtual ~ModelScorer() = default;
  // The model's misfit; +infinity rejects it.
  virtual double misfit(const TrialModel& model) = 0;
};

// Makes one scorer for each thread of a search.
using ScorerFactory = std::function<std::unique_ptr<ModelScorer>()>;

}  // namespace dispfit
