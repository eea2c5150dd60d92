// SPDX-License-Identifier: GPL-3.0-or-later
// The bytes of a binary record file, read as numbers of either byte order
// with every read checked against the end of the file.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>

namespace dispfit {

enum class ByteOrder { little, big };

class ByteSource {
 public:
  ByteSource(std::span<const std::uint8_t> bytes, ByteOrder order) : bytes_(bytes), order_(order) {}

  std::size_t size() const { return bytes_.size(); }
  ByteOrder order() const { return order_; }
  // Whether `count` bytes from `offset` lie inside the file (no overflow).
  bool holds(std::size_t offset, std::size_t count) const {
    return offset <= bytes_.size() && count <= bytes_.size() - offset;
  }
  std::span<const std::uint8_t> bytes(std::size_t offset, std::size_t count) const {
    return bytes_.subspan(offset, count);
  }

  // Each read needs holds(offset, width) first.
  std::uint8_t u8(std::size_t offset) const { return bytes_[offset]; }
  std::uint16_t u16(std::size_t offset) const {
    return static_cast<std::uint16_t>(unsigned_(offset, 2));
  }
  std::uint32_t u32(std::size_t offset) const {
    return static_cast<std::uint32_t>(unsigned_(offset, 4));
  }
  std::uint64_t u64(std::size_t offset) const { return unsigned_(offset, 8); }
  std::uint32_t u24(std::size_t offset) const {
    return static_cast<std::uint32_t>(unsigned_(offset, 3));
  }
  std::int8_t i8(std::size_t offset) const { return static_cast<std::int8_t>(u8(offset)); }
  std::int16_t i16(std::size_t offset) const { return static_cast<std::int16_t>(u16(offset)); }
  std::int32_t i32(std::size_t offset) const { return static_cast<std::int32_t>(u32(offset)); }
  std::int64_t i64(std::size_t offset) const { return static_cast<std::int64_t>(u64(offset)); }
  // Two's complement over 24 bits.
  std::int32_t i24(std::size_t offset) const {
    const std::uint32_t raw = u24(offset);
    return (raw & 0x800000u) ? static_cast<std::int32_t>(raw) - 0x1000000
                             : static_cast<std::int32_t>(raw);
  }
  float f32(std::size_t offset) const { return std::bit_cast<float>(u32(offset)); }
  double f64(std::size_t offset) const { return std::bit_cast<double>(u64(offset)); }

 private:
  std::uint64_t unsigned_(std::size_t offset, std::size_t width) const {
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < width; ++i) {
      const std::size_t at = order_ == ByteOrder::big ? offset + i : offset + width - 1 - i;
      value = (value << 8) | bytes_[at];
    }
    return value;
  }

  std::span<const std::uint8_t> bytes_;
  ByteOrder order_;
};

}  // namespace dispfit
