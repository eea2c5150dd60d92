// SPDX-License-Identifier: GPL-3.0-or-later
#include "site/exported_result.h"

namespace dispfit {

std::vector<std::string> metadataLines(const ExportMetadata& metadata,
                                       const std::string& resultName) {
  std::vector<std::string> lines{"Result: " + resultName, "Program: DispFit " + metadata.version,
                                 "Date: " + metadata.date};
  for (const std::string& input : metadata.inputs) lines.push_back("Input: " + input);
  for (const std::string& setting : metadata.settings) lines.push_back("Settings: " + setting);
  if (!metadata.misfit.empty()) lines.push_back("Misfit: " + metadata.misfit);
  return lines;
}

std::string withCommentLines(const std::vector<std::string>& lines, const std::string& text) {
  std::string result;
  for (const std::string& line : lines) {
    result += "# ";
    // A line break inside a line would end the comment.
    for (const char c : line) result += c == '\n' || c == '\r' ? ' ' : c;
    result += '\n';
  }
  return result + text;
}

std::vector<std::string> textLines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find('\n', start);
    lines.push_back(text.substr(start, end == std::string::npos ? end : end - start));
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return lines;
}

}  // namespace dispfit
