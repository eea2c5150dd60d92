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
  EXPECT_NE(result.out.find("Usage: dispfit-invert MODEL CURVE"), std::string::npos);
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
  const fs::path curve = write("curve.txt", "2\n50 189.4615\n10 189.4615\n");
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
