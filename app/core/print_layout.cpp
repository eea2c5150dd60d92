// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/print_layout.h"

namespace dispfit {

PageRect printedChartRect(double pageWidth, double pageHeight, double chartWidth,
                          double chartHeight, double marginPercent, bool proportional) {
  const double marginX = pageWidth * marginPercent / 100.0;
  const double marginY = pageHeight * marginPercent / 100.0;
  PageRect rect{marginX, marginY, pageWidth - 2.0 * marginX, pageHeight - 2.0 * marginY};
  if (!proportional || chartWidth <= 0.0 || chartHeight <= 0.0) return rect;

  const double chartAspect = chartWidth / chartHeight;
  if (rect.width / rect.height > chartAspect) {
    // Height limits: the top and bottom margins stay, the sides grow.
    const double width = rect.height * chartAspect;
    rect.left = (pageWidth - width) / 2.0;
    rect.width = width;
  } else {
    const double height = rect.width / chartAspect;
    rect.top = (pageHeight - height) / 2.0;
    rect.height = height;
  }
  return rect;
}

}  // namespace dispfit
