// SPDX-License-Identifier: GPL-3.0-or-later
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

TextBlock splitTextBlock(std::string_view text) {
  TextBlock block;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    std::vector<std::string> cells;
    for (std::size_t start = 0;;) {
      const std::size_t tab = line.find('\t', start);
      cells.emplace_back(line.substr(start, tab == std::string_view::npos ? tab : tab - start));
      if (tab == std::string_view::npos) break;
      start = tab + 1;
    }
    block.push_back(std::move(cells));
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return block;
}

std::vector<LayerTexts> pasteTextBlock(const std::vector<LayerTexts>& rows, int row, int column,
                                       const TextBlock& block, int maxRows) {
  std::vector<LayerTexts> pasted = rows;
  const int first = std::max(row, 1) - 1;
  const int wanted = first + static_cast<int>(block.size());
  const int count = std::max(static_cast<int>(rows.size()), std::min(wanted, maxRows));
  pasted.resize(static_cast<std::size_t>(count));
  for (int r = first; r < std::min(wanted, count); ++r) {
    const std::vector<std::string>& cells = block[static_cast<std::size_t>(r - first)];
    LayerTexts& target = pasted[static_cast<std::size_t>(r)];
    const std::array<std::string*, 3> columns = {&target.thickness, &target.vs, &target.density};
    for (std::size_t c = 0; c < cells.size(); ++c) {
      const int tableColumn = std::max(column, 1) + static_cast<int>(c);
      if (tableColumn > 3) break;
      *columns[static_cast<std::size_t>(tableColumn - 1)] = cells[c];
    }
  }
  return pasted;
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

namespace {

// The reason a parsed value is refused, if it is.
std::optional<CellFault> physicalFault(int column, float value, bool halfSpace) {
  switch (column) {
    case 1:
      if (!halfSpace && !(value > 0.0f)) return CellFault::ThicknessNotPositive;
      return std::nullopt;
    case 2:
      if (!(value > 0.0f)) return CellFault::VelocityNotPositive;
      if (value >= kVelocityLimit) return CellFault::VelocityTooHigh;
      return std::nullopt;
    default:
      if (!(value > 0.0f)) return CellFault::DensityNotPositive;
      return std::nullopt;
  }
}

std::string columnName(int column) {
  switch (column) {
    case 1:
      return "H";
    case 2:
      return "Vs";
    default:
      return "Rho";
  }
}

const char* faultReason(CellFault fault) {
  switch (fault) {
    case CellFault::NotANumber:
      return DISPFIT_TEXT("ModelTable", "不是数字，小数点请用英文句点“.”。");
    case CellFault::ThicknessNotPositive:
      return DISPFIT_TEXT("ModelTable", "厚度必须大于 0。");
    case CellFault::VelocityNotPositive:
      return DISPFIT_TEXT("ModelTable", "速度必须大于 0。");
    case CellFault::VelocityTooHigh:
      return DISPFIT_TEXT("ModelTable", "速度必须小于 10000 m/s。");
    case CellFault::DensityNotPositive:
      return DISPFIT_TEXT("ModelTable", "密度必须大于 0。");
  }
  return "";
}

}  // namespace

TableReading checkLayerRows(const std::vector<LayerTexts>& rows) {
  TableReading reading = readLayerRows(rows);
  if (!reading.layers) return reading;
  const ParsedLayers& layers = *reading.layers;
  const int count = layers.count();
  for (int r = 0; r < count; ++r) {
    const std::array<float, 3> values = {layers.thickness[r], layers.vs[r], layers.density[r]};
    const std::array<const std::string*, 3> cells = {&rows[r].thickness, &rows[r].vs,
                                                     &rows[r].density};
    for (int c = 0; c < 3; ++c) {
      if (const auto fault = physicalFault(c + 1, values[c], r == count - 1)) {
        return TableReading{std::nullopt, BadCell{r + 1, c + 1, *cells[c], *fault}};
      }
    }
  }
  return reading;
}

std::string badCellMessage(const BadCell& cell, const TextTranslator& translator) {
  const std::string reason = translator.translate("ModelTable", faultReason(cell.fault));
  return badRowMessage(cell.row, translator) + "\n" +
         fillText(translator.translate("ModelTable", "%1 列「%2」%3"),
                  {columnName(cell.column), cell.text, reason});
}

std::string badRowMessage(int row, const TextTranslator& translator) {
  return fillText(translator.translate("ModelTable", "第 %1 行输入的模型参数错误，请检查！"),
                  {std::to_string(row)});
}

std::string invalidNumberMessage(const std::string& text) {
  return "'" + text + "' is not a valid floating point value";
}

}  // namespace dispfit
