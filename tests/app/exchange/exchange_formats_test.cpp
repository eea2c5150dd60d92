// SPDX-License-Identifier: GPL-3.0-or-later
// The files of the field's other programs, each written by hand from its
// program's description (files/), read with the values the description
// gives; what the writers write read back; and every refusal naming the
// file, the line and the column.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "exchange/curve_formats.h"
#include "exchange/dinver_target.h"
#include "exchange/gpdc_curve.h"
#include "exchange/gpdc_model.h"
#include "exchange/gzip_tar.h"
#include "exchange/model96.h"
#include "exchange/model_formats.h"
#include "exchange/surf96_curve.h"
#include "exchange/xml_elements.h"

namespace dispfit {
namespace {

namespace fs = std::filesystem;

constexpr swcore::InputLimits kFreeLimits{20, 50};
constexpr swcore::InputLimits kTableLimits{20, 10000};

std::string fileText(const std::string& name) {
  std::ifstream in(fs::path(EXCHANGE_FILES_DIR) / name, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  EXPECT_FALSE(text.str().empty()) << name;
  return text.str();
}

swcore::CurveFile curveOf(const std::string& text, CurveFormat expected) {
  swcore::CurveFile curve;
  CurveFormat format = CurveFormat::DispFit;
  std::string error;
  EXPECT_TRUE(readCurveFormats(text, "c.txt", kFreeLimits, kTableLimits, {}, curve, format, error))
      << error;
  EXPECT_EQ(format, expected);
  return curve;
}

void expectNear(const std::vector<double>& actual, const std::vector<double>& expected,
                double relative) {
  ASSERT_EQ(actual.size(), expected.size());
  for (std::size_t i = 0; i < actual.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_NEAR(actual[i], expected[i], relative * std::fabs(expected[i]));
  }
}

// 1e-12: a few roundings of a double in a reciprocal or a factor of 1000.
constexpr double kRoundings = 1e-12;

// SURF96 gives the period in s and velocities in km/s: 0.15 km/s is 150 m/s.
// Of its six lines the Rayleigh group line and the Love line are left out.
TEST(Surf96Curve, RayleighPhaseLinesWithTheirModesInMetresPerSecond) {
  const swcore::CurveFile curve = curveOf(fileText("curve.surf96"), CurveFormat::Surf96);
  expectNear(curve.period, {0.025, 0.05, 0.1, 0.05}, kRoundings);
  expectNear(curve.velocity, {150, 180, 220, 310}, kRoundings);
  expectNear(curve.deviation, {5, 6, 7, 10}, kRoundings);
  EXPECT_EQ(curve.mode, (std::vector<int>{0, 0, 0, 1}));
  EXPECT_EQ(curve.line, (std::vector<std::size_t>{1, 2, 3, 6}));
  ASSERT_EQ(curve.notes.size(), 2u);
  EXPECT_NE(curve.notes[1].find("2 SURF96 line(s)"), std::string::npos) << curve.notes[1];
}

// gpdc prints the slowness: 0.005 s/m is 200 m/s, 0.004 s/m 250 m/s.
TEST(GpdcCurve, RayleighModesAsPhaseVelocities) {
  const swcore::CurveFile curve = curveOf(fileText("gpdc_output.txt"), CurveFormat::GpdcCurve);
  expectNear(curve.frequency, {40, 20, 10, 20}, 0.0);
  expectNear(curve.velocity, {150, 200, 250, 400}, kRoundings);
  EXPECT_EQ(curve.mode, (std::vector<int>{0, 0, 0, 1}));
  EXPECT_TRUE(curve.deviation.empty());
  bool loveNoted = false;
  for (const std::string& note : curve.notes) loveNoted |= note.find("1 gpdc line") == 0;
  EXPECT_TRUE(loveNoted);
}

// Geopsy 3's log-normal target: the factor F widens the slowness to
// [s / F, s F], so c = 1 / s lies in [c / F, c F]: 200 m/s with F = 1.05 is
// 190.476..210 m/s. The invalid point and the Love curve are left out.
TEST(DinverTarget, LogNormalSpreadIsAFactorOnTheVelocity) {
  const swcore::CurveFile curve =
      curveOf(fileText("geopsy3_contents.xml"), CurveFormat::DinverTarget);
  expectNear(curve.frequency, {40, 20, 20}, 0.0);
  expectNear(curve.velocity, {200, 250, 500}, kRoundings);
  expectNear(curve.lowBound, {200 / 1.05, 250 / 1.1, 500 / 1.25}, kRoundings);
  expectNear(curve.highBound, {210, 275, 625}, kRoundings);
  EXPECT_EQ(curve.mode, (std::vector<int>{0, 0, 1}));
  bool leftOutNoted = false;
  for (const std::string& note : curve.notes) leftOutNoted |= note.find("2 target point") == 0;
  EXPECT_TRUE(leftOutNoted);
}

// Before Geopsy 3 the spread is the slowness's standard deviation:
// 0.005 +- 0.001 s/m is 1 / 0.006 .. 1 / 0.004 = 166.7 .. 250 m/s.
TEST(DinverTarget, OlderTargetsGiveTheSlownessDeviation) {
  const swcore::CurveFile curve =
      curveOf(fileText("geopsy2_contents.xml"), CurveFormat::DinverTarget);
  expectNear(curve.velocity, {200, 250, 400}, kRoundings);
  expectNear(curve.lowBound, {1 / 0.006, 1 / 0.0045, 1 / 0.003}, kRoundings);
  expectNear(curve.highBound, {1 / 0.004, 1 / 0.0035, 1 / 0.002}, kRoundings);
}

// An archive that GNU tar and gzip make of the hand-written contents.xml reads
// as the XML itself, and the archive DispFit writes unpacks with them to a
// UTF-16 contents.xml.
TEST(DinverTarget, ArchivesOfTarAndGzipBothWays) {
  const fs::path dir =
      fs::temp_directory_path() /
      ("dinver_target_test_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
  fs::remove_all(dir);
  fs::create_directories(dir);
  fs::copy_file(fs::path(EXCHANGE_FILES_DIR) / "geopsy3_contents.xml", dir / "contents.xml");
  const std::string pack = "cd '" + dir.string() + "' && tar -czf made.target contents.xml";
  ASSERT_EQ(std::system(pack.c_str()), 0);
  std::ifstream in(dir / "made.target", std::ios::binary);
  std::ostringstream archive;
  archive << in.rdbuf();
  EXPECT_TRUE(isGzip(archive.str()));
  EXPECT_EQ(curveOf(archive.str(), CurveFormat::DinverTarget),
            curveOf(fileText("geopsy3_contents.xml"), CurveFormat::DinverTarget));

  const swcore::CurveFile curve{{40, 20}, {200, 250}, {},     {190, 240}, {210.5, 260},
                                {},       {},         {1, 2}, {0, 0}};
  {
    std::ofstream out(dir / "written.target", std::ios::binary);
    out << formatDinverTarget(curve);
  }
  const std::string unpack =
      "cd '" + dir.string() + "' && mkdir out && tar -xzf written.target -C out";
  ASSERT_EQ(std::system(unpack.c_str()), 0);
  std::ifstream unpacked(dir / "out" / "contents.xml", std::ios::binary);
  std::ostringstream xml;
  xml << unpacked.rdbuf();
  ASSERT_GE(xml.str().size(), 2u);
  EXPECT_EQ(xml.str().substr(0, 2), "\xFF\xFE");  // UTF-16, little endian
  std::string text;
  ASSERT_TRUE(xmlTextOf(xml.str(), text));
  EXPECT_EQ(text, dinverTargetXml(curve));
  fs::remove_all(dir);
}

// What the writers write reads back: the target keeps c and the band's width
// in log velocity (a band geometric about c comes back as it was), SURF96 keeps
// c, sigma and the mode through T = 1 / f and km/s.
TEST(CurveWriters, TargetAndSurf96ReadBack) {
  const std::vector<double> f{50, 25, 12.5, 25};
  const std::vector<double> c{180, 210.5, 260, 420};
  std::vector<double> low;
  std::vector<double> high;
  const double factors[] = {1.02, 1.05, 1.1, 1.2};
  for (std::size_t i = 0; i < c.size(); ++i) {
    low.push_back(c[i] / factors[i]);
    high.push_back(c[i] * factors[i]);
  }
  const swcore::CurveFile banded{f, c, {}, low, high, {}, {}, {1, 2, 3, 4}, {0, 0, 0, 1}};
  const swcore::CurveFile target = curveOf(formatDinverTarget(banded), CurveFormat::DinverTarget);
  expectNear(target.frequency, f, 0.0);
  expectNear(target.velocity, c, kRoundings);
  expectNear(target.lowBound, low, kRoundings);
  expectNear(target.highBound, high, kRoundings);
  EXPECT_EQ(target.mode, banded.mode);

  const swcore::CurveFile deviated{f,  c,  {3, 4, 5.5, 8}, {},          {},
                                   {}, {}, {1, 2, 3, 4},   {0, 0, 0, 1}};
  const swcore::CurveFile surf = curveOf(formatSurf96Curve(deviated), CurveFormat::Surf96);
  std::vector<double> frequencies;
  for (const double period : surf.period) frequencies.push_back(1.0 / period);
  expectNear(frequencies, f, kRoundings);
  expectNear(surf.velocity, c, kRoundings);
  expectNear(surf.deviation, deviated.deviation, kRoundings);
  EXPECT_EQ(surf.mode, deviated.mode);
}

// The gpdc model gives density in kg/m3, model96 km, km/s and g/cm3; both are
// the model of 2 m of 150 m/s, 4.5 m of 300 m/s over 500 m/s with Vp = 3 Vs.
TEST(ModelFormats, GpdcAndModel96GiveTheSameModel) {
  const swcore::ModelFile expected{{2, 4.5, 0}, {150, 300, 500}, {1.8, 1.9, 2.0}, {450, 900, 1500}};
  for (const auto& [name, format] : {std::pair{"model.gpdc", ModelFormat::Gpdc},
                                     std::pair{"model.mod96", ModelFormat::Model96}}) {
    SCOPED_TRACE(name);
    swcore::ModelFile model;
    ModelFormat read = ModelFormat::DispFit;
    std::string error;
    ASSERT_TRUE(readModelFormats(fileText(name), name, kFreeLimits, model, read, error)) << error;
    EXPECT_EQ(read, format);
    expectNear(model.thickness, expected.thickness, kRoundings);
    expectNear(model.shearVelocity, expected.shearVelocity, kRoundings);
    expectNear(model.density, expected.density, kRoundings);
    expectNear(model.pVelocity, expected.pVelocity, kRoundings);
  }
}

TEST(ModelFormats, WrittenModelsReadBackWithVpThreeVsWhereNoneIsGiven) {
  const swcore::ModelFile model{{1.37, 2.5, 7}, {130.5, 202, 452}, {1.8, 1.9, 2.05}, {}};
  const std::string texts[] = {formatGpdcModel(model), formatModel96(model, "site")};
  for (const std::string& text : texts) {
    SCOPED_TRACE(text);
    swcore::ModelFile read;
    ModelFormat format = ModelFormat::DispFit;
    std::string error;
    ASSERT_TRUE(readModelFormats(text, "m.txt", kFreeLimits, read, format, error)) << error;
    EXPECT_NE(format, ModelFormat::DispFit);
    expectNear(read.thickness, {1.37, 2.5, 0}, kRoundings);  // the half-space's written 0
    expectNear(read.shearVelocity, model.shearVelocity, kRoundings);
    expectNear(read.density, model.density, kRoundings);
    expectNear(read.pVelocity, {391.5, 606, 1356}, kRoundings);
  }
}

// A batch-run model with a stray fourth number (a Vp) is not taken for a
// gpdc model: its third number, a density in g/cm3, is no S velocity.
TEST(ModelFormats, TheBatchLayoutWithAFourthNumberStaysTheBatchLayout) {
  EXPECT_EQ(modelFormatOf("2\n2 150 1.8 450\n0 300 2 900\n"), ModelFormat::DispFit);
  EXPECT_EQ(modelFormatOf("2\n2 450 150 1800\n0 900 300 1900\n"), ModelFormat::Gpdc);
  EXPECT_EQ(modelFormatOf("h vs rho\n2 150 1.8\n"), ModelFormat::DispFit);
}

TEST(ExchangeRefusals, NameTheFileTheLineAndTheColumn) {
  struct Row {
    const char* name;
    std::string text;
    bool model;
    std::string expected;
  };
  const Row rows[] = {
      {"SURF96 velocity not a number", "SURF96 R C X 0 0.1 abc 0.01\n", false,
       "f.txt, line 1, column 20: \"abc\" is not a number (the velocity, km/s; a full stop is "
       "the decimal point)"},
      {"SURF96 wave type", "SURF96 R C X 0 0.1 0.2 0.01\nSURF96 Q C X 0 0.2 0.2 0.01\n", false,
       "f.txt, line 2, column 8: \"Q\" is no wave type (R or L)"},
      {"SURF96 short line", "# picks\nSURF96 R C X 0 0.1 0.2\n", false,
       "f.txt, line 2, column 20: the line ends after 7 fields; a SURF96 line holds SURF96 WAVE "
       "TYPE FLAG MODE PERIOD VALUE ERROR"},
      {"SURF96 errors of 0 among others",
       "SURF96 R C X 0 0.1 0.2 0.01\nSURF96 R C X 0 0.2 0.25 0\n", false,
       "f.txt, line 2, column 25: an error of 0 where other lines give a positive one; give "
       "every datum its standard deviation, or none"},
      {"SURF96 another line", "SURF96 R C X 0 0.1 0.2 0.01\nsurf R C X 0 0.2 0.25 0.01\n", false,
       "f.txt, line 2, column 1: \"surf\" where a SURF96 line begins with the word SURF96"},
      {"gpdc data before a mode", "# 1 Rayleigh dispersion mode(s)\n10 0.004\n", false,
       "f.txt, line 2, column 1: data before the first \"# Mode N\" line, which says what they "
       "are"},
      {"gpdc negative slowness", "# Mode 0\n10 -0.004\n", false,
       "f.txt, line 2, column 4: the slowness must be positive, and not so small that 1 / s is no "
       "number"},
      {"gpdc three values", "# Mode 0\n10 0.004 7\n", false,
       "f.txt, line 2, column 1: 3 values where gpdc gives two, the frequency (Hz) and the "
       "slowness (s/m)"},
      {"target x not a number",
       "<Dinver><TargetList><DispersionTarget><ModalCurve>\n"
       "  <StatPoint><x>abc</x><mean>0.004</mean></StatPoint>\n"
       "</ModalCurve></DispersionTarget></TargetList></Dinver>\n",
       false, "f.txt, line 2, column 14: <x> holds \"abc\", not a number"},
      {"target tag closed out of turn",
       "<Dinver><TargetList>\n<DispersionTarget></TargetList></Dinver>\n", false,
       "f.txt, line 2, column 19: </TargetList> where <DispersionTarget> is to be closed"},
      {"target spread beside none",
       "<Dinver><TargetList><DispersionTarget><ModalCurve>\n"
       "<StatPoint><x>20</x><mean>0.004</mean><stddev>0.0002</stddev></StatPoint>\n"
       "<StatPoint><x>10</x><mean>0.003</mean><stddev>0</stddev></StatPoint>\n"
       "</ModalCurve></DispersionTarget></TargetList></Dinver>\n",
       false,
       "f.txt, line 3, column 1: a point without a spread where others give one; give every "
       "point its spread, or none"},
      {"gpdc model density in g/cm3", "2\n2 450 150 1800\n0 900 300 1.9\n", true,
       "f.txt, line 3, column 11: a density of 1.9 kg/m3 is less than any ground's; gpdc models "
       "give kg/m3, not g/cm3"},
      {"gpdc model five values", "2\n2 450 150 1800\n0 900 300 1900 7\n", true,
       "f.txt, line 3, column 1: 5 values where a gpdc layer gives four (thickness, Vp, Vs, "
       "density) or six (with Qp and Qs)"},
      {"model96 spherical earth",
       "MODEL.01\nt\nISOTROPIC\nKGS\nSPHERICAL EARTH\n1-D\nCONSTANT VELOCITY\nLINE08\nLINE09\n"
       "LINE10\nLINE11\nH VP VS RHO\n0 1.5 0.5 2.0 0 0 0 0 1 1\n",
       true,
       "f.txt, line 5, column 1: \"SPHERICAL EARTH\" where the program takes a flat earth (FLAT "
       "EARTH)"},
      {"model96 number",
       "MODEL.01\nt\nISOTROPIC\nKGS\nFLAT EARTH\n1-D\nCONSTANT VELOCITY\nLINE08\nLINE09\n"
       "LINE10\nLINE11\nH VP VS RHO\n  0.002 0.45x 0.15 1.8 0 0 0 0 1 1\n0 1.5 0.5 2.0 0 0 0 0 1 "
       "1\n",
       true,
       "f.txt, line 13, column 9: \"0.45x\" is not a number (VP, km/s; a full stop is the "
       "decimal point)"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    std::string error;
    if (row.model) {
      swcore::ModelFile model;
      ModelFormat format = ModelFormat::DispFit;
      EXPECT_FALSE(readModelFormats(row.text, "f.txt", kFreeLimits, model, format, error));
    } else {
      swcore::CurveFile curve;
      CurveFormat format = CurveFormat::DispFit;
      EXPECT_FALSE(
          readCurveFormats(row.text, "f.txt", kFreeLimits, kTableLimits, {}, curve, format, error));
    }
    EXPECT_EQ(error, row.expected);
  }
}

// The archive reader refuses what is no archive of a contents.xml, and UTF-16
// text converts with the characters beyond ASCII it may hold.
TEST(GzipTar, DamagedArchivesAndUtf16Text) {
  std::string unpacked;
  std::string error;
  const std::string archive = tarGzOf("contents.xml", "<Dinver/>");
  EXPECT_FALSE(gunzip(archive.substr(0, archive.size() / 2), unpacked, error));
  EXPECT_EQ(error, "the gzip data are damaged or cut short");
  ASSERT_TRUE(gunzip(archive, unpacked, error)) << error;
  std::string member;
  EXPECT_FALSE(tarMember(unpacked, "other.xml", member, error));
  ASSERT_TRUE(tarMember(unpacked, "contents.xml", member, error)) << error;
  EXPECT_EQ(member, "<Dinver/>");
  unpacked[150] ^= 1;  // a byte of the header's checksum field
  EXPECT_FALSE(tarMember(unpacked, "contents.xml", member, error));

  // "<a>é€</a>" in UTF-16 big endian with its mark; é is U+00E9, € U+20AC.
  const std::string utf16("\xFE\xFF\0<\0a\0>\0\xE9\x20\xAC\0<\0/\0a\0>", 20);
  std::string text;
  ASSERT_TRUE(xmlTextOf(utf16, text));
  EXPECT_EQ(text, "<a>\xC3\xA9\xE2\x82\xAC</a>");
  EXPECT_FALSE(xmlTextOf(utf16.substr(0, 19), text));  // half a character
}

}  // namespace
}  // namespace dispfit
