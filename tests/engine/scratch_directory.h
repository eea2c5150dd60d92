// SPDX-License-Identifier: GPL-3.0-or-later
// A directory of its own for every test of the batch files, removed
// afterwards, with small helpers to write and read the files in it.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

namespace dispfit_test {

class ScratchDirectory : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (std::filesystem::temp_directory_path() / "swcore-files-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
  }
  void TearDown() override {
    std::error_code ignored;
    std::filesystem::remove_all(dir_, ignored);
  }

  std::filesystem::path path(const std::string& name) const { return dir_ / name; }
  void write(const std::string& name, const std::string& text) const {
    std::ofstream(dir_ / name) << text;
  }
  std::string read(const std::string& name) const {
    std::ifstream in(dir_ / name);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }
  bool exists(const std::string& name) const { return std::filesystem::exists(dir_ / name); }
  // The names in the directory, sorted, separated by blanks.
  std::string listing() const {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir_)) {
      names.insert(entry.path().filename().string());
    }
    std::string text;
    for (const std::string& name : names) {
      text += (text.empty() ? "" : " ") + name;
    }
    return text;
  }

  std::filesystem::path dir_;
};

}  // namespace dispfit_test
