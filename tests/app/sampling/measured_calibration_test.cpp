// SPDX-License-Identifier: GPL-3.0-or-later
// The measured calibration each posterior output names: which configuration
// a run's layer counts fall to, the target's tolerance at its edges, and the
// note's verdict on the figures of the calibration run (100 sites each of 3,
// of 5 and of 2 to 6 layers, bench/posterior_calibration, seed 1).
#include "sampling/measured_calibration.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using dispfit::LayerCountRange;

TEST(MeasuredCalibration, EachLayerCountFallsToItsNearestMeasuredConfiguration) {
  struct Case {
    LayerCountRange asked;
    LayerCountRange measured;
  };
  const Case cases[] = {
      {{1, 1}, {3, 3}}, {{3, 3}, {3, 3}}, {{4, 4}, {5, 5}}, {{5, 5}, {5, 5}},
      {{9, 9}, {5, 5}}, {{2, 6}, {2, 6}}, {{1, 3}, {2, 6}}, {{3, 8}, {2, 6}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.asked.least) + "-" + std::to_string(c.asked.most));
    EXPECT_EQ(dispfit::measuredCoverageFor(c.asked).counts, c.measured);
  }
}

TEST(MeasuredCalibration, ShortMeansMoreThanEightPointsBelowNominal) {
  struct Case {
    double coverage, nominal;
    bool shortOfIt;
  };
  // 0.83 and 0.81 lie either side of 0.90 - 0.08; 0.82, 0.42 and 0.72 on
  // the edge are within it (exactly 8 points short), whichever way the
  // subtraction rounds.
  const Case cases[] = {{0.83, 0.9, false}, {0.81, 0.9, true},  {0.95, 0.9, false},
                        {0.43, 0.5, false}, {0.41, 0.5, true},  {0.69, 0.8, true},
                        {0.82, 0.9, false}, {0.42, 0.5, false}, {0.72, 0.8, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.coverage) + " of " + std::to_string(c.nominal));
    EXPECT_EQ(dispfit::fallsShort(c.coverage, c.nominal), c.shortOfIt);
  }

  dispfit::MeasuredCoverage exact{{3, 3}, 100, {0.5, 0.8, 0.9}, {0.5, 0.8, 0.9}, true};
  EXPECT_FALSE(dispfit::anyFallsShort(exact));
  exact.vsAtDepth[2] = 0.7;  // a shallow Vs's 90 % interval at 70 %
  EXPECT_TRUE(dispfit::anyFallsShort(exact));
  exact.vsAtDepthMeasured = false;  // what was not measured cannot condemn
  EXPECT_FALSE(dispfit::anyFallsShort(exact));
}

TEST(MeasuredCalibration, TheNoteStatesTheConditionsAndTheMeasuredShortfall) {
  struct Case {
    LayerCountRange counts;
    std::vector<std::string> phrases;
  };
  // 3 layers: Vs30 at 53/85/94 %, Vs at depth at no less than 45/74/82 %:
  // Vs at 2 m in its 90 % interval exactly 8 points short, on the edge and so
  // within the target. 5 layers: Vs30 at 47/82/91 %, Vs at depth at no less
  // than 46/73/90 %. 2-6 layers: Vs30 at 53/83/93 %, Vs at depth at no less
  // than 51/81/91 %.
  const Case cases[] = {
      {{3, 3},
       {"conditional on the ranges holding the site", "100 synthetic sites of 3 layers",
        "true Vs30 at 53/85/94 %", "no less than 45/74/82 %", "within 8 points of their nominal"}},
      {{4, 4},
       {"100 synthetic sites of 5 layers", "4 layers were not measured", "47/82/91 %",
        "within 8 points of their nominal"}},
      {{2, 6},
       {"100 synthetic sites of 2 to 6 layers", "53/83/93 %", "no less than 51/81/91 %",
        "within 8 points of their nominal"}},
  };
  for (const Case& c : cases) {
    const std::string note = dispfit::calibrationNote(c.counts);
    SCOPED_TRACE(note);
    for (const std::string& phrase : c.phrases) {
      EXPECT_NE(note.find(phrase), std::string::npos) << phrase;
    }
  }
  EXPECT_EQ(dispfit::calibrationNote({5, 5}).find("were not measured"), std::string::npos);
  // Under the surface-observed rule none of the lowest root's figures
  // applies: a fixed count up to 3 gets the 3-layer run measured under that
  // rule (Vs30 at 47/81/90 %, Vs at depth at no less than 48/74/83 %), any
  // other count the run of 2 to 6 layers (100 sites: 49/74/85 %, no less than
  // 50/75/85 %), saying so where the count itself was not measured.
  const std::string three = dispfit::calibrationNote({2, 2}, swcore::ForwardRule::surfaceObserved);
  EXPECT_NE(three.find("(under the surface-observed rule, 100 synthetic sites of 3 layers"),
            std::string::npos)
      << three;
  EXPECT_NE(three.find("each curve its surface-observed fundamental"), std::string::npos);
  EXPECT_NE(three.find("2 layers were not measured"), std::string::npos);
  EXPECT_NE(three.find("true Vs30 at 47/81/90 %"), std::string::npos) << three;
  EXPECT_EQ(three.find("53/85/94 %"), std::string::npos) << three;
  EXPECT_EQ(dispfit::measuredObservedCoverageFor({3, 3}).counts, (LayerCountRange{3, 3}));
  for (const LayerCountRange counts : {LayerCountRange{5, 5}, LayerCountRange{2, 6},
                                       LayerCountRange{2, 3}, LayerCountRange{9, 9}}) {
    EXPECT_EQ(dispfit::measuredObservedCoverageFor(counts).counts, (LayerCountRange{2, 6}));
    const std::string note = dispfit::calibrationNote(counts, swcore::ForwardRule::surfaceObserved);
    SCOPED_TRACE(note);
    EXPECT_NE(note.find("conditional on the ranges holding the site"), std::string::npos);
    EXPECT_NE(note.find("(under the surface-observed rule, 100 synthetic sites of 2 to 6 layers"),
              std::string::npos);
    EXPECT_NE(note.find("true Vs30 at 49/74/85 %"), std::string::npos);
    EXPECT_NE(note.find("no less than 50/75/85 %"), std::string::npos);
    const bool sampled = counts == LayerCountRange{2, 6};
    EXPECT_EQ(note.find("were not measured") == std::string::npos, sampled);
    EXPECT_EQ(note.find("53/83/93 %"), std::string::npos);
  }
}

}  // namespace
