// SPDX-License-Identifier: GPL-3.0-or-later
// Records on C streams: the standard output by default, any open file, and a
// record with more items than it has room for.
#include "records/record_writer.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <sstream>
#include <string>

#include "stream_sink.h"

namespace swcore {
namespace {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

std::string contentOf(std::FILE* file) {
  std::rewind(file);
  std::string text;
  for (int c = std::fgetc(file); c != EOF; c = std::fgetc(file)) {
    text += static_cast<char>(c);
  }
  return text;
}

TEST(RecordWriter, WritesToTheStandardOutputByDefault) {
  testing::internal::CaptureStdout();
  const RecordWriter console;
  console.write(Record("PHI=").add(0.25));
  console.write("DAMPING LEAST SQUARE METHOD");
  std::fflush(stdout);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "PHI= 0.25\nDAMPING LEAST SQUARE METHOD\n");
}

TEST(RecordWriter, WritesToAnOpenFile) {
  const std::unique_ptr<std::FILE, FileCloser> file(std::tmpfile());
  ASSERT_NE(file, nullptr);
  const RecordWriter writer(file.get(), 12);
  writer.write(Record().add(std::int32_t{3}));
  writer.write(Record().add(150.0f).add(0.005).add(1e-8));
  EXPECT_EQ(contentOf(file.get()), "3\n150 0.005\n1e-08\n");
}

// Whether the records arrived: on an ordinary file yes; on a device that
// is always full (the standard output sent to /dev/full) no, also when the
// failure shows only once the buffer is passed on; a sink without a flush
// counts as delivering.
TEST(RecordWriter, FlushTellsWhetherTheRecordsArrived) {
  const std::unique_ptr<std::FILE, FileCloser> file(std::tmpfile());
  ASSERT_NE(file, nullptr);
  const RecordWriter good(file.get());
  good.write("L= 3");
  EXPECT_TRUE(good.flush());

  const std::unique_ptr<std::FILE, FileCloser> full(std::fopen("/dev/full", "w"));
  ASSERT_NE(full, nullptr);
  const RecordWriter lost(full.get());
  lost.write("L= 3");  // stays in the stream's buffer: no fault yet
  EXPECT_EQ(std::ferror(full.get()), 0);
  EXPECT_FALSE(lost.flush());
  EXPECT_FALSE(lost.flush()) << "a lost record stays lost";

  std::ostringstream out;
  EXPECT_TRUE(RecordWriter(streamSink(out)).flush());
}

TEST(RecordWriter, ALineMayFillTheLineLengthExactly) {
  std::ostringstream out;
  const RecordWriter writer(streamSink(out), 9);
  writer.write(Record().add(std::int32_t{1234}).add(std::int32_t{5678}).add(std::int32_t{9}));
  EXPECT_EQ(out.str(), "1234 5678\n9\n");
}

TEST(RecordWriter, AnItemLongerThanTheLineStaysWhole) {
  std::ostringstream out;
  const RecordWriter writer(streamSink(out), 10);
  writer.write(Record("ab").add("a long text item").add("cd"));
  EXPECT_EQ(out.str(), "ab\na long text item\ncd\n");
}

TEST(Record, HoldsTheWidestEngineRecordWhole) {
  Record record;
  for (std::size_t i = 0; i < Record::kCapacity; ++i) {
    record.add(static_cast<std::int32_t>(i));
  }
  EXPECT_EQ(record.size(), Record::kCapacity);
  EXPECT_FALSE(record.cutShort());
  std::ostringstream out;
  RecordWriter(streamSink(out), 100000).write(record);
  EXPECT_EQ(out.str().substr(out.str().size() - 5), " 199\n");
}

TEST(Record, ItemsBeyondItsRoomAreDroppedAndTheCutIsShown) {
  Record record;
  for (std::size_t i = 0; i < Record::kCapacity + 3; ++i) {
    record.add(1.5);
  }
  EXPECT_EQ(record.size(), Record::kCapacity);
  EXPECT_TRUE(record.cutShort());
  std::ostringstream out;
  RecordWriter(streamSink(out), 100000).write(record);
  std::string expected;
  for (std::size_t i = 0; i < Record::kCapacity; ++i) {
    expected += "1.5 ";
  }
  EXPECT_EQ(out.str(), expected + "...\n");
}

}  // namespace
}  // namespace swcore
