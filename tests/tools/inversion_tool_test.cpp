// dispfit-invert as a user runs it: files in, report or error out, and the
// exit status telling which.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

namespace fs = std::filesystem;

struct ToolRun {
  int status = -1;
  std::string out;
  std::string err;
};

// The path in single quotes, for the shell.
std::string quoted(const fs::path& path) {
  std::string text = "'";
  text += path.string();
  text += "'";
  return text;
}

std::string contents(const fs::path& path) {
  std::ifstream in(path);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

class InversionTool : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string name = "dispfit-invert-test-";
    name += std::to_string(::getpid());
    name += ::testing::UnitTest::GetInstance()->current_test_info()->name();
    dir_ = fs::temp_directory_path() / name;
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  fs::path write(const std::string& name, const std::string& text) {
    const fs::path path = dir_ / name;
    std::ofstream(path) << text;
    return path;
  }

  ToolRun run(const std::string& arguments) {
    const fs::path out = dir_ / "stdout";
    std::string redirection = ">";
    redirection += quoted(out);
    ToolRun result = runWithOutput(arguments, redirection);
    result.out = contents(out);
    return result;
  }
  // Runs the program with its standard output redirected as `redirection`
  // says (">/dev/full", ">&-").
  ToolRun runWithOutput(const std::string& arguments, const std::string& redirection) {
    const fs::path err = dir_ / "stderr";
    std::ostringstream command;
    command << quoted(DISPFIT_INVERT_PATH) << ' ' << arguments << ' ' << redirection << " 2>"
            << quoted(err);
    const int raw = std::system(command.str().c_str());
    ToolRun result;
    result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    result.err = contents(err);
    return result;
  }

  fs::path dir_;
};

TEST_F(InversionTool, HelpExplainsBothFiles) {
  const ToolRun result = run("--help");
  EXPECT_EQ(result.status, 0);
  EXPECT_NE(result.out.find("Usage: dispfit-invert [OPTIONS] MODEL CURVE"), std::string::npos);
  EXPECT_NE(result.out.find("thickness(m)  Vs(m/s)  density(g/cm3)"), std::string::npos);
  EXPECT_NE(result.out.find("frequency(Hz)  phase velocity(m/s)"), std::string::npos);
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
  EXPECT_NE(result.out.find("#      H       Vs\n1   2.0   200.0\n"), std::string::npos)
      << result.out;
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
  EXPECT_NE(result.out.find("#      H       Vs\n1   2.0   200.0\n"), std::string::npos)
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

}  // namespace
