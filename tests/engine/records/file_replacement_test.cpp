// SPDX-License-Identifier: GPL-3.0-or-later
// Replacing output files: permissions kept, numbered backups named as cp
// names them, and a pair of files replaced both or neither, with failures
// made in ways that hold for every user (a directory where a file must go).
#include "records/file_replacement.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "scratch_directory.h"

namespace swcore {
namespace {

namespace fs = std::filesystem;

FileFill text(const std::string& line) {
  return [line](const RecordWriter& out) { out.write(line); };
}

class FileReplacement : public dispfit_test::ScratchDirectory {};

TEST_F(FileReplacement, ReplacedFileKeepsItsPermissions) {
  for (const fs::perms mode : {fs::perms(0640), fs::perms(0600), fs::perms(0444)}) {
    SCOPED_TRACE(static_cast<int>(mode));
    write("FIT.TXT", "old\n");
    fs::permissions(path("FIT.TXT"), mode);
    std::string error;
    ASSERT_TRUE(replaceFile(path("FIT.TXT"), text("new"), error)) << error;
    EXPECT_EQ(read("FIT.TXT"), "new\n");
    EXPECT_EQ(fs::status(path("FIT.TXT")).permissions(), mode);
    fs::remove(path("FIT.TXT"));
  }
}

TEST_F(FileReplacement, EveryReplacedFileIsKeptAsTheNextNumberedBackup) {
  std::string error;
  // Nothing to keep on the first write.
  ASSERT_TRUE(replaceFileKeepingBackup(path("FIT.TXT"), text("first"), error)) << error;
  EXPECT_EQ(listing(), "FIT.TXT");
  fs::permissions(path("FIT.TXT"), fs::perms(0640));
  ASSERT_TRUE(replaceFileKeepingBackup(path("FIT.TXT"), text("second"), error)) << error;
  ASSERT_TRUE(replaceFileKeepingBackup(path("FIT.TXT"), text("third"), error)) << error;
  EXPECT_EQ(listing(), "FIT.TXT FIT.TXT.~1~ FIT.TXT.~2~");
  EXPECT_EQ(read("FIT.TXT.~1~"), "first\n");
  EXPECT_EQ(read("FIT.TXT.~2~"), "second\n");
  EXPECT_EQ(read("FIT.TXT"), "third\n");
  for (const char* name : {"FIT.TXT", "FIT.TXT.~1~", "FIT.TXT.~2~"}) {
    EXPECT_EQ(fs::status(path(name)).permissions(), fs::perms(0640)) << name;
  }
}

// Which number the next backup gets, beside backups and look-alikes already
// there: the answer of `cp --backup=numbered` in a copy of the directory.
TEST_F(FileReplacement, BackupNumberIsTheOneCpChooses) {
  const std::vector<std::vector<std::string>> cases{
      {},
      {"FIT.TXT.~1~"},
      {"FIT.TXT.~2~", "FIT.TXT.~7~"},
      {"FIT.TXT.~x~", "FIT.TXT.~3", "FIT.TXT.~~", "FIT.TXT.~-4~", "OTHER.TXT.~9~"},
      {"FIT.TXT.~010~", "FIT.TXT.~0~"},
      {"FIT.TXT.~09~", "FIT.TXT.~3~"},
  };
  for (const std::vector<std::string>& present : cases) {
    std::string names;
    for (const std::string& name : present) names += name + " ";
    SCOPED_TRACE(names);
    for (const char* folder : {"ours", "cp"}) {
      fs::remove_all(path(folder));
      fs::create_directory(path(folder));
      write(std::string(folder) + "/FIT.TXT", "old\n");
      for (const std::string& name : present) write(std::string(folder) + "/" + name, "");
    }
    write("source", "new\n");
    const std::string command = "cp --backup=numbered '" + path("source").string() + "' '" +
                                path("cp/FIT.TXT").string() + "'";
    ASSERT_EQ(std::system(command.c_str()), 0);
    std::string error;
    ASSERT_TRUE(replaceFileKeepingBackup(path("ours/FIT.TXT"), text("new"), error)) << error;
    std::vector<std::string> ours;
    std::vector<std::string> theirs;
    for (const auto& entry : fs::directory_iterator(path("ours"))) {
      ours.push_back(entry.path().filename().string());
    }
    for (const auto& entry : fs::directory_iterator(path("cp"))) {
      theirs.push_back(entry.path().filename().string());
    }
    std::sort(ours.begin(), ours.end());
    std::sort(theirs.begin(), theirs.end());
    EXPECT_EQ(ours, theirs);
  }
}

// TVF.TXT and HPV.TXT as one pair: each row sets up the directory, and the
// outcome is both new or both as they were, with no scratch file left.
TEST_F(FileReplacement, PairIsReplacedWholeOrNotAtAll) {
  struct Case {
    const char* name;
    bool tvfBefore;     // TVF.TXT holds "old tvf"
    const char* block;  // a directory put under this name, or nullptr
    bool replaced;
  };
  const std::vector<Case> cases{
      {"both written", true, nullptr, true},
      {"both written, TVF.TXT new", false, nullptr, true},
      // The rename of the second file fails after the first is in place.
      {"HPV.TXT a directory", true, "HPV.TXT", false},
      {"HPV.TXT a directory, TVF.TXT new", false, "HPV.TXT", false},
      // The second file cannot even be written.
      {"HPV.TXT.new a directory", true, "HPV.TXT.new", false},
      // The first rename fails.
      {"TVF.TXT.new a directory", true, "TVF.TXT.new", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fs::remove_all(dir_);
    fs::create_directory(dir_);
    if (c.tvfBefore) write("TVF.TXT", "old tvf\n");
    if (c.block != nullptr) {
      fs::create_directory(path(c.block));
    } else {
      write("HPV.TXT", "old hpv\n");
    }
    const std::string before = listing();
    const OutputFile files[] = {{path("TVF.TXT"), text("new tvf")},
                                {path("HPV.TXT"), text("new hpv")}};
    std::string error;
    EXPECT_EQ(replaceFilesTogether(files, error), c.replaced) << error;
    EXPECT_EQ(listing(), c.replaced && !c.tvfBefore ? "HPV.TXT TVF.TXT" : before);
    if (c.replaced) {
      EXPECT_EQ(read("TVF.TXT"), "new tvf\n");
      EXPECT_EQ(read("HPV.TXT"), "new hpv\n");
    } else {
      EXPECT_FALSE(error.empty());
      EXPECT_EQ(exists("TVF.TXT"), c.tvfBefore);
      if (c.tvfBefore) {
        EXPECT_EQ(read("TVF.TXT"), "old tvf\n");
      }
    }
  }
}

// Contents given whole arrive byte for byte (a NUL, a CR, lines longer than a
// record line), and a set with one file blocked leaves every place as it was.
TEST_F(FileReplacement, TextsAreReplacedByteForByteWholeOrNotAtAll) {
  const std::string picture =
      std::string("\x89PNG\r\n\x1a\n\0\0", 10) + std::string(200, 'x') + "\n";
  const std::string table = "a,b\r\n1,2\n";
  for (const bool blocked : {false, true}) {
    SCOPED_TRACE(blocked ? "report.pdf a directory" : "all written");
    fs::remove_all(dir_);
    fs::create_directory(dir_);
    write("table.csv", "old table\n");
    if (blocked) fs::create_directory(path("report.pdf"));
    const std::string before = listing();
    const OutputText files[] = {{path("picture.png"), picture},
                                {path("table.csv"), table},
                                {path("report.pdf"), "%PDF-1.4\n"}};
    std::string error;
    EXPECT_EQ(replaceFileTextsTogether(files, error), !blocked) << error;
    if (blocked) {
      EXPECT_FALSE(error.empty());
      EXPECT_EQ(listing(), before);
      EXPECT_EQ(read("table.csv"), "old table\n");
    } else {
      EXPECT_EQ(listing(), "picture.png report.pdf table.csv");
      EXPECT_EQ(read("picture.png"), picture);
      EXPECT_EQ(read("table.csv"), table);
      EXPECT_EQ(read("report.pdf"), "%PDF-1.4\n");
    }
  }
}

}  // namespace
}  // namespace swcore
