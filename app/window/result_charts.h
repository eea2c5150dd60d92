// SPDX-License-Identifier: GPL-3.0-or-later
// The charts of an exported result, drawn from the result's own series
// rather than taken from the screen, so that the export's pictures show the
// result its text speaks of whatever the window shows at the time.
#pragma once

#include <QChartView>
#include <QString>
#include <memory>
#include <string>

#include "site/exported_result.h"

namespace dispfit {

// A name that an exported result gives itself or a series of its charts
// ("best-fit search", "measured") as the window shows it, in the window's
// language; a name not known here is shown as it is.
QString shownName(const std::string& name);

// The dispersion chart: phase velocity (m/s) over frequency (Hz), on a
// logarithmic frequency axis when `logFrequency`.
std::unique_ptr<QChartView> dispersionChart(const ResultCharts& charts, bool logFrequency,
                                            const QString& title);

// The Vs chart: Vs (m/s) across the top, depth (m) down to charts.profileDepth.
std::unique_ptr<QChartView> profileChart(const ResultCharts& charts, const QString& title);

// The width of an exported chart picture when none is set: 300 dots per inch
// over the 180 mm an A4 page with 15 mm margins gives a chart, the
// resolution of print.
inline constexpr int kDefaultChartPictureWidth = 2126;
inline constexpr int kLeastChartPictureWidth = 400;
inline constexpr int kMostChartPictureWidth = 10000;

}  // namespace dispfit
