#include "free_format_reader.h"

#include <charconv>
#include <cmath>
#include <utility>

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

// A leading '+' is accepted as in any free-format input.
std::string_view withoutPlus(std::string_view field) {
  if (field.size() > 1 && field.front() == '+') {
    field.remove_prefix(1);
  }
  return field;
}

}  // namespace

FreeFormatReader::FreeFormatReader(std::istream& in, std::string sourceName)
    : in_(&in), sourceName_(std::move(sourceName)) {}

std::vector<std::string> FreeFormatReader::readFields(std::size_t count) {
  std::vector<std::string> fields;
  std::string line;
  while (fields.size() < count) {
    if (!std::getline(*in_, line)) {
      fail("ends before all expected numbers were read (" + std::to_string(count) + " needed, " +
           std::to_string(fields.size()) + " found)");
    }
    ++lineNumber_;
    splitFields(line, fields);
  }
  fields.resize(count);
  return fields;
}

std::vector<double> FreeFormatReader::readReals(std::size_t count) {
  std::vector<double> values;
  values.reserve(count);
  for (const std::string& field : readFields(count)) {
    const std::string_view text = withoutPlus(field);
    double value = 0.0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) {
      fail("\"" + field + "\" is not a number");
    }
    values.push_back(value);
  }
  return values;
}

std::vector<std::int32_t> FreeFormatReader::readIntegers(std::size_t count) {
  std::vector<std::int32_t> values;
  values.reserve(count);
  for (const std::string& field : readFields(count)) {
    const std::string_view text = withoutPlus(field);
    std::int32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) {
      fail("\"" + field + "\" is not an integer");
    }
    values.push_back(value);
  }
  return values;
}

void FreeFormatReader::fail(std::string_view what) const {
  throw FreeFormatError(sourceName_ + ", line " + std::to_string(lineNumber_) + ": " +
                        std::string(what));
}

}  // namespace swcore
