// SPDX-License-Identifier: GPL-3.0-or-later
// Where the chart goes on a printed page: margins in percent of the page on
// every side, with the proportional rule that keeps the chart's on-screen
// shape.
#pragma once

namespace dispfit {

struct PageRect {
  double left = 0.0;
  double top = 0.0;
  double width = 0.0;
  double height = 0.0;
};

// The printed rectangle on a page of pageWidth x pageHeight for a chart shown
// at chartWidth x chartHeight. Each side keeps marginPercent of the page; with
// proportional printing the side pair that limits the chart keeps it and the
// other pair grows so that the rectangle has the chart's proportions,
// centred on the page.
PageRect printedChartRect(double pageWidth, double pageHeight, double chartWidth,
                          double chartHeight, double marginPercent = 15.0,
                          bool proportional = true);

}  // namespace dispfit
