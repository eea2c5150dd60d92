// SPDX-License-Identifier: GPL-3.0-or-later
// A small bitmap font for the labels of pictures drawn without a toolkit:
// glyphs of 5 x 7 cells for the digits, the signs of numbers and units and
// the few letters the labels use. A character without a glyph is drawn as
// a blank.
#pragma once

#include <string_view>

#include "shots/png_image.h"

namespace dispfit {

inline constexpr int kGlyphWidth = 5;
inline constexpr int kGlyphHeight = 7;

// Width in pixels of `text` drawn at `scale` (a cell is scale x scale
// pixels, one blank column between glyphs).
int textWidth(std::string_view text, int scale);

// Draws `text` with its top left corner at (x, y).
void drawText(RgbImage& image, long x, long y, std::string_view text, int scale, Rgb colour);

}  // namespace dispfit
