// SPDX-License-Identifier: GPL-3.0-or-later
// What the tests of the command-line programs share: a program's exit status
// and output, a path quoted for the shell, a file's contents, and a scratch
// folder per test in which the program runs.
#pragma once

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>

namespace dispfit_test {

struct ToolRun {
  int status = -1;
  std::string out;
  std::string err;
};

// The path in single quotes, for the shell (appended piece by piece: GCC 12
// warns falsely about overlapping copies in a chain of string sums).
inline std::string quoted(const std::filesystem::path& path) {
  std::string text = "'";
  text += path.string();
  text += "'";
  return text;
}

inline std::string contents(const std::filesystem::path& path) {
  std::ifstream in(path);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// A fixture with a folder of its own for each test, removed after it, where
// the test writes its input files and `program` writes its output.
class ToolTest : public ::testing::Test {
 protected:
  ToolTest(std::filesystem::path program, std::string folderPrefix)
      : program_(std::move(program)), folderPrefix_(std::move(folderPrefix)) {}

  void SetUp() override {
    std::string name = folderPrefix_;
    name += std::to_string(::getpid());
    name += ::testing::UnitTest::GetInstance()->current_test_info()->name();
    dir_ = std::filesystem::temp_directory_path() / name;
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }

  std::filesystem::path write(const std::string& name, const std::string& text) {
    const std::filesystem::path path = dir_ / name;
    std::ofstream(path) << text;
    return path;
  }

  // Runs the program with its standard output redirected as `redirection`
  // says (">file", ">/dev/full", ">&-"); its standard error is read back.
  ToolRun runWithOutput(const std::string& arguments, const std::string& redirection) {
    const std::filesystem::path err = dir_ / "stderr";
    std::ostringstream command;
    command << quoted(program_) << ' ' << arguments << ' ' << redirection << " 2>" << quoted(err);
    const int raw = std::system(command.str().c_str());
    ToolRun result;
    result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    result.err = contents(err);
    return result;
  }

  // Runs the program with both outputs read back.
  ToolRun run(const std::string& arguments) {
    const std::filesystem::path out = dir_ / "stdout";
    std::string redirection = ">";
    redirection += quoted(out);
    ToolRun result = runWithOutput(arguments, redirection);
    result.out = contents(out);
    return result;
  }

  // Runs another program in the same way, both outputs read back.
  ToolRun runOther(std::filesystem::path program, const std::string& arguments) {
    std::swap(program_, program);
    ToolRun result = run(arguments);
    std::swap(program_, program);
    return result;
  }

  std::filesystem::path dir_;

 private:
  std::filesystem::path program_;
  std::string folderPrefix_;
};

}  // namespace dispfit_test
