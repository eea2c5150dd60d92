// SPDX-License-Identifier: GPL-3.0-or-later
// dispfit-invert as a user runs it: files in, report or error out, and the
// exit status telling which.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "tool_run.h"

#include "core/engine_binding.h"
#include "core/stream_message_presenter.h"

namespace {

namespace fs = std::filesystem;

using dispfit_test::contents;
using dispfit_test::quoted;
using dispfit_test::ToolRun;

class InversionTool : public dispfit_test::ToolTest {
 protected:
  InversionTool() : ToolTest(DISPFIT_INVERT_PATH, "dispfit-invert-test-") {}
};

TEST_F(InversionTool, HelpExplainsBothFiles) {
  const ToolRun result = run("--help");
  EXPECT_EQ(result.status, 0);
  EXPECT_NE(result.out.find("Usage: dispfit-invert [OPTIONS] MODEL CURVE"), std::string::npos);
  EXPECT_NE(result.out.find("thickness(m)  Vs(m/s)  density(g/cm3)"), std::string::npos);
  EXPECT_NE(result.out.find("frequency(Hz)  phase velocity(m/s)"), std::string::npos);
  for (const char* option :
       {"--vs-bounds LO HI", "(default 50 1000)", "--h-bounds LO HI", "(default 0.1 5)",
        "--iterations N", "(default 30)", "--suggest N", "--csv PREFIX",
        "wavelength (m) or period (s)", "sqrt(sum r^2 / 2M)"}) {
    EXPECT_NE(result.out.find(option), std::string::npos) << option;
  }
}

TEST_F(InversionTool, WrongArgumentsAndBadFilesExitWithTwo) {
  const fs::path model = write("model.txt", "1\n2 150 1.8\n");
  const fs::path badCurve = write("curve.txt", "2\n150 140\n145 fast\n");

  ToolRun result = run("");
  EXPECT_EQ(result.status, 2);
  EXPECT_NE(result.err.find("expected two files"), std::string::npos) << result.err;

  result = run(quoted(dir_ / "missing.txt") + " " + quoted(badCurve));
  EXPECT_EQ(result.status, 2);
  EXPECT_NE(result.err.find("cannot open the model file"), std::string::npos) << result.err;

  result = run(quoted(model) + " " + quoted(badCurve));
  EXPECT_EQ(result.status, 2);
  EXPECT_NE(result.err.find("line 3: \"fast\" is not a number"), std::string::npos) << result.err;
  EXPECT_EQ(result.out, "");
}

// Files the inversion cannot use are refused before it starts, with exit 2
// and the fault on standard error: the same rules as the batch run's.
TEST_F(InversionTool, BadModelsAndCurvesAreRefusedUpFront) {
  struct Case {
    const char* name;
    std::string model;
    std::string curve;
    std::string expected;
  };
  const std::string goodModel = "2\n2 150 1.8\n0 300 2\n";
  const std::string goodCurve = "3\n150 140\n100 150\n50 160\n";
  const Case cases[] = {
      {"negative thickness", "2\n-2 150 1.8\n0 300 2\n", goodCurve,
       "the thickness of layer 1 is negative"},
      {"Vs of 0", "2\n2 0 1.8\n0 300 2\n", goodCurve, "the S velocity of layer 1 must be positive"},
      {"density below 0", "2\n2 150 -1.8\n0 300 2\n", goodCurve,
       "the density of layer 1 must be positive"},
      {"Vs underflowing to 0", "2\n2 1e-320 1.8\n0 300 2\n", goodCurve,
       "the S velocity of layer 1 (1e-320) is 0 in single precision"},
      {"density beyond single precision", "2\n2 150 1e39\n0 300 2\n", goodCurve,
       "the density of layer 1 (1e+39) is beyond the single-precision range"},
      {"thickness of 1e308", "2\n1e308 150 1.8\n0 300 2\n", goodCurve,
       "the thickness of layer 1 (1e+308) is beyond the single-precision range"},
      {"Vs of 10 km/s", "2\n2 10000 1.8\n0 300 2\n", goodCurve,
       "the S velocity of layer 1 (10000 m/s) is not below 10000 m/s"},
      {"hexadecimal count", "0x10\n", goodCurve, "line 1: \"0x10\" is not an integer"},
      {"count 3.0", "3.0\n", goodCurve, "line 1: \"3.0\" is not an integer"},
      {"21 layers", "21\n", goodCurve, "21 layers (from 1 to 20 can be used)"},
      {"fourth column", "2\n2 150 1.8 450\n0 300 2 900\n", goodCurve,
       "line 3: a number after the 2 layers' thickness, Vs and density"},
      {"frequency of 0", goodModel, "2\n150 140\n0 150\n",
       "the frequency of datum 2 must be positive"},
      {"no data", goodModel, "0\n", "0 data (from 1 to 50 can be used)"},
      {"observed velocity of 20 km/s", goodModel, "1\n150 20000\n",
       "the velocity of datum 1 (20000 m/s) is not below 10000 m/s"},
      {"table with an unknown column", "h vs rho qs\n2 150 1.8 20\n", goodCurve,
       "line 1: the header names a column \"qs\""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const ToolRun result =
        run(quoted(write("model.txt", c.model)) + " " + quoted(write("curve.txt", c.curve)));
    EXPECT_EQ(result.status, 2);
    EXPECT_NE(result.err.find(c.expected), std::string::npos) << result.err;
    EXPECT_EQ(result.out, "");
  }
  const ToolRun directory = run(quoted(dir_) + " " + quoted(write("curve.txt", goodCurve)));
  EXPECT_EQ(directory.status, 2);
  EXPECT_NE(directory.err.find("is a directory, not a file"), std::string::npos) << directory.err;
}

// The same half-space as in the test above, given as tables: a model table
// with a byte-order mark and CRLF line ends, a curve table with its columns
// in another order and a deviation the inversion does not use.
TEST_F(InversionTool, HeadedTablesAreReadLikeTheFreeFormat) {
  const fs::path model =
      write("model.csv",
            "\xEF\xBB\xBF# start\r\nthickness (m),Vs (m/s),density (g/cm3)\r\n2,180,1.8\r\n");
  std::string curve = "velocity [m/s]; f [Hz]; sigma\n";
  for (int i = 0; i < 30; ++i) {
    curve += "189.4615; " + std::to_string(150 - 5 * i) + "; 3\n";
  }
  const ToolRun result = run(quoted(model) + " " + quoted(write("curve.csv", curve)));
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_NE(result.out.find("#      H       Vs\n1   -   200.0\n"), std::string::npos) << result.out;
}

TEST_F(InversionTool, HalfSpaceVelocityIsFoundFromItsRayleighVelocity) {
  // With P = 3 S the Rayleigh equation (2 - x^2)^2 = 4 sqrt(1 - x^2 / 9)
  // sqrt(1 - x^2) has the root x = 0.947308: a half-space of 200 m/s
  // carries Rayleigh waves at 189.4615 m/s at every frequency.
  const fs::path model = write("model.txt", "1\n2 180 1.8\n");
  std::string curve = "30\n";
  for (int i = 0; i < 30; ++i) {
    curve += std::to_string(150 - 5 * i);
    curve += " 189.4615\n";
  }
  const ToolRun result = run(quoted(model) + " " + quoted(write("curve.txt", curve)));
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.err, "");
  EXPECT_EQ(result.out.rfind("\t反演结果\n\n拟合情况：\n迭代次数：", 0), 0u) << result.out;
  EXPECT_NE(result.out.find("#      H       Vs\n1   -   200.0\n"), std::string::npos) << result.out;
}

TEST_F(InversionTool, PointsOfTwoModesAreEachFittedByTheirMode) {
  // 4 m of 200 m/s over 400 m/s: modes 0 and 1 from 60 to 25 Hz, mode 0
  // alone below (dispfit-curve --modes 2 of that model, which the curve
  // core's tests check against an independent determinant).
  const fs::path curve = write("modes.csv",
                               "f (Hz), c (m/s), mode\n"
                               "60, 190.1882, 0\n60, 270.2060, 1\n40, 194.8620, 0\n"
                               "40, 342.3369, 1\n30, 208.8132, 0\n30, 356.3672, 1\n"
                               "25, 234.1119, 0\n25, 365.1365, 1\n20, 300.5434, 0\n"
                               "15, 341.4216, 0\n10, 354.2545, 0\n7, 360.6974, 0\n"
                               "5, 365.4125, 0\n");
  const fs::path model = write("start.txt", "2\n3.2 230 1.9\n0 350 1.9\n");
  const ToolRun result = run(quoted(model) + " " + quoted(curve));
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_NE(result.err.find("the points name their modes"), std::string::npos) << result.err;
  EXPECT_NE(result.out.find("#      H       Vs\n1   4.0   200.0\n2 "), std::string::npos)
      << result.out;
  EXPECT_NE(result.out.find("   400.0\n"), std::string::npos) << result.out;
  EXPECT_NE(result.out.find("RMS misfit of the fitted curve: 0.00 m/s"), std::string::npos)
      << result.out;
}

// The half-space case above, and the help, with standard output full or
// closed: what the user asked for is lost, so the exit status is 1.
TEST_F(InversionTool, OutputThatCannotBeWrittenEndsWithOne) {
  const fs::path model = write("model.txt", "1\n2 180 1.8\n");
  const fs::path curve = write("curve.txt", "3\n50 189.4615\n20 189.4615\n10 189.4615\n");
  const std::string files = quoted(model) + " " + quoted(curve);
  for (const std::string& arguments : {files, std::string("--help")}) {
    for (const char* redirection : {">/dev/full", ">&-"}) {
      SCOPED_TRACE(arguments + " " + redirection);
      const ToolRun result = runWithOutput(arguments, redirection);
      EXPECT_EQ(result.status, 1);
      EXPECT_NE(result.err.find("could not be written to standard output"), std::string::npos)
          << result.err;
    }
  }
}

// Observed velocities whose squared residuals overflow single precision give
// an infinite misfit: no report is printed and the run fails. (Refused as
// input, as velocities that high may be, the run fails all the same.)
TEST_F(InversionTool, ResultThatIsNotFiniteIsNotReported) {
  const fs::path model = write("model.txt", "3\n5 150 1.8\n10 250 1.9\n0 400 2.0\n");
  const fs::path curve = write("curve.txt", "3\n30 1e30\n20 200\n5 200\n");
  const ToolRun result = run(quoted(model) + " " + quoted(curve));
  EXPECT_NE(result.status, 0);
  EXPECT_EQ(result.out, "");
  EXPECT_NE(result.err, "");
}

// The misfit the report prints ("拟 合 差：7.34E-04"), -1 when there is none.
double reportedMisfit(const std::string& report) {
  const std::string label = "拟 合 差：";
  const std::size_t at = report.find(label);
  return at == std::string::npos ? -1.0 : std::stod(report.substr(at + label.size()));
}

// Phase velocity of Rayleigh waves on a half-space of 200 m/s with P = 3 S
// (see the test above), and 30 frequencies 150, 145, ..., 5 Hz.
constexpr double kHalfSpaceRayleigh = 189.4615;
constexpr int kHalfSpacePoints = 30;
double halfSpaceFrequency(int i) {
  return 150.0 - 5.0 * i;
}

// The half-space's curve in each layout a measured curve may come in. Every
// one fits Vs 200 m/s, and every one gives the same site figures, worked by
// hand: VsZ = 200 m/s at every depth, so Vs30 = 200 m/s, ground type C
// (180-360) and NEHRP class D (180-360); the longest wavelength is
// 189.4615 / 5 = 37.89 m, so the data constrain 18.9 m and Vs20 and Vs30 are
// extrapolated.
TEST_F(InversionTool, EveryCurveLayoutGivesTheSameFitAndSite) {
  struct Case {
    const char* name;
    std::string curve;
    std::string note;  // on standard error, empty for none
    std::string band;  // the band line of the report, empty for none
  };
  std::string batch = std::to_string(kHalfSpacePoints) + "\n";
  std::string sigmaAscending = "f (Hz); c (m/s); sigma (m/s)\n";
  std::string boundsNoHeader = "\xEF\xBB\xBF";
  std::string wavelengths = "wavelength (m), phase velocity (m/s), std\n";
  std::string periods = "# picks\nperiod (s)\tvr\n";
  char row[160];
  for (int i = 0; i < kHalfSpacePoints; ++i) {
    const double f = halfSpaceFrequency(i);
    const double c = kHalfSpaceRayleigh;
    std::snprintf(row, sizeof row, "%g %.4f\n", f, c);
    batch += row;
    std::snprintf(row, sizeof row, "%g; %.4f; 3\n", halfSpaceFrequency(kHalfSpacePoints - 1 - i),
                  c);
    sigmaAscending += row;
    std::snprintf(row, sizeof row, "%g %.4f %.4f %.4f\r\n", f, c, c - 2.0, c + 2.0);
    boundsNoHeader += row;
    std::snprintf(row, sizeof row, "%.12g, %.4f, 3\n", c / f, c);  // lambda = c / f
    wavelengths += row;
    std::snprintf(row, sizeof row, "%.12g\t%.4f\n", 1.0 / f, c);  // T = 1 / f
    periods += row;
  }
  const Case cases[] = {
      {"batch format", batch, "", ""},
      {"sigma, ascending frequencies", sigmaAscending, "", "Points inside the band: 30 of 30\n"},
      {"bounds without a header, BOM and CRLF", boundsNoHeader, "",
       "Points inside the band: 30 of 30\n"},
      {"wavelengths", wavelengths, "wavelengths converted to frequencies (f = c / wavelength)",
       "Points inside the band: 30 of 30\n"},
      {"periods", periods, "periods converted to frequencies (f = 1 / T)", ""},
  };
  const fs::path model = write("model.txt", "1\n2 180 1.8\n");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const fs::path curve = write("curve.txt", c.curve);
    const ToolRun result = run(quoted(model) + " " + quoted(curve));
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_NE(result.out.find("#      H       Vs\n1   -   200.0\n"), std::string::npos)
        << result.out;
    if (c.note.empty()) {
      EXPECT_EQ(result.err, "");
    } else {
      EXPECT_EQ(result.err, "dispfit-invert: " + curve.string() + ": " + c.note + "\n");
    }
    EXPECT_EQ(result.out.find("Settings"), std::string::npos) << "defaults are not repeated";
    EXPECT_NE(result.out.find("over the M = 30 fitted points"), std::string::npos);
    EXPECT_NE(result.out.find("over the m = 30 measured points"), std::string::npos);
    EXPECT_EQ(result.out.find("Points inside the band") != std::string::npos, !c.band.empty());
    if (!c.band.empty()) {
      EXPECT_NE(result.out.find(c.band), std::string::npos) << result.out;
    }
    for (const char* line :
         {"Depth the data constrain (half the longest measured wavelength): 18.9 m\n",
          "Vs5 = 200.0 m/s\n", "Vs10 = 200.0 m/s\n",
          "Vs20 = 200.0 m/s  extrapolated: below the constrained depth\n",
          "Vs30 = 200.0 m/s  extrapolated: below the constrained depth\n",
          "Eurocode 8 ground type: C (Vs30 180 to 360 m/s)",
          "NEHRP site class: D (Vs30 180 to 360 m/s)", "Vs30 alone does not settle"}) {
      EXPECT_NE(result.out.find(line), std::string::npos) << line << "\n" << result.out;
    }
  }
}

// The same half-space curve in the files of other programs, and in km/s
// under names a picking program writes, gives the same fit: SURF96 periods
// and km/s (T = 1 / f, c / 1000), gpdc's slowness (1 / c) and a dinver
// target's, with a higher mode that is left out. What is written back for
// those programs reads back to the same fit.
TEST_F(InversionTool, FilesOfOtherProgramsGiveTheSameFitAndAreWrittenBack) {
  std::string surf96;
  std::string gpdc = "# 2 Rayleigh dispersion mode(s)\n# Mode 0\n";
  std::string target =
      "<Dinver><TargetList><DispersionTarget type=\"dispersion\"><ModalCurve><Mode>"
      "<slowness>Phase</slowness><polarization>Rayleigh</polarization><index>0</index></Mode>\n";
  std::string kilometres = "freq [Hz], c_mean [km/s], c_sd [km/s]\n";
  char row[200];
  for (int i = 0; i < kHalfSpacePoints; ++i) {
    const double f = halfSpaceFrequency(i);
    const double c = kHalfSpaceRayleigh;
    std::snprintf(row, sizeof row, "SURF96 R C X 0 %.12g %.7f 0.003\n", 1.0 / f, c / 1000.0);
    surf96 += row;
    std::snprintf(row, sizeof row, "%g %.12g\n", f, 1.0 / c);
    gpdc += row;
    std::snprintf(row, sizeof row, "<StatPoint><x>%g</x><mean>%.12g</mean></StatPoint>\n", f,
                  1.0 / c);
    target += row;
    std::snprintf(row, sizeof row, "%g, %.7f, 0.003\n", f, c / 1000.0);
    kilometres += row;
  }
  // A point of a higher mode would be fitted against that mode, which the
  // half-space does not carry: the curves hold the fundamental's points.
  target += "</ModalCurve></DispersionTarget></TargetList></Dinver>\n";
  const fs::path model = write("model.txt", "1\n2 180 1.8\n");
  const std::pair<const char*, std::string> curves[] = {{"curve.surf96", surf96},
                                                        {"curve.gpdc", gpdc},
                                                        {"curve.target", target},
                                                        {"curve.csv", kilometres}};
  for (const auto& [name, text] : curves) {
    SCOPED_TRACE(name);
    const ToolRun result = run(quoted(model) + " " + quoted(write(name, text)));
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_NE(result.out.find("#      H       Vs\n1   -   200.0\n"), std::string::npos)
        << result.out;
  }

  const fs::path written = dir_ / "out";
  const ToolRun exported = run(quoted(model) + " " + quoted(dir_ / "curve.csv") + " --target " +
                               quoted(fs::path(written.string() + ".target")) + " --surf96 " +
                               quoted(fs::path(written.string() + ".d")) + " --gpdc " +
                               quoted(fs::path(written.string() + ".gpdc")) +
                               " --model96=" + quoted(fs::path(written.string() + ".mod")));
  ASSERT_EQ(exported.status, 0) << exported.err;
  // One layer, the half-space: thickness 0, Vp = 3 Vs, 1.8 g/cm3 as 1800 kg/m3.
  const std::string gpdcModel = contents(written.string() + ".gpdc");
  EXPECT_EQ(gpdcModel.rfind("1\n0 ", 0), 0u) << gpdcModel;
  EXPECT_NE(gpdcModel.find(" 1800\n"), std::string::npos) << gpdcModel;
  for (const char* curve : {".target", ".d"}) {
    for (const char* fitted : {".gpdc", ".mod"}) {
      SCOPED_TRACE(std::string(curve) + fitted);
      const ToolRun again = run(quoted(fs::path(written.string() + fitted)) + " " +
                                quoted(fs::path(written.string() + curve)));
      ASSERT_EQ(again.status, 0) << again.err;
      // The half-space's thickness is written 0, outside the bounds: the
      // inversion starts it mid-range, and it is not used.
      EXPECT_NE(again.out.find("   200.0\n"), std::string::npos) << again.out;
      EXPECT_NE(again.out.find("Points inside the band: 30 of 30\n"), std::string::npos);
    }
  }
}

// Through the curve core (here with Vp = 3 Vs, Poisson's ratio 7/16, the
// rule FORWARD has) the example curve fits from this start as through
// FORWARD; where no damped step lowers the misfit further the fit ends with
// its model and says so, where FORWARD's own run ended on small steps.
// The start's third thickness lies beyond the 5 m bound: both begin it
// mid-range, with a note.
TEST_F(InversionTool, ThroughTheCurveCoreTheReportSaysWhyTheFitEnded) {
  const fs::path model = write("start.txt",
                               "4\n0.514999986 135.960007 1.89999998\n"
                               "4.01804543 180.808456 1.89999998\n"
                               "35.3669548 423.812592 1.89999998\n"
                               "35.3669548 438.899994 1.89999998\n");
  const std::string files =
      quoted(model) + " " + quoted(fs::path(DISPFIT_EXAMPLES_DIR) / "field_curve.csv");
  const ToolRun core = run("--poisson 0.4375 " + files);
  ASSERT_EQ(core.status, 0) << core.err;
  // How many iterations the last small gains take follows the curves' last
  // digits, which the core's instruction set and search may move within its
  // tolerance.
  const std::string stopped = "Stopped: no damped step lowered the misfit further after ";
  const std::size_t count = core.out.find(stopped);
  ASSERT_NE(count, std::string::npos) << core.out;
  std::size_t end = count + stopped.size();
  while (end < core.out.size() && std::isdigit(static_cast<unsigned char>(core.out[end]))) ++end;
  EXPECT_GT(end, count + stopped.size()) << core.out;
  const std::string rest =
      " of at most 30 iterations; the model of the last accepted step is given.\n";
  EXPECT_EQ(core.out.substr(end, rest.size()), rest) << core.out;
  EXPECT_NE(core.out.find("P velocity: Poisson's ratio 0.4375; the forward runs went through the "
                          "curve core"),
            std::string::npos);
  EXPECT_NE(core.out.find("Start: layer 3's starting thickness 35.37 m lies outside the "
                          "bounds 0.1-5 m: the inversion begins it mid-range, at 2.55 m\n"),
            std::string::npos)
      << core.out;
  EXPECT_NE(core.out.find("Points inside the band: 30 of 30\n"), std::string::npos);

  const ToolRun library = run(files);
  ASSERT_EQ(library.status, 0) << library.err;
  EXPECT_NE(library.out.find("Stopped: converged, every component of the last step was too small "
                             "to go on after 11 of at most 30 iterations"),
            std::string::npos)
      << library.out;
  EXPECT_EQ(library.out.find("P velocity:"), std::string::npos);
}

// A suggested start beyond the default thickness bound widens it, with a
// note; beyond a bound the user gave, it is clipped into it, with a note.
TEST_F(InversionTool, ASuggestedStartAndTheBoundsAgree) {
  const std::string curve = quoted(fs::path(DISPFIT_EXAMPLES_DIR) / "field_curve.csv");
  const ToolRun widened = run("--suggest 4 " + curve);
  ASSERT_EQ(widened.status, 0) << widened.err;
  EXPECT_NE(widened.out.find("Start: thickness bounds widened from the defaults 0.1-5 m to "
                             "0.1-53.1 m to hold the suggested start (0.51 to 35.37 m)"),
            std::string::npos)
      << widened.out;
  const ToolRun clipped = run("--suggest 4 --h-bounds 0.1 10 " + curve);
  ASSERT_EQ(clipped.status, 0) << clipped.err;
  EXPECT_NE(clipped.out.find("Start: layer 3's suggested thickness 35.37 m clipped to the "
                             "upper bound 10 m you gave"),
            std::string::npos)
      << clipped.out;
  EXPECT_NE(clipped.out.find("Points inside the band: 30 of 30\n"), std::string::npos);
  EXPECT_NE(clipped.out.find("Vs30 = 348.1 m/s"), std::string::npos);
}

// A header a curve table does not know is refused with the names it takes,
// and the refusal says how to choose the columns; choosing them reads it.
TEST_F(InversionTool, ColumnsAreChosenWhereTheHeaderIsNotUnderstood) {
  std::string curve = "freq_hz;vel_best;vel_unc\n";
  for (int i = 0; i < kHalfSpacePoints; ++i) {
    curve += std::to_string(halfSpaceFrequency(i)) + ";189.4615;3\n";
  }
  const std::string files =
      quoted(write("model.txt", "1\n2 180 1.8\n")) + " " + quoted(write("curve.csv", curve));
  const ToolRun refused = run(files);
  EXPECT_EQ(refused.status, 2);
  EXPECT_NE(refused.err.find("the header names a column \"freq_hz\" that this table does not know"),
            std::string::npos)
      << refused.err;
  EXPECT_NE(refused.err.find("say which column is which with --columns"), std::string::npos);
  const ToolRun chosen = run("--columns f=1,v=vel_best,sigma=3 " + files);
  ASSERT_EQ(chosen.status, 0) << chosen.err;
  EXPECT_NE(chosen.out.find("Points inside the band: 30 of 30\n"), std::string::npos);
  const ToolRun badChoice = run("--columns f=1,speed=2 " + files);
  EXPECT_EQ(badChoice.status, 2);
  EXPECT_NE(badChoice.err.find("--columns: \"speed\" names no column of this table"),
            std::string::npos)
      << badChoice.err;
}

// The options reach the inversion: an upper Vs bound below the answer holds
// the fit at the bound, one iteration stops there, and changed settings are
// reported.
TEST_F(InversionTool, BoundsAndIterationLimitAreTheInversions) {
  const fs::path model = write("model.txt", "1\n2 120 1.8\n");
  std::string curve = "f c\n";
  for (int i = 0; i < kHalfSpacePoints; ++i) {
    curve += std::to_string(halfSpaceFrequency(i)) + " 189.4615\n";
  }
  const std::string files = quoted(model) + " " + quoted(write("curve.txt", curve));

  ToolRun result = run("--vs-bounds 60 195 --h-bounds 0.5 8 " + files);
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_NE(result.out.find("1   -   195.0\n"), std::string::npos) << result.out;
  EXPECT_NE(result.out.find("Settings (changed from the defaults): Vs 60 to 195 m/s, thickness "
                            "0.5 to 8 m, at most 30 iterations\n"),
            std::string::npos)
      << result.out;
  // The answer lies beyond the bound, which the report flags.
  EXPECT_NE(result.out.find("On a bound (the data may want it beyond; a wider bound may fit "
                            "better):\n  layer 1 Vs 195.0 m/s is at its upper bound 195 m/s\n"),
            std::string::npos)
      << result.out;
  EXPECT_EQ(result.out.back(), '\n');  // the report's last line ends too

  // From 120 m/s the default run comes within the misfit tolerance (0.001)
  // of the 200 m/s answer in two iterations; stopped after one, it is still
  // far from it.
  result = run(files);
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_LT(reportedMisfit(result.out), 0.001) << result.out;
  EXPECT_NE(result.out.find("Stopped: the misfit fell below the tolerance 0.001 m/s after 2 of "
                            "at most 30 iterations.\n"),
            std::string::npos)
      << result.out;
  EXPECT_EQ(result.out.find("On a bound"), std::string::npos);
  result = run("--iterations 1 " + files);
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_GT(reportedMisfit(result.out), 0.01) << result.out;
  EXPECT_NE(result.out.find("at most 1 iterations"), std::string::npos) << result.out;
  EXPECT_NE(result.out.find("Stopped: the iteration limit was reached before the fit converged"),
            std::string::npos)
      << result.out;
}

// A table longer than the inversion holds: 80 points, 50 fitted, all 80
// compared and exported.
TEST_F(InversionTool, LongTableIsThinnedForTheInversionOnly) {
  std::string curve = "f,c\n";
  for (int i = 0; i < 80; ++i) curve += std::to_string(150.0 - 1.8 * i) + ",189.4615\n";
  const fs::path path = write("curve.csv", curve);
  const fs::path prefix = dir_ / "site";
  const ToolRun result = run(quoted(write("model.txt", "1\n2 180 1.8\n")) + " " + quoted(path) +
                             " --csv " + quoted(prefix));
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_NE(result.err.find(path.string() + ": 80 points: the inversion fits 50 of them, evenly "
                                            "spaced in log frequency with both ends kept"),
            std::string::npos)
      << result.err;
  EXPECT_NE(result.out.find("over the M = 50 fitted points"), std::string::npos) << result.out;
  EXPECT_NE(result.out.find("over the m = 80 measured points"), std::string::npos) << result.out;
  std::istringstream lines(contents(dir_ / "site_curve.csv"));
  int rows = 0;
  for (std::string line; std::getline(lines, line);) ++rows;
  EXPECT_EQ(rows, 81);  // the header and every measured point
}

TEST_F(InversionTool, MeasuredCurvesTheFitCannotUseAreRefused) {
  struct Case {
    const char* name;
    std::string curve;
    std::string expected;  // after the file's name
  };
  std::string batch51 = "51\n";
  for (int i = 0; i < 51; ++i) batch51 += std::to_string(150 - i) + " 140\n";
  const Case cases[] = {
      {"frequency twice", "f c\n10 200\n20 190\n10 195\n",
       ", line 4: the frequency 10 Hz appears again (first on line 2)"},
      {"frequency twice after conversion", "T c\n0.1 200\n0.05 190\n0.1 195\n",
       ", line 4: the frequency 10 Hz appears again (first on line 2)"},
      {"sigma of 0", "f c sigma\n10 200 0\n20 190 1\n30 180 1\n",
       ", line 2: the standard deviation must be a positive number"},
      {"wavelength of 0", "lambda c\n2 200\n0 190\n1 180\n",
       ", line 3: the wavelength of datum 2 must be positive"},
      {"negative velocity", "f c\n10 200\n20 -190\n30 180\n",
       ", line 3: the velocity of datum 2 is negative"},
      {"km/s", "f c\n10 0.2\n20 0.19\n30 0.18\n",
       ", lines 2 to 4: every phase velocity lies below 10, which looks like km/s; give them in "
       "m/s"},
      {"two points", "f c\n10 200\n20 190\n", ": 2 point(s), at least 3 are needed"},
      {"two points in the batch format", "2\n10 200\n20 190\n",
       ": 2 point(s), at least 3 are needed"},
      {"51 points in the batch format", batch51, ": 51 data (from 1 to 50 can be used)"},
  };
  const fs::path model = write("model.txt", "1\n2 180 1.8\n");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const fs::path curve = write("curve.txt", c.curve);
    const ToolRun result = run(quoted(model) + " " + quoted(curve));
    EXPECT_EQ(result.status, 2);
    EXPECT_NE(result.err.find(curve.string() + c.expected), std::string::npos) << result.err;
    EXPECT_EQ(result.out, "");
  }
  for (const char* options : {"--vs-bounds 900 100", "--iterations 0", "--h-bounds 0 5"}) {
    SCOPED_TRACE(options);
    const ToolRun result = run(std::string(options) + " " + quoted(model) + " " +
                               quoted(write("curve.txt", "f c\n10 200\n20 190\n30 180\n")));
    EXPECT_EQ(result.status, 2);
    EXPECT_NE(result.err.find(std::string(options).substr(0, 8)), std::string::npos) << result.err;
    EXPECT_EQ(result.out, "");
  }
}

// A CSV file that cannot be written loses what the user asked for: exit 1,
// after the report.
TEST_F(InversionTool, CsvThatCannotBeWrittenEndsWithOne) {
  const ToolRun result =
      run(quoted(write("model.txt", "1\n2 180 1.8\n")) + " " +
          quoted(write("curve.txt", "f c\n50 189.4615\n20 189.4615\n10 189.4615\n")) + " --csv " +
          quoted(dir_ / "no-such-folder" / "site"));
  EXPECT_EQ(result.status, 1);
  EXPECT_NE(result.out.find("1   -   200.0"), std::string::npos) << result.out;
  EXPECT_NE(result.err.find("site_curve.csv could not be written"), std::string::npos)
      << result.err;
}

// The rows of PREFIX_curve.csv: measured point, band and fitted velocity.
struct ExportedPoint {
  double measured = 0.0;
  double low = 0.0;
  double high = 0.0;
  double fitted = 0.0;
};

std::vector<ExportedPoint> exportedPoints(const std::string& csv) {
  std::istringstream lines(csv);
  std::string line;
  std::getline(lines, line);  // header
  EXPECT_EQ(line, "frequency_Hz,wavelength_m,measured_m_s,low_m_s,high_m_s,fitted_m_s");
  std::vector<ExportedPoint> points;
  while (std::getline(lines, line)) {
    std::vector<std::string> fields;
    std::istringstream row(line);
    for (std::string field; std::getline(row, field, ',');) fields.push_back(field);
    EXPECT_EQ(fields.size(), 6u) << line;
    if (fields.size() != 6u) continue;
    points.push_back(
        {std::stod(fields[2]), std::stod(fields[3]), std::stod(fields[4]), std::stod(fields[5])});
  }
  return points;
}

int insideBand(const std::vector<ExportedPoint>& points) {
  int inside = 0;
  for (const ExportedPoint& point : points) {
    inside += point.fitted >= point.low && point.fitted <= point.high ? 1 : 0;
  }
  return inside;
}

// A field curve made by the engine the tool loads, from a 3-layer model
// (h 2 and 4 m, Vs 150, 250 and 400 m/s over the half-space, Vp = 3 Vs), at
// 30 frequencies evenly spaced in log frequency from 5 to 80 Hz, each
// velocity given seeded noise of at most 1 % and a band of +-2 % around the
// noisy value (so that the true curve lies inside every band). Fitted from
// each start, at least 90 % of the points (27 of 30) must lie inside their
// band; the count read back from the exported curve must be the one the
// report prints.
class SyntheticFieldCurve : public InversionTool {
 protected:
  std::string curveTable() {
    dispfit::StreamMessagePresenter messages(std::cerr);
    dispfit::EngineBinding engine(messages);
    dispfit::ForwardCall call;
    call.layerCount = 3;
    const float thickness[] = {2.0f, 4.0f, 0.0f};
    const float vs[] = {150.0f, 250.0f, 400.0f};
    const float density[] = {1.8f, 1.9f, 2.0f};
    std::copy(std::begin(thickness), std::end(thickness), call.thickness);
    std::copy(std::begin(vs), std::end(vs), call.vs);
    std::copy(std::begin(density), std::end(density), call.density);
    call.freqCount = kPoints;
    for (int i = 0; i < kPoints; ++i) {
      call.freq[i] = static_cast<float>(5.0 * std::pow(16.0, i / (kPoints - 1.0)));
    }
    EXPECT_TRUE(engine.run(call));
    std::mt19937 noise(20261207u);
    std::uniform_real_distribution<double> relative(-0.01, 0.01);
    std::string table = "frequency (Hz), velocity (m/s), low (m/s), high (m/s)\n";
    char row[160];
    for (int i = 0; i < kPoints; ++i) {
      const double measured = call.phaseVelocity[i] * (1.0 + relative(noise));
      std::snprintf(row, sizeof row, "%.6g, %.6g, %.6g, %.6g\n", double{call.freq[i]}, measured,
                    0.98 * measured, 1.02 * measured);
      table += row;
    }
    return table;
  }

  // Runs the tool with `arguments` and the CSV export; the points inside
  // their band, read back from the export.
  int fittedInsideBand(const std::string& arguments) {
    const fs::path prefix = dir_ / "fit";
    const ToolRun result = run(arguments + " --csv " + quoted(prefix));
    EXPECT_EQ(result.status, 0) << result.err;
    const std::vector<ExportedPoint> points = exportedPoints(contents(dir_ / "fit_curve.csv"));
    EXPECT_EQ(points.size(), static_cast<std::size_t>(kPoints));
    const int inside = insideBand(points);
    // The RMS misfit the report prints, against the one of the exported
    // columns; 0.006 m/s covers its rounding to 0.01.
    double squares = 0.0;
    for (const ExportedPoint& point : points) {
      squares += (point.fitted - point.measured) * (point.fitted - point.measured);
    }
    const std::string label = "RMS misfit of the fitted curve: ";
    const std::size_t at = result.out.find(label);
    EXPECT_NE(at, std::string::npos) << result.out;
    if (at != std::string::npos && !points.empty()) {
      EXPECT_NEAR(std::stod(result.out.substr(at + label.size())),
                  std::sqrt(squares / static_cast<double>(points.size())), 0.006);
    }
    EXPECT_NE(result.out.find("Points inside the band: " + std::to_string(inside) + " of 30\n"),
              std::string::npos)
        << result.out;
    EXPECT_NE(contents(dir_ / "fit_model.csv").rfind("layer,top_m,bottom_m,thickness_m,", 0),
              std::string::npos);
    return inside;
  }

  static constexpr int kPoints = 30;
  static constexpr int kAtLeastInside = 27;  // 90 % of 30
};

TEST_F(SyntheticFieldCurve, FitsInsideTheBandFromEveryStart) {
  struct Case {
    const char* name;
    std::string start;  // model file, or --suggest
    std::string options;
  };
  // Every Vs and thickness of the starts below is at least 25 % off the
  // true 2 m / 150, 4 m / 250, 400 m/s. The second start, with the default
  // thickness bounds (0.1-5 m), ends in a neighbouring minimum (the second
  // layer squeezed to 0.1 m, 7 points inside); a user who widens them to
  // 0.5-10 m gets the fit.
  const Case cases[] = {
      {"suggested 3 layers", "", "--suggest 3"},
      {"every value 25 % low", "3\n1.5 112.5 1.8\n3 187.5 1.9\n0 300 2.0\n", ""},
      {"mixed, wider thickness bounds", "3\n2.6 110 1.8\n3 320 1.9\n0 300 2.0\n",
       "--h-bounds 0.5 10"},
  };
  const fs::path curve = write("curve.csv", curveTable());
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string model = c.start.empty() ? "" : quoted(write("model.txt", c.start));
    EXPECT_GE(fittedInsideBand(c.options + " " + model + " " + quoted(curve)), kAtLeastInside);
  }
}

// The example files shipped with the program fit as their README says.
TEST_F(SyntheticFieldCurve, ExampleFilesFitInsideTheirBand) {
  const fs::path examples = DISPFIT_EXAMPLES_DIR;
  const std::string curve = quoted(examples / "field_curve.csv");
  EXPECT_GE(fittedInsideBand(quoted(examples / "starting_model.csv") + " " + curve),
            kAtLeastInside);
  EXPECT_GE(fittedInsideBand("--suggest 4 " + curve), kAtLeastInside);
}

}  // namespace
