// SPDX-License-Identifier: GPL-3.0-or-later
#include "batch/batch_run.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "batch/batch_files.h"
#include "files/free_format_reader.h"
#include "inversion/dispersion_evaluation.h"
#include "inversion_fixtures.h"
#include "scratch_directory.h"
#include "stream_sink.h"

namespace swcore {
namespace {

namespace fs = std::filesystem;

// A directory of its own for every test, removed afterwards.
class BatchDirectory : public dispfit_test::ScratchDirectory {
 protected:
  BatchResult run(const BatchSettings& settings = {}) {
    state_ = std::make_unique<EngineState>();
    console_.str("");
    RecordWriter writer(streamSink(console_));
    return INVRUN(*state_, settings, dir_, writer);
  }

  // The numbers of a file, read back in free format.
  std::vector<double> numbers(const std::string& name, std::size_t count) const {
    std::ifstream in(dir_ / name);
    FreeFormatReader reader(in, name);
    std::vector<double> values;
    EXPECT_TRUE(reader.readReals(count, values)) << reader.error();
    return values;
  }

  std::unique_ptr<EngineState> state_;
  std::ostringstream console_;
};

// 5 m and 10 m over a half-space, 150, 250, 400 m/s.
const std::string kModel = "3\n5 150 1.8\n10 250 1.9\n0 400 2.0\n";
const std::string kPrompts = "INPUT KK=\nKPG=\nBL=,BU=\nHL=,HU=\nEA=\n";

TEST_F(BatchDirectory, BuiltInSettingsRewriteTheCurveFileWithTheForwardCurve) {
  write("SHR.TXT", kModel);
  write("FIT.TXT", "4\n150 1\n20 2\n10 3\n5 4\n");
  const BatchResult result = run();
  ASSERT_TRUE(result.ok) << result.error;
  EXPECT_EQ(console_.str(), kPrompts + "L= 3  M= 4\n");
  // Phase velocities of this model from its determinant roots, m/s.
  const std::vector<double> file = numbers("FIT.TXT", 9);
  EXPECT_EQ(file[0], 4);
  const double expected[] = {142.097, 149.943, 221.983, 338.131};
  const double hertz[] = {150, 20, 10, 5};
  for (std::size_t j = 0; j < 4; ++j) {
    EXPECT_EQ(file[1 + 2 * j], hertz[j]);
    EXPECT_NEAR(file[2 + 2 * j], expected[j], 1e-3);
  }
  // One line per datum, as read.
  const std::string text = read("FIT.TXT");
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 5);
  EXPECT_FALSE(exists("TVF.TXT"));
  EXPECT_FALSE(exists("HPV.TXT"));
  EXPECT_FALSE(exists("FIT.TXT.new"));
  EXPECT_EQ(state_->KK, 0);
  EXPECT_EQ(state_->HU, 0.05000000074505806);
  EXPECT_EQ(state_->BL, 0.009999999776482582);
}

TEST_F(BatchDirectory, ForwardCurveFileReadsBackAsObservedData) {
  write("SHR.TXT", kModel);
  write("FIT.TXT", "3\n30 0 extra\n12.5,0\n5 0 0.5\n");
  ASSERT_TRUE(run().ok);
  const std::string first = read("FIT.TXT");
  ASSERT_TRUE(run().ok);
  EXPECT_EQ(read("FIT.TXT"), first) << "the written curve is read back unchanged";
  const std::vector<double> values = numbers("FIT.TXT", 7);
  EXPECT_EQ(values[3], 12.5);
  EXPECT_EQ(state_->VOBS[2], values[6] / 1000.0);
}

TEST_F(BatchDirectory, ModelLayoutOnLinesDoesNotMatter) {
  write("FIT.TXT", "2\n20 0\n5 0\n");
  write("SHR.TXT", "3\n5\n150\n1.8\n10\n250\n1.9\n0\n400\n2.0\n");
  ASSERT_TRUE(run().ok);
  const std::string spread = read("FIT.TXT");
  write("FIT.TXT", "2\n20 0\n5 0\n");
  write("SHR.TXT", "3 layers\n5 150 1.8 10 250 1.9 0 400 2.0\n");
  ASSERT_TRUE(run().ok);
  EXPECT_EQ(read("FIT.TXT"), spread);
}

// Forward curve of the model, then an inversion from `start` with the flags.
class BatchInversion : public BatchDirectory {
 protected:
  BatchResult invert(const std::string& start, const std::string& flags) {
    write("SHR.TXT", start);
    write("LX.TXT", flags);
    BatchSettings settings;
    settings.KK = 1;
    return run(settings);
  }
  void observeModel(const std::string& fit) {
    write("SHR.TXT", kModel);
    write("FIT.TXT", fit);
    ASSERT_TRUE(run().ok);
  }
};

std::string standardFrequencyFile() {
  std::string text = "30\n";
  for (int f = 150; f >= 5; f -= 5) {
    text += std::to_string(f) + " 0\n";
  }
  return text;
}

TEST_F(BatchInversion, PerturbedModelIsRecoveredFromItsForwardCurve) {
  observeModel(standardFrequencyFile());
  const BatchResult result = invert("3\n6 170 1.8\n8 230 1.9\n0 420 2.0\n", "0 0 0 0 0 1\n");
  ASSERT_TRUE(result.ok) << result.error;
  EXPECT_EQ(result.inversion.ISTAT, kStatusConverged);
  EXPECT_LT(result.inversion.PHIOUT, 1e-5);
  // HPV.TXT: the five free parameters, fitted and initial, m/s and m.
  const std::vector<double> hpv = numbers("HPV.TXT", 10);
  const double truth[] = {150, 5, 250, 10, 400};
  const double initial[] = {170, 6, 230, 8, 420};
  const double tolerance[] = {2, 0.5, 5, 1, 10};
  for (std::size_t k = 0; k < 5; ++k) {
    EXPECT_NEAR(hpv[2 * k], truth[k], tolerance[k]) << "parameter " << k;
    EXPECT_NEAR(hpv[2 * k + 1], initial[k], 1e-9);
  }
  std::cout << "fitted: vs1 " << hpv[0] << " m/s, h1 " << hpv[2] << " m, vs2 " << hpv[4]
            << " m/s, h2 " << hpv[6] << " m, vs3 " << hpv[8] << " m/s; misfit "
            << result.inversion.PHIOUT << " (km/s)^2 after " << result.inversion.ITER << " steps\n";
  // The console ends with the status record and the column header.
  const std::string console = console_.str();
  EXPECT_NE(console.find("INVERSION FOR RAYLEIGH WAVE DISPERSION\nDAMPING LEAST SQUARE METHOD\n"),
            std::string::npos);
  EXPECT_NE(console.find("0.009999999776482582 5 9.999999747378752e-05 0.05000000074505806\n"),
            std::string::npos);
  const std::string tail = "PERIOD      THEORETICA VALUE      OBSERVED VALUE\n";
  ASSERT_GE(console.size(), tail.size());
  EXPECT_EQ(console.substr(console.size() - tail.size()), tail);
}

TEST_F(BatchInversion, OutputFilesHoldTheFittedCurveAndOnlyTheFreeParameters) {
  observeModel("3\n40 0\n20 0\n8 0\n");
  const BatchResult result = invert("3\n5 150 1.8\n10 265 1.9\n0 400 2.0\n", "1,1 0 1\n1 1\n");
  ASSERT_TRUE(result.ok) << result.error;
  // TVF.TXT: (period, fitted, observed) per datum, no header line.
  const std::vector<double> tvf = numbers("TVF.TXT", 9);
  const std::vector<double> fit = numbers("FIT.TXT", 7);
  for (std::size_t j = 0; j < 3; ++j) {
    EXPECT_DOUBLE_EQ(tvf[3 * j], 1.0 / fit[1 + 2 * j]);
    EXPECT_NEAR(tvf[3 * j + 1], fit[2 + 2 * j], 2.0);
    EXPECT_NEAR(tvf[3 * j + 2], fit[2 + 2 * j], 1e-9);
  }
  EXPECT_EQ(read("TVF.TXT").find("PERIOD"), std::string::npos);
  // HPV.TXT: one line, the one free parameter (S velocity of layer 2).
  const std::string parameters = read("HPV.TXT");
  EXPECT_EQ(std::count(parameters.begin(), parameters.end(), '\n'), 1);
  const std::vector<double> hpv = numbers("HPV.TXT", 2);
  EXPECT_NEAR(hpv[0], 250, 3);
  EXPECT_EQ(hpv[1], 265);
}

TEST_F(BatchInversion, HalfSpaceAloneIsInvertedWithoutBoundsAdjustment) {
  write("SHR.TXT", "1\n0 150 1.8\n");
  write("FIT.TXT", "2\n30 0\n10 0\n");
  ASSERT_TRUE(run().ok);
  const BatchResult result = invert("1\n0 170 1.8\n", "0 1\n");
  ASSERT_TRUE(result.ok) << result.error;
  EXPECT_EQ(result.inversion.ISTAT, kStatusConverged);
  const std::vector<double> hpv = numbers("HPV.TXT", 2);
  // The run stops once the misfit of two data is below EA = 1e-5 (km/s)^2:
  // within about 2.2 m/s in c, 2.4 m/s in the S velocity.
  EXPECT_LT(result.inversion.PHIOUT, 1e-5);
  EXPECT_NEAR(hpv[0], 150.0, 2.4);
  EXPECT_EQ(hpv[1], 170.0);
}

TEST_F(BatchInversion, GroupVelocitiesAreFittedWithTheGroupSwitch) {
  // Observed group velocities of the model, from the evaluation itself.
  const double hertz[] = {60, 30, 20, 15, 10, 7, 5};
  EngineState truth{};
  truth.layerCount = 3;
  const double vs[] = {0.15, 0.25, 0.40};
  const double h[] = {0.005, 0.010, 0.0};
  for (int i = 0; i < 3; ++i) {
    truth.shearVelocity[i] = vs[i];
    truth.thickness[i] = h[i];
    truth.RHOIN[i] = 1.8 + 0.1 * i;
  }
  truth.M = 7;
  truth.KPG = 1;
  for (int j = 0; j < 7; ++j) {
    truth.FREQ[j] = hertz[j];
  }
  std::ostringstream quiet;
  RecordWriter sink(streamSink(quiet));
  ASSERT_TRUE(DISRAY(truth, {}, sink));
  std::string fit = "7\n";
  for (int j = 0; j < 7; ++j) {
    fit += std::string(formatNumber(hertz[j]).view()) + " " +
           std::string(formatNumber(truth.velocity[j] * 1000.0).view()) + "\n";
  }
  write("FIT.TXT", fit);
  write("SHR.TXT", "3\n5 150 1.8\n10 275 1.9\n0 400 2.0\n");
  write("LX.TXT", "1 1 0 1 1 1\n");
  BatchSettings settings;
  settings.KK = 1;
  settings.KPG = 1;
  const BatchResult result = run(settings);
  ASSERT_TRUE(result.ok) << result.error;
  EXPECT_EQ(result.inversion.ISTAT, kStatusConverged);
  EXPECT_NEAR(numbers("HPV.TXT", 2)[0], 250.0, 2.0);
  // TVF.TXT compares group velocities with group velocities.
  const std::vector<double> tvf = numbers("TVF.TXT", 21);
  for (int j = 0; j < 7; ++j) {
    EXPECT_NEAR(tvf[3 * j + 1], tvf[3 * j + 2], 3.0) << hertz[j] << " Hz";
  }
}

// A stiff crust (4 m of 400 m/s over 12 m of 180 m/s over 700 m/s) with its
// curve picked from low to high frequency, as curves usually are. The
// forward run writes the fundamental mode at every datum (the lowest zero of
// the independent determinant), and the inversion, whose evaluation searches
// the data from the highest frequency down, fits the soft layer's S velocity
// to it from a start 20 m/s off.
TEST_F(BatchInversion, AscendingCurveOfAStiffCrustIsFittedOnTheFundamentalMode) {
  const std::vector<double> hertz{5, 8, 10, 15, 20, 30, 40, 50};
  std::string fit = std::to_string(hertz.size()) + "\n";
  for (const double f : hertz) {
    fit += std::string(formatNumber(f).view()) + " 0\n";
  }
  write("SHR.TXT", "3\n4 400 1.9\n12 180 1.8\n0 700 2.0\n");
  write("FIT.TXT", fit);
  ASSERT_TRUE(run().ok);
  const std::vector<double> observed = numbers("FIT.TXT", 1 + 2 * hertz.size());
  const dispfit_test::Model model{{0.004, 0.012, 0.0}, {0.4, 0.18, 0.7}, {1.9, 1.8, 2.0}};
  for (std::size_t j = 0; j < hertz.size(); ++j) {
    SCOPED_TRACE(std::to_string(hertz[j]) + " Hz");
    const double lowest = dispfit_test::referencePhaseVelocity(model, hertz[j], 0.1);
    EXPECT_NEAR(observed[2 + 2 * j], lowest * 1000.0, 0.02);  // single-precision file values
    EXPECT_LT(observed[2 + 2 * j], 700.0);
  }
  const BatchResult result = invert("3\n4 400 1.9\n12 200 1.8\n0 700 2.0\n", "1 1 0 1 1 1\n");
  ASSERT_TRUE(result.ok) << result.error;
  EXPECT_EQ(result.inversion.ISTAT, kStatusConverged);
  EXPECT_NEAR(numbers("HPV.TXT", 2)[0], 180.0, 2.0);
}

// Only the half-space thickness is free: no datum depends on it, no step
// lowers the misfit, and the run ends at its iteration limit. It still writes
// both files.
TEST_F(BatchInversion, RunAtTheIterationLimitStillWritesItsFiles) {
  observeModel("2\n20 0\n8 0\n");
  const BatchResult result = invert("3\n5 160 1.8\n10 250 1.9\n30 400 2.0\n", "1 1 1 1 1 0\n");
  ASSERT_TRUE(result.ok) << result.error;
  EXPECT_EQ(result.inversion.ISTAT, kStatusIterationLimit);
  EXPECT_EQ(result.inversion.ITER, 31);
  EXPECT_NE(console_.str().find("\n1 " + std::string(formatNumber(result.inversion.PHIOUT).view()) +
                                " 31\n"),
            std::string::npos);
  EXPECT_EQ(numbers("HPV.TXT", 2), (std::vector<double>{30, 30}));
  EXPECT_EQ(numbers("TVF.TXT", 6)[2], numbers("FIT.TXT", 5)[2]);
}

TEST_F(BatchInversion, EveryParameterFixedIsRefused) {
  observeModel("1\n20 0\n");
  const BatchResult result = invert(kModel, "1 1 1 1 1 1\n");
  EXPECT_FALSE(result.ok);
  EXPECT_NE(result.error.find("nothing to invert"), std::string::npos);
  EXPECT_FALSE(exists("TVF.TXT"));
  EXPECT_FALSE(exists("HPV.TXT"));
}

TEST_F(BatchInversion, UnreachableBoundsStopTheRunWithoutOutput) {
  observeModel("1\n20 0\n");
  write("SHR.TXT", kModel);
  write("LX.TXT", "0 0 0 0 0 1\n");
  write("TVF.TXT", "old");
  BatchSettings settings;
  settings.KK = 1;
  settings.HL = 0.02;
  settings.HU = 0.02005;  // narrower than one thickness nudge
  const BatchResult result = run(settings);
  EXPECT_FALSE(result.ok);
  EXPECT_NE(result.error.find("bounds"), std::string::npos);
  EXPECT_EQ(read("TVF.TXT"), "old");
  EXPECT_FALSE(exists("HPV.TXT"));
}

// Faults of the input: a message naming the file, and the curve file intact.
TEST_F(BatchDirectory, InputFaultsAreReportedAndLeaveTheFilesAlone) {
  struct Case {
    std::string model;
    std::string curve;
    std::string expected;
  };
  const std::vector<Case> cases{
      {"", "1\n20 0\n", "cannot open SHR.TXT"},
      {kModel, "", "cannot open FIT.TXT"},
      {"3\n5 150 1.8\n10 250\n", "1\n20 0\n", "SHR.TXT, line 3: ends before"},
      {"3\n5 150 1.8\n10 2S0 1.9\n0 400 2\n", "1\n20 0\n", "SHR.TXT, line 3: \"2S0\" is not"},
      {"2.5\n", "1\n20 0\n", "SHR.TXT, line 1: \"2.5\" is not an integer"},
      {"51\n", "1\n20 0\n", "SHR.TXT: 51 layers (from 1 to 50 can be used)"},
      {"0\n", "1\n20 0\n", "SHR.TXT: 0 layers"},
      {kModel, "51\n", "FIT.TXT: 51 data (from 1 to 50 can be used)"},
      {kModel, "0\n", "FIT.TXT: 0 data (from 1 to 50 can be used)"},
      {kModel, "-1\n", "FIT.TXT: -1 data"},
      {kModel, "2\n20 0\n", "FIT.TXT, line 2: ends before"},
      {kModel, "1\n0 100\n", "FIT.TXT: the frequency of datum 1 must be positive"},
      {"2\n5 0 1.8\n0 400 2\n", "1\n20 0\n", "SHR.TXT: the S velocity of layer 1 must be"},
      {"2\n5 150 0\n0 400 2\n", "1\n20 0\n", "SHR.TXT: the density of layer 1 must be"},
      {"2\n-5 150 1.8\n0 400 2\n", "1\n20 0\n", "SHR.TXT: the thickness of layer 1 is negative"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.expected);
    fs::remove(dir_ / "SHR.TXT");
    fs::remove(dir_ / "FIT.TXT");
    if (!c.model.empty()) write("SHR.TXT", c.model);
    if (!c.curve.empty()) write("FIT.TXT", c.curve);
    const BatchResult result = run();
    EXPECT_FALSE(result.ok);
    EXPECT_NE(result.error.find(c.expected), std::string::npos) << result.error;
    EXPECT_EQ(read("FIT.TXT"), c.curve) << "the curve file is left as it was";
  }
  // The inversion's fix flags: missing and short.
  write("SHR.TXT", kModel);
  write("FIT.TXT", "1\n20 140\n");
  BatchSettings inversion;
  inversion.KK = 1;
  BatchResult result = run(inversion);
  EXPECT_FALSE(result.ok);
  EXPECT_NE(result.error.find("cannot open LX.TXT"), std::string::npos);
  write("LX.TXT", "0 0 0\n0 x 1\n");
  result = run(inversion);
  EXPECT_NE(result.error.find("LX.TXT, line 2: \"x\" is not an integer"), std::string::npos);
  EXPECT_FALSE(exists("TVF.TXT"));
}

TEST_F(BatchDirectory, CurveFileThatCannotBeReplacedIsKeptWhole) {
  write("SHR.TXT", kModel);
  write("FIT.TXT", "1\n20 0\n");
  fs::create_directory(dir_ / "FIT.TXT.new");  // the temporary file cannot be created
  const BatchResult result = run();
  EXPECT_FALSE(result.ok);
  EXPECT_NE(result.error.find("cannot write FIT.TXT.new"), std::string::npos) << result.error;
  EXPECT_EQ(read("FIT.TXT"), "1\n20 0\n");
}

// Values that pass the reader but not single precision give a curve of NaN:
// the run fails and FIT.TXT is kept as it was, without a backup. (Refused
// as input instead, they fail the run all the same.)
TEST_F(BatchDirectory, ForwardCurveThatIsNotFiniteFailsTheRun) {
  const std::string curve = "3\n30 140 0.5\n20 150 0.5\n5 330 1\n";
  for (const char* model :
       {"5 1e39 1.8\n10 250 1.9\n0 400 2.0", "5 150 1e39\n10 250 1.9\n0 400 2.0",
        "5 1e-320 1.8\n10 250 1.9\n0 400 2.0", "5 1e308 1.8\n10 250 1.9\n0 400 2.0",
        "10 250 1.9\n1e39 150 1.8\n0 400 2.0"}) {
    SCOPED_TRACE(model);
    write("SHR.TXT", "3\n" + std::string(model) + "\n");
    write("FIT.TXT", curve);
    const BatchResult result = run();
    EXPECT_FALSE(result.ok);
    EXPECT_FALSE(result.error.empty());
    EXPECT_EQ(read("FIT.TXT"), curve);
    EXPECT_FALSE(exists("FIT.TXT.~1~"));
  }
}

// Observed velocities of 20 km/s, beyond the root search's reach, drive the
// fitted curve of a half-space to NaN: no file is written.
TEST_F(BatchInversion, ResultThatIsNotFiniteFailsTheRun) {
  write("FIT.TXT", "3\n30 20000\n20 20000\n5 20000\n");
  write("TVF.TXT", "old tvf\n");
  write("HPV.TXT", "old hpv\n");
  const BatchResult result = invert("1\n0 300 2.0\n", "0 1\n");
  EXPECT_FALSE(result.ok);
  EXPECT_EQ(read("TVF.TXT"), "old tvf\n");
  EXPECT_EQ(read("HPV.TXT"), "old hpv\n");
}

// Every forward run keeps the FIT.TXT it replaces: the observed curve with
// its third column as FIT.TXT.~1~, the first result as FIT.TXT.~2~, each
// with the permissions the user gave the file.
TEST_F(BatchDirectory, ForwardRunsKeepEveryCurveFileTheyReplace) {
  write("SHR.TXT", kModel);
  const std::string observed = "3\n30 140 0.5\n20 150 0.5\n5 330 1\n";
  write("FIT.TXT", observed);
  fs::permissions(dir_ / "FIT.TXT", fs::perms(0640));
  ASSERT_TRUE(run().ok);
  const std::string first = read("FIT.TXT");
  ASSERT_TRUE(run().ok);
  EXPECT_EQ(read("FIT.TXT.~1~"), observed);
  EXPECT_EQ(read("FIT.TXT.~2~"), first);
  EXPECT_EQ(read("FIT.TXT"), first) << "the same model gives the same curve";
  EXPECT_NE(first, observed);
  for (const char* name : {"FIT.TXT", "FIT.TXT.~1~", "FIT.TXT.~2~"}) {
    EXPECT_EQ(fs::status(dir_ / name).permissions(), fs::perms(0640)) << name;
  }
  EXPECT_FALSE(exists("FIT.TXT.~3~"));
}

// HPV.TXT cannot take the new file's place (a directory holds its name, which
// stops root as well): TVF.TXT, written first, gets its old contents back.
TEST_F(BatchInversion, FailureToReplaceTheParametersKeepsTheFittedCurveFile) {
  observeModel("2\n20 0\n8 0\n");
  write("TVF.TXT", "old tvf\n");
  fs::create_directory(dir_ / "HPV.TXT");
  const BatchResult result = invert("3\n5 150 1.8\n10 265 1.9\n0 400 2.0\n", "1 1 0 1 1 1\n");
  EXPECT_FALSE(result.ok);
  EXPECT_NE(result.error.find("HPV.TXT"), std::string::npos) << result.error;
  EXPECT_EQ(read("TVF.TXT"), "old tvf\n");
  EXPECT_TRUE(fs::is_directory(dir_ / "HPV.TXT"));
  for (const char* scratch : {"TVF.TXT.new", "TVF.TXT.restore", "HPV.TXT.new"}) {
    EXPECT_FALSE(exists(scratch)) << scratch;
  }
}

// A console that lost records (standard output full or closed) fails the
// run before it replaces a file: its report would be missing.
TEST_F(BatchDirectory, RunWhoseRecordsAreLostWritesNoFile) {
  write("SHR.TXT", kModel);
  write("FIT.TXT", "1\n20 0\n");
  const TextSink lost{[](void*, const char*, std::size_t) {}, nullptr, [](void*) { return false; }};
  EngineState state{};
  const BatchResult result = INVRUN(state, {}, dir_, RecordWriter(lost));
  EXPECT_FALSE(result.ok);
  EXPECT_NE(result.error.find("records"), std::string::npos) << result.error;
  EXPECT_EQ(read("FIT.TXT"), "1\n20 0\n");
  EXPECT_FALSE(exists("FIT.TXT.~1~"));
}

}  // namespace
}  // namespace swcore
