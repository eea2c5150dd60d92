// SPDX-License-Identifier: GPL-3.0-or-later
#include "shots/seg2_reader.h"

#include <cctype>
#include <cmath>
#include <optional>
#include <string_view>
#include <vector>

#include "files/number_field.h"
#include "shots/byte_source.h"

namespace dispfit {
namespace {

constexpr std::uint16_t kFileBlockId = 0x3A55;
constexpr std::uint16_t kTraceBlockId = 0x4422;
constexpr std::size_t kFixedPart = 32;  // bytes of either block before its pointers or strings

// The descriptor strings of one block: keyword (upper case) and value.
struct Descriptor {
  std::vector<std::pair<std::string, std::string>> entries;

  const std::string* find(std::string_view keyword) const {
    for (const auto& [key, value] : entries) {
      if (key == keyword) return &value;
    }
    return nullptr;
  }
};

std::string trimmed(std::string_view text) {
  std::size_t first = 0;
  while (first < text.size() && std::isspace(static_cast<unsigned char>(text[first]))) ++first;
  std::size_t last = text.size();
  while (last > first && std::isspace(static_cast<unsigned char>(text[last - 1]))) --last;
  return std::string(text.substr(first, last - first));
}

// Reads the strings from `offset` up to `end` (or a count of 0).
bool readStrings(const ByteSource& in, std::size_t offset, std::size_t end, Descriptor& out,
                 std::string& what) {
  while (offset < end) {
    if (!in.holds(offset, 2) || offset + 2 > end) {
      // A block may end without room for the closing count; its strings end there.
      return true;
    }
    const std::size_t count = in.u16(offset);
    if (count == 0) return true;
    if (count < 2 || !in.holds(offset, count) || offset + count > end) {
      what = "a descriptor string at byte " + std::to_string(offset) + " runs past its block";
      return false;
    }
    std::string_view text(reinterpret_cast<const char*>(in.bytes(offset + 2, count - 2).data()),
                          count - 2);
    text = text.substr(0, text.find('\0'));
    const std::string line = trimmed(text);
    const std::size_t blank = line.find_first_of(" \t");
    std::string keyword = line.substr(0, blank);
    for (char& c : keyword) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    const std::string value =
        blank == std::string::npos ? std::string() : trimmed(line.substr(blank));
    if (!keyword.empty()) out.entries.emplace_back(std::move(keyword), value);
    offset += count;
  }
  return true;
}

// The first number of a string's value ("12.5 0 0" gives 12.5).
bool firstNumber(const std::string& value, double& number) {
  const std::size_t end = value.find_first_of(" \t,");
  return swcore::parseReal(std::string_view(value).substr(0, end), number);
}

// The number a string gives, if the block has it; false with a message when
// its value is not a number.
bool optionalNumber(const Descriptor& block, std::string_view keyword, std::optional<double>& out,
                    std::string& what) {
  const std::string* value = block.find(keyword);
  if (!value) return true;
  double number = 0.0;
  if (!firstNumber(*value, number)) {
    what = std::string(keyword) + " \"" + *value + "\" is not a number";
    return false;
  }
  out = number;
  return true;
}

std::size_t dataBytes(int format, std::size_t samples) {
  switch (format) {
    case 1:
      return 2 * samples;
    case 2:
      return 4 * samples;
    case 3:
      return 10 * ((samples + 3) / 4);
    case 4:
      return 4 * samples;
    case 5:
      return 8 * samples;
    default:
      return 0;
  }
}

double sampleAt(const ByteSource& in, std::size_t data, int format, std::size_t k) {
  switch (format) {
    case 1:
      return in.i16(data + 2 * k);
    case 2:
      return in.i32(data + 4 * k);
    case 3: {
      const std::size_t group = data + 10 * (k / 4);
      const std::size_t place = k % 4;
      const int exponent = (in.u16(group) >> (12 - 4 * place)) & 0xF;
      return std::ldexp(static_cast<double>(in.i16(group + 2 + 2 * place)), exponent);
    }
    case 4:
      return in.f32(data + 4 * k);
    default:
      return in.f64(data + 8 * k);
  }
}

// One trace from its descriptor block at `at`.
bool readTrace(const ByteSource& in, std::size_t at, const Descriptor& fileStrings,
               RecordTrace& trace, std::optional<double>& delay, std::string& what) {
  if (!in.holds(at, kFixedPart)) {
    what = "its descriptor block at byte " + std::to_string(at) + " lies past the end of the file";
    return false;
  }
  if (in.u16(at) != kTraceBlockId) {
    what = "no trace descriptor block (ID 4422) at byte " + std::to_string(at);
    return false;
  }
  const std::size_t blockSize = in.u16(at + 2);
  const std::size_t samples = in.u32(at + 8);
  const int format = in.u8(at + 12);
  if (blockSize < kFixedPart || !in.holds(at, blockSize)) {
    what = "its descriptor block's size " + std::to_string(blockSize) + " does not fit the file";
    return false;
  }
  if (format < 1 || format > 5) {
    what = "data format code " + std::to_string(format) + " is none of 1 to 5";
    return false;
  }
  if (samples == 0 || samples > kMostTraceSamples) {
    what = std::to_string(samples) + " samples (1 to " + std::to_string(kMostTraceSamples) +
           " are read)";
    return false;
  }
  const std::size_t data = at + blockSize;
  if (!in.holds(data, dataBytes(format, samples))) {
    what = "its " + std::to_string(samples) + " samples run past the end of the file";
    return false;
  }
  Descriptor strings;
  if (!readStrings(in, at + kFixedPart, at + blockSize, strings, what)) return false;

  std::optional<double> descaling;
  std::optional<double> stack;
  if (!optionalNumber(strings, "SAMPLE_INTERVAL", trace.sampleInterval, what) ||
      !optionalNumber(strings, "DELAY", delay, what) ||
      !optionalNumber(strings, "DESCALING_FACTOR", descaling, what) ||
      !optionalNumber(strings, "RECEIVER_LOCATION", trace.receiverPosition, what) ||
      !optionalNumber(strings, "SOURCE_LOCATION", trace.sourcePosition, what) ||
      !optionalNumber(strings, "STACK", stack, what)) {
    return false;
  }
  if (!trace.sourcePosition &&
      !optionalNumber(fileStrings, "SOURCE_LOCATION", trace.sourcePosition, what)) {
    what = "the file's " + what;
    return false;
  }
  if (trace.sampleInterval && !(*trace.sampleInterval > 0.0)) {
    what = "SAMPLE_INTERVAL must be positive";
    return false;
  }
  if (stack && !(*stack >= 1.0)) {
    what = "STACK must be at least 1";
    return false;
  }
  const double scale = descaling.value_or(1.0);
  trace.samples.resize(samples);
  for (std::size_t k = 0; k < samples; ++k) {
    trace.samples[k] = scale * sampleAt(in, data, format, k);
    if (!std::isfinite(trace.samples[k])) {
      what = "sample " + std::to_string(k + 1) + " is not a finite number";
      return false;
    }
  }
  return true;
}

}  // namespace

bool looksLikeSeg2(std::span<const std::uint8_t> bytes) {
  return bytes.size() >= 2 &&
         ((bytes[0] == 0x55 && bytes[1] == 0x3A) || (bytes[0] == 0x3A && bytes[1] == 0x55));
}

bool readSeg2(std::span<const std::uint8_t> bytes, const std::string& name, ShotRecord& record,
              std::string& error) {
  record = ShotRecord{name, "SEG-2", 0.0, {}};
  if (!looksLikeSeg2(bytes) || bytes.size() < kFixedPart) {
    error = name + ": not a SEG-2 file (it does not open with the file descriptor block ID 3A55)";
    return false;
  }
  const ByteSource in(bytes, bytes[0] == 0x55 ? ByteOrder::little : ByteOrder::big);
  if (in.u16(0) != kFileBlockId) {
    error = name + ": not a SEG-2 file";
    return false;
  }
  const unsigned revision = in.u16(2);
  const std::size_t pointerBytes = in.u16(4);
  const std::size_t traces = in.u16(6);
  if (revision == 0) {
    error = name + ": SEG-2 revision 0 is not a published revision";
    return false;
  }
  if (traces == 0 || traces > kMostRecordTraces) {
    error = name + ": " + std::to_string(traces) + " traces (1 to " +
            std::to_string(kMostRecordTraces) + " are read)";
    return false;
  }
  if (pointerBytes < 4 * traces || !in.holds(kFixedPart, pointerBytes)) {
    error = name + ": the trace pointer sub-block (" + std::to_string(pointerBytes) +
            " bytes) does not hold " + std::to_string(traces) + " pointers inside the file";
    return false;
  }
  std::vector<std::size_t> pointers(traces);
  std::size_t firstTrace = in.size();
  for (std::size_t i = 0; i < traces; ++i) {
    pointers[i] = in.u32(kFixedPart + 4 * i);
    if (pointers[i] < firstTrace) firstTrace = pointers[i];
  }
  Descriptor fileStrings;
  std::string what;
  const std::size_t stringsAt = kFixedPart + pointerBytes;
  if (!readStrings(in, stringsAt, std::max(stringsAt, firstTrace), fileStrings, what)) {
    error = name + ": file descriptor block: " + what;
    return false;
  }
  std::optional<double> firstDelay;
  record.traces.resize(traces);
  for (std::size_t i = 0; i < traces; ++i) {
    std::optional<double> delay;
    if (!readTrace(in, pointers[i], fileStrings, record.traces[i], delay, what)) {
      error = name + ": trace " + std::to_string(i + 1) + ": " + what;
      return false;
    }
    const double value = delay.value_or(0.0);
    if (i == 0) {
      firstDelay = value;
    } else if (value != *firstDelay) {
      error = name + ": trace " + std::to_string(i + 1) + ": DELAY " + std::to_string(value) +
              " s differs from the first trace's; a record's traces must share their time base";
      return false;
    }
  }
  record.delay = firstDelay.value_or(0.0);
  return true;
}

}  // namespace dispfit
