// SPDX-License-Identifier: GPL-3.0-or-later
#include "sampling/posterior_request.h"

#include <algorithm>
#include <utility>

namespace dispfit {

PosteriorJob posteriorJobOf(const SearchRequest& request, std::vector<MeasuredPoint> points,
                            int threads, double constrainedDepth) {
  PosteriorJob job;
  job.space = searchSpaceOf(request);
  const int fewest = request.fewestLayers == 0 ? request.layers : request.fewestLayers;
  job.counts = {fewest, request.layers};
  job.points = std::move(points);
  job.settings.samples = request.samples;
  job.settings.burnIn = request.samples / 2;
  job.settings.seed = request.seed;
  job.settings.threads = std::max(threads, 1);
  job.constrainedDepth = constrainedDepth;
  job.forward = request.forward;
  job.forward.rule = request.posteriorObserved ? swcore::ForwardRule::surfaceObserved
                                               : swcore::ForwardRule::lowestRoot;
  return job;
}

}  // namespace dispfit
