// SPDX-License-Identifier: GPL-3.0-or-later
#include "search/global_search.h"

#include <algorithm>
#include <barrier>
#include <cmath>
#include <limits>
#include <optional>
#include <thread>

namespace dispfit {

namespace {

constexpr double kNoMisfit = std::numeric_limits<double>::infinity();

// Uniform draws go to the threads in runs of this many: enough to keep the
// hand-out rare against the forward computations, few enough that two
// threads finish the first iteration together.
constexpr std::size_t kUniformRun = 8;

// Models [first, first + count) of an iteration: uniform draws, or a walk in
// the cell of rank `cell` of neighbourhood set `set`.
struct Task {
  std::size_t first = 0;  // within the iteration
  std::size_t count = 0;
  std::optional<std::size_t> cell;
  std::size_t set = 0;
};

// The models of an iteration that one neighbourhood set drew, or takes in.
struct Block {
  std::size_t first = 0;  // within the iteration
  std::size_t count = 0;
};

// What every thread of one iteration shares. Each task writes only its own
// models' slots, and each model's score only its own misfit, so the threads
// share nothing else they write but the counters and `stopped`.
struct IterationWork {
  std::vector<Task> tasks;
  std::int64_t firstIndex = 0;  // ensemble index of the iteration's first model
  std::uint64_t iteration = 0;
  std::vector<double> coordinates;
  std::vector<double> misfits;
  std::atomic<std::size_t> nextTask{0};
  std::atomic<std::size_t> nextModel{0};
  std::atomic<bool> stopped{false};
};

// One thread's own means: its scorer, walk arrays and model.
struct Worker {
  std::unique_ptr<ModelScorer> scorer;
  WalkScratch scratch;
  TrialModel model;
};

std::vector<Task> uniformTasks(std::size_t count) {
  std::vector<Task> tasks;
  for (std::size_t first = 0; first < count; first += kUniformRun) {
    tasks.push_back({first, std::min(kUniformRun, count - first), std::nullopt, 0});
  }
  return tasks;
}

// The walks of one set's block: its models shared out among its best cells.
void addWalks(std::size_t set, const Block& block, std::size_t cells,
              const SearchSettings& settings, std::vector<Task>& tasks) {
  const std::size_t walked =
      std::min(cells, static_cast<std::size_t>(std::max<std::int64_t>(settings.resampledCells, 1)));
  // A set dealt no first models (more starts than uniform draws) has no
  // cell to walk: its models are drawn uniformly instead.
  if (walked == 0) {
    if (block.count > 0) tasks.push_back({block.first, block.count, std::nullopt, set});
    return;
  }
  std::size_t first = block.first;
  for (std::size_t cell = 0; cell < walked; ++cell) {
    const std::size_t share = block.count / walked + (cell < block.count % walked ? 1 : 0);
    if (share > 0) tasks.push_back({first, share, cell, set});
    first += share;
  }
}

// `count` models in `parts` runs as equal as can be, in order.
std::vector<Block> dealt(std::size_t count, std::size_t parts) {
  std::vector<Block> blocks;
  std::size_t first = 0;
  for (std::size_t r = 0; r < parts; ++r) {
    const std::size_t share = count / parts + (r < count % parts ? 1 : 0);
    blocks.push_back({first, share});
    first += share;
  }
  return blocks;
}

// The first half of an iteration: the models' coordinates, task by task
// (a walk's models follow one another, so a walk is one task).
void drawModels(IterationWork& work, const std::vector<NeighbourhoodSampler>& sets,
                const ParameterMap& map, std::uint64_t seed, Worker& worker) {
  const std::size_t d = map.dimension();
  for (;;) {
    const std::size_t t = work.nextTask.fetch_add(1, std::memory_order_relaxed);
    if (t >= work.tasks.size()) return;
    const Task& task = work.tasks[t];
    const std::span<double> out =
        std::span<double>(work.coordinates).subspan(task.first * d, task.count * d);
    const std::int64_t firstIndex = work.firstIndex + static_cast<std::int64_t>(task.first);
    const NeighbourhoodSampler& sampler = sets[task.set];
    if (task.cell) {
      sampler.walk(*task.cell, seed, work.iteration, firstIndex, out, worker.scratch);
    } else {
      for (std::size_t s = 0; s < task.count; ++s) {
        sampler.uniformDraw(seed, firstIndex + static_cast<std::int64_t>(s), out.subspan(s * d, d));
      }
    }
  }
}

// The second half: every model scored on its own, so that the forward
// calculations, the bulk of the work, spread over every thread even where
// an iteration has fewer walks than threads.
void scoreModels(IterationWork& work, const ParameterMap& map, const std::atomic<bool>* cancel,
                 Worker& worker) {
  const std::size_t d = map.dimension();
  const std::span<const double> all(work.coordinates);
  for (;;) {
    const std::size_t m = work.nextModel.fetch_add(1, std::memory_order_relaxed);
    if (m >= work.misfits.size()) return;
    if (cancel != nullptr && cancel->load(std::memory_order_relaxed)) {
      work.stopped.store(true, std::memory_order_relaxed);
      return;
    }
    map.model(all.subspan(m * d, d), worker.model);
    work.misfits[m] = worker.scorer->misfit(worker.model);
  }
}

// The accepted count as models arrive: the misfits within the limit, kept
// so that a fall of the best (which lowers a limit in m/s) drops the ones
// that left it. Each misfit enters and leaves once.
class AcceptedCount {
 public:
  AcceptedCount(MisfitKind kind, const AcceptanceRule& rule) : kind_(kind), rule_(rule) {}

  void add(std::span<const double> misfits) {
    const double before = best_;
    for (const double m : misfits) best_ = std::min(best_, m);
    const double limit = rule_.limit(kind_, best_);
    if (best_ != before) {
      std::erase_if(within_, [limit](double m) { return m > limit; });
    }
    for (const double m : misfits) {
      if (std::isfinite(m) && m <= limit) within_.push_back(m);
    }
  }
  double best() const { return best_; }
  std::int64_t count() const { return static_cast<std::int64_t>(within_.size()); }

 private:
  MisfitKind kind_;
  AcceptanceRule rule_;
  double best_ = kNoMisfit;
  std::vector<double> within_;
};

}  // namespace

std::size_t SearchEnsemble::best() const {
  std::size_t best = size();
  for (std::size_t i = 0; i < size(); ++i) {
    if (std::isfinite(misfits[i]) && (best == size() || misfits[i] < misfits[best])) best = i;
  }
  return best;
}

double AcceptanceRule::limit(MisfitKind kind, double best) const {
  // Normalised: data noised at their sigma give a best misfit near 1, so a
  // fixed threshold of 1 accepted nothing whenever the best landed just
  // above it; the factor over the best keeps the best's neighbours then.
  return kind == MisfitKind::Normalised ? std::max(threshold, factor * best) : factor * best;
}

std::vector<bool> acceptedModels(const SearchEnsemble& ensemble, const AcceptanceRule& rule) {
  const std::size_t best = ensemble.best();
  std::vector<bool> accepted(ensemble.size(), false);
  if (best == ensemble.size()) return accepted;
  const double limit = rule.limit(ensemble.kind, ensemble.misfits[best]);
  for (std::size_t i = 0; i < ensemble.size(); ++i) {
    accepted[i] = std::isfinite(ensemble.misfits[i]) && ensemble.misfits[i] <= limit;
  }
  return accepted;
}

SearchEnsemble runGlobalSearch(const SearchSpace& space, const CurveMisfit& curve,
                               const SearchSettings& settings, const AcceptanceRule& rule,
                               const ProgressCallback& progress, const std::atomic<bool>* cancel) {
  const ScorerFactory scorers = [&curve] { return std::make_unique<MisfitEvaluator>(curve); };
  return runGlobalSearch(space, curve.kind(), scorers, settings, rule, progress, cancel);
}

SearchEnsemble runGlobalSearch(const SearchSpace& space, MisfitKind kind,
                               const ScorerFactory& scorers, const SearchSettings& settings,
                               const AcceptanceRule& rule, const ProgressCallback& progress,
                               const std::atomic<bool>* cancel) {
  const ParameterMap map(space);
  const std::size_t d = map.dimension();
  const auto starts = static_cast<std::size_t>(std::max<std::int64_t>(settings.starts, 1));
  std::vector<NeighbourhoodSampler> sets(starts,
                                         NeighbourhoodSampler(map, settings.neighbourhoodBound));
  const auto threads = static_cast<std::size_t>(std::max(settings.threads, 1));
  std::vector<Worker> workers;
  workers.reserve(threads);
  for (std::size_t w = 0; w < threads; ++w) workers.push_back({scorers(), {}, {}});

  SearchEnsemble ensemble;
  ensemble.dimension = d;
  ensemble.kind = kind;
  AcceptedCount accepted(kind, rule);
  const auto budget = static_cast<std::size_t>(std::max<std::int64_t>(settings.models, 0));
  const auto mergeAt = static_cast<std::size_t>(std::clamp(settings.startsShare, 0.0, 1.0) *
                                                static_cast<double>(budget));
  const auto perSet =
      static_cast<std::size_t>(std::max<std::int64_t>(settings.modelsPerIteration, 1));
  IterationWork work;
  std::vector<Block> blocks;
  // The threads live for the whole search and meet at the barrier: before
  // an iteration's draws, between its draws and its scores, and after them,
  // while the calling thread alone prepares the next iteration and takes
  // the last one in. Starting threads anew each iteration cost more than an
  // iteration's work on many cores.
  std::barrier sync(static_cast<std::ptrdiff_t>(threads));
  bool finished = false;  // written by the calling thread between the barriers
  const auto iterationHalves = [&](Worker& worker) {
    drawModels(work, sets, map, settings.seed, worker);
    sync.arrive_and_wait();
    scoreModels(work, map, cancel, worker);
    sync.arrive_and_wait();
  };
  std::vector<std::jthread> pool;
  for (std::size_t w = 1; w < threads; ++w) {
    pool.emplace_back([&, w] {
      for (;;) {
        sync.arrive_and_wait();
        if (finished) return;
        iterationHalves(workers[w]);
      }
    });
  }
  for (std::uint64_t iteration = 0; ensemble.size() < budget; ++iteration) {
    if (cancel != nullptr && cancel->load(std::memory_order_relaxed)) {
      ensemble.cancelled = true;
      break;
    }
    if (sets.size() > 1 && ensemble.size() >= mergeAt && iteration > 0) {
      for (std::size_t r = 1; r < sets.size(); ++r) sets.front().absorb(sets[r]);
      sets.erase(sets.begin() + 1, sets.end());
    }
    work.tasks.clear();
    if (iteration == 0) {
      const std::size_t count = std::min(
          static_cast<std::size_t>(std::max<std::int64_t>(settings.initialModels, 1)), budget);
      work.tasks = uniformTasks(count);
      blocks = dealt(count, sets.size());
    } else {
      const std::size_t count = std::min(perSet * sets.size(), budget - ensemble.size());
      blocks = dealt(count, sets.size());
      for (std::size_t r = 0; r < sets.size(); ++r) {
        addWalks(r, blocks[r], sets[r].cellCount(), settings, work.tasks);
      }
    }
    const std::size_t count = blocks.back().first + blocks.back().count;
    work.firstIndex = static_cast<std::int64_t>(ensemble.size());
    work.iteration = iteration;
    work.coordinates.assign(count * d, 0.0);
    work.misfits.assign(count, kNoMisfit);
    work.nextTask.store(0, std::memory_order_relaxed);
    work.nextModel.store(0, std::memory_order_relaxed);
    sync.arrive_and_wait();  // the other threads start the iteration
    iterationHalves(workers[0]);
    if (work.stopped.load(std::memory_order_relaxed)) {
      ensemble.cancelled = true;
      break;
    }
    ensemble.coordinates.insert(ensemble.coordinates.end(), work.coordinates.begin(),
                                work.coordinates.end());
    ensemble.misfits.insert(ensemble.misfits.end(), work.misfits.begin(), work.misfits.end());
    for (std::size_t r = 0; r < sets.size(); ++r) {
      const Block& block = blocks[r];
      sets[r].absorb(
          std::span<const double>(work.coordinates).subspan(block.first * d, block.count * d),
          std::span<const double>(work.misfits).subspan(block.first, block.count),
          work.firstIndex + static_cast<std::int64_t>(block.first));
    }
    accepted.add(work.misfits);
    if (progress) {
      progress({static_cast<std::int64_t>(ensemble.size()), static_cast<std::int64_t>(budget),
                accepted.best(), accepted.count()});
    }
  }
  finished = true;
  sync.arrive_and_wait();  // the other threads see `finished` and end
  pool.clear();
  return ensemble;
}

}  // namespace dispfit
