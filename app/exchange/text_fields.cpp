// SPDX-License-Identifier: GPL-3.0-or-later
#include "exchange/text_fields.h"

#include <optional>

#include "core/number_text.h"
#include "files/byte_order_mark.h"
#include "files/line_message.h"

namespace dispfit {

namespace {

bool separates(char c, bool commas) {
  return c == ' ' || c == '\t' || c == '\r' || (commas && c == ',');
}

std::vector<TextField> fieldsOf(std::string_view line, bool commas) {
  std::vector<TextField> fields;
  std::size_t pos = 0;
  while (pos < line.size()) {
    while (pos < line.size() && separates(line[pos], commas)) ++pos;
    const std::size_t start = pos;
    while (pos < line.size() && !separates(line[pos], commas)) ++pos;
    if (pos > start) fields.push_back({line.substr(start, pos - start), start + 1});
  }
  return fields;
}

}  // namespace

std::vector<TextLine> textLines(std::string_view text, bool commas) {
  text = swcore::withoutByteOrderMark(text);
  std::vector<TextLine> lines;
  std::size_t number = 0;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.push_back({++number, line, fieldsOf(line, commas)});
  }
  return lines;
}

std::string fieldMessage(const std::string& source, const TextLine& line, const TextField& field,
                         std::string_view what) {
  return swcore::lineColumnMessage(source, line.number, field.column, what);
}

bool fieldNumber(const std::string& source, const TextLine& line, const TextField& field,
                 std::string_view what, double& value, std::string& error) {
  const std::optional<double> number = parseDecimal(field.text);
  if (!number) {
    error = fieldMessage(source, line, field,
                         swcore::quoted(field.text) + " is not a number (" + std::string(what) +
                             "; a full stop is the decimal point)");
    return false;
  }
  value = *number;
  return true;
}

}  // namespace dispfit
