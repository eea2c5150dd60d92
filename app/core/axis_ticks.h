// Tick spacing for the chart's axes: a round step (1, 2 or 5 times a power of
// ten) that gives about the wanted number of intervals over a range.
#pragma once

double roundTickInterval(double span, int wantedIntervals = 5);
