// SPDX-License-Identifier: GPL-3.0-or-later
// Keeps a model step inside the parameter bounds.
#pragma once

namespace dispfit {

// For each of the count components: a component larger than threshold is
// shortened so that params + step does not pass upper, a component below
// -threshold so that it does not pass lower (a step that would cross a bound
// ends on it), and a component no larger than threshold in size becomes 0.
void limitStep(float* step, const float* params, const float* upper, const float* lower, int count,
               float threshold);

}  // namespace dispfit
