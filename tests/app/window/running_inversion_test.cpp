// SPDX-License-Identifier: GPL-3.0-or-later
// The invert button while its solve runs: the window handles its events
// after every engine run, the status line follows the iteration and misfit,
// and 取消 stops the solve after the current engine run with the window's
// data as they were before it.
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "curve_function_engine.h"
#include "window_fixture.h"

namespace dispfit {

namespace {

// A two-layer stand-in earth: high frequencies see the top layer, low ones
// the half-space, with a penetration depth that grows as the frequency falls.
void twoLayerCurve(ForwardCall& call) {
  for (int i = 0; i < call.freqCount; ++i) {
    const double w = 1.0 - std::exp(-call.freq[i] * call.thickness[0] / 100.0);
    call.phaseVelocity[i] =
        static_cast<float>(0.92 * (w * call.vs[0] + (1.0 - w) * call.vs[1 % call.layerCount]));
  }
}

// Everything of the window an inversion could change.
struct WindowState {
  explicit WindowState(const TForm1& form)
      : layerCount(form.layerCount),
        vs(std::to_array(form.vs)),
        thickness(std::to_array(form.thickness)),
        density(std::to_array(form.density)),
        rows(form.tableRows()),
        computed(form.Series1->points()),
        measured(form.MeasuredSeries->points()),
        fitted(form.FittedSeries->points()),
        fittedShown(form.FittedSeries->isVisible()),
        applicable(form.ApplyFittedAction->isEnabled()) {}
  bool operator==(const WindowState&) const = default;

  int32_t layerCount;
  std::array<float, kWindowLayerLimit> vs, thickness, density;
  std::vector<LayerTexts> rows;
  QList<QPointF> computed, measured, fitted;
  bool fittedShown, applicable;
};

class RunningInversion : public ::testing::Test {
 protected:
  RunningInversion() {
    engine.curve = [this](ForwardCall& call) {
      twoLayerCurve(call);
      if (duringRun) duringRun(engine.runs);
    };
    // The window's curve is the one of 3 m at 200 m/s over 380 m/s; the
    // arrays hold a start 2 m at 180 m/s over 450 m/s, which takes a few
    // iterations to fit.
    ForwardCall truth;
    truth.layerCount = 2;
    truth.vs[0] = 200.0f;
    truth.vs[1] = 380.0f;
    truth.thickness[0] = 3.0f;
    truth.freqCount = form.freqCount;
    std::copy_n(form.freq, form.freqCount, truth.freq);
    twoLayerCurve(truth);
    std::copy_n(truth.phaseVelocity, form.freqCount, form.vr);
    form.layerCount = 2;
    form.vs[0] = 180.0f;
    form.vs[1] = 450.0f;
    form.thickness[0] = 2.0f;
    form.density[1] = 2.0f;
  }

  // The number in the report after `label`, as the report prints it.
  static double reportNumber(const std::string& report, const std::string& label) {
    const std::size_t at = report.find(label);
    return at == std::string::npos ? std::nan("") : std::stod(report.substr(at + label.size()));
  }

  QTemporaryDir workDir;
  RecordingPresenter messages;
  CurveFunctionEngine engine{twoLayerCurve};
  NoPrinterSource printers;
  ScriptedFileChooser files;
  TForm1 form{messages, engine, printers, files};
  // Runs inside the n-th engine run (1-based), as a user's input would.
  std::function<void(int)> duringRun;
};

TEST_F(RunningInversion, CancelStopsAfterTheCurrentRunAndKeepsTheWindowAsItWas) {
  const struct {
    const char* name;
    int cancelAt;
    bool measuredCurve;  // the table's model against a loaded curve
  } rows[] = {{"the first run", 1, false},
              {"inside the sensitivities", 6, false},
              {"a later iteration", 15, false},
              {"a measured curve, in the first iteration", 8, true}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    if (row.measuredCurve) {
      const QString path = workDir.filePath("site.csv");
      QFile file(path);
      ASSERT_TRUE(file.open(QIODevice::WriteOnly));
      file.write("f, c, sigma\n10, 190, 5\n20, 180, 5\n30, 170, 5\n40, 160, 5\n");
      file.close();
      ASSERT_TRUE(form.openMeasuredCurve(path));
      form.Button1.click();  // a computed curve on the chart
      // Arrays that differ from the table, which the fit would start from.
      form.vs[0] = 175.0f;
    }
    const WindowState before(form);
    messages.messages.clear();
    engine.runs = 0;
    bool enabledWhileRunning = false;
    duringRun = [&](int run) {
      if (run != row.cancelAt) return;
      enabledWhileRunning = form.CancelButton.isEnabled();
      form.CancelButton.click();
    };
    form.Button2.click();

    EXPECT_TRUE(enabledWhileRunning);
    EXPECT_EQ(engine.runs, row.cancelAt);  // no run after the one cancelled in
    EXPECT_TRUE(messages.messages.empty());
    EXPECT_EQ(form.StatusLine.text(), "反演已取消。");
    EXPECT_TRUE(WindowState(form) == before);
    EXPECT_FALSE(form.CancelButton.isEnabled());
    EXPECT_TRUE(form.Button2.isEnabled());
    EXPECT_FALSE(form.inversionRunning());
  }
}

TEST_F(RunningInversion, AfterACancelTheNextInversionRunsToItsEnd) {
  duringRun = [this](int run) {
    if (run == 4) form.CancelClick();
  };
  form.Button2.click();
  ASSERT_TRUE(messages.messages.empty());
  duringRun = {};
  form.Button2.click();
  ASSERT_EQ(messages.messages.size(), 1u);
  EXPECT_EQ(messages.messages[0].kind, RecordedMessage::Kind::Box);
  EXPECT_NEAR(form.vs[0], 200.0f, 1.0f);
  EXPECT_NEAR(form.thickness[0], 3.0f, 0.05f);
}

TEST_F(RunningInversion, CancelWithoutASolveDoesNothing) {
  EXPECT_FALSE(form.CancelButton.isEnabled());
  form.CancelClick();
  form.Button2.click();
  ASSERT_EQ(messages.messages.size(), 1u);
  EXPECT_EQ(messages.messages[0].kind, RecordedMessage::Kind::Box);
}

TEST_F(RunningInversion, EscapeCancelsLikeTheButton) {
  form.show();
  form.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
  duringRun = [this](int run) {
    if (run == 3) QTest::keyClick(form.windowHandle(), Qt::Key_Escape);
  };
  form.Button2.click();
  EXPECT_EQ(engine.runs, 3);
  EXPECT_EQ(form.StatusLine.text(), "反演已取消。");
}

// An event posted during a run must have been handled before the next run
// begins; the solve's own pump runs only a few times per iteration, far
// fewer than the 2 x layers + 1 runs of a sensitivity matrix.
TEST_F(RunningInversion, WindowEventsAreHandledAfterEveryEngineRun) {
  bool pending = false;
  int unhandled = 0;
  duringRun = [&](int) {
    if (pending) ++unhandled;
    pending = true;
    QTimer::singleShot(0, &form, [&pending] { pending = false; });
  };
  form.Button2.click();
  ASSERT_EQ(messages.messages.size(), 1u);
  EXPECT_GT(engine.runs, 20);
  EXPECT_EQ(unhandled, 0);
}

TEST_F(RunningInversion, StatusLineFollowsTheIterationsAndEndsOnTheReportedFit) {
  std::vector<QString> shown;
  duringRun = [&](int) {
    if (shown.empty() || shown.back() != form.StatusLine.text()) {
      shown.push_back(form.StatusLine.text());
    }
  };
  form.Button2.click();
  ASSERT_EQ(messages.messages.size(), 1u);
  const std::string report = messages.messages[0].text;
  const double iterations = reportNumber(report, "迭代次数：");
  ASSERT_GE(iterations, 2.0);

  // Seen during the runs: the start, then iterations 1, 2, ... in turn.
  ASSERT_GE(shown.size(), 3u);
  EXPECT_TRUE(shown[1].startsWith("起始模型：拟合差 ")) << shown[1].toStdString();
  for (std::size_t k = 2; k < shown.size(); ++k) {
    SCOPED_TRACE(shown[k].toStdString());
    EXPECT_TRUE(shown[k].startsWith(QStringLiteral("迭代 %1：拟合差 ").arg(k - 1)));
    // Says what the misfit is: the report's, not the RMS of the residuals.
    EXPECT_TRUE(shown[k].endsWith(" m/s（未加权，√(Σr²/2M)，同报告）"));
  }
  // The last shown misfit is the report's, both to three significant digits.
  const QString last = form.StatusLine.text();
  ASSERT_TRUE(last.startsWith(QStringLiteral("迭代 %1：").arg(iterations))) << last.toStdString();
  const QString misfit = last.section("拟合差 ", 1).section(" ", 0, 0);
  EXPECT_DOUBLE_EQ(misfit.toDouble(), reportNumber(report, "拟 合 差："));
}

}  // namespace

}  // namespace dispfit
