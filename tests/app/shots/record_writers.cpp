// SPDX-License-Identifier: GPL-3.0-or-later
#include "record_writers.h"

#include <segyio/segy.h>

#include <bit>
#include <cmath>
#include <cstring>

namespace dispfit_test {
namespace {

using dispfit::ByteOrder;

class ByteSink {
 public:
  explicit ByteSink(ByteOrder order) : order_(order) {}
  std::vector<std::uint8_t>& bytes() { return bytes_; }
  std::size_t size() const { return bytes_.size(); }

  void put(std::uint64_t value, std::size_t width) {
    for (std::size_t i = 0; i < width; ++i) {
      const std::size_t shift = order_ == ByteOrder::big ? 8 * (width - 1 - i) : 8 * i;
      bytes_.push_back(static_cast<std::uint8_t>(value >> shift));
    }
  }
  void putAt(std::size_t at, std::uint64_t value, std::size_t width) {
    for (std::size_t i = 0; i < width; ++i) {
      const std::size_t shift = order_ == ByteOrder::big ? 8 * (width - 1 - i) : 8 * i;
      bytes_[at + i] = static_cast<std::uint8_t>(value >> shift);
    }
  }
  void zeros(std::size_t count) { bytes_.insert(bytes_.end(), count, 0); }
  void text(const std::string& s) { bytes_.insert(bytes_.end(), s.begin(), s.end()); }

 private:
  ByteOrder order_;
  std::vector<std::uint8_t> bytes_;
};

void putStrings(ByteSink& out, const std::vector<std::string>& strings) {
  for (const std::string& s : strings) {
    out.put(s.size() + 3, 2);  // the count, the text and its NUL terminator
    out.text(s);
    out.put(0, 1);
  }
  out.put(0, 2);
}

std::int64_t rounded(double value) {
  return static_cast<std::int64_t>(std::llround(value));
}

void putSeg2Sample(ByteSink& out, int format, double value) {
  switch (format) {
    case 1:
      out.put(static_cast<std::uint16_t>(rounded(value)), 2);
      break;
    case 2:
      out.put(static_cast<std::uint32_t>(rounded(value)), 4);
      break;
    case 4:
      out.put(std::bit_cast<std::uint32_t>(static_cast<float>(value)), 4);
      break;
    default:
      out.put(std::bit_cast<std::uint64_t>(value), 8);
      break;
  }
}

// Format 3: groups of four, the smallest exponent that keeps each mantissa
// within 16 bits.
void putTwentyBit(ByteSink& out, const std::vector<double>& samples) {
  for (std::size_t first = 0; first < samples.size(); first += 4) {
    std::uint16_t exponents = 0;
    std::int16_t mantissas[4] = {};
    for (std::size_t k = 0; k < 4; ++k) {
      const double value = first + k < samples.size() ? samples[first + k] : 0.0;
      int exponent = 0;
      while (exponent < 15 && std::abs(std::ldexp(value, -exponent)) > 32767.0) ++exponent;
      mantissas[k] = static_cast<std::int16_t>(rounded(std::ldexp(value, -exponent)));
      exponents = static_cast<std::uint16_t>(exponents | (exponent << (12 - 4 * k)));
    }
    out.put(exponents, 2);
    for (const std::int16_t m : mantissas) out.put(static_cast<std::uint16_t>(m), 2);
  }
}

std::string number(double value) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.17g", value);
  return buffer;
}

void putTraceHeader(ByteSink& out, const dispfit::ShotGather& gather, std::size_t j, int scalar) {
  const std::size_t at = out.size();
  out.zeros(240);
  const double factor = scalar < 0 ? -double(scalar) : 1.0 / double(scalar);
  out.putAt(at + 0, j + 1, 4);
  out.putAt(
      at + 36,
      static_cast<std::uint32_t>(rounded(gather.receiverPositions[j] - gather.sourcePosition)), 4);
  out.putAt(at + 70, static_cast<std::uint16_t>(scalar), 2);
  out.putAt(at + 72, static_cast<std::uint32_t>(rounded(gather.sourcePosition * factor)), 4);
  out.putAt(at + 80, static_cast<std::uint32_t>(rounded(gather.receiverPositions[j] * factor)), 4);
  out.putAt(at + 108, static_cast<std::uint16_t>(rounded(gather.delay * 1000.0)), 2);
  out.putAt(at + 114, gather.sampleCount(), 2);
  out.putAt(at + 116, static_cast<std::uint64_t>(rounded(gather.sampleInterval * 1e6)), 2);
}

void putSegySample(ByteSink& out, int format, double value) {
  switch (format) {
    case 1:
      out.put(ibmBits(static_cast<float>(value)), 4);
      break;
    case 2:
      out.put(static_cast<std::uint32_t>(rounded(value)), 4);
      break;
    case 3:
      out.put(static_cast<std::uint16_t>(rounded(value)), 2);
      break;
    case 5:
      out.put(std::bit_cast<std::uint32_t>(static_cast<float>(value)), 4);
      break;
    case 6:
      out.put(std::bit_cast<std::uint64_t>(value), 8);
      break;
    case 7:
      out.put(static_cast<std::uint32_t>(rounded(value)) & 0xFFFFFFu, 3);
      break;
    case 8:
      out.put(static_cast<std::uint8_t>(rounded(value)), 1);
      break;
    case 9:
      out.put(static_cast<std::uint64_t>(rounded(value)), 8);
      break;
    case 10:
      out.put(static_cast<std::uint32_t>(rounded(value)), 4);
      break;
    case 11:
      out.put(static_cast<std::uint16_t>(rounded(value)), 2);
      break;
    case 12:
      out.put(static_cast<std::uint64_t>(rounded(value)), 8);
      break;
    case 15:
      out.put(static_cast<std::uint32_t>(rounded(value)), 3);
      break;
    default:
      out.put(static_cast<std::uint8_t>(rounded(value)), 1);
      break;
  }
}

}  // namespace

std::uint32_t ibmBits(float value) {
  float converted = value;
  segy_from_native(SEGY_IBM_FLOAT_4_BYTE, 1, &converted);
  // segyio leaves the IBM number in big-endian byte order in memory.
  unsigned char bytes[4];
  std::memcpy(bytes, &converted, 4);
  return (std::uint32_t(bytes[0]) << 24) | (std::uint32_t(bytes[1]) << 16) |
         (std::uint32_t(bytes[2]) << 8) | bytes[3];
}

std::vector<std::uint8_t> seg2Bytes(const std::vector<Seg2Trace>& traces,
                                    const Seg2Layout& layout) {
  ByteSink out(layout.order);
  out.put(0x3A55, 2);
  out.put(1, 2);
  out.put(4 * traces.size(), 2);
  out.put(traces.size(), 2);
  out.put(1, 1);  // string terminator: one NUL
  out.put(0, 1);
  out.put(0, 1);
  out.put(1, 1);  // line terminator: a line feed
  out.put(0x0A, 1);
  out.put(0, 1);
  out.zeros(32 - out.size());
  const std::size_t pointers = out.size();
  out.zeros(4 * traces.size());
  putStrings(out, layout.fileStrings);
  for (std::size_t i = 0; i < traces.size(); ++i) {
    while (out.size() % 4) out.put(0, 1);
    const std::size_t at = out.size();
    out.putAt(pointers + 4 * i, at, 4);
    out.put(0x4422, 2);
    out.put(0, 2);  // block size, set below
    out.put(0, 4);  // data size, set below
    out.put(traces[i].samples.size(), 4);
    out.put(static_cast<std::uint64_t>(layout.format), 1);
    out.zeros(19);
    putStrings(out, traces[i].strings);
    while ((out.size() - at) % 4) out.put(0, 1);
    const std::size_t blockSize = out.size() - at;
    out.putAt(at + 2, blockSize, 2);
    const std::size_t data = out.size();
    if (layout.format == 3) {
      putTwentyBit(out, traces[i].samples);
    } else {
      for (const double s : traces[i].samples) putSeg2Sample(out, layout.format, s);
    }
    out.putAt(at + 4, out.size() - data, 4);
  }
  return std::move(out.bytes());
}

std::vector<Seg2Trace> seg2Traces(const dispfit::ShotGather& gather,
                                  const std::vector<std::string>& extra) {
  std::vector<Seg2Trace> traces;
  for (std::size_t j = 0; j < gather.traces.size(); ++j) {
    Seg2Trace trace{
        gather.traces[j],
        {"SAMPLE_INTERVAL " + number(gather.sampleInterval), "DELAY " + number(gather.delay),
         "RECEIVER_LOCATION " + number(gather.receiverPositions[j]) + " 0 0",
         "SOURCE_LOCATION " + number(gather.sourcePosition) + " 0 0"}};
    trace.strings.insert(trace.strings.end(), extra.begin(), extra.end());
    traces.push_back(std::move(trace));
  }
  return traces;
}

std::vector<std::uint8_t> segyBytes(const dispfit::ShotGather& gather, const SegyLayout& layout) {
  ByteSink out(layout.order);
  out.text(std::string(3200, ' '));
  const std::size_t binary = out.size();
  out.zeros(400);
  out.putAt(binary + 12, gather.traces.size(), 2);
  out.putAt(binary + 16, static_cast<std::uint64_t>(rounded(gather.sampleInterval * 1e6)), 2);
  out.putAt(binary + 20, gather.sampleCount(), 2);
  out.putAt(binary + 24, static_cast<std::uint64_t>(layout.format), 2);
  if (layout.byteOrderMark) out.putAt(binary + 96, 0x01020304, 4);
  out.bytes()[binary + 300] = static_cast<std::uint8_t>(layout.revision);
  if (layout.revision >= 1)
    out.putAt(binary + 304, static_cast<std::uint64_t>(layout.extendedHeaders), 2);
  for (int k = 0; k < layout.extendedHeaders; ++k) out.text(std::string(3200, ' '));
  for (std::size_t j = 0; j < gather.traces.size(); ++j) {
    putTraceHeader(out, gather, j, layout.coordinateScalar);
    for (const double s : gather.traces[j]) putSegySample(out, layout.format, s);
  }
  return std::move(out.bytes());
}

std::vector<std::uint8_t> seismicUnixBytes(const dispfit::ShotGather& gather, ByteOrder order) {
  ByteSink out(order);
  for (std::size_t j = 0; j < gather.traces.size(); ++j) {
    putTraceHeader(out, gather, j, -100);
    for (const double s : gather.traces[j]) putSegySample(out, 5, s);
  }
  return std::move(out.bytes());
}

}  // namespace dispfit_test
