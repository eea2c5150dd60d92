// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/text_translation.h"

#include <algorithm>
#include <vector>

namespace dispfit {

namespace {

class SourceTexts : public TextTranslator {
 public:
  std::string translate(const char*, const char* source) const override { return source; }
};

}  // namespace

const TextTranslator& sourceTexts() {
  static const SourceTexts texts;
  return texts;
}

std::string fillText(std::string_view pattern, std::initializer_list<std::string_view> arguments) {
  const std::vector<std::string_view> values(arguments);
  std::string text;
  text.reserve(pattern.size());
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    const char next = i + 1 < pattern.size() ? pattern[i + 1] : '\0';
    const std::size_t index = static_cast<std::size_t>(next - '1');
    if (pattern[i] == '%' && next >= '1' && next <= '9' && index < values.size()) {
      text += values[index];
      ++i;
    } else {
      text += pattern[i];
    }
  }
  return text;
}

std::string translateLines(std::string_view text, const char* context,
                           const TextTranslator& translator) {
  std::string translated;
  std::size_t start = 0;
  while (start <= text.size()) {
    const std::size_t end = std::min(text.find('\n', start), text.size());
    const std::string line(text.substr(start, end - start));
    translated += line.empty() ? line : translator.translate(context, line.c_str());
    if (end == text.size()) break;
    translated += '\n';
    start = end + 1;
  }
  return translated;
}

}  // namespace dispfit
