// SPDX-License-Identifier: GPL-3.0-or-later
// The programs' arithmetic convention: every stored value is single
// precision, each expression is evaluated in double and rounded once when
// it is stored.
#pragma once

namespace dispfit {

// x rounded to the nearest float, as it is stored.
inline float stored(double x) {
  return static_cast<float>(x);
}

}  // namespace dispfit
