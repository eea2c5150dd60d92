// SPDX-License-Identifier: GPL-3.0-or-later
// The text side of the model table: one row of three cell texts per layer,
// how the rows change when the layer count is stepped, and how the rows are
// read into numbers.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/text_translation.h"

namespace dispfit {

// Cell texts of one layer: thickness (m), S velocity (m/s), density (g/cm3).
struct LayerTexts {
  std::string thickness;
  std::string vs;
  std::string density;

  bool operator==(const LayerTexts&) const = default;
};

struct ParsedLayers {
  std::vector<float> thickness;
  std::vector<float> vs;
  std::vector<float> density;

  int count() const { return static_cast<int>(vs.size()); }
};

// Velocities of 10 km/s and more belong to no soil or rock a surface-wave
// survey meets; the engine's root search gives up there.
inline constexpr float kVelocityLimit = 10000.0f;  // m/s

// Why a cell is refused.
enum class CellFault {
  NotANumber,
  ThicknessNotPositive,  // above the half-space
  VelocityNotPositive,
  VelocityTooHigh,  // at or above kVelocityLimit
  DensityNotPositive,
};

// The first refused cell, rows counted from 1 and columns 1 = thickness,
// 2 = velocity, 3 = density as in the table.
struct BadCell {
  int row = 0;
  int column = 0;
  std::string text;
  CellFault fault = CellFault::NotANumber;
};

struct TableReading {
  std::optional<ParsedLayers> layers;  // set when every cell holds a number
  BadCell bad;                         // the first bad cell otherwise
};

// Rows after the layer count changed to newCount (>= 1): the rows that remain
// keep their texts, rows added at the end copy the former last row, rows
// beyond newCount are dropped. An empty table grows with empty texts.
std::vector<LayerTexts> resizeLayerRows(const std::vector<LayerTexts>& rows, int newCount);

// The cells of a block copied from a spreadsheet: rows end at line ends (LF
// or CRLF), cells are separated by tabs; a line end after the last row adds
// no empty row.
using TextBlock = std::vector<std::vector<std::string>>;
TextBlock splitTextBlock(std::string_view text);

// The rows after pasting block with its top left cell at table row `row`
// (from 1) and column `column` (1 thickness, 2 velocity, 3 density): cells
// right of the density column are dropped, rows below the table add rows
// (empty before the paste) up to maxRows in all, and rows beyond are dropped.
std::vector<LayerTexts> pasteTextBlock(const std::vector<LayerTexts>& rows, int row, int column,
                                       const TextBlock& block, int maxRows);

// Reads every row, top first, cells left to right, in single precision.
TableReading readLayerRows(const std::vector<LayerTexts>& rows);

// readLayerRows, then refuses what no earth has: a thickness <= 0 above the
// half-space (the half-space's own thickness is not used), a velocity or
// density <= 0, a velocity at or above kVelocityLimit. The first refused cell
// in reading order is reported.
TableReading checkLayerRows(const std::vector<LayerTexts>& rows);

// The row message of the forward run for a bad row numbered from 1, in the
// translator's language.
std::string badRowMessage(int row, const TextTranslator& translator = sourceTexts());

// The row message followed by a second line naming the column and the reason.
std::string badCellMessage(const BadCell& cell, const TextTranslator& translator = sourceTexts());

// The error text for a cell that is not a floating-point number.
std::string invalidNumberMessage(const std::string& text);

}  // namespace dispfit
