// SPDX-License-Identifier: GPL-3.0-or-later
#include "site/starting_model.h"

#include <gtest/gtest.h>

#include <cmath>

namespace dispfit {

namespace {

// A normally dispersive curve with c = 100 + 50 ln(lambda) exactly, for
// wavelengths from 6 to 60 m; linear interpolation in log lambda reproduces
// it between the points, so c(lambda) is known in closed form.
double velocityOf(double wavelength) {
  return 100.0 + 50.0 * std::log(wavelength);
}

std::vector<MeasuredPoint> syntheticCurve() {
  std::vector<MeasuredPoint> points;
  const int n = 12;
  for (int i = 0; i < n; ++i) {
    const double wavelength = 6.0 * std::pow(10.0, static_cast<double>(i) / (n - 1));
    const double velocity = velocityOf(wavelength);
    points.push_back({velocity / wavelength, velocity, std::nullopt, i + 2});
  }
  return points;  // descending frequency, as a prepared curve holds them
}

// Single-precision layers: a few ulps of a few hundred m/s or tens of m.
constexpr double kFloatTolerance = 1e-3;

TEST(StartingModel, ThreeLayersWorkedByHand) {
  // lambda_min = 6, lambda_max = 60: interfaces at 6 / 3 = 2 m and 60 / 2 = 30 m.
  // Layer 1, middle 1 m: wavelength 2 m lies below 6, held at c(6) = 189.588.
  // Layer 2, middle 16 m: c(32) = 100 + 50 ln 32 = 273.287.
  // Half-space, top 30 m: c(60) = 304.717.
  const ParsedLayers model = suggestStartingModel(syntheticCurve(), 3);
  ASSERT_EQ(model.count(), 3);
  EXPECT_NEAR(model.thickness[0], 2.0, kFloatTolerance);
  EXPECT_NEAR(model.thickness[1], 28.0, kFloatTolerance);
  EXPECT_NEAR(model.thickness[2], 28.0, kFloatTolerance);  // repeats the layer above
  EXPECT_NEAR(model.vs[0], 1.1 * 189.58797, kFloatTolerance);
  EXPECT_NEAR(model.vs[1], 1.1 * 273.28680, kFloatTolerance);
  EXPECT_NEAR(model.vs[2], 1.1 * 304.71721, kFloatTolerance);
  for (const float density : model.density) EXPECT_FLOAT_EQ(density, 1.9f);
}

TEST(StartingModel, InterfacesAreGeometricBetweenAThirdAndAHalfOfTheWavelengths) {
  const std::vector<MeasuredPoint> curve = syntheticCurve();
  for (const int layers : {2, 4, 5, 8, 20}) {
    SCOPED_TRACE(layers);
    const ParsedLayers model = suggestStartingModel(curve, layers);
    ASSERT_EQ(model.count(), layers);
    std::vector<double> interfaces;
    double depth = 0.0;
    for (int i = 0; i + 1 < layers; ++i) {
      EXPECT_GT(model.thickness[i], 0.0f);
      depth += model.thickness[i];
      interfaces.push_back(depth);
    }
    if (layers == 2) {
      EXPECT_NEAR(interfaces[0], std::sqrt(2.0 * 30.0), kFloatTolerance);  // geometric middle
    } else {
      EXPECT_NEAR(interfaces.front(), 2.0, kFloatTolerance);
      EXPECT_NEAR(interfaces.back(), 30.0, kFloatTolerance * layers);
      // Equal ratios: 15^(1 / (n - 2)) between neighbours.
      const double ratio = std::pow(15.0, 1.0 / (layers - 2));
      for (std::size_t k = 1; k < interfaces.size(); ++k) {
        EXPECT_NEAR(interfaces[k] / interfaces[k - 1], ratio, 1e-5);
      }
    }
    // Deeper layers sense longer wavelengths, which travel faster here; Vs
    // stays within 1.1 times the measured range.
    for (int i = 0; i < layers; ++i) {
      EXPECT_GE(model.vs[i], 1.1 * velocityOf(6.0) - kFloatTolerance);
      EXPECT_LE(model.vs[i], 1.1 * velocityOf(60.0) + kFloatTolerance);
      if (i > 0) {
        EXPECT_GE(model.vs[i], model.vs[i - 1]);
      }
    }
  }
}

TEST(StartingModel, ALoneHalfSpaceAndAnEmptyCurve) {
  const ParsedLayers halfSpace = suggestStartingModel(syntheticCurve(), 1);
  ASSERT_EQ(halfSpace.count(), 1);
  EXPECT_FLOAT_EQ(halfSpace.thickness[0], 1.0f);
  EXPECT_NEAR(halfSpace.vs[0], 1.1 * velocityOf(6.0), kFloatTolerance);
  EXPECT_EQ(suggestStartingModel({}, 3).count(), 0);
}

TEST(StartingModel, RoundedForEditingKeepsEveryLayer) {
  struct Row {
    float thickness, vs;
    float roundedThickness, roundedVs;  // 0.1 m and 1 m/s steps, by hand
  };
  const Row rows[] = {
      {0.515f, 135.96f, 0.5f, 136.0f},   {4.1234f, 180.49f, 4.1f, 180.0f},
      {35.3669f, 423.5f, 35.4f, 424.0f},  // halves round away from zero
      {0.04f, 0.3f, 0.1f, 1.0f},          // never rounded to nothing
      {0.05f, 1.49f, 0.1f, 1.0f},
  };
  ParsedLayers model;
  for (const Row& row : rows) {
    model.thickness.push_back(row.thickness);
    model.vs.push_back(row.vs);
    model.density.push_back(1.87f);
  }
  const ParsedLayers rounded = roundedForEditing(model);
  ASSERT_EQ(rounded.count(), model.count());
  for (std::size_t i = 0; i < std::size(rows); ++i) {
    SCOPED_TRACE(i);
    // Tenths of a metre as the nearest float: what "35.4" typed in a cell reads as.
    EXPECT_FLOAT_EQ(rounded.thickness[i], rows[i].roundedThickness);
    EXPECT_EQ(rounded.vs[i], rows[i].roundedVs);
    EXPECT_EQ(rounded.density[i], 1.87f);
  }
}

TEST(VelocityAtWavelength, InterpolatesInLogWavelengthAndHoldsTheEnds) {
  const std::vector<MeasuredPoint> curve = syntheticCurve();
  for (const double wavelength : {6.0, 7.3, 15.0, 41.0, 60.0}) {
    SCOPED_TRACE(wavelength);
    EXPECT_NEAR(velocityAtWavelength(curve, wavelength), velocityOf(wavelength), 1e-9);
  }
  EXPECT_NEAR(velocityAtWavelength(curve, 1.0), velocityOf(6.0), 1e-9);
  EXPECT_NEAR(velocityAtWavelength(curve, 500.0), velocityOf(60.0), 1e-9);
}

}  // namespace

}  // namespace dispfit
