// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/record_writer.h"

namespace swcore {

Record& Record::push(const Item& item) {
  if (count_ < kCapacity) {
    items_[count_++] = item;
  } else {
    cutShort_ = true;
  }
  return *this;
}

Record& Record::add(std::string_view text) {
  Item item{};
  item.kind = Kind::Text;
  item.text = {text.data(), text.size()};
  return push(item);
}

Record& Record::add(double value) {
  Item item{};
  item.kind = Kind::Double;
  item.real = value;
  return push(item);
}

Record& Record::add(float value) {
  Item item{};
  item.kind = Kind::Float;
  item.single = value;
  return push(item);
}

Record& Record::add(std::int32_t value) {
  Item item{};
  item.kind = Kind::Integer;
  item.integer = value;
  return push(item);
}

Record& Record::add(std::span<const double> values, double scale) {
  for (const double value : values) {
    add(value * scale);
  }
  return *this;
}

std::string_view Record::itemText(std::size_t index, NumberText& buffer) const {
  const Item& item = items_[index];
  switch (item.kind) {
    case Kind::Text:
      return {item.text.data, item.text.size};
    case Kind::Double:
      buffer = formatNumber(item.real);
      break;
    case Kind::Float:
      buffer = formatNumber(item.single);
      break;
    case Kind::Integer:
      buffer = formatNumber(item.integer);
      break;
  }
  return buffer.view();
}

TextSink fileSink(std::FILE* file) {
  return {[](void* context, const char* text, std::size_t length) {
            std::fwrite(text, 1, length, static_cast<std::FILE*>(context));
          },
          file,
          [](void* context) {
            auto* stream = static_cast<std::FILE*>(context);
            return std::fflush(stream) == 0 && std::ferror(stream) == 0;
          }};
}

void RecordWriter::write(const Record& record) const {
  // The marker that closes a record cut short.
  constexpr std::string_view kCutMarker = "...";
  std::size_t column = 0;
  const auto putItem = [&](std::string_view text) {
    if (column > 0 && column + 1 + text.size() > lineLength_) {
      put("\n");
      column = 0;
    }
    if (column > 0) {
      put(" ");
      ++column;
    }
    put(text);
    column += text.size();
  };
  NumberText buffer;
  for (std::size_t i = 0; i < record.size(); ++i) {
    putItem(record.itemText(i, buffer));
  }
  if (record.cutShort()) {
    putItem(kCutMarker);
  }
  put("\n");
}

}  // namespace swcore
