// Refinement of a zero of the secular function bracketed by a sign change.
#pragma once

#include "secular_function.h"

namespace swcore {

// One end of a bracket with its function value.
struct BracketEnd {
  double x;
  double f;
};

// Regula falsi on the bracket [lower, upper], stopping when successive
// iterates differ by less than `tolerance`; the newest iterate is returned.
//
// False position can stop on its step test while the iterate still sits on
// one end of a wide bracket. So the stopping value is checked with one
// evaluation kProbeDistance toward the far end: a sign change there proves it
// within that distance of the zero and it is returned unchanged. Otherwise
// the search goes on inside the remaining bracket with a safeguarded method
// until the bracket is narrower than the tolerance.
double refineBracketedRoot(const SecularFunction& d, BracketEnd lower, BracketEnd upper,
                           double tolerance);

inline constexpr double kProbeDistance = 1e-4;  // km/s

}  // namespace swcore
