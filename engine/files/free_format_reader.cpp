#include "files/free_format_reader.h"

#include <charconv>
#include <cmath>
#include <string>
#include <type_traits>
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

template <typename T>
bool parseWhole(std::string_view text, T& value) {
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size();
}

}  // namespace

FreeFormatReader::FreeFormatReader(std::istream& in, std::string sourceName)
    : in_(&in), sourceName_(std::move(sourceName)) {}

bool FreeFormatReader::readFields(std::size_t count, std::vector<std::string>& fields) {
  fields.clear();
  fieldLines_.clear();
  std::string line;
  while (fields.size() < count) {
    if (!std::getline(*in_, line)) {
      return fail("ends before all expected numbers were read (" + std::to_string(count) +
                  " needed, " + std::to_string(fields.size()) + " found)");
    }
    ++lineNumber_;
    splitFields(line, fields);
    fieldLines_.resize(fields.size(), lineNumber_);
  }
  fields.resize(count);
  return true;
}

template <class T>
bool FreeFormatReader::readNumbers(std::size_t count, std::vector<T>& values,
                                   std::string_view kind) {
  std::vector<std::string> fields;
  if (!readFields(count, fields)) {
    return false;
  }
  values.clear();
  for (std::size_t i = 0; i < fields.size(); ++i) {
    const std::string& field = fields[i];
    T value{};
    bool valid = parseWhole(withoutPlus(field), value);
    if constexpr (std::is_floating_point_v<T>) {
      valid = valid && std::isfinite(value);
    }
    if (!valid) {
      return failAt(fieldLines_[i], "\"" + field + "\" is not " + std::string(kind));
    }
    values.push_back(value);
  }
  return true;
}

bool FreeFormatReader::readReals(std::size_t count, std::vector<double>& values) {
  return readNumbers(count, values, "a number");
}

bool FreeFormatReader::readIntegers(std::size_t count, std::vector<std::int32_t>& values) {
  return readNumbers(count, values, "an integer");
}

bool FreeFormatReader::readInteger(std::int32_t& value) {
  std::vector<std::int32_t> values;
  if (!readIntegers(1, values)) {
    return false;
  }
  value = values.front();
  return true;
}

bool FreeFormatReader::fail(std::string_view what) {
  return failAt(lineNumber_, what);
}

bool FreeFormatReader::failAt(std::size_t line, std::string_view what) {
  error_ = sourceName_ + ", line " + std::to_string(line) + ": " + std::string(what);
  return false;
}

}  // namespace swcore
