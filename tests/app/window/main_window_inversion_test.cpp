// SPDX-License-Identifier: GPL-3.0-or-later
// The invert button of the main window: the fitted model goes into the
// window's arrays and the report is shown; a failure leaves them alone; and
// while the solve lets window messages run, clicks and a close cannot start
// a second solve or pull the window away from under it.
#include <QCoreApplication>
#include <QSignalSpy>
#include <QTimer>
#include <algorithm>
#include <array>
#include <vector>

#include "core/engine_binding.h"
#include "window_fixture.h"

namespace dispfit {

namespace {

class InvertButton : public WindowTest {
 protected:
  // A curve that does not depend on the model: the solve ends after its
  // first iteration, with 1 + 1 + 3 + 1 engine runs for one layer.
  static constexpr int kRunsOfOneSolve = 6;

  void SetUp() override { engine.curve.assign(30, 150.0f); }
};

TEST_F(InvertButton, PressRightAfterAForwardRunShowsThePerfectFitReport) {
  engine.curve.assign(30, 136.5f);  // the window's start-up curve
  form.Button2.click();
  ASSERT_EQ(messages.messages.size(), 1u);
  const RecordedMessage& report = messages.messages[0];
  EXPECT_EQ(report.kind, RecordedMessage::Kind::Box);
  EXPECT_EQ(report.caption, "Sondrix提示...");
  EXPECT_EQ(report.icon, MessageIcon::Warning);
  EXPECT_EQ(report.text,
            "\t反演结果\n\n拟合情况：\n迭代次数：1\n拟 合 差：0.00E+00\n\n模型参数：\n"
            "#      H       Vs\n1   2.0   150.0\n");
  EXPECT_EQ(engine.calls.size(), 2u);
}

TEST_F(InvertButton, FittedModelGoesIntoTheArraysButNotTheTableOrChart) {
  form.vs[0] = 1500.0f;  // out of bounds: the solve starts at 525 m/s
  const std::vector<QPointF> chartBefore = seriesPoints();
  form.Button2.click();
  ASSERT_EQ(messages.messages.size(), 1u);
  EXPECT_EQ(messages.messages[0].kind, RecordedMessage::Kind::Box);
  EXPECT_EQ(form.layerCount, 1);
  EXPECT_EQ(form.vs[0], 525.0f);
  EXPECT_EQ(form.thickness[0], 2.0f);
  EXPECT_EQ(form.density[0], 1.8f);
  EXPECT_EQ(form.Model.cell(2, 1).toStdString(), "150");
  EXPECT_EQ(seriesPoints(), chartBefore);
  EXPECT_TRUE(form.Button2.isEnabled());
  EXPECT_TRUE(form.GroupBox1.isEnabled());
}

TEST_F(InvertButton, FailedEngineRunLeavesTheArraysAndShowsThePlainDialog) {
  engine.answer = ScriptedEngine::Answer::Fail;
  form.vs[0] = 170.0f;
  form.Button2.click();
  ASSERT_EQ(messages.messages.size(), 1u);
  EXPECT_EQ(messages.messages[0].kind, RecordedMessage::Kind::Plain);
  EXPECT_EQ(messages.messages[0].text, "正演计算失败，反演已中止.");
  EXPECT_EQ(engine.calls.size(), 1u);  // nothing ran after the failure
  EXPECT_EQ(form.vs[0], 170.0f);
  EXPECT_TRUE(form.Button1.isEnabled());
}

TEST_F(InvertButton, ClicksAndACloseDuringTheSolveWaitForItsEnd) {
  form.show();
  QSignalSpy firstClicks(&form.Button1, &QPushButton::clicked);
  bool checked = false;
  // Runs at the solve's first message pump, as a user's input would.
  QTimer::singleShot(0, &form, [&] {
    checked = true;
    EXPECT_TRUE(form.inversionRunning());
    for (QPushButton* button :
         {&form.Button1, &form.Button2, &form.Button3, &form.Button4, &form.Button5}) {
      EXPECT_FALSE(button->isEnabled());
      button->click();
    }
    EXPECT_FALSE(form.GroupBox1.isEnabled());
    form.Button2Click();  // even a direct call does not start a second solve
    form.close();
    EXPECT_TRUE(form.isVisible());
  });
  form.Button2.click();

  EXPECT_TRUE(checked);
  EXPECT_EQ(firstClicks.count(), 0);
  EXPECT_EQ(engine.calls.size(), static_cast<size_t>(kRunsOfOneSolve));
  // The outcome is shown, then the deferred close happens.
  ASSERT_EQ(messages.messages.size(), 1u);
  EXPECT_EQ(messages.messages[0].kind, RecordedMessage::Kind::Box);
  EXPECT_FALSE(form.isVisible());
  EXPECT_FALSE(form.inversionRunning());
}

TEST_F(InvertButton, CloseWithoutASolveClosesAtOnce) {
  form.show();
  form.close();
  EXPECT_FALSE(form.isVisible());
}

TEST(InvertButtonOnStandInLibrary, FaultingEngineShowsOneBoxThenTheFailureDialog) {
  RecordingPresenter messages;
  EngineBinding engine(messages, "libfake_engine_segv.so");
  NoPrinterSource printers;
  ScriptedFileChooser files;
  TForm1 form(messages, engine, printers, files);
  const float vsBefore = form.vs[0];
  form.Button2.click();
  ASSERT_EQ(messages.messages.size(), 2u);
  EXPECT_EQ(messages.messages[0].kind, RecordedMessage::Kind::Box);
  EXPECT_EQ(messages.messages[0].text, EngineBinding::kCallFailed);
  EXPECT_EQ(messages.messages[1].kind, RecordedMessage::Kind::Plain);
  EXPECT_EQ(form.vs[0], vsBefore);
}

}  // namespace

}  // namespace dispfit
