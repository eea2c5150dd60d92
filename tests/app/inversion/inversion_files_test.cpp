// Reading the model and curve files of the command-line inversion in the
// batch run's free format, and the errors for files that do not fit it.
#include "inversion/inversion_files.h"

#include <gtest/gtest.h>

#include <sstream>

namespace dispfit {

namespace {

LayeredModel readModel(const std::string& text, std::string& error) {
  std::istringstream in(text);
  LayeredModel model;
  error = readLayeredModel(in, "model.txt", model);
  return model;
}

ObservedCurve readCurve(const std::string& text, std::string& error) {
  std::istringstream in(text);
  ObservedCurve curve;
  error = readObservedCurve(in, "curve.txt", curve);
  return curve;
}

TEST(InversionFiles, ModelTriplesMayBeLaidOutOnLinesInAnyWay) {
  const std::string layouts[] = {
      "3\n2 150 1.8\n4.5 300 1.9\n0 500 2.0\n",
      "3\n2 150 1.8 4.5 300 1.9 0 500 2.0\n",
      "3\n2\n150\n1.8\n4.5\n300\n1.9\n0\n500\n2.0\n",
      "3 layers\r\n2,150,1.8\r\n4.5, 300, 1.9\r\n0\t500\t2.0\r\n",
  };
  for (const std::string& text : layouts) {
    std::string error;
    const LayeredModel model = readModel(text, error);
    ASSERT_EQ(error, "") << text;
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

TEST(InversionFiles, BadCountsAreRefusedWithTheirLine) {
  std::string error;
  readModel("0\n", error);
  EXPECT_EQ(error, "model.txt, line 1: the layer count must be a whole number from 1 to 20, not 0");
  readModel("\n2.5\n", error);
  EXPECT_EQ(error,
            "model.txt, line 2: the layer count must be a whole number from 1 to 20, not 2.5");
  readModel("21\n", error);
  EXPECT_NE(error.find("from 1 to 20, not 21"), std::string::npos) << error;
  readCurve("51\n", error);
  EXPECT_EQ(error,
            "curve.txt, line 1: the number of data must be a whole number from 1 to 50, not 51");
}

TEST(InversionFiles, ShortFilesAndNonNumbersAreNamed) {
  std::string error;
  readModel("", error);
  EXPECT_EQ(error, "model.txt: the file ends before the layer count (0 of 1 numbers read)");
  readModel("2\n2 150 1.8\n0 500\n", error);
  EXPECT_EQ(error,
            "model.txt: the file ends before the 2 layers (thickness, Vs, density) (5 of 6 "
            "numbers read)");
  readModel("1\n2 abc 1.8\n", error);
  EXPECT_EQ(error,
            "model.txt, line 2: \"abc\" is not a number (reading the 1 layers (thickness, Vs, "
            "density))");
  readCurve("2\n150 142\n145\n", error);
  EXPECT_EQ(error,
            "curve.txt: the file ends before datum 2 (frequency, velocity) (1 of 2 numbers read)");
  readCurve("1\n150 1e999\n", error);
  EXPECT_EQ(error,
            "curve.txt, line 2: \"1e999\" is not a number (reading datum 1 (frequency, "
            "velocity))");
  readCurve("1\n150 1e39\n", error);
  EXPECT_EQ(error, "curve.txt, line 2: a datum is too large for single precision");
}

TEST(InversionFiles, MissingFilesCannotBeOpened) {
  LayeredModel model;
  ObservedCurve curve;
  EXPECT_EQ(readLayeredModelFile("no/such/model.txt", model),
            "cannot open the model file no/such/model.txt");
  EXPECT_EQ(readObservedCurveFile("no/such/curve.txt", curve),
            "cannot open the curve file no/such/curve.txt");
}

}  // namespace

}  // namespace dispfit
