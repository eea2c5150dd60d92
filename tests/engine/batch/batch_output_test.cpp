// SPDX-License-Identifier: GPL-3.0-or-later
// The batch run's output files: a result with a number that is not finite is
// refused before any file is touched. (The layouts of finite results are
// checked through the batch run itself.)
#include "batch/batch_output.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "scratch_directory.h"

namespace swcore {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInfinity = std::numeric_limits<double>::infinity();

class BatchOutput : public dispfit_test::ScratchDirectory {};

TEST_F(BatchOutput, ForwardCurveWithANumberThatIsNotFiniteLeavesTheCurveFile) {
  struct Case {
    const char* name;
    ForwardCurve curve;
    const char* named;  // what the message names
  };
  const auto nanf = std::numeric_limits<float>::quiet_NaN();
  const auto inff = std::numeric_limits<float>::infinity();
  const std::vector<Case> cases{
      {"NaN velocity", {{30, 20, 5}, {142.1f, nanf, 338.1f}}, "phase velocity of datum 2"},
      {"negative NaN first", {{30}, {-nanf}}, "phase velocity of datum 1"},
      {"infinite velocity", {{30, 20}, {142.1f, inff}}, "phase velocity of datum 2"},
      {"infinite frequency", {{inff, 20}, {142.1f, 150.0f}}, "frequency of datum 1"},
  };
  const std::string observed = "3\n30 140 0.5\n20 150 0.5\n5 330 1\n";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    write("FIT.TXT", observed);
    std::string error;
    EXPECT_FALSE(writeForwardCurve(dir_, c.curve, error));
    EXPECT_NE(error.find(c.named), std::string::npos) << error;
    EXPECT_NE(error.find("not a finite number"), std::string::npos) << error;
    EXPECT_EQ(read("FIT.TXT"), observed);
    EXPECT_EQ(listing(), "FIT.TXT") << "no backup and no scratch file";
  }
}

TEST_F(BatchOutput, InversionResultWithANumberThatIsNotFiniteLeavesBothFiles) {
  const InversionResult finite{{0.05, 0.2}, {160, 300}, {161, 299}, {150, 5}, {170, 6}};
  struct Case {
    const char* name;
    InversionResult result;
    const char* named;
  };
  std::vector<Case> cases;
  cases.push_back({"NaN fitted velocity", finite, "fitted velocity of datum 2"});
  cases.back().result.fittedVelocity[1] = -kNaN;
  cases.push_back({"infinite fitted parameter", finite, "fitted parameter 1"});
  cases.back().result.fittedParameter[0] = -kInfinity;
  cases.push_back({"NaN observed velocity", finite, "observed velocity of datum 1"});
  cases.back().result.observedVelocity[0] = kNaN;
  cases.push_back({"infinite period", finite, "period of datum 2"});
  cases.back().result.period[1] = kInfinity;
  cases.push_back({"NaN starting parameter", finite, "starting parameter 2"});
  cases.back().result.startingParameter[1] = kNaN;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    write("TVF.TXT", "old tvf\n");
    write("HPV.TXT", "old hpv\n");
    std::string error;
    EXPECT_FALSE(writeInversionResult(dir_, c.result, error));
    EXPECT_NE(error.find(c.named), std::string::npos) << error;
    EXPECT_EQ(read("TVF.TXT"), "old tvf\n");
    EXPECT_EQ(read("HPV.TXT"), "old hpv\n");
    EXPECT_EQ(listing(), "HPV.TXT TVF.TXT");
  }
}

}  // namespace
}  // namespace swcore
