// SPDX-License-Identifier: GPL-3.0-or-later
// The posterior run a search form asks for (search/search_request.h): its
// prior over the form's ranges, the layer counts, the samples and the seed.
#pragma once

#include <vector>

#include "sampling/background_posterior.h"
#include "search/search_request.h"
#include "site/measured_curve.h"

namespace dispfit {

// The job of `request` (which searchRequestFault accepts) fitting `points`
// on `threads` threads (at least 1): the burn-in half the samples, the chains
// and the start search at the sampler's defaults, as dispfit-invert --bayes
// has them, under the surface-observed rule of its best-fit search or, where
// the request asks for it, the lowest root; `constrainedDepth` (m) for the
// summary.
PosteriorJob posteriorJobOf(const SearchRequest& request, std::vector<MeasuredPoint> points,
                            int threads, double constrainedDepth);

}  // namespace dispfit
