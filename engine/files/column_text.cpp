// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/column_text.h"

#include "files/byte_order_mark.h"
#include "files/line_message.h"
#include "files/number_field.h"

namespace swcore {

namespace {

bool isBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r';
}

bool isDelimiter(char c) {
  return c == ',' || c == ';';
}

std::string_view trimmed(std::string_view text) {
  while (!text.empty() && isBlank(text.front())) {
    text.remove_prefix(1);
  }
  while (!text.empty() && isBlank(text.back())) {
    text.remove_suffix(1);
  }
  return text;
}

// The line without its comment and its line end.
std::string_view content(std::string_view line) {
  const std::size_t comment = line.find('#');
  if (comment != std::string_view::npos) {
    line = line.substr(0, comment);
  }
  return trimmed(line);
}

// Fields separated by commas and semicolons. Returns the 1-based position of
// the first empty field, 0 when there is none.
std::size_t splitAtDelimiters(std::string_view line, std::vector<std::string>& fields) {
  std::size_t start = 0;
  while (true) {
    std::size_t end = start;
    while (end < line.size() && !isDelimiter(line[end])) {
      ++end;
    }
    const std::string_view field = trimmed(line.substr(start, end - start));
    if (field.empty()) {
      return fields.size() + 1;
    }
    fields.emplace_back(field);
    if (end == line.size()) {
      return 0;
    }
    start = end + 1;
  }
}

// Fields separated by blanks and tabs. A unit in brackets written apart from
// its name ("vs (m/s)") stays with the name.
void splitAtBlanks(std::string_view line, std::vector<std::string>& fields) {
  std::size_t pos = 0;
  while (pos < line.size()) {
    while (pos < line.size() && isBlank(line[pos])) {
      ++pos;
    }
    const std::size_t start = pos;
    while (pos < line.size() && !isBlank(line[pos])) {
      ++pos;
    }
    if (pos == start) {
      break;
    }
    const std::string_view field = line.substr(start, pos - start);
    const bool unitApart = (field.front() == '(' || field.front() == '[') && !fields.empty();
    if (unitApart) {
      fields.back() += ' ';
      fields.back() += field;
    } else {
      fields.emplace_back(field);
    }
  }
}

bool hasDelimiter(std::string_view line) {
  return line.find_first_of(",;") != std::string_view::npos;
}

// Calls `visit(lineNumber, content)` for every line that is neither blank nor
// a comment, until it returns false.
template <class Visit>
void forEachContentLine(std::string_view text, Visit visit) {
  text = withoutByteOrderMark(text);
  std::size_t lineNumber = 0;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    const std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    ++lineNumber;
    const std::string_view kept = content(line);
    if (!kept.empty() && !visit(lineNumber, kept)) {
      return;
    }
  }
}

}  // namespace

bool splitColumnText(std::string_view text, const std::string& sourceName, ColumnText& table,
                     std::string& error) {
  table = {};
  bool ok = true;
  forEachContentLine(text, [&](std::size_t lineNumber, std::string_view line) {
    std::vector<std::string> fields;
    if (hasDelimiter(line)) {
      if (const std::size_t empty = splitAtDelimiters(line, fields); empty != 0) {
        error = lineMessage(sourceName, lineNumber, "field " + std::to_string(empty) + " is empty");
        ok = false;
        return false;
      }
    } else {
      splitAtBlanks(line, fields);
    }
    const bool first = table.headerLine == 0 && table.rows.empty();
    if (first && !looksNumeric(fields.front())) {
      table.headerLine = lineNumber;
      table.header = std::move(fields);
    } else {
      table.rows.push_back({lineNumber, std::move(fields)});
    }
    return true;
  });
  return ok;
}

std::size_t findColumnHeader(std::string_view text) {
  std::size_t headerLine = 0;
  forEachContentLine(text, [&](std::size_t lineNumber, std::string_view line) {
    const std::size_t end = line.find_first_of(" \t\r,;");
    headerLine = looksNumeric(line.substr(0, end)) ? 0 : lineNumber;
    return false;
  });
  return headerLine;
}

}  // namespace swcore
