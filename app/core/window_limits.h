// SPDX-License-Identifier: GPL-3.0-or-later
// How many layers a model of the window program and of dispfit-invert may
// have, the half-space included: the rows of the window's model table.
#pragma once

namespace dispfit {

inline constexpr int kWindowLayerLimit = 20;

}  // namespace dispfit
