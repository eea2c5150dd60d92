// SPDX-License-Identifier: GPL-3.0-or-later
// The posterior report's checks on a summary set by hand: each check's line,
// its warning only where it fails, the causes the fit check's warning names
// under each rule, and the marks on the intervals, together where several
// apply.
#include <gtest/gtest.h>

#include <string>

#include "posterior_report.h"

namespace {

using namespace dispfit;

PosteriorReportInputs inputs(double fitP, std::size_t departing, bool converged) {
  PosteriorReportInputs in;
  in.forward.rule = swcore::ForwardRule::lowestRoot;
  in.fittedPoints = 30;
  PosteriorSummary& s = in.summary;
  s.samples = 1000;
  s.chains = 8;
  s.counts = {3, 3};
  s.convergence.converged = converged;
  s.convergence.rhatVs30 = converged ? 1.01 : 1.5;
  s.convergence.rhatLogLikelihood = 1.01;
  s.fit = FitCheck{30.0, 25, fitP};
  s.recordedModes = RecordedModeCheck{200, departing};
  s.averages.push_back({30.0, Credible{300, 310, 320, 330, 340, 350, 360}, false});
  return in;
}

bool holds(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

TEST(PosteriorReport, ChecksWarnOnlyWhereTheyFailAndMarkTheIntervals) {
  // Both pass: their lines, no warning, no mark.
  const std::string quiet = posteriorReport(inputs(0.5, 9, true));
  EXPECT_TRUE(holds(quiet, "Fit check: the best fit's Q 30.0 with 25 degrees of freedom"));
  EXPECT_TRUE(holds(quiet, "chi-square p 0.5\n"));
  EXPECT_TRUE(holds(quiet, "Forward-rule check: 9 of 200 samples (4.5 %)"));
  EXPECT_FALSE(holds(quiet, "Warning:")) << quiet;
  EXPECT_TRUE(holds(quiet, "Credible intervals (equal-tailed percentiles of the samples, m/s):"));

  // 10 of 200 is 5 %: the forward-rule check warns; p just below 0.001:
  // so does the fit check, with the lowest root's likely cause first.
  const PosteriorReportInputs both = inputs(0.0009, 10, true);
  const std::string loud = posteriorReport(both);
  EXPECT_TRUE(holds(loud,
                    "Warning: 5 % of the samples fit the curve through modes a surface "
                    "array would not record"))
      << loud;
  EXPECT_TRUE(holds(loud, "Warning: no model of the ranges fits the curve within its sigma"));
  EXPECT_TRUE(holds(misfitWarning(both.summary, swcore::ForwardRule::lowestRoot),
                    "a mode other than the lowest root (sample under the surface-observed rule"));
  EXPECT_TRUE(holds(loud, "(misfit beyond sigma; holding unrecorded modes):")) << loud;

  // Under the surface-observed rule the fit check does not send the user to
  // that rule.
  const std::string observed = misfitWarning(both.summary, swcore::ForwardRule::surfaceObserved);
  EXPECT_TRUE(holds(observed, "the ranges may exclude the site")) << observed;
  EXPECT_FALSE(holds(observed, "surface-observed rule")) << observed;

  // Not converged comes first among the marks.
  const std::string unsettled = posteriorReport(inputs(0.0001, 0, false));
  EXPECT_TRUE(holds(unsettled, "(not converged; misfit beyond sigma):")) << unsettled;
  EXPECT_TRUE(recordedModeWarning(inputs(0.5, 9, true).summary).empty());
}

}  // namespace
