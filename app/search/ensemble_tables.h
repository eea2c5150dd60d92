// SPDX-License-Identifier: GPL-3.0-or-later
// The texts of a search's three tables: the best model, every model drawn and
// the Vs profile's percentiles. Comma separated, one header line, a full stop
// as decimal point whatever the locale, lines ending in "\n". The best model
// and the ensemble, which programs read back, carry every number in its
// shortest exact form; the profile, which people plot, its depths to 0.01 m
// and velocities to 0.1 m/s.
#pragma once

#include <span>
#include <string>
#include <vector>

#include "search/ensemble_statistics.h"
#include "search/global_search.h"
#include "search/search_space.h"

namespace dispfit {

// The headed model table (thickness, Vs, density, Vp) that the model readers
// take back, every number in its shortest exact form: the model the ensemble
// holds, to the bit.
std::string bestModelTable(const TrialModel& model);

// The model as a report's fixed-width table: a heading line, then a line a
// layer (thickness, Vs, Vp, density; "half-space" for the last).
std::vector<std::string> modelReportLines(const TrialModel& model);

// One line per model in the order drawn: index (from 0), each parameter in
// its unit (Vs, thickness, Poisson's ratio as parameterName heads them), the
// misfit under its name ("inf" for a rejected model) and accepted (1 or 0).
std::string ensembleTable(const SearchEnsemble& ensemble, const ParameterMap& map,
                          const std::vector<bool>& accepted);

// depth (m), Vs p10, p50 and p90 (m/s) per row.
std::string profileTable(std::span<const ProfileRow> rows);

}  // namespace dispfit
