// SPDX-License-Identifier: GPL-3.0-or-later
#include "batch_options.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "scratch_directory.h"

namespace swcore {
namespace {

BatchCommand parse(std::vector<std::string_view> arguments) {
  return parseBatchOptions(arguments);
}

TEST(BatchOptions, NoArgumentsGiveTheBuiltInSettings) {
  const BatchCommand command = parse({});
  ASSERT_EQ(command.action, BatchCommand::Action::Run);
  EXPECT_EQ(command.settings.KK, 0);
  EXPECT_EQ(command.settings.KPG, 0);
  EXPECT_EQ(command.settings.BL, static_cast<double>(0.01f));
  EXPECT_EQ(command.settings.BU, 5.0);
  EXPECT_EQ(command.settings.HL, static_cast<double>(1e-4f));
  EXPECT_EQ(command.settings.HU, static_cast<double>(0.05f));
  EXPECT_EQ(command.settings.EA, 1e-5);
}

TEST(BatchOptions, EveryOptionSetsItsSetting) {
  const BatchCommand command = parse({"--invert", "--group", "--bl", "0.1", "--bu=0.9", "--hl",
                                      "0.002", "--hu", "0.3", "--ea", "2e-6"});
  ASSERT_EQ(command.action, BatchCommand::Action::Run) << command.error;
  EXPECT_EQ(command.settings.KK, 1);
  EXPECT_EQ(command.settings.KPG, 1);
  EXPECT_EQ(command.settings.BL, 0.1);
  EXPECT_EQ(command.settings.BU, 0.9);
  EXPECT_EQ(command.settings.HL, 0.002);
  EXPECT_EQ(command.settings.HU, 0.3);
  EXPECT_EQ(command.settings.EA, 2e-6);
}

TEST(BatchOptions, HelpWinsAndNamesTheFilesAndOptions) {
  EXPECT_EQ(parse({"--bl", "0.1", "--help"}).action, BatchCommand::Action::Help);
  EXPECT_EQ(parse({"-h"}).action, BatchCommand::Action::Help);
  const std::string usage = batchUsage();
  for (const char* word : {"SHR.TXT", "FIT.TXT", "LX.TXT", "TVF.TXT", "HPV.TXT", "--invert",
                           "--group", "--bl", "--bu", "--hl", "--hu", "--ea"}) {
    EXPECT_NE(usage.find(word), std::string::npos) << word;
  }
}

TEST(BatchOptions, FaultsAreRefusedWithAMessage) {
  struct Case {
    std::vector<std::string_view> arguments;
    std::string message;
  };
  const std::vector<Case> cases{
      {{"--fast"}, "unknown option --fast"},
      {{"invert"}, "unknown option invert"},
      {{"--invert=1"}, "--invert takes no value"},
      {{"--bl"}, "--bl needs a value"},
      {{"--hu", "abc"}, "--hu: \"abc\" is not a number (a full stop is the decimal separator)"},
      {{"--ea="}, "--ea: \"\" is not a number (a full stop is the decimal separator)"},
      {{"--bu", "nan"}, "--bu: \"nan\" is not a number (a full stop is the decimal separator)"},
      {{"--bu", "1e400"}, "--bu: \"1e400\" is not a number (a full stop is the decimal separator)"},
      {{"--bu", "1,5"}, "--bu: \"1,5\" is not a number (a full stop is the decimal separator)"},
      {{"--bl", "6"}, "the mean-velocity bounds need BL < BU"},
      {{"--hl", "0.05", "--hu", "0.05"}, "the depth bounds need HL < HU"},
  };
  for (const Case& c : cases) {
    const BatchCommand command = parse(c.arguments);
    EXPECT_EQ(command.action, BatchCommand::Action::Error) << c.message;
    EXPECT_EQ(command.error, c.message);
  }
}

#ifdef SWCORE_BATCH_PROGRAM
// The program itself, run in a directory of its own.
class BatchProgram : public dispfit_test::ScratchDirectory {
 protected:
  // Runs the program with `arguments`; returns its exit status and output.
  int run(const std::string& arguments, std::string& out, std::string& err) const {
    const int status = runWithOutput(arguments, ">out.log", err);
    out = slurp("out.log");
    return status;
  }
  // Runs the program with its standard output redirected as `redirection`
  // says (">/dev/full", ">&-"); returns its exit status and standard error.
  int runWithOutput(const std::string& arguments, const std::string& redirection,
                    std::string& err) const {
    const std::string command = "cd '" + dir_.string() + "' && '" SWCORE_BATCH_PROGRAM "' " +
                                arguments + " " + redirection + " 2>err.log";
    const int status = std::system(command.c_str());
    err = slurp("err.log");
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  std::string slurp(const std::string& name) const { return read(name); }
};

TEST_F(BatchProgram, WithoutArgumentsItIsTheForwardRun) {
  write("SHR.TXT", "1\n0 150 1.8\n");
  write("FIT.TXT", "2\n50 0\n10 0\n");
  std::string out;
  std::string err;
  ASSERT_EQ(run("", out, err), 0) << err;
  EXPECT_EQ(out, "INPUT KK=\nKPG=\nBL=,BU=\nHL=,HU=\nEA=\nL= 1  M= 2\n");
  EXPECT_EQ(err, "");
  // A half-space alone: 0.9473076 x 150 m/s at every frequency.
  EXPECT_EQ(slurp("FIT.TXT").substr(0, 10), "2\n50 142.0");
}

TEST_F(BatchProgram, FaultsGoToStandardErrorWithANonZeroStatus) {
  std::string out;
  std::string err;
  EXPECT_EQ(run("", out, err), 1);
  EXPECT_NE(err.find("swcore-batch: cannot open SHR.TXT"), std::string::npos) << err;
  EXPECT_EQ(run("--bogus", out, err), 2);
  EXPECT_NE(err.find("unknown option --bogus"), std::string::npos) << err;
  EXPECT_EQ(run("--help", out, err), 0);
  EXPECT_NE(out.find("Usage: swcore-batch"), std::string::npos);
}

// Standard output full or closed: the records are lost, so the run fails
// with exit status 1 and leaves the files as they were; so does the help.
TEST_F(BatchProgram, OutputThatCannotBeWrittenFailsTheRun) {
  struct Case {
    const char* arguments;
    const char* redirection;
  };
  const Case cases[] = {{"", ">/dev/full"},         {"", ">&-"},
                        {"--invert", ">/dev/full"}, {"--invert", ">&-"},
                        {"--help", ">/dev/full"},   {"--help", ">&-"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.arguments) + " " + c.redirection);
    write("SHR.TXT", "1\n0 150 1.8\n");
    write("FIT.TXT", "2\n50 140\n10 140\n");
    write("LX.TXT", "0 1\n");
    std::string err;
    EXPECT_EQ(runWithOutput(c.arguments, c.redirection, err), 1);
    EXPECT_NE(err.find("could not be written"), std::string::npos) << err;
    EXPECT_EQ(slurp("FIT.TXT"), "2\n50 140\n10 140\n");
    EXPECT_FALSE(std::filesystem::exists(dir_ / "FIT.TXT.~1~"));
    EXPECT_FALSE(std::filesystem::exists(dir_ / "TVF.TXT"));
    EXPECT_FALSE(std::filesystem::exists(dir_ / "HPV.TXT"));
  }
}

// Input the run cannot use stops it before any file is written: exit 1, the
// fault on standard error, FIT.TXT as it was and no TVF.TXT or HPV.TXT.
TEST_F(BatchProgram, BadInputIsRefusedAndLeavesTheFilesAlone) {
  struct Case {
    const char* name;
    std::string model;
    std::string curve;
    const char* arguments;
    std::string expected;
  };
  const std::string model = "2\n5 150 1.8\n0 300 2\n";
  const std::string curve = "2\n50 160\n10 280\n";
  const Case cases[] = {
      {"thickness of 1e308", "2\n1e308 150 1.8\n0 300 2\n", curve, "",
       "SHR.TXT: the thickness of layer 1 (1e+308) is beyond the single-precision range"},
      {"thickness of 1e39", "2\n1e39 150 1.8\n0 300 2\n", curve, "--invert",
       "SHR.TXT: the thickness of layer 1 (1e+39) is beyond the single-precision range"},
      {"Vs of 1e-320", "2\n5 1e-320 1.8\n0 300 2\n", curve, "",
       "SHR.TXT: the S velocity of layer 1 (1e-320) is 0 in single precision"},
      {"density of 1e-320", "2\n5 150 1.8\n0 300 1e-320\n", curve, "",
       "SHR.TXT: the density of layer 2 (1e-320) is 0 in single precision"},
      {"Vs of 20 km/s", "2\n5 150 1.8\n0 20000 2\n", curve, "",
       "SHR.TXT: the S velocity of layer 2 (20000 m/s) is not below 10000 m/s"},
      {"observed velocity of 20 km/s", model, "2\n50 160\n10 20000\n", "--invert",
       "FIT.TXT: the velocity of datum 2 (20000 m/s) is not below 10000 m/s"},
      {"negative thickness", "2\n-5 150 1.8\n0 300 2\n", curve, "",
       "SHR.TXT: the thickness of layer 1 is negative"},
      {"hexadecimal count", "0x2\n5 150 1.8\n0 300 2\n", curve, "",
       "SHR.TXT, line 1: \"0x2\" is not an integer"},
      {"count 2.0", "2.0\n5 150 1.8\n0 300 2\n", curve, "",
       "SHR.TXT, line 1: \"2.0\" is not an integer"},
      {"fourth column", "2\n5 150 1.8 450\n0 300 2 900\n", curve, "",
       "SHR.TXT, line 3: a number after the 2 layers' thickness, Vs and density"},
      {"model table", "h vs rho vp\n5 150 1.8 450\n0 300 2 900\n", curve, "",
       "SHR.TXT, line 1: a column header, but this file takes the free format"},
      {"no data", model, "0\n", "", "FIT.TXT: 0 data (from 1 to 50 can be used)"},
      {"frequency of 0", model, "2\n50 160\n0 280\n", "",
       "FIT.TXT: the frequency of datum 2 must be positive"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    write("SHR.TXT", c.model);
    write("FIT.TXT", c.curve);
    write("LX.TXT", "0 0 0 0\n");
    std::string out;
    std::string err;
    EXPECT_EQ(run(c.arguments, out, err), 1);
    EXPECT_NE(err.find(c.expected), std::string::npos) << err;
    EXPECT_EQ(slurp("FIT.TXT"), c.curve);
    EXPECT_FALSE(std::filesystem::exists(dir_ / "TVF.TXT"));
    EXPECT_FALSE(std::filesystem::exists(dir_ / "HPV.TXT"));
  }
}

TEST_F(BatchProgram, ADirectoryInPlaceOfAFileIsNamedAsOne) {
  std::filesystem::create_directory(dir_ / "SHR.TXT");
  write("FIT.TXT", "1\n50 0\n");
  std::string out;
  std::string err;
  EXPECT_EQ(run("", out, err), 1);
  EXPECT_NE(err.find("SHR.TXT is a directory, not a file"), std::string::npos) << err;
  EXPECT_EQ(slurp("FIT.TXT"), "1\n50 0\n");
}

// Files saved by editors that mark UTF-8 and end lines with CR LF.
TEST_F(BatchProgram, AByteOrderMarkAndCrLfLineEndsAreAccepted) {
  write("SHR.TXT",
        "\xEF\xBB\xBF"
        "1\r\n0 150 1.8\r\n");
  write("FIT.TXT",
        "\xEF\xBB\xBF"
        "2\r\n50 0\r\n10 0\r\n");
  std::string out;
  std::string err;
  ASSERT_EQ(run("", out, err), 0) << err;
  // As in the forward run above: 0.9473076 x 150 m/s.
  EXPECT_EQ(slurp("FIT.TXT").substr(0, 10), "2\n50 142.0");
}
#endif

}  // namespace
}  // namespace swcore
