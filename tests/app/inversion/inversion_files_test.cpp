// SPDX-License-Identifier: GPL-3.0-or-later
// Reading the model and curve files of the command-line inversion: the batch
// run's free format or a headed table, under the window's limits, and the
// errors for files that do not fit.
#include "inversion/inversion_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <limits>
#include <string>
#include <vector>

namespace dispfit {

namespace {

LayeredModel readModel(const std::string& text, std::string& error) {
  LayeredModel model;
  error = readLayeredModel(text, "model.txt", model);
  return model;
}

ObservedCurve readCurve(const std::string& text, std::string& error) {
  ObservedCurve curve;
  error = readObservedCurve(text, "curve.txt", curve);
  return curve;
}

TEST(InversionFiles, ModelTriplesMayBeLaidOutOnLinesInAnyWay) {
  const std::string layouts[] = {
      "3\n2 150 1.8\n4.5 300 1.9\n0 500 2.0\n",
      "3\n2 150 1.8 4.5 300 1.9 0 500 2.0\n",
      "3\n2\n150\n1.8\n4.5\n300\n1.9\n0\n500\n2.0\n",
      "3 layers\r\n2,150,1.8\r\n4.5, 300, 1.9\r\n0\t500\t2.0\r\n",
      "\xEF\xBB\xBF"
      "3\n2 150 1.8\n4.5 300 1.9\n0 500 2.0\n",
      // The same model as a table: with a header, without a count.
      "# two layers over a half-space\nH [m]; Vs [m/s]; Rho [g/cm3]\n2;150;1.8\n4.5;300;1.9\n"
      "0;500;2.0\n",
      "\xEF\xBB\xBFthickness,vs,density,vp\r\n2,150,1.8,300\r\n4.5,300,1.9,600\r\n0,500,2.0,"
      "1000\r\n",
  };
  for (const std::string& text : layouts) {
    SCOPED_TRACE(text);
    std::string error;
    const LayeredModel model = readModel(text, error);
    ASSERT_EQ(error, "");
    EXPECT_EQ(model.thickness, (std::vector<float>{2.0f, 4.5f, 0.0f}));
    EXPECT_EQ(model.vs, (std::vector<float>{150.0f, 300.0f, 500.0f}));
    EXPECT_EQ(model.density, (std::vector<float>{1.8f, 1.9f, 2.0f}));
  }
}

TEST(InversionFiles, CurveTakesOnePairPerLineAndSkipsTheRestOfIt) {
  std::string error;
  const ObservedCurve curve = readCurve("3\n150 142.1 extra 7\n145, 142.5\n\n140\n143.0\n", error);
  ASSERT_EQ(error, "");
  EXPECT_EQ(curve.freq, (std::vector<float>{150.0f, 145.0f, 140.0f}));
  EXPECT_EQ(curve.velocity, (std::vector<float>{142.1f, 142.5f, 143.0f}));
}

TEST(InversionFiles, CurveTableIsReadByItsHeader) {
  std::string error;
  const ObservedCurve curve =
      readCurve("velocity (m/s)\tf (Hz)\tsigma\n142.1\t150\t2\n142.5\t145\t2.5\n", error);
  ASSERT_EQ(error, "");
  EXPECT_EQ(curve.freq, (std::vector<float>{150.0f, 145.0f}));
  EXPECT_EQ(curve.velocity, (std::vector<float>{142.1f, 142.5f}));
}

// The fundamental mode's points are fitted; a curve of higher modes alone
// has none, and is refused rather than read as an empty curve.
TEST(InversionFiles, CurveOfHigherModesAloneIsRefused) {
  std::string error;
  const ObservedCurve mixed = readCurve("f, c, mode\n20, 180, 0\n20, 260, 1\n10, 200, 0\n", error);
  ASSERT_EQ(error, "");
  EXPECT_EQ(mixed.freq, (std::vector<float>{20.0f, 10.0f}));
  EXPECT_EQ(mixed.velocity, (std::vector<float>{180.0f, 200.0f}));
  readCurve("f, c, mode\n20, 260, 1\n10, 300, 1\n", error);
  EXPECT_EQ(error, "curve.txt: no point of the fundamental mode (mode 0), which this curve fits");
}

// Values go into single precision: the nearest float, never a non-finite one.
TEST(InversionFiles, ValuesAreHeldAsTheNearestFloat) {
  std::string error;
  // 3.4028235e38 lies within half an ulp (1.0e31) of FLT_MAX = 3.40282347e38
  // and rounds to it; 3.4028236e38 lies beyond and rounds to infinity.
  const ObservedCurve curve = readCurve("1\n3.4028235e38 0.1\n", error);
  ASSERT_EQ(error, "");
  EXPECT_EQ(curve.freq, std::vector<float>{std::numeric_limits<float>::max()});
  EXPECT_EQ(curve.velocity, std::vector<float>{0.1f});
  readCurve("1\n3.4028236e38 150\n", error);
  EXPECT_EQ(error,
            "curve.txt: the frequency of datum 1 (3.4028236e+38) is beyond the single-precision "
            "range");
}

// The window takes 20 layers and the forward-model record 50 data.
TEST(InversionFiles, CountsOutsideTheWindowsLimitsAreRefused) {
  struct Case {
    const char* name;
    std::string model;
    std::string curve;
    std::string expected;
  };
  std::string twentyOneRows = "h vs rho\n";
  for (int i = 0; i < 21; ++i) twentyOneRows += "1 150 1.8\n";
  const Case cases[] = {
      {"no layers", "0\n", "", "model.txt: 0 layers (from 1 to 20 can be used)"},
      {"21 layers", "21\n", "", "model.txt: 21 layers (from 1 to 20 can be used)"},
      {"21 table rows", twentyOneRows, "",
       "model.txt, line 22: 21 layers (from 1 to 20 can be used)"},
      {"count 2.5", "\n2.5\n", "", "model.txt, line 2: \"2.5\" is not an integer"},
      {"count 3.0", "3.0\n", "", "model.txt, line 1: \"3.0\" is not an integer"},
      {"hexadecimal count", "0x10\n", "", "model.txt, line 1: \"0x10\" is not an integer"},
      {"no data", "", "0\n", "curve.txt: 0 data (from 1 to 50 can be used)"},
      {"51 data", "", "51\n", "curve.txt: 51 data (from 1 to 50 can be used)"},
      {"header without rows", "", "f c\n# nothing measured\n",
       "curve.txt: 0 data (from 1 to 50 can be used)"},
      {"wavelengths, which this reader does not convert", "", "lambda c\n2 150\n",
       "curve.txt: the file gives wavelengths or periods; this curve takes frequencies"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::string error;
    if (!c.model.empty()) readModel(c.model, error);
    if (!c.curve.empty()) readCurve(c.curve, error);
    EXPECT_EQ(error, c.expected);
  }
}

TEST(InversionFiles, ShortFilesAndNonNumbersAreNamed) {
  std::string error;
  readModel("", error);
  EXPECT_EQ(error,
            "model.txt, line 0: ends before all expected numbers were read (1 needed, 0 found)");
  readModel("2\n2 150 1.8\n0 500\n", error);
  EXPECT_EQ(error,
            "model.txt, line 3: ends before all expected numbers were read (6 needed, 5 found)");
  readModel("1\n2 abc 1.8\n", error);
  EXPECT_EQ(error, "model.txt, line 2: \"abc\" is not a number");
  readCurve("2\n150 142\n145\n", error);
  EXPECT_EQ(error,
            "curve.txt, line 3: ends before all expected numbers were read (2 needed, 1 found)");
  readCurve("1\n150 1e999\n", error);
  EXPECT_EQ(error, "curve.txt, line 2: \"1e999\" is not a number");
}

class InversionFileOnDisk : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() /
           ("inversion-files-" +
            std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }

  std::filesystem::path dir_;
};

TEST_F(InversionFileOnDisk, MissingFilesAndDirectoriesAreNamed) {
  LayeredModel model;
  ObservedCurve curve;
  EXPECT_EQ(readLayeredModelFile("no/such/model.txt", model),
            "cannot open the model file no/such/model.txt: No such file or directory");
  EXPECT_EQ(readObservedCurveFile("no/such/curve.txt", curve),
            "cannot open the curve file no/such/curve.txt: No such file or directory");
  EXPECT_EQ(readLayeredModelFile(dir_.string(), model),
            "the model file " + dir_.string() + " is a directory, not a file");
}

TEST_F(InversionFileOnDisk, FilesAreReadWhole) {
  const std::filesystem::path path = dir_ / "model.csv";
  std::ofstream(path) << "thickness,vs,density\n2,150,1.8\n0,500,2\n";
  LayeredModel model;
  ASSERT_EQ(readLayeredModelFile(path.string(), model), "");
  EXPECT_EQ(model.vs, (std::vector<float>{150.0f, 500.0f}));
}

}  // namespace

}  // namespace dispfit
