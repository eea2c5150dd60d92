// SPDX-License-Identifier: GPL-3.0-or-later
// The window program's command line.
#include "core/start_arguments.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

namespace dispfit {
namespace {

// Help and version are answered before any window, wherever they stand.
TEST(StartArguments, HelpAndVersionAreFoundAnywhere) {
  const struct {
    const char* name;
    std::vector<std::string_view> arguments;
    StartRequest request;
  } cases[] = {
      {"nothing", {}, StartRequest::openWindow},
      {"files only", {"--model", "m.csv", "--curve=c.csv"}, StartRequest::openWindow},
      {"help", {"--help"}, StartRequest::showHelp},
      {"short help", {"-h"}, StartRequest::showHelp},
      {"version after a file", {"--curve", "c.csv", "--version"}, StartRequest::showVersion},
      {"both: help first", {"--version", "--help"}, StartRequest::showHelp},
      {"a file named with the word", {"--model", "--version.csv"}, StartRequest::openWindow},
  };
  for (const auto& row : cases) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(startRequest(row.arguments), row.request);
  }
}

TEST(StartArguments, AcceptedForms) {
  const struct {
    const char* name;
    std::vector<std::string> arguments;
    std::optional<std::string> model, curve;
    std::optional<WindowLanguage> language = std::nullopt;
  } cases[] = {
      {"none", {}, std::nullopt, std::nullopt},
      {"model", {"--model", "SHR.TXT"}, "SHR.TXT", std::nullopt},
      {"curve with =", {"--curve=site.csv"}, std::nullopt, "site.csv"},
      {"both, curve first", {"--curve", "a b.csv", "--model=m.csv"}, "m.csv", "a b.csv"},
      {"file named like an option", {"--model", "--curve"}, "--curve", std::nullopt},
      {"English", {"--language", "en"}, std::nullopt, std::nullopt, WindowLanguage::English},
      {"Chinese with =", {"--language=zh"}, std::nullopt, std::nullopt, WindowLanguage::Chinese},
      {"language among files",
       {"--curve", "c.csv", "--language", "en", "--model", "m.csv"},
       "m.csv",
       "c.csv",
       WindowLanguage::English},
  };
  for (const auto& row : cases) {
    SCOPED_TRACE(row.name);
    const StartArguments read = readStartArguments(row.arguments);
    ASSERT_TRUE(read.files) << read.error;
    EXPECT_EQ(read.files->model, row.model);
    EXPECT_EQ(read.files->curve, row.curve);
    EXPECT_EQ(read.files->language, row.language);
  }
}

TEST(StartArguments, Refusals) {
  const struct {
    const char* name;
    std::vector<std::string> arguments;
    const char* error;
  } cases[] = {
      {"unknown", {"site.csv"}, "unknown argument 'site.csv'"},
      {"prefix only", {"--curves=a"}, "unknown argument '--curves=a'"},
      {"no file", {"--curve"}, "--curve needs a file name"},
      {"empty file", {"--model="}, "--model needs a file name"},
      {"twice", {"--model", "a", "--model", "b"}, "--model is given more than once"},
      {"no language", {"--language"}, "--language takes en (English) or zh (Chinese), not ''"},
      {"unknown language",
       {"--language=fr"},
       "--language takes en (English) or zh (Chinese), not 'fr'"},
      {"code in capitals",
       {"--language", "EN"},
       "--language takes en (English) or zh (Chinese), not 'EN'"},
      {"language twice",
       {"--language", "en", "--language=zh"},
       "--language is given more than once"},
  };
  for (const auto& row : cases) {
    SCOPED_TRACE(row.name);
    const StartArguments read = readStartArguments(row.arguments);
    EXPECT_FALSE(read.files);
    EXPECT_EQ(read.error, row.error);
  }
}

}  // namespace
}  // namespace dispfit
