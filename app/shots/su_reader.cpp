// SPDX-License-Identifier: GPL-3.0-or-later
#include "shots/su_reader.h"

#include "shots/byte_source.h"
#include "shots/segy_traces.h"

namespace dispfit {
namespace {

constexpr int kIeeeSingle = 5;

// Whether the traces, read in `order`, fill the file exactly.
bool fills(std::span<const std::uint8_t> bytes, ByteOrder order) {
  const ByteSource in(bytes, order);
  std::size_t at = 0;
  std::size_t traces = 0;
  while (at < in.size()) {
    if (!in.holds(at, kTraceHeaderBytes) || ++traces > kMostRecordTraces) return false;
    const std::size_t samples = in.u16(at + 114);
    if (samples == 0) return false;
    at += kTraceHeaderBytes + 4 * samples;
  }
  return at == in.size() && traces > 0;
}

}  // namespace

bool readSeismicUnix(std::span<const std::uint8_t> bytes, const std::string& name,
                     ShotRecord& record, std::string& error) {
  record = ShotRecord{name, "Seismic Unix", 0.0, {}};
  ByteOrder order = ByteOrder::little;
  if (!fills(bytes, order)) {
    order = ByteOrder::big;
    if (!fills(bytes, order)) {
      error = name +
              ": not a Seismic Unix file: in neither byte order do its trace headers' "
              "sample counts (bytes 115-116) divide it into whole traces";
      return false;
    }
  }
  std::string what;
  if (!readTraces(ByteSource(bytes, order), 0, kTraceHeaderBytes, kIeeeSingle, 0, 0.0, record,
                  what)) {
    error = name + ": " + what;
    return false;
  }
  return true;
}

}  // namespace dispfit
