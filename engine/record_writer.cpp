#include "record_writer.h"

#include <array>
#include <charconv>

namespace swcore {

namespace {

template <typename T>
std::string shortestText(T value) {
  std::array<char, 64> buffer{};
  const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
  return std::string(buffer.data(), result.ptr);
}

}  // namespace

std::string formatNumber(double value) {
  return shortestText(value);
}

std::string formatNumber(float value) {
  return shortestText(value);
}

Record& Record::add(std::string_view text) {
  items_.emplace_back(text);
  return *this;
}

Record& Record::add(double value) {
  items_.push_back(formatNumber(value));
  return *this;
}

Record& Record::add(float value) {
  items_.push_back(formatNumber(value));
  return *this;
}

Record& Record::add(std::int32_t value) {
  items_.push_back(std::to_string(value));
  return *this;
}

Record& Record::add(std::span<const double> values, double scale) {
  for (const double value : values) {
    add(value * scale);
  }
  return *this;
}

void RecordWriter::write(const Record& record) {
  std::string line;
  for (const std::string& item : record.items()) {
    if (!line.empty() && line.size() + 1 + item.size() > lineLength_) {
      *out_ << line << '\n';
      line.clear();
    }
    if (!line.empty()) {
      line += ' ';
    }
    line += item;
  }
  *out_ << line << '\n';
}

}  // namespace swcore
