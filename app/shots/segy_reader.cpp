// SPDX-License-Identifier: GPL-3.0-or-later
#include "shots/segy_reader.h"

#include <optional>

#include "shots/byte_source.h"
#include "shots/segy_traces.h"

namespace dispfit {
namespace {

constexpr std::size_t kTextualHeaderBytes = 3200;
constexpr std::uint32_t kByteOrderMark = 0x01020304;

// The byte order, from the mark or from the format code's plausibility.
std::optional<ByteOrder> byteOrder(std::span<const std::uint8_t> bytes) {
  const ByteSource big(bytes, ByteOrder::big);
  const std::uint32_t mark = big.u32(3296);
  if (mark == kByteOrderMark) return ByteOrder::big;
  if (mark == 0x04030201u) return ByteOrder::little;
  if (sampleBytes(big.u16(3224)) != 0) return ByteOrder::big;
  const ByteSource little(bytes, ByteOrder::little);
  if (sampleBytes(little.u16(3224)) != 0) return ByteOrder::little;
  return std::nullopt;
}

}  // namespace

bool readSegy(std::span<const std::uint8_t> bytes, const std::string& name, ShotRecord& record,
              std::string& error) {
  record = ShotRecord{name, "SEG-Y", 0.0, {}};
  if (bytes.size() < kSegyFileHeaderBytes) {
    error = name + ": too short for a SEG-Y file (" + std::to_string(bytes.size()) +
            " bytes; its headers take 3600)";
    return false;
  }
  const std::optional<ByteOrder> order = byteOrder(bytes);
  if (!order) {
    const ByteSource big(bytes, ByteOrder::big);
    error = name + ": the data sample format code (bytes 3225-3226) " +
            std::to_string(big.u16(3224)) + " is none SEG-Y knows in either byte order";
    return false;
  }
  const ByteSource in(bytes, *order);
  const int format = in.u16(3224);
  if (sampleBytes(format) == 0) {
    // The byte-order mark chose the order, and the code is none in it.
    error = name + ": the data sample format code (bytes 3225-3226) " + std::to_string(format) +
            " is none SEG-Y knows";
    return false;
  }
  const int revision = in.u8(3500);
  std::size_t samples = in.u16(3220);
  double interval = in.u16(3216) * 1e-6;
  std::size_t extendedHeaders = 0;
  std::size_t headerBytes = kTraceHeaderBytes;
  if (revision >= 1) {
    const int extended = in.i16(3504);
    if (extended < 0) {
      error = name + ": a variable number of extended textual headers (bytes 3505-3506 = " +
              std::to_string(extended) + ") is not read; give their count";
      return false;
    }
    extendedHeaders = static_cast<std::size_t>(extended);
  }
  if (revision >= 2) {
    if (samples == 0) samples = in.u32(3268);
    if (interval == 0.0) {
      const double micro = in.f64(3272);
      if (micro > 0.0 && micro < 1e9) interval = micro * 1e-6;
    }
    const std::uint32_t additional = in.u32(3506);
    if (additional > 64) {
      error = name + ": " + std::to_string(additional) +
              " additional trace headers a trace (bytes 3507-3510); at most 64 are read";
      return false;
    }
    headerBytes += kTraceHeaderBytes * additional;
  }
  if (samples > kMostTraceSamples) {
    error = name + ": the binary header's " + std::to_string(samples) + " samples a trace (1 to " +
            std::to_string(kMostTraceSamples) + " are read)";
    return false;
  }
  const std::size_t first = kTextualHeaderBytes + 400 + kTextualHeaderBytes * extendedHeaders;
  if (!in.holds(first, 0)) {
    error = name + ": its " + std::to_string(extendedHeaders) +
            " extended textual headers run past the end of the file";
    return false;
  }
  std::string what;
  if (!readTraces(in, first, headerBytes, format, samples, interval, record, what)) {
    error = name + ": " + what;
    return false;
  }
  return true;
}

}  // namespace dispfit
