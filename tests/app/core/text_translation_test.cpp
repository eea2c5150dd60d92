// SPDX-License-Identifier: GPL-3.0-or-later
// Texts of the code without Qt: arguments filled into a pattern, messages
// translated line by line.
#include "core/text_translation.h"

#include <gtest/gtest.h>

#include "table_translator.h"

namespace dispfit {
namespace {

TEST(FillText, PutsTheArgumentsInPlaceOfTheirNumbers) {
  const struct {
    const char* name;
    const char* pattern;
    std::initializer_list<std::string_view> arguments;
    const char* filled;
  } cases[] = {
      {"one", "第 %1 行", {"3"}, "第 3 行"},
      {"order follows the numbers", "%2 of %1", {"4", "3"}, "3 of 4"},
      {"an argument twice", "%1/%1", {"x"}, "x/x"},
      {"percent sign kept", "10%–90% %1", {"280.1"}, "10%–90% 280.1"},
      {"number without an argument kept", "%1 %3", {"a", "b"}, "a %3"},
      {"percent at the end", "100%", {"a"}, "100%"},
      {"an argument with a number sign", "%1", {"%2"}, "%2"},
      {"nine arguments", "%9%1", {"1", "2", "3", "4", "5", "6", "7", "8", "9"}, "91"},
  };
  for (const auto& row : cases) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(fillText(row.pattern, row.arguments), row.filled);
  }
}

TEST(TranslateLines, TranslatesEachLineThatIsAMarkedTextAndKeepsTheRest) {
  TableTranslator translator;
  translator.table = {{{"Messages", "迭代次数超限."}, "The iteration limit was reached."},
                      {{"Messages", "正演计算失败，反演已中止."}, "A forward calculation failed."}};
  // An unknown line comes back from the table in brackets; a translator
  // without it gives it back as it is, as the window's does.
  EXPECT_EQ(translateLines("迭代次数超限.\n正演计算失败，反演已中止.\n", "Messages", translator),
            "The iteration limit was reached.\nA forward calculation failed.\n");
  EXPECT_EQ(translateLines("迭代次数超限.\n\nline 2", "Messages", translator),
            "The iteration limit was reached.\n\n[line 2]");
  EXPECT_EQ(translateLines("", "Messages", translator), "");
  EXPECT_EQ(translateLines("迭代次数超限.\n正演计算失败，反演已中止.", "Messages", sourceTexts()),
            "迭代次数超限.\n正演计算失败，反演已中止.");
}

}  // namespace
}  // namespace dispfit
