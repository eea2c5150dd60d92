// SPDX-License-Identifier: GPL-3.0-or-later
// The picture of a dispersion image: the cells in the colour map where the
// layout puts them, the picks' colours, and a PNG that libpng reads back as
// the same pixels.
#include <gtest/gtest.h>
#include <png.h>

#include <vector>

#include "shots/dispersion_picture.h"
#include "shots/viridis.h"

namespace dispfit_test {
namespace {

using dispfit::Rgb;

bool same(Rgb a, Rgb b) {
  return a.r == b.r && a.g == b.g && a.b == b.b;
}

// An image of 11 frequencies (10..20 Hz) by 101 velocities (100..300 m/s)
// whose value rises with the velocity, 0 at the bottom row to 1 at the top.
dispfit::DispersionImage rampImage() {
  dispfit::DispersionImage image;
  image.grid.frequency = {10.0, 20.0, 1.0};
  image.grid.velocity = {100.0, 300.0, 2.0};
  image.frequencyCount = 11;
  image.velocityCount = 101;
  for (std::size_t i = 0; i < 11; ++i) {
    for (std::size_t l = 0; l < 101; ++l) image.power.push_back(double(l) / 100.0);
  }
  return image;
}

TEST(DispersionPicture, DrawsTheCellsPicksAndLimitsWhereTheLayoutSays) {
  const dispfit::DispersionImage image = rampImage();
  const std::vector<dispfit::Pick> picks = {{12.0, 150.0, 1.0, true}, {18.0, 250.0, 1.0, false}};
  const dispfit::ArrayLimits limits{
      4.0, 46.0};  // lines v = 4 f and v = 46 f: the first crosses the plot
  const dispfit::RgbImage picture =
      dispfit::drawDispersionPicture(image, limits, picks, "offset 5.0 m");
  const dispfit::PictureLayout layout = dispfit::pictureLayout(image);
  ASSERT_EQ(picture.width, std::size_t(layout.width));
  // Cells: at 200 m/s the value is 0.5; at the plot's top, 1.
  const auto at = [&](double f, double v) {
    return picture.at(std::size_t(std::lround(layout.xOf(f))),
                      std::size_t(std::lround(layout.yOf(v))));
  };
  EXPECT_TRUE(same(at(15.3, 200.0), dispfit::viridis(0.5)));
  EXPECT_TRUE(same(at(15.3, 299.5), dispfit::viridis(1.0)));
  EXPECT_TRUE(same(at(12.0, 150.0), dispfit::kPickInside));
  EXPECT_TRUE(same(at(18.0, 250.0), dispfit::kPickOutside));
  // The 4 m line at 40 to 80 m/s lies below the plot; the 46 m line's
  // v = 46 f lies above it: no dash inside. The frame is black.
  EXPECT_TRUE(
      same(picture.at(std::size_t(layout.left - 1), std::size_t(layout.top + 5)), Rgb{0, 0, 0}));
}

TEST(DispersionPicture, ThePngReadsBackAsTheSamePixels) {
  dispfit::RgbImage picture(7, 3, Rgb{1, 2, 3});
  picture.set(6, 2, Rgb{250, 128, 0});
  const std::string png = dispfit::encodePng(picture);
  png_image read{};
  read.version = PNG_IMAGE_VERSION;
  ASSERT_TRUE(png_image_begin_read_from_memory(&read, png.data(), png.size()));
  read.format = PNG_FORMAT_RGB;
  std::vector<png_byte> pixels(PNG_IMAGE_SIZE(read));
  ASSERT_TRUE(png_image_finish_read(&read, nullptr, pixels.data(), 0, nullptr));
  EXPECT_EQ(read.width, 7u);
  EXPECT_EQ(read.height, 3u);
  EXPECT_EQ(pixels[0], 1);
  EXPECT_EQ(pixels[2], 3);
  EXPECT_EQ(pixels[pixels.size() - 3], 250);
  EXPECT_EQ(pixels[pixels.size() - 2], 128);
}

TEST(Viridis, RunsFromDarkBlueToYellowAndClamps) {
  // The published map's ends: (68, 1, 84) and (253, 231, 37).
  EXPECT_TRUE(same(dispfit::viridis(0.0), Rgb{68, 1, 84}));
  EXPECT_TRUE(same(dispfit::viridis(1.0), Rgb{253, 231, 37}));
  EXPECT_TRUE(same(dispfit::viridis(-1.0), dispfit::viridis(0.0)));
  EXPECT_TRUE(same(dispfit::viridis(7.0), dispfit::viridis(1.0)));
  EXPECT_TRUE(same(dispfit::viridis(std::nan("")), dispfit::viridis(0.0)));
  // Its lightness rises steadily: the luma (Rec. 709 weights of the 8-bit
  // channels) grows over every four of the 256 steps.
  const auto luma = [](Rgb c) { return 0.2126 * c.r + 0.7152 * c.g + 0.0722 * c.b; };
  for (int k = 4; k <= 255; ++k) {
    EXPECT_GT(luma(dispfit::viridis(k / 255.0)), luma(dispfit::viridis((k - 4) / 255.0))) << k;
  }
}

}  // namespace
}  // namespace dispfit_test
