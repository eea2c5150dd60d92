// SPDX-License-Identifier: GPL-3.0-or-later
// Free-format records: items separated by blanks, one record per write, a
// long record wrapped onto further lines wherever the line is full. Numbers
// are written in their shortest form that reads back to the same value.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <span>
#include <string_view>

#include "dispersion/engine_state.h"
#include "records/number_text.h"

namespace swcore {

// The items of one record: texts and numbers, formatted when written. A text
// item refers to its characters, which must outlive the record.
class Record {
 public:
  // The widest record the engine writes: thickness, S and P velocity and
  // density of every layer. Items beyond it are dropped and the record is
  // marked as cut short.
  static constexpr std::size_t kCapacity = 4 * kMaxLayers;

  Record() = default;
  explicit Record(std::string_view text) { add(text); }

  Record& add(std::string_view text);
  Record& add(double value);
  Record& add(float value);
  Record& add(std::int32_t value);
  // Every value, multiplied by `scale`.
  Record& add(std::span<const double> values, double scale = 1.0);

  std::size_t size() const { return count_; }
  // True when items were dropped for want of room.
  bool cutShort() const { return cutShort_; }

  // The text of item `index` (< size()); a number is formatted into
  // `buffer`, which the returned view then refers to.
  std::string_view itemText(std::size_t index, NumberText& buffer) const;

 private:
  enum class Kind : std::uint8_t { Text, Double, Float, Integer };
  struct Item {
    Kind kind;
    union {
      double real;
      float single;
      std::int32_t integer;
      struct {
        const char* data;
        std::size_t size;
      } text;
    };
  };

  Record& push(const Item& item);

  Item items_[kCapacity];
  std::size_t count_ = 0;
  bool cutShort_ = false;
};

// Where written text goes: `write(context, text, length)` takes the
// characters as they come, line breaks included. `flush(context)`, when
// given, passes on what the sink still holds and tells whether everything
// written so far arrived.
struct TextSink {
  void (*write)(void* context, const char* text, std::size_t length);
  void* context;
  bool (*flush)(void* context) = nullptr;
};

// A sink appending to a C stream; its flush fails once the stream has seen
// a write error (a full disk, a closed descriptor).
TextSink fileSink(std::FILE* file);

class RecordWriter {
 public:
  static constexpr std::size_t kLineLength = 80;

  // Writes to `file`, the standard output unless told otherwise.
  explicit RecordWriter(std::FILE* file = stdout, std::size_t lineLength = kLineLength)
      : RecordWriter(fileSink(file), lineLength) {}
  explicit RecordWriter(TextSink sink, std::size_t lineLength = kLineLength)
      : sink_(sink), lineLength_(lineLength) {}

  void write(const Record& record) const;
  void write(std::string_view text) const { write(Record(text)); }
  // Passes on buffered text; false when some of the records did not arrive.
  // A sink without a flush counts as delivering everything.
  bool flush() const { return sink_.flush == nullptr || sink_.flush(sink_.context); }

 private:
  void put(std::string_view text) const { sink_.write(sink_.context, text.data(), text.size()); }

  TextSink sink_;
  std::size_t lineLength_;
};

}  // namespace swcore
