// SPDX-License-Identifier: GPL-3.0-or-later
#include "shots/masw_survey.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <mutex>
#include <thread>

namespace dispfit {
namespace {

// Positions within this of each other are one: field positions are written
// to the centimetre or the millimetre.
constexpr double kSamePlace = 1e-3;  // m

bool sameArray(const ShotGather& a, const ShotGather& b) {
  if (a.receiverPositions.size() != b.receiverPositions.size()) return false;
  for (std::size_t j = 0; j < a.receiverPositions.size(); ++j) {
    if (std::abs(a.receiverPositions[j] - b.receiverPositions[j]) > kSamePlace) return false;
  }
  return true;
}

}  // namespace

bool groupBySource(std::span<const ShotGather> gathers, std::vector<SourceGroup>& groups,
                   std::string& error) {
  groups.clear();
  for (std::size_t n = 0; n < gathers.size(); ++n) {
    const ShotGather& gather = gathers[n];
    auto found = std::find_if(groups.begin(), groups.end(), [&](const SourceGroup& group) {
      return std::abs(group.sourcePosition - gather.sourcePosition) <= kSamePlace;
    });
    if (found == groups.end()) {
      groups.push_back({gather.sourcePosition, gather.sourceOffset(), {n}});
      continue;
    }
    const ShotGather& first = gathers[found->records.front()];
    if (!sameArray(first, gather)) {
      error = gather.name + ": its source stands where " + first.name +
              "'s does, but its receivers do not; records of one source are stacked only on one "
              "array";
      return false;
    }
    found->records.push_back(n);
  }
  std::sort(groups.begin(), groups.end(), [](const SourceGroup& a, const SourceGroup& b) {
    return a.sourcePosition < b.sourcePosition;
  });
  return true;
}

SurveyResult analyseSurvey(std::span<const ShotGather> gathers, std::span<const SourceGroup> groups,
                           const SurveyRequest& request, unsigned threads,
                           const SurveyProgress& progress, const std::atomic<bool>* cancel) {
  SurveyResult result;
  result.offsets.resize(groups.size());
  std::atomic<std::size_t> next{0};
  std::mutex progressLock;
  std::size_t done = 0;  // guarded by progressLock
  const auto work = [&] {
    for (std::size_t g = next++; g < groups.size(); g = next++) {
      if (cancel && cancel->load()) return;
      std::vector<ShotGather> members;
      for (const std::size_t n : groups[g].records) members.push_back(gathers[n]);
      OffsetResult& out = result.offsets[g];
      out.group = groups[g];
      out.image = dispersionImage(members, request.image);
      out.limits = arrayLimits(members.front());
      out.picks = followRidge(out.image, request.picking, out.limits);
      if (progress) {
        const std::lock_guard<std::mutex> guard(progressLock);
        progress(++done, groups.size());
      }
    }
  };
  const unsigned count = std::max(1u, std::min<unsigned>(threads, unsigned(groups.size())));
  std::vector<std::thread> pool;
  for (unsigned t = 1; t < count; ++t) pool.emplace_back(work);
  work();
  for (std::thread& thread : pool) thread.join();
  if (cancel && cancel->load()) return result;
  result.curve = combineOffsets(offsetPicks(result.offsets), request.statistics);
  return result;
}

std::vector<OffsetPicks> offsetPicks(std::span<const OffsetResult> offsets) {
  std::vector<OffsetPicks> out;
  for (const OffsetResult& offset : offsets) {
    out.push_back({offset.group.sourcePosition, offset.group.sourceOffset, offset.picks});
  }
  return out;
}

}  // namespace dispfit
