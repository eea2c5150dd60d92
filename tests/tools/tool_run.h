// What the tests of the command-line programs share: a program's exit status
// and output, a path quoted for the shell, a file's contents.
#pragma once

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

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

}  // namespace dispfit_test
