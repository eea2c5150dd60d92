// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/spinner_position.h"

#include <algorithm>
#include <optional>

#include "core/number_text.h"

namespace dispfit {

int steppedPosition(int current, std::string_view boxText, int delta, SpinnerRange range) {
  int start = current;
  const std::optional<std::int64_t> typed = parseWhole(boxText);
  if (typed && *typed >= range.minimum && *typed <= range.maximum) {
    start = static_cast<int>(*typed);
  }
  start = std::clamp(start, range.minimum, range.maximum);
  return std::clamp(start + delta, range.minimum, range.maximum);
}

}  // namespace dispfit
