// Search for the first zero of the secular function above a start velocity:
// an upward walk in fixed steps, then the refinement of the bracketed zero.
#pragma once

#include "secular_function.h"

namespace swcore {

// Walks up from `start` in steps of `step` until D changes sign, giving up
// once a step without sign change ends at or above 10 km/s. Returns true and
// writes `result` when a zero was bracketed and refined; leaves `result`
// untouched otherwise.
//
// A start at or below zero (where D is undefined) begins the walk one step
// above zero instead; a step that is not positive finds nothing.
bool findRoot(const SecularFunction& d, double start, double step, double tolerance,
              double& result);

}  // namespace swcore
