// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

#include "files/free_format_reader.h"
#include "records/record_writer.h"
#include "stream_sink.h"

namespace swcore {
namespace {

// Small helpers that turn a failed read into a test failure.
std::vector<double> reals(FreeFormatReader& reader, std::size_t count) {
  std::vector<double> values;
  EXPECT_TRUE(reader.readReals(count, values)) << reader.error();
  return values;
}

std::int32_t integer(FreeFormatReader& reader) {
  std::int32_t value = -1;
  EXPECT_TRUE(reader.readInteger(value)) << reader.error();
  return value;
}

TEST(FreeFormatReader, SeparatorsAreBlanksCommasTabsAndLineBreaks) {
  std::istringstream in("3\n5, 150 ,1.8\n\t10\t250\n1.9\n\n0,400,2.0\n");
  FreeFormatReader reader(in, "SHR.TXT");
  EXPECT_EQ(integer(reader), 3);
  EXPECT_EQ(reals(reader, 9), (std::vector<double>{5, 150, 1.8, 10, 250, 1.9, 0, 400, 2.0}));
}

TEST(FreeFormatReader, EveryReadStartsOnANewLineAndSkipsTheRestOfItsLastLine) {
  // The count line carries a comment; the second datum line has a third number.
  std::istringstream in("2 data follow\n150 142.1\n145 143.5 0.25\n 99 99\n");
  FreeFormatReader reader(in, "FIT.TXT");
  EXPECT_EQ(integer(reader), 2);
  EXPECT_EQ(reals(reader, 2), (std::vector<double>{150, 142.1}));
  EXPECT_EQ(reals(reader, 2), (std::vector<double>{145, 143.5}));
  EXPECT_EQ(reals(reader, 2), (std::vector<double>{99, 99}));
}

TEST(FreeFormatReader, OneValuePerLineAndAllOnOneLineReadAlike) {
  std::istringstream spread("5\n150\n1.8\n10\n250\n1.9\n");
  std::istringstream packed("5 150 1.8 10 250 1.9\n");
  FreeFormatReader a(spread, "a");
  FreeFormatReader b(packed, "b");
  EXPECT_EQ(reals(a, 6), reals(b, 6));
}

TEST(FreeFormatReader, NumberForms) {
  std::istringstream in("+2.5 -1e-3 1E2 .5 7. 1.25e+01\r\n");
  FreeFormatReader reader(in, "x");
  EXPECT_EQ(reals(reader, 6), (std::vector<double>{2.5, -1e-3, 100, 0.5, 7, 12.5}));
}

TEST(FreeFormatReader, FaultsAreReportedWithFileAndLine) {
  const auto messageOf = [](const std::string& text, bool integers, std::size_t count) {
    std::istringstream in(text);
    FreeFormatReader reader(in, "SHR.TXT");
    std::vector<double> values;
    std::vector<std::int32_t> whole;
    const bool ok = integers ? reader.readIntegers(count, whole) : reader.readReals(count, values);
    return ok ? std::string("no error") : reader.error();
  };
  EXPECT_EQ(messageOf("1 2\n3\n", false, 4),
            "SHR.TXT, line 2: ends before all expected numbers were read (4 needed, 3 found)");
  EXPECT_EQ(messageOf("", false, 1),
            "SHR.TXT, line 0: ends before all expected numbers were read (1 needed, 0 found)");
  EXPECT_EQ(messageOf("1\nabc 2\n", false, 2), "SHR.TXT, line 2: \"abc\" is not a number");
  EXPECT_EQ(messageOf("1\n2 abc\n", false, 2), "no error")
      << "the rest of the last line is skipped";
  EXPECT_EQ(messageOf("1 2x\n", false, 2), "SHR.TXT, line 1: \"2x\" is not a number");
  EXPECT_EQ(messageOf("nan\n", false, 1), "SHR.TXT, line 1: \"nan\" is not a number");
  EXPECT_EQ(messageOf("inf\n", false, 1), "SHR.TXT, line 1: \"inf\" is not a number");
  EXPECT_EQ(messageOf("1e999\n", false, 1), "SHR.TXT, line 1: \"1e999\" is not a number");
  EXPECT_EQ(messageOf("3.0\n", true, 1), "SHR.TXT, line 1: \"3.0\" is not an integer");
  EXPECT_EQ(messageOf("99999999999\n", true, 1),
            "SHR.TXT, line 1: \"99999999999\" is not an integer");
  EXPECT_EQ(messageOf("-4 +5\n", true, 2), "no error");
}

TEST(RecordWriter, ItemsAreSeparatedByBlanksOneRecordPerLine) {
  std::ostringstream out;
  RecordWriter writer(streamSink(out));
  writer.write(Record("L=").add(std::int32_t{3}).add(" M=").add(std::int32_t{30}));
  writer.write("INVERSION FOR RAYLEIGH WAVE DISPERSION");
  writer.write(Record().add(0.01f).add(5.0).add(1e-5));
  EXPECT_EQ(out.str(),
            "L= 3  M= 30\n"
            "INVERSION FOR RAYLEIGH WAVE DISPERSION\n"
            "0.01 5 1e-05\n");
}

TEST(RecordWriter, LongRecordsWrapWithinTheLineLength) {
  std::ostringstream out;
  RecordWriter writer(streamSink(out), 20);
  const std::vector<double> values{1.5, 22.25, 333.125, 4444.0625, 55555.5, 6.0};
  writer.write(Record().add(values, 2.0));
  EXPECT_EQ(out.str(), "3 44.5 666.25\n8888.125 111111 12\n");
  std::string line;
  std::istringstream lines(out.str());
  while (std::getline(lines, line)) {
    EXPECT_LE(line.size(), 20u);
  }
}

// What the writer produces is read back to the same values, also when a
// record is wrapped over several lines.
TEST(FreeFormatRoundTrip, WrittenRecordsReadBackExactly) {
  const std::vector<double> values{0.1,
                                   1.0 / 3.0,
                                   142.0961,
                                   -2.5e-7,
                                   1e21,
                                   6.02e-23,
                                   std::numeric_limits<double>::max(),
                                   0.0,
                                   5.0,
                                   std::numeric_limits<double>::denorm_min()};
  std::ostringstream out;
  RecordWriter writer(streamSink(out), 30);
  writer.write(Record().add(std::int32_t{10}));
  writer.write(Record().add(values));
  writer.write(Record().add(142.0961f).add(1.0f / 3.0f));
  std::istringstream in(out.str());
  FreeFormatReader reader(in, "round trip");
  EXPECT_EQ(integer(reader), 10);
  EXPECT_EQ(reals(reader, values.size()), values);
  const std::vector<double> singles = reals(reader, 2);
  EXPECT_EQ(static_cast<float>(singles[0]), 142.0961f);
  EXPECT_EQ(static_cast<float>(singles[1]), 1.0f / 3.0f);
}

}  // namespace
}  // namespace swcore
