#include "core/model_table.h"

#include <algorithm>

#include "core/number_text.h"

namespace dispfit {

std::vector<LayerTexts> resizeLayerRows(const std::vector<LayerTexts>& rows, int newCount) {
  const auto count = static_cast<std::size_t>(newCount < 1 ? 1 : newCount);
  const LayerTexts lastRow = rows.empty() ? LayerTexts{} : rows.back();
  std::vector<LayerTexts> resized(rows.begin(), rows.begin() + std::min(count, rows.size()));
  resized.resize(count, lastRow);
  return resized;
}

TableReading readLayerRows(const std::vector<LayerTexts>& rows) {
  ParsedLayers layers;
  for (std::size_t r = 0; r < rows.size(); ++r) {
    const std::array<const std::string*, 3> cells = {&rows[r].thickness, &rows[r].vs,
                                                     &rows[r].density};
    std::array<float, 3> values{};
    for (std::size_t c = 0; c < cells.size(); ++c) {
      const std::optional<float> value = parseSingle(*cells[c]);
      if (!value) {
        return TableReading{std::nullopt,
                            BadCell{static_cast<int>(r) + 1, static_cast<int>(c) + 1, *cells[c]}};
      }
      values[c] = *value;
    }
    layers.thickness.push_back(values[0]);
    layers.vs.push_back(values[1]);
    layers.density.push_back(values[2]);
  }
  return TableReading{std::move(layers), BadCell{}};
}

std::string badRowMessage(int row) {
  return "第 " + std::to_string(row) + " 行输入的模型参数错误，请检查！";
}

std::string invalidNumberMessage(const std::string& text) {
  return "'" + text + "' is not a valid floating point value";
}

}  // namespace dispfit
