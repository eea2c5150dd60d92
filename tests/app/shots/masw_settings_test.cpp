// SPDX-License-Identifier: GPL-3.0-or-later
// The one rule of which MASW settings can be used, shared by dispfit-masw
// and the shot-records window: each fault on a settings that has it alone,
// the records' Nyquist frequency, and what a change of settings asks to be
// done anew.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "shots/masw_settings.h"

namespace dispfit_test {
namespace {

using dispfit::MaswSettingFault;
using dispfit::MaswSettings;
using Fault = MaswSettingFault;

TEST(MaswSettings, TheDefaultsAreValidAndTheirFloorIsHalfTheVelocityStep) {
  const MaswSettings settings = dispfit::defaultMaswSettings();
  EXPECT_TRUE(dispfit::maswSettingFaults(settings).empty());
  EXPECT_EQ(settings.request.image.grid.frequency.count(), 191u);  // 5 to 100 by 0.5
  EXPECT_EQ(settings.request.image.grid.velocity.count(), 951u);   // 50 to 1000 by 1
  EXPECT_EQ(settings.request.statistics.leastOffsets, 3u);
  EXPECT_EQ(settings.request.statistics.sigmaFloor, 0.5);
  MaswSettings coarse = settings;
  coarse.request.image.grid.velocity.step = 5.0;
  EXPECT_EQ(dispfit::completedSettings(coarse).request.statistics.sigmaFloor, 2.5);
}

TEST(MaswSettings, EachFaultIsFoundOnSettingsThatHaveItAlone) {
  struct Case {
    const char* name;
    std::function<void(MaswSettings&)> change;
    std::vector<Fault> faults;
  };
  const Case cases[] = {
      {"lowest frequency 0",
       [](MaswSettings& s) { s.request.image.grid.frequency.first = 0.0; },
       {Fault::lowestFrequency}},
      {"frequency step 0",
       [](MaswSettings& s) { s.request.image.grid.frequency.step = 0.0; },
       {Fault::frequencyStep}},
      {"lowest frequency at the highest",
       [](MaswSettings& s) { s.request.image.grid.frequency.first = 100.0; },
       {Fault::frequencyOrder}},
      // 5 to 100 Hz by 0.0009 Hz: 105,556 steps, beyond 100,000.
      {"frequency step too fine",
       [](MaswSettings& s) { s.request.image.grid.frequency.step = 0.0009; },
       {Fault::frequencyCells}},
      {"lowest velocity negative",
       [](MaswSettings& s) { s.request.image.grid.velocity.first = -5.0; },
       {Fault::lowestVelocity}},
      {"velocity step negative",
       [](MaswSettings& s) { s.request.image.grid.velocity.step = -1.0; },
       {Fault::velocityStep}},
      {"velocities reversed",
       [](MaswSettings& s) { s.request.image.grid.velocity.last = 40.0; },
       {Fault::velocityOrder}},
      {"velocity step too fine",
       [](MaswSettings& s) { s.request.image.grid.velocity.step = 0.005; },
       {Fault::velocityCells}},
      {"window reversed",
       [](MaswSettings& s) {
         s.request.image.window.start = 0.5;
         s.request.image.window.end = 0.2;
       },
       {Fault::windowOrder}},
      {"window of one end only", [](MaswSettings& s) { s.request.image.window.end = 0.2; }, {}},
      {"mute velocity 0",
       [](MaswSettings& s) {
         s.request.image.window.start = 0.0;
         s.request.image.window.end = 0.2;
         s.request.image.window.fastVelocity = 600.0;
         s.request.image.window.slowVelocity = 0.0;
       },
       {Fault::muteVelocity}},
      {"mute reversed",
       [](MaswSettings& s) {
         s.request.image.window.start = 0.0;
         s.request.image.window.end = 0.2;
         s.request.image.window.fastVelocity = 100.0;
         s.request.image.window.slowVelocity = 600.0;
       },
       {Fault::muteOrder}},
      {"mute without its window's end",
       [](MaswSettings& s) {
         s.request.image.window.start = 0.0;
         s.request.image.window.fastVelocity = 600.0;
         s.request.image.window.slowVelocity = 100.0;
       },
       {Fault::muteWithoutWindow}},
      {"first receiver without spacing",
       [](MaswSettings& s) { s.geometry.firstReceiver = 0.0; },
       {Fault::receiverPlaces}},
      {"spacing 0",
       [](MaswSettings& s) {
         s.geometry.firstReceiver = 0.0;
         s.geometry.spacing = 0.0;
       },
       {Fault::receiverSpacing}},
      {"reverse spacing",
       [](MaswSettings& s) {
         s.geometry.firstReceiver = 46.0;
         s.geometry.spacing = -2.0;
       },
       {}},
      {"sample interval 0",
       [](MaswSettings& s) { s.geometry.sampleInterval = 0.0; },
       {Fault::sampleInterval}},
      {"receivers from 0",
       [](MaswSettings& s) {
         s.geometry.receivers = {{0, 12}};
       },
       {Fault::receiverRange}},
      {"receivers reversed",
       [](MaswSettings& s) {
         s.geometry.receivers = {{12, 12}};
       },
       {Fault::receiverRange}},
      {"receivers past the most a record holds",
       [](MaswSettings& s) {
         s.geometry.receivers = {{1, 4097}};
       },
       {Fault::receiverRange}},
      {"one offset",
       [](MaswSettings& s) { s.request.statistics.leastOffsets = 1; },
       {Fault::leastOffsets}},
      {"no bins a decade",
       [](MaswSettings& s) {
         s.request.statistics.domain = dispfit::StatisticsDomain::logWavelength;
         s.request.statistics.binsPerDecade = 0;
       },
       {Fault::binsPerDecade}},
      {"no bins, by frequency",
       [](MaswSettings& s) { s.request.statistics.binsPerDecade = 0; },
       {}},
      {"pick velocities reversed",
       [](MaswSettings& s) {
         s.request.picking.lowestVelocity = 400.0;
         s.request.picking.highestVelocity = 300.0;
       },
       {Fault::pickVelocityOrder}},
      {"pick velocities above the image",
       [](MaswSettings& s) {
         s.request.picking.lowestVelocity = 1200.0;
         s.request.picking.highestVelocity = 1500.0;
       },
       {Fault::pickVelocitiesOutside}},
      {"pick velocities reaching into the image",
       [](MaswSettings& s) {
         s.request.picking.lowestVelocity = 900.0;
         s.request.picking.highestVelocity = 1500.0;
       },
       {}},
      {"seed above the highest frequency",
       [](MaswSettings& s) {
         s.request.picking.seed = dispfit::SeedPoint{120.0, 300.0};
       },
       {Fault::seedOutside}},
      {"seed on the image's corner",
       [](MaswSettings& s) {
         s.request.picking.seed = dispfit::SeedPoint{100.0, 1000.0};
       },
       {}},
      {"largest change 1",
       [](MaswSettings& s) { s.request.picking.largestChange = 1.0; },
       {Fault::largestChange}},
      {"largest change 0",
       [](MaswSettings& s) { s.request.picking.largestChange = 0.0; },
       {Fault::largestChange}},
      // Two faults at once come in the list's order; the grid's faults keep
      // the picking from being checked against a grid that cannot be made.
      {"two faults",
       [](MaswSettings& s) {
         s.request.image.grid.velocity.step = 0.0;
         s.request.statistics.leastOffsets = 0;
         s.request.picking.seed = dispfit::SeedPoint{500.0, 300.0};
       },
       {Fault::velocityStep, Fault::leastOffsets}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    MaswSettings settings = dispfit::defaultMaswSettings();
    c.change(settings);
    EXPECT_EQ(dispfit::maswSettingFaults(settings), c.faults);
  }
}

TEST(MaswSettings, TheHighestFrequencyLiesBelowTheRecordsNyquistFrequency) {
  MaswSettings settings = dispfit::defaultMaswSettings();  // up to 100 Hz
  const std::vector<Fault> above = {Fault::aboveNyquist};
  // Sampled every 5 ms: Nyquist at 100 Hz, which the image reaches.
  EXPECT_EQ(dispfit::maswSettingFaults(settings, 0.005), above);
  EXPECT_TRUE(dispfit::maswSettingFaults(settings, 0.004).empty());  // 125 Hz
  // The settings' own sample interval replaces the records'.
  settings.geometry.sampleInterval = 0.001;
  EXPECT_TRUE(dispfit::maswSettingFaults(settings, 0.005).empty());
  settings.geometry.sampleInterval = 0.01;
  EXPECT_EQ(dispfit::maswSettingFaults(settings), above);
  EXPECT_TRUE(dispfit::belowNyquist(99.9, 0.005));
  EXPECT_FALSE(dispfit::belowNyquist(100.0, 0.005));
}

TEST(MaswSettings, AChangeAsksForTheLeastThatDependsOnIt) {
  using dispfit::SettingsChange;
  const MaswSettings base = dispfit::defaultMaswSettings();
  struct Case {
    const char* name;
    std::function<void(MaswSettings&)> change;
    SettingsChange expected;
  };
  const Case cases[] = {
      {"nothing", [](MaswSettings&) {}, SettingsChange::none},
      {"least offsets", [](MaswSettings& s) { s.request.statistics.leastOffsets = 4; },
       SettingsChange::statistics},
      {"largest change", [](MaswSettings& s) { s.request.picking.largestChange = 0.05; },
       SettingsChange::picking},
      {"transform",
       [](MaswSettings& s) { s.request.image.transform = dispfit::ImageTransform::beamformer; },
       SettingsChange::images},
      {"window", [](MaswSettings& s) { s.request.image.window.end = 0.5; }, SettingsChange::images},
      {"velocity step, which moves sigma's floor too",
       [](MaswSettings& s) {
         s = dispfit::completedSettings(s);
         s.request.image.grid.velocity.step = 2.0;
       },
       SettingsChange::images},
      {"source and picking",
       [](MaswSettings& s) {
         s.geometry.source = -5.0;
         s.request.picking.largestChange = 0.05;
       },
       SettingsChange::geometry},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    MaswSettings after = base;
    c.change(after);
    EXPECT_EQ(dispfit::settingsChange(base, after), c.expected);
  }
}

}  // namespace
}  // namespace dispfit_test
