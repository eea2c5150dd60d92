// Free-format records: items separated by blanks, one record per write, a
// long record wrapped onto further lines wherever the line is full. Numbers
// are written in their shortest form that reads back to the same value.
#pragma once

#include <cstddef>
#include <cstdint>
#include <ostream>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace swcore {

class Record {
 public:
  Record() = default;
  explicit Record(std::string_view text) { add(text); }

  Record& add(std::string_view text);
  Record& add(double value);
  Record& add(float value);
  Record& add(std::int32_t value);
  // Every value, multiplied by `scale`.
  Record& add(std::span<const double> values, double scale = 1.0);

  const std::vector<std::string>& items() const { return items_; }

 private:
  std::vector<std::string> items_;
};

class RecordWriter {
 public:
  static constexpr std::size_t kLineLength = 80;

  explicit RecordWriter(std::ostream& out, std::size_t lineLength = kLineLength)
      : out_(&out), lineLength_(lineLength) {}

  void write(const Record& record);
  void write(std::string_view text) { write(Record(text)); }

  std::ostream& stream() const { return *out_; }

 private:
  std::ostream* out_;
  std::size_t lineLength_;
};

// Shortest text that reads back to exactly `value`.
std::string formatNumber(double value);
std::string formatNumber(float value);

}  // namespace swcore
