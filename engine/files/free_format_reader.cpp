// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/free_format_reader.h"

#include <string>
#include <utility>

#include "files/byte_order_mark.h"
#include "files/line_message.h"
#include "files/number_field.h"

namespace swcore {

namespace {

bool isSeparator(char c) {
  return c == ' ' || c == '\t' || c == ',' || c == '\r';
}

void splitFields(std::string_view line, std::vector<std::string>& fields) {
  std::size_t pos = 0;
  while (pos < line.size()) {
    while (pos < line.size() && isSeparator(line[pos])) {
      ++pos;
    }
    const std::size_t start = pos;
    while (pos < line.size() && !isSeparator(line[pos])) {
      ++pos;
    }
    if (pos > start) {
      fields.emplace_back(line.substr(start, pos - start));
    }
  }
}

}  // namespace

FreeFormatReader::FreeFormatReader(std::istream& in, std::string sourceName)
    : in_(&in), sourceName_(std::move(sourceName)) {}

bool FreeFormatReader::readFields(std::size_t count, std::vector<std::string>& fields) {
  fields.clear();
  fieldLines_.clear();
  skipped_.clear();
  std::string line;
  while (fields.size() < count) {
    if (!std::getline(*in_, line)) {
      return fail("ends before all expected numbers were read (" + std::to_string(count) +
                  " needed, " + std::to_string(fields.size()) + " found)");
    }
    ++lineNumber_;
    const std::string_view content =
        lineNumber_ == 1 ? withoutByteOrderMark(line) : std::string_view(line);
    splitFields(content, fields);
    fieldLines_.resize(fields.size(), lineNumber_);
  }
  skipped_.assign(fields.begin() + static_cast<std::ptrdiff_t>(count), fields.end());
  fields.resize(count);
  return true;
}

template <class T>
bool FreeFormatReader::readNumbers(std::size_t count, std::vector<T>& values,
                                   bool (*parse)(std::string_view, T&), std::string_view kind) {
  std::vector<std::string> fields;
  if (!readFields(count, fields)) {
    return false;
  }
  values.clear();
  for (std::size_t i = 0; i < fields.size(); ++i) {
    T value{};
    if (!parse(fields[i], value)) {
      return failAt(fieldLines_[i], "\"" + fields[i] + "\" is not " + std::string(kind));
    }
    values.push_back(value);
  }
  return true;
}

bool FreeFormatReader::readReals(std::size_t count, std::vector<double>& values) {
  return readNumbers(count, values, &parseReal, "a number");
}

bool FreeFormatReader::readIntegers(std::size_t count, std::vector<std::int32_t>& values) {
  return readNumbers(count, values, &parseInteger, "an integer");
}

bool FreeFormatReader::readInteger(std::int32_t& value) {
  std::vector<std::int32_t> values;
  if (!readIntegers(1, values)) {
    return false;
  }
  value = values.front();
  return true;
}

std::size_t FreeFormatReader::lineOfUnreadNumber() {
  if (!skipped_.empty() && looksNumeric(skipped_.front())) {
    return lineNumber_;
  }
  std::string line;
  std::vector<std::string> fields;
  while (std::getline(*in_, line)) {
    ++lineNumber_;
    fields.clear();
    splitFields(line, fields);
    if (!fields.empty() && looksNumeric(fields.front())) {
      return lineNumber_;
    }
  }
  return 0;
}

bool FreeFormatReader::fail(std::string_view what) {
  return failAt(lineNumber_, what);
}

bool FreeFormatReader::failAt(std::size_t line, std::string_view what) {
  error_ = lineMessage(sourceName_, line, what);
  return false;
}

}  // namespace swcore
