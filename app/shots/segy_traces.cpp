// SPDX-License-Identifier: GPL-3.0-or-later
#include "shots/segy_traces.h"

#include <cmath>

#include "shots/ibm_float.h"

namespace dispfit {
namespace {

double scaled(double value, int scalar) {
  if (scalar > 0) return value * scalar;
  if (scalar < 0) return value / -static_cast<double>(scalar);
  return value;
}

}  // namespace

std::size_t sampleBytes(int format) {
  switch (format) {
    case 1:
    case 2:
    case 5:
    case 10:
      return 4;
    case 3:
    case 11:
      return 2;
    case 6:
    case 9:
    case 12:
      return 8;
    case 7:
    case 15:
      return 3;
    case 8:
    case 16:
      return 1;
    default:
      return 0;
  }
}

double sampleValue(const ByteSource& in, std::size_t data, int format, std::size_t k) {
  const std::size_t at = data + k * sampleBytes(format);
  switch (format) {
    case 1:
      return ibmToDouble(in.u32(at));
    case 2:
      return in.i32(at);
    case 3:
      return in.i16(at);
    case 5:
      return in.f32(at);
    case 6:
      return in.f64(at);
    case 7:
      return in.i24(at);
    case 8:
      return in.i8(at);
    case 9:
      return static_cast<double>(in.i64(at));
    case 10:
      return in.u32(at);
    case 11:
      return in.u16(at);
    case 12:
      return static_cast<double>(in.u64(at));
    case 15:
      return in.u24(at);
    default:
      return in.u8(at);
  }
}

TraceHeader readTraceHeader(const ByteSource& in, std::size_t at) {
  TraceHeader header;
  const int coordinateScalar = in.i16(at + 70);
  const int timeScalar = in.i16(at + 214);
  header.offset = in.i32(at + 36);
  header.sourceX = scaled(in.i32(at + 72), coordinateScalar);
  header.receiverX = scaled(in.i32(at + 80), coordinateScalar);
  header.delay = scaled(in.i16(at + 108), timeScalar) / 1000.0;
  header.samples = in.u16(at + 114);
  header.sampleInterval = in.u16(at + 116) * 1e-6;
  return header;
}

bool readTraces(const ByteSource& in, std::size_t first, std::size_t headerBytes, int format,
                std::size_t defaultSamples, double defaultInterval, ShotRecord& record,
                std::string& what) {
  const std::size_t width = sampleBytes(format);
  bool anyPosition = false;
  bool anyOffset = false;
  std::size_t at = first;
  while (at < in.size()) {
    const std::size_t index = record.traces.size() + 1;
    const std::string trace = "trace " + std::to_string(index) + ": ";
    if (record.traces.size() == kMostRecordTraces) {
      what = "more than " + std::to_string(kMostRecordTraces) + " traces";
      return false;
    }
    if (!in.holds(at, headerBytes)) {
      what = trace + "its header runs past the end of the file (" + std::to_string(in.size() - at) +
             " bytes left)";
      return false;
    }
    const TraceHeader header = readTraceHeader(in, at);
    const std::size_t samples = header.samples ? header.samples : defaultSamples;
    if (samples == 0) {
      what = trace + "neither its header nor the file's gives a sample count";
      return false;
    }
    if (samples > kMostTraceSamples) {
      what = trace + std::to_string(samples) + " samples (1 to " +
             std::to_string(kMostTraceSamples) + " are read)";
      return false;
    }
    const std::size_t data = at + headerBytes;
    if (!in.holds(data, samples * width)) {
      what = trace + "its " + std::to_string(samples) + " samples run past the end of the file";
      return false;
    }
    if (record.traces.empty()) {
      record.delay = header.delay;
    } else if (header.delay != record.delay) {
      what = trace +
             "its delay differs from the first trace's; a record's traces must share "
             "their time base";
      return false;
    }
    RecordTrace out;
    const double interval = header.sampleInterval > 0.0 ? header.sampleInterval : defaultInterval;
    if (interval > 0.0) out.sampleInterval = interval;
    out.receiverPosition = header.receiverX;
    out.sourcePosition = header.sourceX;
    out.offset = header.offset;
    anyPosition = anyPosition || header.receiverX != 0.0 || header.sourceX != 0.0;
    anyOffset = anyOffset || header.offset != 0.0;
    out.samples.resize(samples);
    for (std::size_t k = 0; k < samples; ++k) {
      out.samples[k] = sampleValue(in, data, format, k);
      if (!std::isfinite(out.samples[k])) {
        what = trace + "sample " + std::to_string(k + 1) + " is not a finite number";
        return false;
      }
    }
    record.traces.push_back(std::move(out));
    at = data + samples * width;
  }
  if (record.traces.empty()) {
    what = "the file holds no trace";
    return false;
  }
  for (RecordTrace& trace : record.traces) {
    if (!anyPosition) {
      trace.receiverPosition.reset();
      trace.sourcePosition.reset();
    }
    if (!anyOffset) trace.offset.reset();
  }
  return true;
}

}  // namespace dispfit
