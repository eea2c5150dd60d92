// SPDX-License-Identifier: GPL-3.0-or-later
#include "site/export_layouts.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "records/file_replacement.h"

namespace dispfit {

namespace {

TEST(ExportLayouts, CurveCsvHasOneLinePerMeasuredPointWithEmptyCellsForGaps) {
  // 20 Hz at 200 m/s is a 10 m wavelength; 8 Hz at 250 m/s is 31.25 m;
  // 5 Hz at 300 m/s is 60 m.
  const std::vector<MeasuredPoint> points{
      {20.0, 200.0, VelocityBand{190.0, 210.5}, 2},
      {8.0, 250.0, std::nullopt, 3},
      {5.0, 300.0, VelocityBand{280.0, 320.0}, 4},
  };
  // The engine's single-precision 201.3f is written as 201.3, not as its
  // double expansion 201.3000030517578.
  const ComputedCurve fitted{201.3f, 248.0f, std::nullopt};
  EXPECT_EQ(curveCsv(points, fitted, CurveKind::Fitted),
            "frequency_Hz,wavelength_m,measured_m_s,low_m_s,high_m_s,fitted_m_s\n"
            "20,10,200,190,210.5,201.3\n"
            "8,31.25,250,,,248\n"
            "5,60,300,280,320,\n");
  const std::string computed = curveCsv(points, {}, CurveKind::Computed);
  EXPECT_EQ(computed.substr(0, computed.find('\n')),
            "frequency_Hz,wavelength_m,measured_m_s,low_m_s,high_m_s,computed_m_s");
  EXPECT_NE(computed.find("8,31.25,250,,,\n"), std::string::npos) << computed;
}

TEST(ExportLayouts, ComputedCurveCsvGivesWavelengthsAndLeavesFrequenciesWithoutARootEmpty) {
  // 136.5 m/s at 150 Hz is a 0.91 m wavelength, 300 m/s at 5 Hz is 60 m; the
  // engine marks 20 Hz, without a root, by 0 and 12 Hz by -1.
  const float freq[] = {150.0f, 20.0f, 12.0f, 5.0f};
  const float vr[] = {136.5f, 0.0f, -1.0f, 300.0f};
  EXPECT_EQ(computedCurveCsv(freq, vr),
            "frequency_Hz,wavelength_m,computed_m_s\n"
            "150,0.91,136.5\n"
            "20,,\n"
            "12,,\n"
            "5,60,300\n");
}

TEST(ExportLayouts, ModelCsvAccumulatesDepthsAndLeavesTheHalfSpaceOpen) {
  ParsedLayers model;
  model.thickness = {0.1f, 0.2f, 9.0f};
  model.vs = {120.0f, 240.5f, 480.0f};
  model.density = {1.8f, 1.9f, 2.0f};
  // Tops 0, 0.1 and 0.3 m, each the single-precision number nearest the sum
  // (0.1f + 0.2f is 0.30000000447 in double, whose nearest float is 0.3f);
  // 1.8f reads back as 1.8.
  EXPECT_EQ(modelCsv(model),
            "layer,top_m,bottom_m,thickness_m,vs_m_s,density_g_cm3\n"
            "1,0,0.1,0.1,120,1.8\n"
            "2,0.1,0.3,0.2,240.5,1.9\n"
            "3,0.3,,,480,2\n");
}

TEST(ExportLayouts, ModelTableLinesKeepTheirColumnsAndAccumulateDepths) {
  ParsedLayers model;
  model.thickness = {2.0f, 3.5f, 0.0f};
  model.vs = {150.0f, 250.25f, 400.0f};
  model.density = {1.8f, 1.9f, 2.0f};
  // Tops 0, 2 and 5.5 m; bottoms 2 and 5.5 m; 250.25 m/s to 0.1 is 250.2 (an
  // exact tie, which rounds to even).
  const std::vector<std::string> lines = modelTableLines(model);
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[1], "    1       0.00       2.00       2.00      150.0         1.80");
  EXPECT_EQ(lines[2], "    2       2.00       5.50       3.50      250.2         1.90");
  EXPECT_EQ(lines[3], "    3       5.50          -          -      400.0         2.00");
  for (const std::string& line : lines) {
    SCOPED_TRACE(line);
    EXPECT_EQ(line.size(), lines[0].size());  // every column right under its header
  }
}

TEST(ExportLayouts, FitLinesSayWhatTheMisfitIsAndCountThePoints) {
  const struct {
    const char* name;
    std::optional<FitStatistics> fit;
    std::vector<std::string> lines;
  } rows[] = {
      {"no measured curve", std::nullopt, {"No measured curve: no misfit"}},
      {"a band, every point compared",
       FitStatistics{3.456, 30, 0, 30, 29},
       {"Misfit (unweighted RMS, sqrt(sum r^2 / m)): 3.46 m/s over m = 30 points",
        "Points inside the band: 29 of 30"}},
      {"no band, two points without a root",
       FitStatistics{12.0, 18, 2, 0, 0},
       {"Misfit (unweighted RMS, sqrt(sum r^2 / m)): 12.00 m/s over m = 18 points",
        "Points without a computed velocity (no root): 2", "The measured curve has no band"}},
      {"nothing compared",
       FitStatistics{std::nullopt, 0, 4, 0, 0},
       {"Misfit: none, no measured point has a computed velocity",
        "Points without a computed velocity (no root): 4", "The measured curve has no band"}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(fitLines(row.fit), row.lines);
  }
}

TEST(ExportLayouts, SiteSummaryTextGivesTheAveragesClassesFlagsAndCaution) {
  // Model of the time-average test: Vs20 = 301.887, Vs30 = 380.952 m/s.
  const std::vector<float> thickness{2.0f, 3.0f, 10.0f, 10.0f};
  const std::vector<float> vs{100.0f, 200.0f, 400.0f, 800.0f};
  const std::string text = siteSummaryText(summarizeSite(thickness, vs, 24.0));
  for (const char* line : {
           "Depth the data constrain (half the longest measured wavelength): 24.0 m\n",
           "Vs5 = 142.9 m/s\n",
           "Vs20 = 301.9 m/s\n",
           "Vs30 = 381.0 m/s  extrapolated: below the constrained depth\n",
           "Eurocode 8 ground type: B (Vs30 360 to 800 m/s)  extrapolated",
           "NEHRP site class: C (Vs30 360 to 760 m/s)  extrapolated",
           "E, S1 and S2",
       }) {
    SCOPED_TRACE(line);
    EXPECT_NE(text.find(line), std::string::npos) << text;
  }
  const std::string unconstrained = siteSummaryText(summarizeSite(thickness, vs, std::nullopt));
  EXPECT_EQ(unconstrained.find("extrapolated"), std::string::npos) << unconstrained;
  EXPECT_EQ(unconstrained.find("Depth the data constrain"), std::string::npos);
}

class ExportFile : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() /
           ("export_layouts_test_" +
            std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }

  static std::string contents(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
  }

  std::filesystem::path dir_;
};

TEST_F(ExportFile, ReplacesTheFileWholeAndLeavesNoPartialFile) {
  const std::filesystem::path path = dir_ / "model.csv";
  std::string error;
  ASSERT_TRUE(swcore::replaceFileText(path, "old contents, longer than the new\n", error)) << error;
  ASSERT_TRUE(swcore::replaceFileText(path, "layer\n1\n", error)) << error;
  EXPECT_EQ(contents(path), "layer\n1\n");
  EXPECT_FALSE(std::filesystem::exists(dir_ / "model.csv.new"));
}

TEST_F(ExportFile, AFailedReplacementKeepsWhatWasThere) {
  // A directory in the way cannot be replaced by a file: the rename fails.
  const std::filesystem::path blocked = dir_ / "curve.csv";
  std::filesystem::create_directory(blocked);
  std::ofstream(blocked / "keep.txt") << "kept";
  std::string error;
  EXPECT_FALSE(swcore::replaceFileText(blocked, "frequency_Hz\n", error));
  EXPECT_NE(error.find("curve.csv"), std::string::npos) << error;
  EXPECT_EQ(contents(blocked / "keep.txt"), "kept");
  EXPECT_FALSE(std::filesystem::exists(dir_ / "curve.csv.new"));

  // A missing folder: nothing can be written.
  EXPECT_FALSE(swcore::replaceFileText(dir_ / "missing" / "site.txt", "Vs30\n", error));
  EXPECT_NE(error.find("cannot write site.txt.new"), std::string::npos) << error;
}

}  // namespace

}  // namespace dispfit
