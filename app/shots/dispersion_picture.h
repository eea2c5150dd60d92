// SPDX-License-Identifier: GPL-3.0-or-later
// A dispersion image as a picture for a file: the normalised image in the
// viridis colour map with frequency (Hz) across and phase velocity (m/s) up,
// its colour bar, the array's limits as dashed lines of constant wavelength
// (v = lambda f), the picks inside the limits as white dots and those
// outside as red ones, and a title with the source offset.
#pragma once

#include <string>
#include <vector>

#include "shots/array_limits.h"
#include "shots/dispersion_image.h"
#include "shots/png_image.h"
#include "shots/ridge_picking.h"

namespace dispfit {

// Where the plot lies in the picture, and how values map onto it.
struct PictureLayout {
  long width = 800, height = 560;                       // the picture, pixels
  long left = 80, right = 690, top = 40, bottom = 490;  // the plot's edges
  double fmin = 0, fmax = 1, vmin = 0, vmax = 1;

  double xOf(double frequency) const {
    return double(left) + (frequency - fmin) / (fmax - fmin) * double(right - left);
  }
  double yOf(double velocity) const {
    return double(bottom) - (velocity - vmin) / (vmax - vmin) * double(bottom - top);
  }
};

PictureLayout pictureLayout(const DispersionImage& image);

inline constexpr Rgb kPickInside{255, 255, 255};
inline constexpr Rgb kPickOutside{230, 40, 40};

RgbImage drawDispersionPicture(const DispersionImage& image, const ArrayLimits& limits,
                               const std::vector<Pick>& picks, const std::string& title);

}  // namespace dispfit
