// SPDX-License-Identifier: GPL-3.0-or-later
// The progress line of a long search: its text, and that nothing is written
// when standard error is not a terminal.
#include "progress_line.h"

#include <gtest/gtest.h>

#include <limits>
#include <sstream>

namespace {

using dispfit::MisfitKind;
using dispfit::SearchProgress;

TEST(ProgressLine, TextGivesModelsBestAcceptedAndTimeLeft) {
  // 1000 of 4000 models in 2 s: 3000 more at 500 a second take 6 s.
  EXPECT_EQ(dispfit::progressText({1000, 4000, 0.537, 12}, MisfitKind::Normalised, 2.0),
            "1000 of 4000 models, best normalised misfit 0.54, 12 accepted, 6 s left");
  // 2.5 s left rounds up to 3 s; a misfit in m/s says so.
  EXPECT_EQ(dispfit::progressText({100, 200, 3.0, 0}, MisfitKind::MetresPerSecond, 2.5),
            "100 of 200 models, best misfit (m/s) 3.00, 0 accepted, 3 s left");
  // No model with a curve yet; done: no time left is shown.
  EXPECT_EQ(dispfit::progressText({200, 200, std::numeric_limits<double>::infinity(), 0},
                                  MisfitKind::Normalised, 1.0),
            "200 of 200 models, best normalised misfit none yet, 0 accepted");
}

TEST(ProgressLine, WritesInPlaceOnlyWhenShown) {
  std::ostringstream hidden;
  dispfit::ProgressLine quiet(hidden, false, MisfitKind::Normalised);
  quiet.update({10, 20, 1.0, 1});
  quiet.finish();
  EXPECT_EQ(hidden.str(), "");

  std::ostringstream shown;
  dispfit::ProgressLine line(shown, true, MisfitKind::Normalised);
  line.update({10, 20, 1.0, 1});
  line.update({20, 20, 0.5, 2});  // the last update is always shown
  line.finish();
  const std::string text = shown.str();
  EXPECT_EQ(text.front(), '\r');
  EXPECT_NE(text.find("\r20 of 20 models, best normalised misfit 0.50, 2 accepted"),
            std::string::npos);
  EXPECT_EQ(text.back(), '\n');
}

}  // namespace
