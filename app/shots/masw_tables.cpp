// SPDX-License-Identifier: GPL-3.0-or-later
#include "shots/masw_tables.h"

#include "core/number_text.h"

namespace dispfit {

std::string curveTableText(std::span<const CurveStatistic> curve, StatisticsDomain domain) {
  std::string text = domain == StatisticsDomain::frequency
                         ? "frequency (Hz), velocity (m/s), sigma (m/s)  # offsets\n"
                         : "wavelength (m), velocity (m/s), sigma (m/s)  # offsets\n";
  for (const CurveStatistic& point : curve) {
    text += domain == StatisticsDomain::frequency ? fixedText(point.frequency, 4)
                                                  : fixedText(point.wavelength, 4);
    text += ", " + fixedText(point.velocity, 3) + ", " + fixedText(point.sigma, 3) + "  # " +
            std::to_string(point.offsets) + " offsets\n";
  }
  return text;
}

std::string picksTableText(std::span<const OffsetPicks> offsets) {
  std::string text = "source (m), offset (m), frequency (Hz), velocity (m/s), inside\n";
  for (const OffsetPicks& offset : offsets) {
    for (const Pick& pick : offset.picks) {
      text += fixedText(offset.sourcePosition, 3) + ", " + fixedText(offset.sourceOffset, 3) +
              ", " + fixedText(pick.frequency, 4) + ", " + fixedText(pick.velocity, 3) + ", " +
              (pick.insideLimits ? "1" : "0") + "\n";
    }
  }
  return text;
}

}  // namespace dispfit
