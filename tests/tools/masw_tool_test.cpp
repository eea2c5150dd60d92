// SPDX-License-Identifier: GPL-3.0-or-later
// dispfit-masw as a user runs it: SEG-2 records of five source offsets in,
// the curve with its spread, the picks and the pictures out; the curve read
// by dispfit-invert as it is; the refusals with their exit status.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "layered_site.h"
#include "record_writers.h"
#include "site/measured_curve_file.h"
#include "tool_run.h"

namespace {

namespace fs = std::filesystem;
using dispfit_test::quoted;
using dispfit_test::ToolRun;

class MaswTool : public dispfit_test::ToolTest {
 protected:
  MaswTool() : ToolTest(DISPFIT_MASW_PATH, "dispfit-masw-test-") {}

  // Two noisy records a source, near field included, as SEG-2 files; the
  // file names in a line for the shell.
  std::string writeRecords(const std::vector<double>& offsets,
                           std::vector<std::string> dropped = {}) {
    std::string names;
    std::uint64_t seed = 1;
    for (const double offset : offsets) {
      for (int copy = 0; copy < 2; ++copy) {
        dispfit::SyntheticShot shot = dispfit_test::siteShot(offset, 0.1, seed++);
        shot.nearField = true;
        const dispfit::ModalCurve modes[] = {dispfit_test::siteFundamental()};
        std::vector<dispfit_test::Seg2Trace> traces =
            dispfit_test::seg2Traces(dispfit::syntheticRecord(shot, modes), {"STACK 1"});
        for (dispfit_test::Seg2Trace& trace : traces) {
          std::erase_if(trace.strings, [&](const std::string& s) {
            for (const std::string& d : dropped) {
              if (s.rfind(d, 0) == 0) return true;
            }
            return false;
          });
        }
        const std::vector<std::uint8_t> bytes = dispfit_test::seg2Bytes(traces, {});
        const fs::path path = dir_ / ("shot" + std::to_string(++written_) + ".sg2");
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
        names += quoted(path) + " ";
      }
    }
    return names;
  }

 private:
  std::size_t written_ = 0;  // files so far, for their names
};

TEST_F(MaswTool, FromRecordsOfFiveOffsetsToTheCurveThatTheInversionReads) {
  const std::string records = writeRecords({5.0, 10.0, 20.0, -5.0, -10.0});
  const fs::path prefix = dir_ / "site";
  const ToolRun result =
      run(records + "--fmax 60 --csv " + quoted(prefix) + " --images " + quoted(prefix));
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_NE(result.out.find("10 records from 5 source positions, phase shift"), std::string::npos)
      << result.out;
  EXPECT_NE(result.out.find("      -5.000       5.000        2"), std::string::npos) << result.out;
  EXPECT_NE(result.out.find("each seen at 3 or more of the 5 source offsets"), std::string::npos);
  EXPECT_NE(result.out.find("not the error of the mean"), std::string::npos);

  const dispfit::CurvePreparation curve =
      dispfit::readMeasuredCurveFile((dir_ / "site_curve.csv").string());
  ASSERT_TRUE(curve.curve) << curve.error;
  ASSERT_GT(curve.curve->points.size(), 30u);
  const dispfit::ModalCurve truth = dispfit_test::siteFundamental();
  for (const dispfit::MeasuredPoint& point : curve.curve->points) {
    ASSERT_TRUE(point.band);
    const double sigma = point.band->high - point.velocity;
    const double c = dispfit::modalVelocityAt(truth, point.frequency);
    EXPECT_NEAR(point.velocity, c, 2.0 * sigma + 0.01 * c) << point.frequency << " Hz";
  }
  const std::string picks = dispfit_test::contents(dir_ / "site_picks.csv");
  EXPECT_EQ(picks.rfind("source (m), offset (m), frequency (Hz), velocity (m/s), inside\n", 0), 0u);
  for (const char* name : {"site_offset_5.0.png", "site_offset_10.0.png", "site_offset_20.0.png",
                           "site_offset_-5.0.png", "site_offset_-10.0.png"}) {
    const std::string png = dispfit_test::contents(dir_ / name);
    EXPECT_EQ(png.substr(0, 8), "\x89PNG\r\n\x1a\n") << name;
  }
  // The inversion takes the table as it is, with its band.
  const ToolRun inverted =
      runOther(DISPFIT_INVERT_PATH, "--suggest 4 " + quoted(dir_ / "site_curve.csv"));
  EXPECT_EQ(inverted.status, 0) << inverted.err;
  EXPECT_NE(inverted.out.find("Vs30"), std::string::npos) << inverted.out;
}

TEST_F(MaswTool, WithoutCsvTheCurveGoesToStandardOutput) {
  const ToolRun result =
      run(writeRecords({5.0, 10.0, 20.0}) + "--fmax 60 --transform fdbf --wavelength-bins 10");
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_NE(result.out.find("beamformer (cylindrical)"), std::string::npos);
  EXPECT_NE(result.out.find("wavelength (m), velocity (m/s), sigma (m/s)  # offsets\n"),
            std::string::npos);
  EXPECT_NE(result.out.find("# 3 offsets\n"), std::string::npos);
}

TEST_F(MaswTool, RefusalsNameTheFaultAndExitAsTheOtherTools) {
  struct Case {
    std::string arguments;
    int status;
    std::string message;
  };
  const std::string two = writeRecords({5.0, 10.0});
  const std::string noSource = writeRecords({5.0}, {"SOURCE_LOCATION"});
  const Case cases[] = {
      {"", 2, "dispfit-masw: expected one record file or more"},
      {two + "--transform fk", 2, "--transform: \"fk\" is neither phase-shift nor fdbf"},
      {two + "--fmin 50 --fmax 20", 2, "--fmin must lie below --fmax"},
      {two + "--fmax 600", 2, "lies at or above the record's Nyquist frequency, 500 Hz"},
      {two + "--min-offsets 1", 2, "--min-offsets must be a whole number from 2 to 1000"},
      {noSource, 2, "trace 1: no SOURCE_LOCATION; give it with --source X"},
      {quoted(dir_ / "missing.sg2"), 2, "missing.sg2: cannot be read"},
      {two + "--fmax 60", 1,
       "the records come from 2 source positions; a curve with its spread needs 3"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.arguments);
    const ToolRun result = run(c.arguments);
    EXPECT_EQ(result.status, c.status) << result.err;
    EXPECT_NE(result.err.find(c.message), std::string::npos) << result.err;
  }
  // The source given on the command line places the record without one.
  const ToolRun placed = run(noSource + "--source -5 --min-offsets 2 --fmax 60");
  EXPECT_EQ(placed.status, 1) << placed.err;  // one source position, still too few
  EXPECT_NE(placed.out.find("      -5.000       5.000        2"), std::string::npos) << placed.out;
}

}  // namespace
