// SPDX-License-Identifier: GPL-3.0-or-later
#include "search/search_ranges_table.h"

#include <algorithm>

#include "core/number_text.h"

namespace dispfit {

namespace {

bool samePVelocity(const LayerRanges& a, const LayerRanges& b) {
  return a.vp == b.vp && a.poisson == b.poisson;
}

}  // namespace

RangeRow rangeRow(const LayerRanges& layer) {
  return {exactText(layer.vs.low), exactText(layer.vs.high), exactText(layer.thickness.low),
          exactText(layer.thickness.high), exactText(layer.density)};
}

RangeRow uniformRangeRow(Range vs, Range thickness, double density) {
  return rangeRow(LayerRanges{vs, thickness, density, std::nullopt, std::nullopt});
}

std::vector<RangeRow> resizeRangeRows(const std::vector<RangeRow>& rows, int count,
                                      const RangeRow& fresh) {
  const std::size_t wanted = static_cast<std::size_t>(std::max(count, 1));
  // The layers above the half-space that stay, then new ones, then the
  // half-space itself.
  const std::size_t kept = rows.empty() ? 0 : std::min(rows.size() - 1, wanted - 1);
  std::vector<RangeRow> resized(rows.begin(), rows.begin() + static_cast<std::ptrdiff_t>(kept));
  resized.resize(wanted - 1, fresh);
  resized.push_back(rows.empty() ? fresh : rows.back());
  return resized;
}

RangeTableReading readRangeRows(const std::vector<RangeRow>& rows) {
  std::vector<LayerRanges> layers;
  for (std::size_t r = 0; r < rows.size(); ++r) {
    const bool halfSpace = r + 1 == rows.size();
    std::array<double, kRangeColumns> values{};
    for (int c = 0; c < kRangeColumns; ++c) {
      if (halfSpace && (c == HMin || c == HMax)) continue;
      const std::optional<double> value = parseDecimal(rows[r][static_cast<std::size_t>(c)]);
      if (!value) {
        return {std::nullopt,
                {static_cast<int>(r) + 1, static_cast<RangeColumn>(c),
                 rows[r][static_cast<std::size_t>(c)]}};
      }
      values[static_cast<std::size_t>(c)] = *value;
    }
    layers.push_back({{values[VsMin], values[VsMax]},
                      halfSpace ? Range{} : Range{values[HMin], values[HMax]},
                      values[DensityColumn],
                      std::nullopt,
                      std::nullopt});
  }
  return {std::move(layers), {}};
}

std::optional<SharedPVelocity> sharedPVelocity(const std::vector<LayerRanges>& layers) {
  if (layers.empty()) return std::nullopt;
  const LayerRanges& top = layers.front();
  if (!std::all_of(layers.begin(), layers.end(),
                   [&top](const LayerRanges& l) { return samePVelocity(l, top); })) {
    return std::nullopt;
  }
  if (top.vp) return SharedPVelocity{PVelocityRule::Fixed, *top.vp, {}};
  if (top.poisson) return SharedPVelocity{PVelocityRule::PoissonRange, 0.0, *top.poisson};
  return SharedPVelocity{};
}

}  // namespace dispfit
