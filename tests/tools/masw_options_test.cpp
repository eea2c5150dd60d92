// SPDX-License-Identifier: GPL-3.0-or-later
// dispfit-masw's command line without running the program: what each option
// sets, the faults of the settings' rule in the options' words, and every
// fault worded.
#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "masw_options.h"

namespace {

using dispfit::MaswCommand;

MaswCommand parse(std::vector<std::string_view> arguments) {
  return dispfit::parseMaswOptions(arguments);
}

TEST(MaswOptions, EachOptionSetsItsSetting) {
  const MaswCommand command = parse({"a.sg2",
                                     "--fmin",
                                     "2",
                                     "--fmax",
                                     "60",
                                     "--df",
                                     "0.25",
                                     "--vmin",
                                     "80",
                                     "--vmax",
                                     "900",
                                     "--dv",
                                     "2",
                                     "--transform",
                                     "fdbf",
                                     "--window",
                                     "0",
                                     "0.6",
                                     "--mute",
                                     "800",
                                     "120",
                                     "--first",
                                     "10",
                                     "--spacing",
                                     "-2",
                                     "--source",
                                     "12",
                                     "--sample-interval",
                                     "0.0005",
                                     "--receivers",
                                     "3",
                                     "20",
                                     "--min-offsets",
                                     "4",
                                     "--wavelength-bins",
                                     "12",
                                     "--seed",
                                     "20",
                                     "250",
                                     "--pick-velocities",
                                     "100",
                                     "600",
                                     "--max-change",
                                     "0.05",
                                     "b.sg2"});
  ASSERT_EQ(command.action, MaswCommand::Action::Run) << command.error;
  EXPECT_EQ(command.recordPaths, (std::vector<std::string>{"a.sg2", "b.sg2"}));
  const dispfit::SurveyRequest& request = command.settings.request;
  EXPECT_EQ(request.image.grid.frequency, (dispfit::EvenSteps{2.0, 60.0, 0.25}));
  EXPECT_EQ(request.image.grid.velocity, (dispfit::EvenSteps{80.0, 900.0, 2.0}));
  EXPECT_EQ(request.image.transform, dispfit::ImageTransform::beamformer);
  EXPECT_EQ(request.image.window.start, 0.0);
  EXPECT_EQ(request.image.window.end, 0.6);
  EXPECT_EQ(request.image.window.fastVelocity, 800.0);
  EXPECT_EQ(request.image.window.slowVelocity, 120.0);
  const dispfit::GeometryOverrides& geometry = command.settings.geometry;
  EXPECT_EQ(geometry.firstReceiver, 10.0);
  EXPECT_EQ(geometry.spacing, -2.0);
  EXPECT_EQ(geometry.source, 12.0);
  EXPECT_EQ(geometry.sampleInterval, 0.0005);
  EXPECT_EQ(geometry.receivers, (std::pair<std::size_t, std::size_t>{3, 20}));
  EXPECT_EQ(request.statistics.leastOffsets, 4u);
  EXPECT_EQ(request.statistics.domain, dispfit::StatisticsDomain::logWavelength);
  EXPECT_EQ(request.statistics.binsPerDecade, 12u);
  EXPECT_EQ(request.statistics.sigmaFloor, 1.0);  // half of --dv
  ASSERT_TRUE(request.picking.seed);
  EXPECT_EQ(*request.picking.seed, (dispfit::SeedPoint{20.0, 250.0}));
  EXPECT_EQ(request.picking.lowestVelocity, 100.0);
  EXPECT_EQ(request.picking.highestVelocity, 600.0);
  EXPECT_EQ(request.picking.largestChange, 0.05);
  // Without options: the settings' defaults.
  EXPECT_EQ(parse({"a.sg2"}).settings, dispfit::defaultMaswSettings());
}

TEST(MaswOptions, SettingsThatCannotBeUsedAreRefusedInTheOptionsWords) {
  struct Case {
    std::vector<std::string_view> arguments;
    std::string error;
  };
  const Case cases[] = {
      {{"a.sg2", "--fmin", "0"}, "--fmin must be above 0 Hz"},
      {{"a.sg2", "--fmin", "50", "--fmax", "20"}, "--fmin must lie below --fmax"},
      {{"a.sg2", "--dv", "0.001"}, "--dv gives more than 100000 steps from --vmin to --vmax"},
      {{"a.sg2", "--fmax", "600", "--sample-interval", "0.001"},
       "--fmax lies at or above the Nyquist frequency of --sample-interval"},
      {{"a.sg2", "--window", "0.5", "0.1"}, "--window: T0 must lie before T1"},
      {{"a.sg2", "--mute", "800", "120"},
       "--mute moves the window of --window T0 T1, which is not given"},
      {{"a.sg2", "--window", "0", "1", "--mute", "100", "800"},
       "--mute: VFAST must be above VSLOW"},
      {{"a.sg2", "--first", "0"}, "--first and --spacing are given together"},
      {{"a.sg2", "--first", "0", "--spacing", "0"}, "--spacing must not be 0"},
      {{"a.sg2", "--receivers", "5", "5"},
       "--receivers: A and B must be receivers from 1 to 4096, A before B"},
      {{"a.sg2", "--min-offsets", "1"}, "--min-offsets must be a whole number from 2 to 1000"},
      {{"a.sg2", "--wavelength-bins", "0"},
       "--wavelength-bins must be a whole number from 1 to 1000"},
      {{"a.sg2", "--pick-velocities", "1100", "1500"},
       "--pick-velocities: LO to HI lies outside --vmin to --vmax"},
      {{"a.sg2", "--seed", "200", "300"}, "--seed: F V lies outside the image"},
      {{"a.sg2", "--max-change", "1"}, "--max-change: a share above 0 and below 1"},
      // What the options' reader refuses: not numbers, not whole, unknown.
      {{"a.sg2", "--fmin", "x"}, "--fmin"},
      {{"a.sg2", "--min-offsets", "2.5"}, "--min-offsets"},
      {{"a.sg2", "--threads", "0"}, "--threads"},
      {{"a.sg2", "--frequencies"}, "unknown option --frequencies"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.error);
    const MaswCommand command = parse(c.arguments);
    EXPECT_EQ(command.action, MaswCommand::Action::Error);
    EXPECT_NE(command.error.find(c.error), std::string::npos) << command.error;
  }
}

TEST(MaswOptions, EveryFaultIsWordedWithTheOptionThatMakesIt) {
  for (int n = 0; n <= int(dispfit::MaswSettingFault::largestChange); ++n) {
    const std::string text = dispfit::maswFaultText(dispfit::MaswSettingFault(n));
    SCOPED_TRACE(n);
    EXPECT_EQ(text.rfind("--", 0), 0u) << text;
  }
}

}  // namespace
