// SPDX-License-Identifier: GPL-3.0-or-later
// An RGB raster and its PNG encoding (libpng), in memory, so that the file
// is written whole by the project's file replacement.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "shots/viridis.h"

namespace dispfit {

struct RgbImage {
  std::size_t width = 0;
  std::size_t height = 0;
  std::vector<Rgb> pixels;  // row by row from the top

  RgbImage(std::size_t w, std::size_t h, Rgb fill) : width(w), height(h), pixels(w * h, fill) {}
  void set(long x, long y, Rgb colour) {
    if (x >= 0 && y >= 0 && std::size_t(x) < width && std::size_t(y) < height) {
      pixels[std::size_t(y) * width + std::size_t(x)] = colour;
    }
  }
  Rgb at(std::size_t x, std::size_t y) const { return pixels[y * width + x]; }
};

// The PNG file's bytes: 8-bit RGB, no interlacing.
std::string encodePng(const RgbImage& image);

}  // namespace dispfit
