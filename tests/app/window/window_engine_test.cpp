// SPDX-License-Identifier: GPL-3.0-or-later
// The main window on the real engine library, and without it.
#include "core/engine_binding.h"
#include "window_fixture.h"

namespace dispfit {

namespace {

class WindowOnEngine : public ::testing::Test {
 protected:
  void typeModel(const std::vector<LayerTexts>& rows) {
    while (form.LUpDown.position() < static_cast<int>(rows.size())) form.LUpDown.stepBy(+1);
    for (std::size_t i = 0; i < rows.size(); ++i) {
      const int r = static_cast<int>(i) + 1;
      form.Model.setCell(1, r, QString::fromStdString(rows[i].thickness));
      form.Model.setCell(2, r, QString::fromStdString(rows[i].vs));
      form.Model.setCell(3, r, QString::fromStdString(rows[i].density));
    }
  }

  RecordingPresenter messages;
  EngineBinding engine{messages};
  NoPrinterSource printers;
  ScriptedFileChooser files;
  TForm1 form{messages, engine, printers, files};
};

// A half-space with Vp = 3 Vs: Rayleigh velocity 0.9473076 x 150 m/s.
TEST_F(WindowOnEngine, StartUpModelGivesTheHalfSpaceRayleighVelocity) {
  form.Button1.click();
  EXPECT_TRUE(messages.messages.empty());
  for (int i = 0; i < 30; ++i) EXPECT_NEAR(form.vr[i], 142.0961f, 0.01f) << i;
  EXPECT_NEAR(form.LeftAxis->min(), 92.0961, 0.01);
  EXPECT_NEAR(form.LeftAxis->max(), 202.0961, 0.01);
  EXPECT_EQ(form.Series1->count(), 30);
}

// Layers 5 m / 150 m/s, 10 m / 250 m/s over 400 m/s: about 142.097 m/s at
// 150 Hz, 149.943 at 20 Hz, 221.983 at 10 Hz and 338.131 at 5 Hz.
TEST_F(WindowOnEngine, LayeredModelFollowsTheFundamentalMode) {
  typeModel({{"5", "150", "1.8"}, {"10", "250", "1.9"}, {"0", "400", "2.0"}});
  form.Button1.click();
  EXPECT_TRUE(messages.messages.empty());
  EXPECT_NEAR(form.vr[0], 142.097f, 0.01f);   // 150 Hz
  EXPECT_NEAR(form.vr[26], 149.943f, 0.05f);  // 20 Hz
  EXPECT_NEAR(form.vr[28], 221.983f, 0.05f);  // 10 Hz
  EXPECT_NEAR(form.vr[29], 338.131f, 0.05f);  // 5 Hz
  // Normal dispersion: never slower towards low frequency (beyond the
  // root tolerance where the curve is flat at the top layer's velocity).
  for (int i = 1; i < 30; ++i) EXPECT_GE(form.vr[i], form.vr[i - 1] - 0.01f) << i;
  EXPECT_NEAR(form.LeftAxis->min(), form.vr[0] - 50.0, 1e-3);
  EXPECT_NEAR(form.LeftAxis->max(), form.vr[29] + 50.0, 1e-3);
}

TEST(WindowWithoutEngine, EveryRunShowsTheLoadBoxAndKeepsTheCurve) {
  RecordingPresenter messages;
  EngineBinding engine(messages, "libno_such_engine.so");
  NoPrinterSource printers;
  ScriptedFileChooser files;
  TForm1 form(messages, engine, printers, files);
  form.Button1.click();
  form.Button1.click();
  ASSERT_EQ(messages.messages.size(), 2u);
  for (const RecordedMessage& shown : messages.messages) {
    EXPECT_EQ(shown.text, "动态连接库加载失败!");
    EXPECT_EQ(shown.icon, MessageIcon::Information);
  }
  for (int i = 0; i < 30; ++i) EXPECT_EQ(form.vr[i], 136.5f);
  EXPECT_EQ(form.Series1->count(), 30);
  EXPECT_DOUBLE_EQ(form.Series1->at(0).y(), 136.5);
}

TEST(WindowWithFaultyEngine, ShowsTheCalculationBoxAndKeepsRunning) {
  RecordingPresenter messages;
  EngineBinding engine(messages, "libfake_engine_fpe.so");
  NoPrinterSource printers;
  ScriptedFileChooser files;
  TForm1 form(messages, engine, printers, files);
  form.Button1.click();
  ASSERT_EQ(messages.messages.size(), 1u);
  EXPECT_EQ(messages.messages[0].text, "正演函数计算失败!");
  EXPECT_EQ(form.vr[0], 136.5f);  // not the 999 the fake left behind
  form.LUpDown.stepBy(+1);
  EXPECT_EQ(form.layerCount, 2);
}

}  // namespace

}  // namespace dispfit
