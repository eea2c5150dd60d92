// SPDX-License-Identifier: GPL-3.0-or-later
// A TextTranslator for tests: the translations it is given, by context and
// source text, and "[source]" for any other text it is asked, so that a test
// sees every text that went through it and every one that did not.
#pragma once

#include <map>
#include <string>
#include <utility>

#include "core/text_translation.h"

namespace dispfit {

class TableTranslator : public TextTranslator {
 public:
  std::string translate(const char* context, const char* source) const override {
    const auto found = table.find({context, source});
    if (found != table.end()) return found->second;
    std::string bracketed = "[";
    bracketed += source;
    bracketed += ']';
    return bracketed;
  }

  std::map<std::pair<std::string, std::string>, std::string> table;
};

}  // namespace dispfit
