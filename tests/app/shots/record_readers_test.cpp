// SPDX-License-Identifier: GPL-3.0-or-later
// The record readers against files the test writers made from known
// gathers: every format and byte order read back to the samples, the time
// base and the geometry written, and the files the readers must refuse.
#include <gtest/gtest.h>
#include <segyio/segy.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "record_writers.h"
#include "shots/record_file.h"
#include "shots/record_geometry.h"
#include "shots/seg2_reader.h"
#include "shots/segy_reader.h"
#include "shots/su_reader.h"

namespace dispfit_test {
namespace {

using dispfit::ByteOrder;
using dispfit::ShotGather;
using dispfit::ShotRecord;

// Six receivers 2 m apart from 10 m, the source at 4 m, 64 samples of
// 0.5 ms from 10 ms after the shot. Sample k of trace j is a whole number
// from `low` to `high`, so integer formats hold it exactly.
ShotGather knownGather(double low, double high) {
  ShotGather gather;
  gather.name = "known";
  gather.sampleInterval = 0.0005;
  gather.delay = 0.01;
  gather.sourcePosition = 4.0;
  for (std::size_t j = 0; j < 6; ++j) {
    gather.receiverPositions.push_back(10.0 + 2.0 * double(j));
    std::vector<double> trace;
    for (std::size_t k = 0; k < 64; ++k) {
      const double unit = 0.5 + 0.5 * std::sin(0.37 * double(k) + 1.3 * double(j));
      trace.push_back(std::round(low + (high - low) * unit));
    }
    gather.traces.push_back(trace);
  }
  return gather;
}

void expectSameGather(const ShotGather& expected, const ShotRecord& record, double tolerance) {
  ShotGather read;
  std::string error;
  ASSERT_TRUE(dispfit::resolveGeometry(record, {}, read, error)) << error;
  EXPECT_NEAR(read.sampleInterval, expected.sampleInterval, 1e-12);
  EXPECT_NEAR(read.delay, expected.delay, 1e-12);
  EXPECT_NEAR(read.sourcePosition, expected.sourcePosition, 1e-9);
  ASSERT_EQ(read.traces.size(), expected.traces.size());
  for (std::size_t j = 0; j < read.traces.size(); ++j) {
    EXPECT_NEAR(read.receiverPositions[j], expected.receiverPositions[j], 1e-9);
    ASSERT_EQ(read.traces[j].size(), expected.traces[j].size());
    for (std::size_t k = 0; k < read.traces[j].size(); ++k) {
      const double want = expected.traces[j][k];
      ASSERT_NEAR(read.traces[j][k], want, tolerance * std::max(1.0, std::abs(want)))
          << "trace " << j + 1 << " sample " << k + 1;
    }
  }
}

struct Seg2Case {
  int format;
  ByteOrder order;
  double low, high;  // sample range
  double tolerance;  // relative
};

TEST(Seg2Reader, ReadsEveryFormatInBothByteOrders) {
  // Format 3 keeps 16 bits of mantissa: values up to 2^20 round to within
  // 2^-15 of themselves; every other format holds the whole numbers exactly.
  const Seg2Case cases[] = {
      {1, ByteOrder::little, -30000, 30000, 0},  {1, ByteOrder::big, -30000, 30000, 0},
      {2, ByteOrder::little, -2e9, 2e9, 0},      {2, ByteOrder::big, -2e9, 2e9, 0},
      {3, ByteOrder::little, -1e6, 1e6, 3.1e-5}, {3, ByteOrder::big, -1e6, 1e6, 3.1e-5},
      {3, ByteOrder::big, -100, 100, 0},         {4, ByteOrder::little, -1e6, 1e6, 0},
      {4, ByteOrder::big, -1e6, 1e6, 0},         {5, ByteOrder::little, -1e12, 1e12, 0},
      {5, ByteOrder::big, -1e12, 1e12, 0},
  };
  for (const Seg2Case& c : cases) {
    SCOPED_TRACE("format " + std::to_string(c.format) +
                 (c.order == ByteOrder::big ? " big endian" : " little endian"));
    const ShotGather gather = knownGather(c.low, c.high);
    const std::vector<std::uint8_t> bytes =
        seg2Bytes(seg2Traces(gather, {"STACK 4", "CHANNEL_NUMBER 1"}),
                  {c.order, c.format, {"TRACE_SORT AS_ACQUIRED"}});
    ShotRecord record;
    std::string error;
    ASSERT_TRUE(dispfit::readSeg2(bytes, "shot.sg2", record, error)) << error;
    EXPECT_EQ(record.format, "SEG-2");
    expectSameGather(gather, record, c.tolerance);
  }
}

TEST(Seg2Reader, AppliesTheDescalingFactorAndTheDefaults) {
  ShotGather gather = knownGather(-1000, 1000);
  std::vector<Seg2Trace> traces = seg2Traces(gather, {"DESCALING_FACTOR 0.25"});
  // Without DELAY the record starts at the shot.
  for (Seg2Trace& trace : traces) trace.strings.erase(trace.strings.begin() + 1);
  ShotRecord record;
  std::string error;
  ASSERT_TRUE(dispfit::readSeg2(seg2Bytes(traces, {}), "shot.sg2", record, error)) << error;
  EXPECT_EQ(record.delay, 0.0);
  EXPECT_DOUBLE_EQ(record.traces[2].samples[5], 0.25 * gather.traces[2][5]);
}

TEST(Seg2Reader, TakesTheSourceFromTheFileDescriptorWhereTracesGiveNone) {
  const ShotGather gather = knownGather(-10, 10);
  std::vector<Seg2Trace> traces = seg2Traces(gather);
  for (Seg2Trace& trace : traces) trace.strings.pop_back();
  ShotRecord record;
  std::string error;
  ASSERT_TRUE(dispfit::readSeg2(seg2Bytes(traces, {ByteOrder::big, 2, {"SOURCE_LOCATION -3.5"}}),
                                "shot.sg2", record, error))
      << error;
  ASSERT_TRUE(record.traces[0].sourcePosition.has_value());
  EXPECT_EQ(*record.traces[0].sourcePosition, -3.5);
}

struct Refusal {
  const char* what;
  std::vector<std::uint8_t> bytes;
  const char* message;  // a part of the error
};

TEST(Seg2Reader, RefusesBrokenFilesNamingTheFault) {
  const ShotGather gather = knownGather(-10, 10);
  const std::vector<std::uint8_t> good = seg2Bytes(seg2Traces(gather), {});
  std::vector<Refusal> cases;
  cases.push_back({"cut inside the samples",
                   {good.begin(), good.end() - 7},
                   "trace 6: its 64 samples run past"});
  cases.push_back(
      {"cut inside the pointers", {good.begin(), good.begin() + 40}, "trace pointer sub-block"});
  std::vector<std::uint8_t> badFormat = good;
  // The first trace's format code: its pointer is at byte 32.
  const std::size_t first = badFormat[32] | (badFormat[33] << 8);
  badFormat[first + 12] = 7;
  cases.push_back({"format 7", badFormat, "trace 1: data format code 7"});
  std::vector<std::uint8_t> badId = good;
  badId[first] = 0;
  cases.push_back(
      {"trace block without its ID", badId, "trace 1: no trace descriptor block (ID 4422)"});
  std::vector<std::uint8_t> noTraces = good;
  noTraces[6] = 0;
  noTraces[7] = 0;
  cases.push_back({"no traces", noTraces, "0 traces"});
  std::vector<Seg2Trace> badNumber = seg2Traces(gather, {"DESCALING_FACTOR one"});
  cases.push_back({"a word for a number", seg2Bytes(badNumber, {}),
                   "trace 1: DESCALING_FACTOR \"one\" is not a number"});
  std::vector<Seg2Trace> badDelay = seg2Traces(gather);
  badDelay[3].strings[1] = "DELAY 0.02";
  cases.push_back({"delays that differ", seg2Bytes(badDelay, {}), "trace 4: DELAY"});
  for (const Refusal& c : cases) {
    SCOPED_TRACE(c.what);
    ShotRecord record;
    std::string error;
    EXPECT_FALSE(dispfit::readSeg2(c.bytes, "shot.sg2", record, error));
    EXPECT_NE(error.find(c.message), std::string::npos) << error;
    EXPECT_EQ(error.rfind("shot.sg2: ", 0), 0u) << error;
  }
}

TEST(RecordGeometry, NamesTheMissingStringTheTraceAndTheOption) {
  const ShotGather gather = knownGather(-10, 10);
  struct Missing {
    std::size_t string;  // index in seg2Traces' strings
    const char* message;
  };
  const Missing cases[] = {
      {0, "shot.sg2: trace 1: no SAMPLE_INTERVAL; give it with --sample-interval S"},
      {2, "shot.sg2: trace 1: no RECEIVER_LOCATION; give the array with --first X0 --spacing DX"},
      {3, "shot.sg2: trace 1: no SOURCE_LOCATION; give it with --source X"},
  };
  for (const Missing& c : cases) {
    SCOPED_TRACE(c.message);
    std::vector<Seg2Trace> traces = seg2Traces(gather);
    for (Seg2Trace& trace : traces) trace.strings.erase(trace.strings.begin() + long(c.string));
    ShotRecord record;
    std::string error;
    ASSERT_TRUE(dispfit::readSeg2(seg2Bytes(traces, {}), "shot.sg2", record, error)) << error;
    ShotGather read;
    EXPECT_FALSE(dispfit::resolveGeometry(record, {}, read, error));
    EXPECT_EQ(error, c.message);
  }
}

TEST(RecordGeometry, OverridesTakePrecedenceAndTheRangeKeepsASubArray) {
  const ShotGather gather = knownGather(-10, 10);
  ShotRecord record;
  std::string error;
  ASSERT_TRUE(dispfit::readSeg2(seg2Bytes(seg2Traces(gather), {}), "shot.sg2", record, error));
  dispfit::GeometryOverrides overrides;
  overrides.firstReceiver = 0.0;
  overrides.spacing = 1.5;
  overrides.source = -6.0;
  overrides.sampleInterval = 0.001;
  overrides.receivers = std::pair<std::size_t, std::size_t>{2, 5};
  ShotGather read;
  ASSERT_TRUE(dispfit::resolveGeometry(record, overrides, read, error)) << error;
  EXPECT_EQ(read.sampleInterval, 0.001);
  EXPECT_EQ(read.sourcePosition, -6.0);
  ASSERT_EQ(read.receiverPositions.size(), 4u);
  EXPECT_EQ(read.receiverPositions.front(), 1.5);  // receiver 2 of 0, 1.5, 3, ...
  EXPECT_EQ(read.receiverPositions.back(), 6.0);
  EXPECT_EQ(read.traces.front(), gather.traces[1]);
  EXPECT_DOUBLE_EQ(read.sourceOffset(), 7.5);
  EXPECT_DOUBLE_EQ(read.meanSpacing(), 1.5);

  struct Bad {
    dispfit::GeometryOverrides overrides;
    const char* message;
  };
  dispfit::GeometryOverrides onlyFirst;
  onlyFirst.firstReceiver = 0.0;
  dispfit::GeometryOverrides atSource;
  atSource.source = 14.0;
  dispfit::GeometryOverrides badRange;
  badRange.receivers = std::pair<std::size_t, std::size_t>{3, 9};
  const Bad bad[] = {
      {onlyFirst, "shot.sg2: --first and --spacing are given together"},
      {atSource, "shot.sg2: trace 3: the receiver stands at the source"},
      {badRange, "shot.sg2: --receivers 3 9: the record has receivers 1 to 6"},
  };
  for (const Bad& c : bad) {
    SCOPED_TRACE(c.message);
    EXPECT_FALSE(dispfit::resolveGeometry(record, c.overrides, read, error));
    EXPECT_EQ(error.rfind(c.message, 0), 0u) << error;
  }
}

struct SegyCase {
  int format;
  ByteOrder order;
  int revision;
  bool mark;
  double low, high;
};

TEST(SegyReader, ReadsEveryFormatRevisionAndByteOrder) {
  const SegyCase cases[] = {
      {1, ByteOrder::big, 0, false, -2000, 2000}, {1, ByteOrder::little, 1, false, -2000, 2000},
      {2, ByteOrder::big, 1, false, -2e9, 2e9},   {3, ByteOrder::little, 1, false, -30000, 30000},
      {5, ByteOrder::big, 0, false, -1e6, 1e6},   {5, ByteOrder::little, 2, true, -1e6, 1e6},
      {6, ByteOrder::big, 2, true, -1e12, 1e12},  {7, ByteOrder::little, 2, false, -8e6, 8e6},
      {8, ByteOrder::big, 2, false, -120, 120},   {9, ByteOrder::big, 2, true, -1e15, 1e15},
      {10, ByteOrder::little, 2, true, 0, 4e9},   {11, ByteOrder::big, 2, false, 0, 60000},
      {12, ByteOrder::little, 2, true, 0, 1e15},  {15, ByteOrder::big, 2, false, 0, 1.6e7},
      {16, ByteOrder::little, 2, true, 0, 250},
  };
  for (const SegyCase& c : cases) {
    SCOPED_TRACE("format " + std::to_string(c.format) + " revision " + std::to_string(c.revision) +
                 (c.order == ByteOrder::big ? " big endian" : " little endian"));
    const ShotGather gather = knownGather(c.low, c.high);
    SegyLayout layout{c.order, c.format, c.revision, -100, c.revision >= 1 ? 1 : 0, c.mark};
    ShotRecord record;
    std::string error;
    ASSERT_TRUE(dispfit::readSegy(segyBytes(gather, layout), "shot.sgy", record, error)) << error;
    expectSameGather(gather, record, 0.0);
  }
}

TEST(SegyReader, ReadsWhatSegyioWrites) {
  // A file made by segyio, an implementation independent of the reader's,
  // with IBM floats that are not whole numbers: the IBM decoding and the
  // header fields must agree with it.
  const std::string path = (std::filesystem::temp_directory_path() /
                            ("dispfit-segyio-" + std::to_string(::getpid()) + ".sgy"))
                               .string();
  const int samples = 50;
  const int traces = 4;
  segy_file* file = segy_open(path.c_str(), "w+b");
  ASSERT_NE(file, nullptr);
  char text[3200];
  std::fill(std::begin(text), std::end(text), ' ');
  ASSERT_EQ(segy_write_textheader(file, 0, text), SEGY_OK);
  char binary[400] = {};
  segy_set_bfield(binary, SEGY_BIN_INTERVAL, 250);
  segy_set_bfield(binary, SEGY_BIN_SAMPLES, samples);
  segy_set_bfield(binary, SEGY_BIN_FORMAT, SEGY_IBM_FLOAT_4_BYTE);
  ASSERT_EQ(segy_write_binheader(file, binary), SEGY_OK);
  const long trace0 = segy_trace0(binary);
  const int traceBytes = segy_trace_bsize(samples);
  for (int j = 0; j < traces; ++j) {
    char header[240] = {};
    segy_set_field(header, SEGY_TR_SOURCE_GROUP_SCALAR, -10);
    segy_set_field(header, SEGY_TR_SOURCE_X, -25);        // -2.5 m
    segy_set_field(header, SEGY_TR_GROUP_X, 10 * j + 5);  // 0.5 m, 1.5 m, ...
    segy_set_field(header, SEGY_TR_SAMPLE_COUNT, samples);
    segy_set_field(header, SEGY_TR_SAMPLE_INTER, 250);
    ASSERT_EQ(segy_write_traceheader(file, j, header, trace0, traceBytes), SEGY_OK);
    std::vector<float> values(samples);
    for (int k = 0; k < samples; ++k)
      values[k] = std::ldexp(float(k - 20) * 0.173f + float(j), j - 2);
    segy_from_native(SEGY_IBM_FLOAT_4_BYTE, samples, values.data());
    ASSERT_EQ(segy_writetrace(file, j, values.data(), trace0, traceBytes), SEGY_OK);
  }
  segy_close(file);
  ShotRecord record;
  std::string error;
  const bool read = dispfit::readRecordFile(path, record, error);
  std::filesystem::remove(path);
  ASSERT_TRUE(read) << error;
  ShotGather gather;
  ASSERT_TRUE(dispfit::resolveGeometry(record, {}, gather, error)) << error;
  EXPECT_EQ(gather.sampleInterval, 250e-6);
  EXPECT_DOUBLE_EQ(gather.sourcePosition, -2.5);
  ASSERT_EQ(gather.traces.size(), std::size_t(traces));
  for (int j = 0; j < traces; ++j) {
    EXPECT_DOUBLE_EQ(gather.receiverPositions[j], 1.0 * j + 0.5);
    for (int k = 0; k < samples; ++k) {
      // IBM singles keep at least 21 bits: within 2^-20 of the float.
      const float want = std::ldexp(float(k - 20) * 0.173f + float(j), j - 2);
      ASSERT_NEAR(gather.traces[j][k], want, std::abs(want) * 1e-6 + 1e-30) << j << " " << k;
    }
  }
}

TEST(SegyReader, RefusesBrokenFilesNamingTheFault) {
  const ShotGather gather = knownGather(-10, 10);
  const std::vector<std::uint8_t> good = segyBytes(gather, {});
  std::vector<Refusal> cases;
  cases.push_back({"shorter than its headers",
                   {good.begin(), good.begin() + 3000},
                   "too short for a SEG-Y file"});
  cases.push_back({"cut inside the last trace",
                   {good.begin(), good.end() - 3},
                   "trace 6: its 64 samples run past the end"});
  std::vector<std::uint8_t> badFormat = good;
  badFormat[3225] = 4;
  cases.push_back({"format 4, fixed point with gain", badFormat,
                   "data sample format code (bytes 3225-3226) 4"});
  // Found by the fuzz target: a byte-order mark chose the order, so the
  // format code was never checked and a trace of zero-byte samples was read.
  std::vector<std::uint8_t> marked = segyBytes(gather, {ByteOrder::big, 5, 2, -100, 0, true});
  marked[3225] = 13;
  cases.push_back({"a byte-order mark and an unknown format", marked,
                   "format code (bytes 3225-3226) 13 is none SEG-Y knows"});
  std::vector<std::uint8_t> variable = good;
  variable[3504] = 0xFF;
  variable[3505] = 0xFF;
  cases.push_back({"a variable count of extended headers", variable,
                   "variable number of extended textual headers"});
  for (const Refusal& c : cases) {
    SCOPED_TRACE(c.what);
    ShotRecord record;
    std::string error;
    EXPECT_FALSE(dispfit::readSegy(c.bytes, "shot.sgy", record, error));
    EXPECT_NE(error.find(c.message), std::string::npos) << error;
  }
}

TEST(SeismicUnixReader, ReadsBothByteOrdersAndTellsThemApart) {
  const ShotGather gather = knownGather(-1e5, 1e5);
  for (const ByteOrder order : {ByteOrder::little, ByteOrder::big}) {
    SCOPED_TRACE(order == ByteOrder::big ? "big endian" : "little endian");
    ShotRecord record;
    std::string error;
    ASSERT_TRUE(dispfit::readRecordBytes(seismicUnixBytes(gather, order), "shot.su", record, error))
        << error;
    EXPECT_EQ(record.format, "Seismic Unix");
    expectSameGather(gather, record, 0.0);
  }
  std::vector<std::uint8_t> cut = seismicUnixBytes(gather, ByteOrder::little);
  cut.pop_back();
  ShotRecord record;
  std::string error;
  EXPECT_FALSE(dispfit::readSeismicUnix(cut, "shot.su", record, error));
  EXPECT_NE(error.find("divide it into whole traces"), std::string::npos) << error;
}

TEST(RecordFile, PicksTheFormatByContentAndName) {
  const ShotGather gather = knownGather(-100, 100);
  struct Case {
    const char* name;
    std::vector<std::uint8_t> bytes;
    const char* format;
  };
  const Case cases[] = {
      {"a.dat", seg2Bytes(seg2Traces(gather), {ByteOrder::big, 1, {}}), "SEG-2"},
      {"b.SGY", segyBytes(gather, {}), "SEG-Y"},
      {"c.dat", segyBytes(gather, {ByteOrder::little, 3, 0, -100, 0, false}), "SEG-Y"},
      {"d.raw", seismicUnixBytes(gather, ByteOrder::little), "Seismic Unix"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ShotRecord record;
    std::string error;
    ASSERT_TRUE(dispfit::readRecordBytes(c.bytes, c.name, record, error)) << error;
    EXPECT_EQ(record.format, c.format);
  }
  ShotRecord record;
  std::string error;
  const std::vector<std::uint8_t> junk(100, 7);
  EXPECT_FALSE(dispfit::readRecordBytes(junk, "junk.bin", record, error));
  EXPECT_NE(error.find("not a SEG-2 file"), std::string::npos) << error;
  EXPECT_FALSE(dispfit::readRecordFile("/nonexistent/shot.sg2", record, error));
  EXPECT_NE(error.find("/nonexistent/shot.sg2: cannot be read"), std::string::npos) << error;
}

}  // namespace
}  // namespace dispfit_test
