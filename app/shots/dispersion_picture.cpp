// SPDX-License-Identifier: GPL-3.0-or-later
#include "shots/dispersion_picture.h"

#include <algorithm>
#include <cmath>

#include "core/axis_ticks.h"
#include "core/number_text.h"
#include "shots/bitmap_font.h"
#include "shots/viridis.h"

namespace dispfit {
namespace {

constexpr Rgb kPaper{255, 255, 255};
constexpr Rgb kInk{0, 0, 0};
constexpr Rgb kLimitLine{255, 255, 255};
constexpr int kTextScale = 2;

// A tick label with as few decimals as the step needs.
std::string tickText(double value, double step) {
  const int decimals = step >= 1.0 ? 0 : int(std::ceil(-std::log10(step) - 1e-9));
  return fixedText(value, decimals);
}

void drawTicks(RgbImage& picture, const PictureLayout& layout, bool across, double low,
               double high) {
  const double step = roundTickInterval(high - low, 6);
  for (double value = std::ceil(low / step - 1e-9) * step; value <= high + 1e-9 * step;
       value += step) {
    const std::string label = tickText(value, step);
    if (across) {
      const long x = std::lround(layout.xOf(value));
      for (long d = 0; d < 6; ++d) picture.set(x, layout.bottom + d, kInk);
      drawText(picture, x - textWidth(label, kTextScale) / 2, layout.bottom + 10, label, kTextScale,
               kInk);
    } else {
      const long y = std::lround(layout.yOf(value));
      for (long d = 0; d < 6; ++d) picture.set(layout.left - 1 - d, y, kInk);
      drawText(picture, layout.left - 10 - textWidth(label, kTextScale),
               y - kGlyphHeight * kTextScale / 2, label, kTextScale, kInk);
    }
  }
}

void drawDot(RgbImage& picture, double x, double y, Rgb colour) {
  const long cx = std::lround(x);
  const long cy = std::lround(y);
  for (long dy = -3; dy <= 3; ++dy) {
    for (long dx = -3; dx <= 3; ++dx) {
      const long d = dx * dx + dy * dy;
      if (d <= 4)
        picture.set(cx + dx, cy + dy, colour);
      else if (d <= 10)
        picture.set(cx + dx, cy + dy, kInk);
    }
  }
}

// The line v = wavelength f across the plot, dashed.
void drawWavelength(RgbImage& picture, const PictureLayout& layout, double wavelength) {
  for (long x = layout.left; x < layout.right; ++x) {
    if ((x / 6) % 2) continue;
    const double f = layout.fmin + double(x - layout.left) / double(layout.right - layout.left) *
                                       (layout.fmax - layout.fmin);
    const double y = layout.yOf(wavelength * f);
    if (y >= double(layout.top) && y <= double(layout.bottom)) {
      picture.set(x, std::lround(y), kLimitLine);
      picture.set(x, std::lround(y) + 1, kLimitLine);
    }
  }
}

}  // namespace

PictureLayout pictureLayout(const DispersionImage& image) {
  PictureLayout layout;
  layout.fmin = image.grid.frequency.first;
  layout.fmax = image.grid.frequency.at(image.frequencyCount - 1);
  layout.vmin = image.grid.velocity.first;
  layout.vmax = image.grid.velocity.at(image.velocityCount - 1);
  if (!(layout.fmax > layout.fmin)) layout.fmax = layout.fmin + image.grid.frequency.step;
  if (!(layout.vmax > layout.vmin)) layout.vmax = layout.vmin + image.grid.velocity.step;
  return layout;
}

RgbImage drawDispersionPicture(const DispersionImage& image, const ArrayLimits& limits,
                               const std::vector<Pick>& picks, const std::string& title) {
  const PictureLayout layout = pictureLayout(image);
  RgbImage picture(std::size_t(layout.width), std::size_t(layout.height), kPaper);
  const EvenSteps& f = image.grid.frequency;
  const EvenSteps& v = image.grid.velocity;
  for (long y = layout.top; y < layout.bottom; ++y) {
    const double velocity = layout.vmax - (double(y - layout.top) + 0.5) /
                                              double(layout.bottom - layout.top) *
                                              (layout.vmax - layout.vmin);
    const auto l = std::size_t(
        std::clamp(std::lround((velocity - v.first) / v.step), 0L, long(image.velocityCount) - 1));
    for (long x = layout.left; x < layout.right; ++x) {
      const double frequency = layout.fmin + (double(x - layout.left) + 0.5) /
                                                 double(layout.right - layout.left) *
                                                 (layout.fmax - layout.fmin);
      const auto i = std::size_t(std::clamp(std::lround((frequency - f.first) / f.step), 0L,
                                            long(image.frequencyCount) - 1));
      picture.set(x, y, viridis(image.at(i, l)));
    }
  }
  drawWavelength(picture, layout, limits.shortestWavelength);
  drawWavelength(picture, layout, limits.longestWavelength);
  for (const Pick& pick : picks) {
    drawDot(picture, layout.xOf(pick.frequency), layout.yOf(pick.velocity),
            pick.insideLimits ? kPickInside : kPickOutside);
  }
  // The frame, the axes' ticks and labels, the colour bar and the title.
  for (long x = layout.left - 1; x <= layout.right; ++x) {
    picture.set(x, layout.top - 1, kInk);
    picture.set(x, layout.bottom, kInk);
  }
  for (long y = layout.top - 1; y <= layout.bottom; ++y) {
    picture.set(layout.left - 1, y, kInk);
    picture.set(layout.right, y, kInk);
  }
  drawTicks(picture, layout, true, layout.fmin, layout.fmax);
  drawTicks(picture, layout, false, layout.vmin, layout.vmax);
  const std::string across = "f (Hz)";
  drawText(picture, (layout.left + layout.right) / 2 - textWidth(across, kTextScale) / 2,
           layout.bottom + 36, across, kTextScale, kInk);
  drawText(picture, 8, layout.top - 30, "v (m/s)", kTextScale, kInk);
  const long barLeft = layout.right + 30;
  for (long y = layout.top; y < layout.bottom; ++y) {
    const Rgb colour =
        viridis(double(layout.bottom - 1 - y) / double(layout.bottom - layout.top - 1));
    for (long x = barLeft; x < barLeft + 20; ++x) picture.set(x, y, colour);
  }
  for (const double value : {0.0, 0.5, 1.0}) {
    const long y = layout.bottom - 1 - std::lround(value * double(layout.bottom - layout.top - 1));
    drawText(picture, barLeft + 26, y - kGlyphHeight * kTextScale / 2, fixedText(value, 1),
             kTextScale, kInk);
  }
  drawText(picture, (layout.left + layout.right) / 2 - textWidth(title, kTextScale) / 2,
           layout.top - 30, title, kTextScale, kInk);
  return picture;
}

}  // namespace dispfit
