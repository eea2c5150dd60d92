// SPDX-License-Identifier: GPL-3.0-or-later
// A start and the bounds brought together before a fit, and the parameters
// a fit left on a bound.
#include "inversion/inversion_bounds.h"

#include <gtest/gtest.h>

namespace dispfit {
namespace {

ParsedLayers threeLayers(float h2, float vs3) {
  return ParsedLayers{{2.0f, h2, 0.0f}, {150.0f, 300.0f, vs3}, {1.9f, 1.9f, 1.9f}};
}

// Default bounds widen to 1.5 times the start's extreme, rounded outwards:
// 11.7 m gives 17.6 m (17.55 up to 0.1 m); 1200 m/s gives 1800 m/s. The
// half-space's thickness (0) takes no part.
TEST(InversionBounds, DefaultBoundsWidenToHoldTheStart) {
  const StartAgreement agreement =
      agreeStartWithBounds(threeLayers(11.7f, 1200.0f), InversionLimits{}, false, false);
  EXPECT_FLOAT_EQ(agreement.limits.thicknessUpper, 17.6f);
  EXPECT_FLOAT_EQ(agreement.limits.thicknessLower, 0.1f);
  EXPECT_FLOAT_EQ(agreement.limits.vsUpper, 1800.0f);
  EXPECT_FLOAT_EQ(agreement.limits.vsLower, 50.0f);
  EXPECT_EQ(agreement.start.thickness[1], 11.7f);  // the start as suggested
  ASSERT_EQ(agreement.notes.size(), 2u);
  EXPECT_EQ(agreement.notes[1],
            "thickness bounds widened from the defaults 0.1-5 m to 0.1-17.6 m to hold the "
            "suggested start (2 to 11.7 m); --h-bounds sets bounds that are kept");
}

TEST(InversionBounds, ChosenBoundsAreKeptAndTheStartClipped) {
  InversionLimits limits;
  limits.thicknessUpper = 10.0f;
  const StartAgreement agreement =
      agreeStartWithBounds(threeLayers(11.7f, 500.0f), limits, true, true);
  EXPECT_EQ(agreement.limits, limits);
  EXPECT_EQ(agreement.start.thickness[1], 10.0f);
  ASSERT_EQ(agreement.notes.size(), 1u);
  EXPECT_EQ(agreement.notes[0],
            "layer 2's suggested thickness 11.7 m clipped to the upper bound 10 m you gave "
            "(--h-bounds is kept as given)");
  EXPECT_TRUE(agreeStartWithBounds(threeLayers(4.0f, 500.0f), limits, false, false).notes.empty());
}

// The step limit leaves a parameter exactly on its bound; one a hair inside
// (2e-5 relative, twice the test's 1e-5) is free. The half-space's thickness
// is never flagged.
TEST(InversionBounds, ParametersOnABoundAreFlagged) {
  const InversionLimits limits;  // Vs 50..1000 m/s, thickness 0.1..5 m
  const ParsedLayers fitted{
      {5.0f, 0.1f, 5.0f}, {1000.0f, 50.0f * (1 + 2e-5f), 400.0f}, {1.9f, 1.9f, 1.9f}};
  const std::vector<ParameterAtBound> at = parametersAtBounds(fitted, limits);
  ASSERT_EQ(at.size(), 3u);
  EXPECT_EQ(atBoundText(at[0]), "layer 1 Vs 1000.0 m/s is at its upper bound 1000 m/s");
  EXPECT_EQ(atBoundText(at[1]), "layer 1 thickness 5.00 m is at its upper bound 5 m");
  EXPECT_EQ(atBoundText(at[2]), "layer 2 thickness 0.10 m is at its lower bound 0.1 m");
}

// The start's values are written to the digits people read (0.01 m), the
// bounds as given.
TEST(InversionBounds, AStartFromAFileOutsideTheBoundsIsNamed) {
  const std::vector<std::string> notes =
      startOutsideBounds(threeLayers(7.123456f, 1200.0f), InversionLimits{});
  ASSERT_EQ(notes.size(), 2u);
  EXPECT_EQ(notes[0],
            "layer 2's starting thickness 7.12 m lies outside the bounds 0.1-5 m: the inversion "
            "begins it mid-range, at 2.55 m");
  EXPECT_NE(notes[1].find("layer 3's starting Vs 1200 m/s"), std::string::npos);
}

}  // namespace
}  // namespace dispfit
