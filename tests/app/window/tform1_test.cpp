// SPDX-License-Identifier: GPL-3.0-or-later
// The main window driven as a user drives it: cells, spinner, buttons.
#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QtTest/QTest>
#include <algorithm>
#include <cstring>

#include "window/window_style.h"
#include "window_fixture.h"

namespace dispfit {

namespace {

const std::vector<LayerTexts> kThreeLayers{
    {"5", "200", "1.8"}, {"10", "400", "2.0"}, {"0", "800", "2.2"}};

std::vector<float> ramp(float first, float last, int n = 30) {
  std::vector<float> curve;
  for (int i = 0; i < n; ++i) {
    curve.push_back(first + (last - first) * static_cast<float>(i) / static_cast<float>(n - 1));
  }
  return curve;
}

using StartUp = WindowTest;

TEST_F(StartUp, WindowDataHoldTheirDefaults) {
  EXPECT_EQ(form.layerCount, 1);
  EXPECT_EQ(form.vs[0], 150.0f);
  EXPECT_EQ(form.thickness[0], 2.0f);
  EXPECT_EQ(form.density[0], 1.8f);
  EXPECT_TRUE(std::all_of(form.vs + 1, form.vs + 20, [](float v) { return v == 0.0f; }));
  EXPECT_EQ(form.freqCount, 30);
  for (int i = 0; i < 30; ++i) {
    EXPECT_EQ(form.freq[i], 150.0f - 5.0f * static_cast<float>(i));
    EXPECT_EQ(form.vr[i], 136.5f);
  }
  EXPECT_EQ(form.freq[30], 0.0f);
  EXPECT_EQ(form.vr[30], 0.0f);
  EXPECT_EQ(sizeof form.vr / sizeof form.vr[0], 100u);
  EXPECT_EQ(sizeof form.density / sizeof form.density[0], 20u);
}

TEST_F(StartUp, TableShowsOneLayer) {
  EXPECT_EQ(form.Model.gridRowCount(), 2);
  EXPECT_EQ(form.Model.cell(0, 0), "#");
  EXPECT_EQ(form.Model.cell(1, 0), "H");
  EXPECT_EQ(form.Model.cell(2, 0), "Vs");
  EXPECT_EQ(form.Model.cell(3, 0), "Rho");
  EXPECT_EQ(form.Model.cell(0, 1), "1");
  EXPECT_EQ(form.Model.cell(1, 1), "2");
  EXPECT_EQ(form.Model.cell(2, 1), "150");
  EXPECT_EQ(form.Model.cell(3, 1), "1.79999995231628");
  EXPECT_EQ(form.Edit1.text(), "1");
  EXPECT_EQ(form.LUpDown.position(), 1);
}

TEST_F(StartUp, ChartShowsTheFlatCurveOnAFixedVelocityAxis) {
  const std::vector<QPointF> points = seriesPoints();
  ASSERT_EQ(points.size(), 30u);
  for (std::size_t i = 0; i < points.size(); ++i) {
    EXPECT_DOUBLE_EQ(points[i].x(), 5.0 + 5.0 * static_cast<double>(i));  // ascending
    EXPECT_DOUBLE_EQ(points[i].y(), 136.5);
  }
  EXPECT_DOUBLE_EQ(form.LeftAxis->min(), 0.0);
  EXPECT_DOUBLE_EQ(form.LeftAxis->max(), 200.0);
  EXPECT_TRUE(form.BottomAxis->isReverse());
  EXPECT_DOUBLE_EQ(form.BottomAxis->min(), 5.0);
  EXPECT_DOUBLE_EQ(form.BottomAxis->max(), 150.0);
  EXPECT_EQ(form.chart->title(), "频散曲线");
  EXPECT_EQ(form.BottomAxis->titleText(), "f/Hz");
  EXPECT_EQ(form.LeftAxis->titleText(), "VR (m/s)");
  EXPECT_FALSE(form.chart->legend()->isVisible());
  EXPECT_EQ(form.Series1->color(), QColor(Qt::red));
  EXPECT_TRUE(form.Series1->pointsVisible());
}

// Where the controls lie is window_layout_test's; here their texts.
TEST_F(StartUp, ControlsHaveTheirTexts) {
  EXPECT_EQ(form.GroupBox1.title(), "速度模型");
  EXPECT_EQ(form.StaticText1.text(), "层数");
  EXPECT_EQ(form.Label3.text(), "密度单位g/cm");
  EXPECT_EQ(form.Label4.text(), "3");
  EXPECT_EQ(form.Label2.text(), "速度单位m/s，厚度单位m");
  EXPECT_EQ(form.Label1.text(), "Sondrix");
  EXPECT_FALSE(form.Label1.isEnabled());
  const std::pair<QPushButton*, const char*> buttons[] = {{&form.Button4, "复制计算结果"},
                                                          {&form.Button5, "打印频散曲线"},
                                                          {&form.Button1, "计算频散曲线"},
                                                          {&form.Button2, "反演频散曲线"},
                                                          {&form.Button3, "退出计算"}};
  for (const auto& [button, text] : buttons) EXPECT_EQ(button->text(), QString::fromUtf8(text));
  EXPECT_EQ(form.font().family(), "WenQuanYi Micro Hei");
}

using Spinner = WindowTest;

TEST_F(Spinner, SteppingUpKeepsTheRowsAndCopiesTheLastIntoTheNewRow) {
  typeModel(kThreeLayers);
  form.LUpDown.stepBy(+1);
  EXPECT_EQ(form.Edit1.text(), "4");
  EXPECT_EQ(form.tableRows(), (std::vector<LayerTexts>{kThreeLayers[0], kThreeLayers[1],
                                                       kThreeLayers[2], kThreeLayers[2]}));
  for (int r = 1; r <= 4; ++r) EXPECT_EQ(form.Model.cell(0, r), QString::number(r));
  EXPECT_EQ(form.layerCount, 4);
  const float vs[] = {200.0f, 400.0f, 800.0f, 800.0f}, h[] = {5.0f, 10.0f, 0.0f, 0.0f},
              rho[] = {1.8f, 2.0f, 2.2f, 2.2f};
  for (int j = 0; j < 4; ++j) {
    EXPECT_EQ(form.vs[j], vs[j]);
    EXPECT_EQ(form.thickness[j], h[j]);
    EXPECT_EQ(form.density[j], rho[j]);
  }
  EXPECT_TRUE(messages.messages.empty());
}

TEST_F(Spinner, SteppingDownDropsTheLastRow) {
  typeModel(kThreeLayers);
  form.LUpDown.stepBy(+1);
  form.Model.setCell(2, 4, QStringLiteral("900"));
  form.LUpDown.stepBy(-1);
  EXPECT_EQ(form.tableRows(), kThreeLayers);
  EXPECT_EQ(form.layerCount, 3);
  EXPECT_EQ(form.vs[2], 800.0f);
}

TEST_F(Spinner, StopsAtBothEndsWithoutTouchingTheTable) {
  form.LUpDown.stepBy(-1);
  EXPECT_EQ(form.Edit1.text(), "1");
  EXPECT_EQ(form.Model.gridRowCount(), 2);
  // A bad cell would be reported if the handler ran; at the end it does not.
  form.Model.setCell(1, 1, QStringLiteral("abc"));
  form.LUpDown.stepBy(-1);
  EXPECT_TRUE(messages.messages.empty());
  form.Model.setCell(1, 1, QStringLiteral("2"));

  for (int i = 0; i < 25; ++i) form.LUpDown.stepBy(+1);
  EXPECT_EQ(form.LUpDown.position(), 20);
  EXPECT_EQ(form.Edit1.text(), "20");
  EXPECT_EQ(form.Model.gridRowCount(), 21);
  EXPECT_EQ(form.layerCount, 20);
  form.Model.setCell(1, 20, QStringLiteral("abc"));
  form.LUpDown.stepBy(+1);
  EXPECT_EQ(form.Model.gridRowCount(), 21);
  EXPECT_EQ(form.Model.cell(1, 20), "abc");
  EXPECT_TRUE(messages.messages.empty());
}

TEST_F(Spinner, UpAndDownKeysInTheTextBoxStepIt) {
  QTest::keyClick(&form.Edit1, Qt::Key_Up);
  QTest::keyClick(&form.Edit1, Qt::Key_Up);
  EXPECT_EQ(form.Edit1.text(), "3");
  EXPECT_EQ(form.layerCount, 3);
  QTest::keyClick(&form.Edit1, Qt::Key_Down);
  EXPECT_EQ(form.Edit1.text(), "2");
  EXPECT_EQ(form.Model.gridRowCount(), 3);
  EXPECT_EQ(form.layerCount, 2);
}

TEST_F(Spinner, StepsFromANumberTypedIntoTheTextBox) {
  form.Edit1.setText(QStringLiteral("4"));
  EXPECT_EQ(form.Model.gridRowCount(), 2);  // typing alone changes nothing
  EXPECT_EQ(form.layerCount, 1);
  form.LUpDown.stepBy(+1);
  EXPECT_EQ(form.Edit1.text(), "5");
  EXPECT_EQ(form.Model.gridRowCount(), 6);
  EXPECT_EQ(form.layerCount, 5);
}

// The box takes whole numbers from 1 to 20 only; Enter takes a typed count,
// and an unfinished entry left behind gives way to the count the table has.
TEST_F(Spinner, TextBoxTakesOnlyLayerCountsWithinTheRange) {
  const auto typeIntoBox = [this](const char* keys) {
    form.Edit1.selectAll();
    QTest::keyClicks(&form.Edit1, QString::fromUtf8(keys));
  };
  typeIntoBox("25");
  EXPECT_EQ(form.Edit1.text(), "2");  // the 5 would make 25
  typeIntoBox("abc");
  EXPECT_EQ(form.Edit1.text(), "2");  // letters are not taken
  typeIntoBox("0");
  QTest::keyClick(&form.Edit1, Qt::Key_Return);
  EXPECT_EQ(form.Edit1.text(), "1");  // 0 is no layer count
  EXPECT_EQ(form.Model.gridRowCount(), 2);

  typeIntoBox("5");
  QTest::keyClick(&form.Edit1, Qt::Key_Return);
  EXPECT_EQ(form.LUpDown.position(), 5);
  EXPECT_EQ(form.Model.gridRowCount(), 6);
  EXPECT_EQ(form.layerCount, 5);
  typeIntoBox("20");
  QTest::keyClick(&form.Edit1, Qt::Key_Return);
  EXPECT_EQ(form.Model.gridRowCount(), 21);
  typeIntoBox("2");
  QTest::keyClick(&form.Edit1, Qt::Key_Return);
  EXPECT_EQ(form.Model.gridRowCount(), 3);
  EXPECT_EQ(form.layerCount, 2);
}

// Whatever the layer count, exactly the last row says it is the half-space
// and that its thickness is not used.
TEST_F(Spinner, LastRowIsMarkedAsTheHalfSpace) {
  const auto marked = [this](int row) {
    return !form.Model.cellItem(0, row)->toolTip().isEmpty() &&
           form.Model.cellItem(1, row)->toolTip() == QStringLiteral("半空间的厚度不参与计算。");
  };
  EXPECT_TRUE(marked(1));  // a half-space alone at start-up
  typeModel(kThreeLayers);
  EXPECT_FALSE(marked(1));
  EXPECT_FALSE(marked(2));
  EXPECT_TRUE(marked(3));
  EXPECT_NE(form.Model.cellItem(1, 3)->foreground(), form.Model.cellItem(1, 2)->foreground());
  EXPECT_NE(form.Model.cellItem(2, 3)->background(), form.Model.cellItem(2, 2)->background());
  form.LUpDown.stepBy(-1);
  EXPECT_TRUE(marked(2));
  EXPECT_FALSE(marked(1));
  form.LUpDown.stepBy(+1);
  form.LUpDown.stepBy(+1);
  EXPECT_FALSE(marked(2));
  EXPECT_FALSE(marked(3));
  EXPECT_TRUE(marked(4));
}

// Rows copied from a spreadsheet arrive as tab-separated text.
TEST_F(Spinner, PastedSpreadsheetRowsFillTheTable) {
  QGuiApplication::clipboard()->setText(
      QStringLiteral("5\t200\t1.8\r\n10\t400\t2.0\r\n0\t800\t2.2\r\n"));
  form.Model.setCurrentCell(0, 1);  // the first layer's thickness
  QTest::keyClick(&form.Model, Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(form.tableRows(), kThreeLayers);
  EXPECT_EQ(form.LUpDown.position(), 3);
  EXPECT_EQ(form.Edit1.text(), "3");
  EXPECT_EQ(form.Model.cell(0, 3), "3");
  EXPECT_TRUE(messages.messages.empty());

  engine.curve = ramp(180.0f, 400.0f);
  form.Button1.click();  // the pasted model is the one computed
  ASSERT_EQ(engine.calls.size(), 1u);
  EXPECT_EQ(form.layerCount, 3);
  EXPECT_EQ(form.vs[2], 800.0f);
}

TEST_F(Spinner, BadCellIsNamedAndTheWindowDataStayUntilTheTableIsValid) {
  typeModel(kThreeLayers);
  form.LUpDown.stepBy(+1);  // a valid step up and down takes the typed model
  form.LUpDown.stepBy(-1);
  ASSERT_EQ(form.density[2], 2.2f);
  std::vector<float> dataBefore(form.vs, form.vs + 20);
  dataBefore.insert(dataBefore.end(), form.thickness, form.thickness + 20);
  dataBefore.insert(dataBefore.end(), form.density, form.density + 20);
  const auto dataNow = [this] {
    std::vector<float> now(form.vs, form.vs + 20);
    now.insert(now.end(), form.thickness, form.thickness + 20);
    now.insert(now.end(), form.density, form.density + 20);
    return now;
  };
  form.Model.setCell(3, 3, QString());  // empty half-space density
  form.LUpDown.stepBy(+1);
  ASSERT_EQ(messages.messages.size(), 1u);
  EXPECT_EQ(messages.messages[0].kind, RecordedMessage::Kind::Error);
  EXPECT_EQ(messages.messages[0].text, "'' is not a valid floating point value");
  EXPECT_EQ(form.Model.gridRowCount(), 5);  // the table was rebuilt
  EXPECT_EQ(form.Model.cell(3, 4), "");
  EXPECT_EQ(form.layerCount, 3);  // the data are those of the last valid table
  EXPECT_EQ(dataNow(), dataBefore);

  form.Model.setCell(2, 2, QStringLiteral("4OO"));
  form.LUpDown.stepBy(-1);
  ASSERT_EQ(messages.messages.size(), 2u);
  EXPECT_EQ(messages.messages[1].text, "'4OO' is not a valid floating point value");
  EXPECT_EQ(form.layerCount, 3);
  EXPECT_EQ(dataNow(), dataBefore);

  form.Model.setCell(2, 2, QStringLiteral("450"));
  form.Model.setCell(3, 3, QStringLiteral("2.3"));
  form.LUpDown.stepBy(+1);
  EXPECT_EQ(messages.messages.size(), 2u);
  EXPECT_EQ(form.layerCount, 4);
  EXPECT_EQ(form.vs[1], 450.0f);
  EXPECT_EQ(form.density[3], 2.3f);
}

using ForwardRun = WindowTest;

TEST_F(ForwardRun, ComputesTheCurveFromTheTable) {
  typeModel(kThreeLayers);
  engine.curve = ramp(180.0f, 400.0f);
  form.Button1.click();

  ASSERT_EQ(engine.calls.size(), 1u);
  const ForwardCall& call = engine.calls[0];
  EXPECT_EQ(call.layerCount, 3);
  EXPECT_EQ(call.thickness[1], 10.0f);
  EXPECT_EQ(call.vs[2], 800.0f);
  EXPECT_EQ(call.density[0], 1.8f);
  EXPECT_EQ(call.freqCount, 30);
  EXPECT_EQ(call.freq[0], 150.0f);
  EXPECT_EQ(call.freq[29], 5.0f);

  EXPECT_TRUE(std::equal(engine.curve.begin(), engine.curve.end(), form.vr));
  const std::vector<QPointF> points = seriesPoints();
  ASSERT_EQ(points.size(), 30u);
  EXPECT_DOUBLE_EQ(points.front().x(), 5.0);
  EXPECT_DOUBLE_EQ(points.front().y(), 400.0);  // 5 Hz is the last frequency
  EXPECT_DOUBLE_EQ(points.back().x(), 150.0);
  EXPECT_DOUBLE_EQ(points.back().y(), 180.0);
  EXPECT_DOUBLE_EQ(form.LeftAxis->min(), 130.0);
  EXPECT_DOUBLE_EQ(form.LeftAxis->max(), 450.0);
  EXPECT_DOUBLE_EQ(form.BottomAxis->min(), 5.0);
  EXPECT_DOUBLE_EQ(form.BottomAxis->max(), 150.0);
  EXPECT_TRUE(messages.messages.empty());
}

TEST_F(ForwardRun, ModesMenuDrawsTheHigherRayleighAndTheLoveModesOfTheTable) {
  typeModel(kThreeLayers);
  engine.curve = ramp(180.0f, 400.0f);
  form.Button1.click();
  const std::vector<QPointF> fundamental = seriesPoints();
  EXPECT_TRUE(form.ModeSeries.empty());  // the fundamental alone until chosen
  EXPECT_TRUE(form.ModeCountActions[0]->isChecked());

  form.ModeCountActions[1]->trigger();  // modes 0 to 2
  ASSERT_EQ(form.ModeSeries.size(), 2u);
  form.LoveAction->setChecked(true);
  ASSERT_EQ(form.ModeSeries.size(), 5u);  // Rayleigh modes 1 and 2, Love modes 0 to 2
  // The fundamental is the engine's run, not run again and drawn as before.
  EXPECT_EQ(engine.calls.size(), 1u);
  EXPECT_EQ(seriesPoints(), fundamental);
  for (std::size_t s = 0; s < form.ModeSeries.size(); ++s) {
    SCOPED_TRACE(s);
    const QLineSeries* series = form.ModeSeries[s];
    EXPECT_TRUE(form.chart->series().contains(series));
    EXPECT_EQ(series->color(), s < 2 ? QColor(Qt::red) : kLoveColour);
    // Every mode below the half-space S velocity and above the slowest
    // layer's Rayleigh velocity (0.9 x 200 m/s would do for Vp = 3 Vs), on
    // the chart's velocity axis.
    for (const QPointF& p : series->points()) {
      EXPECT_GT(p.y(), 180.0);
      EXPECT_LT(p.y(), 800.0);
      EXPECT_LE(p.y(), form.LeftAxis->max());
    }
  }
  // The higher modes exist only above their cut-offs: fewer points than the
  // 30 frequencies, none at 5 Hz, where 15 m over 800 m/s carry one mode.
  EXPECT_LT(form.ModeSeries[1]->points().size(), 30);
  EXPECT_GT(form.ModeSeries[1]->points().size(), 0);
  for (const QPointF& p : form.ModeSeries[1]->points()) EXPECT_GT(p.x(), 5.0);
  // Love mode 0 exists at every frequency.
  EXPECT_EQ(form.ModeSeries[2]->points().size(), 30);
  // Each line wears its name, in its colour, at a point of its own.
  const QStringList names{"R1", "R2", "L0", "L1", "L2"};
  ASSERT_EQ(form.ModeNameSeries.size(), 5u);
  for (std::size_t s = 0; s < form.ModeNameSeries.size(); ++s) {
    SCOPED_TRACE(s);
    const QScatterSeries* name = form.ModeNameSeries[s];
    EXPECT_TRUE(form.chart->series().contains(name));
    EXPECT_EQ(name->pointLabelsFormat(), names[static_cast<qsizetype>(s)]);
    EXPECT_TRUE(name->pointLabelsVisible());
    EXPECT_EQ(name->pointLabelsColor(), form.ModeSeries[s]->color());
    ASSERT_EQ(name->points().size(), 1);
    EXPECT_TRUE(form.ModeSeries[s]->points().contains(name->points().front()));
  }

  // Against wavelength the lines move with the curve.
  form.WavelengthAction->setChecked(true);
  ASSERT_EQ(form.ModeSeries.size(), 5u);
  const QPointF first = form.ModeSeries[2]->points().front();
  EXPECT_GT(first.x(), 0.0);
  EXPECT_LT(first.x(), 800.0 / 5.0 + 1e-9);
  form.WavelengthAction->setChecked(false);

  form.LoveAction->setChecked(false);
  form.ModeCountActions[0]->trigger();
  EXPECT_TRUE(form.ModeSeries.empty());
  EXPECT_TRUE(form.ModeNameSeries.empty());
  EXPECT_EQ(seriesPoints(), fundamental);
}

TEST_F(ForwardRun, FlatCurveGivesAnAxisFromFiftyBelowToSixtyAbove) {
  engine.curve.assign(30, 142.0961f);
  form.Button1.click();
  EXPECT_DOUBLE_EQ(form.LeftAxis->min(), double{142.0961f} - 50.0);
  EXPECT_DOUBLE_EQ(form.LeftAxis->max(), double{142.0961f} + 60.0);
}

TEST_F(ForwardRun, FirstValuePlusTenCanSetTheTop) {
  std::vector<float> curve = ramp(180.0f, 400.0f);
  std::swap(curve.front(), curve.back());
  engine.curve = curve;
  form.Button1.click();
  EXPECT_DOUBLE_EQ(form.LeftAxis->min(), 130.0);
  EXPECT_DOUBLE_EQ(form.LeftAxis->max(), 460.0);
}

TEST_F(ForwardRun, CurveAboveTheStartUpAxisIsFitted) {
  engine.curve = ramp(250.0f, 400.0f);
  form.Button1.click();
  EXPECT_DOUBLE_EQ(form.LeftAxis->min(), 200.0);
  EXPECT_DOUBLE_EQ(form.LeftAxis->max(), 450.0);
  // A second run from that range to a slower curve.
  engine.curve.assign(30, 100.0f);
  form.Button1.click();
  EXPECT_DOUBLE_EQ(form.LeftAxis->min(), 50.0);
  EXPECT_DOUBLE_EQ(form.LeftAxis->max(), 160.0);
}

TEST_F(ForwardRun, BadRowIsNamedAndNothingChanges) {
  typeModel(kThreeLayers);
  engine.curve = ramp(180.0f, 400.0f);
  form.Button1.click();
  form.Model.setCell(2, 2, QStringLiteral("450"));
  form.Model.setCell(3, 3, QStringLiteral("abc"));
  const std::vector<QPointF> before = seriesPoints();
  const float vsBefore[3] = {form.vs[0], form.vs[1], form.vs[2]};
  form.Button1.click();
  ASSERT_EQ(messages.messages.size(), 1u);
  const RecordedMessage& shown = messages.messages[0];
  EXPECT_EQ(shown.kind, RecordedMessage::Kind::Box);
  EXPECT_EQ(shown.text,
            "第 3 行输入的模型参数错误，请检查！\nRho 列「abc」不是数字，小数点请用英文句点“.”。");
  EXPECT_EQ(shown.caption, "Sondrix提示...");
  EXPECT_EQ(shown.icon, MessageIcon::Warning);
  EXPECT_EQ(engine.calls.size(), 1u);  // only the first run
  EXPECT_EQ(form.layerCount, 3);
  EXPECT_TRUE(std::equal(vsBefore, vsBefore + 3, form.vs));  // 400, not 450
  EXPECT_EQ(form.density[2], 2.2f);
  EXPECT_TRUE(std::equal(engine.curve.begin(), engine.curve.end(), form.vr));
  EXPECT_EQ(seriesPoints(), before);
  EXPECT_DOUBLE_EQ(form.LeftAxis->min(), 130.0);
  EXPECT_DOUBLE_EQ(form.LeftAxis->max(), 450.0);
}

// Values no earth has are refused like a cell that is not a number: the
// engine is not called and the window keeps its model and curve.
TEST_F(ForwardRun, UnphysicalRowsAreRefusedAndNothingChanges) {
  typeModel(kThreeLayers);
  engine.curve = ramp(180.0f, 400.0f);
  form.Button1.click();
  const std::vector<QPointF> before = seriesPoints();
  const struct {
    int column, row;
    const char* text;
    const char* reasonStart;
  } cases[] = {{1, 1, "-5", "H 列「-5」厚度必须大于 0"},
               {2, 2, "0", "Vs 列「0」速度必须大于 0"},
               {2, 3, "1e9", "Vs 列「1e9」速度必须小于 10000 m/s"},
               {3, 2, "0", "Rho 列「0」密度必须大于 0"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    typeModel(kThreeLayers);
    form.Model.setCell(c.column, c.row, QString::fromUtf8(c.text));
    messages.messages.clear();
    form.Button1.click();
    ASSERT_EQ(messages.messages.size(), 1u);
    const std::string& text = messages.messages[0].text;
    EXPECT_EQ(firstLine(text), "第 " + std::to_string(c.row) + " 行输入的模型参数错误，请检查！");
    EXPECT_EQ(text.substr(text.find('\n') + 1).rfind(c.reasonStart, 0), 0u) << text;
    EXPECT_EQ(engine.calls.size(), 1u);  // only the first, sound run
    EXPECT_EQ(form.vs[1], 400.0f);
    EXPECT_EQ(form.thickness[0], 5.0f);
    EXPECT_EQ(seriesPoints(), before);
  }
}

// FORWARD leaves 0 where a frequency has no root: such points are not drawn,
// do not stretch the axis, and the status line counts them.
TEST_F(ForwardRun, FrequenciesWithoutARootAreLeftOutAndCounted) {
  typeModel(kThreeLayers);
  engine.curve = ramp(180.0f, 400.0f);
  engine.curve[0] = 0.0f;   // 150 Hz
  engine.curve[29] = 0.0f;  // 5 Hz
  form.Button1.click();
  const std::vector<QPointF> points = seriesPoints();
  ASSERT_EQ(points.size(), 28u);
  for (const QPointF& p : points) EXPECT_GT(p.y(), 0.0);
  // The smallest drawn value is the 145 Hz one, 180 + 220/29.
  EXPECT_NEAR(form.LeftAxis->min(), 180.0 + 220.0 / 29.0 - 50.0, 1e-4);
  EXPECT_EQ(form.StatusLine.text().toStdString(), "2 个频率无解，未绘出。");

  engine.curve = ramp(180.0f, 400.0f);
  form.Button1.click();
  EXPECT_EQ(seriesPoints().size(), 30u);
  EXPECT_TRUE(form.StatusLine.text().isEmpty());
}

TEST_F(ForwardRun, FirstOfSeveralBadRowsIsNamed) {
  typeModel({{"1", "100", "1"}, {"x", "200", "2"}, {"3", "300", "3"}, {"4", "", "4"}});
  form.Button1.click();
  ASSERT_EQ(messages.messages.size(), 1u);
  EXPECT_EQ(firstLine(messages.messages[0].text), "第 2 行输入的模型参数错误，请检查！");
}

TEST_F(ForwardRun, EmptyHalfSpaceThicknessFailsLikeAnyCell) {
  typeModel({{"5", "200", "1.8"}, {"", "800", "2.2"}});
  form.Button1.click();
  ASSERT_EQ(messages.messages.size(), 1u);
  EXPECT_EQ(firstLine(messages.messages[0].text), "第 2 行输入的模型参数错误，请检查！");

  messages.messages.clear();
  form.Model.setCell(1, 2, QStringLiteral(" 123.5 "));
  engine.curve.assign(30, 300.0f);
  form.Button1.click();
  EXPECT_TRUE(messages.messages.empty());
  ASSERT_EQ(engine.calls.size(), 1u);
  EXPECT_EQ(engine.calls[0].thickness[1], 123.5f);  // passed on unchanged
}

// The half-space's thickness is not used, so any number passes there; its
// velocity and density are checked like every layer's.
TEST_F(ForwardRun, HalfSpaceThicknessIsNotChecked) {
  typeModel({{"-5", "150", "1.8"}});
  engine.curve.assign(30, 100.0f);
  form.Button1.click();
  EXPECT_TRUE(messages.messages.empty());
  EXPECT_EQ(form.thickness[0], -5.0f);

  form.Model.setCell(2, 1, QStringLiteral("0"));
  form.Button1.click();
  ASSERT_EQ(messages.messages.size(), 1u);
  EXPECT_EQ(firstLine(messages.messages[0].text), "第 1 行输入的模型参数错误，请检查！");
  EXPECT_EQ(form.vs[0], 150.0f);
}

TEST_F(ForwardRun, FailedCalculationKeepsThePreviousCurve) {
  typeModel(kThreeLayers);
  engine.curve = ramp(180.0f, 400.0f);
  form.Button1.click();
  const std::vector<QPointF> computed = seriesPoints();

  typeModel({{"5", "100", "1.8"}, {"0", "300", "2.0"}});
  engine.answer = ScriptedEngine::Answer::Fail;  // scribbles -1 over the output
  form.Button1.click();
  EXPECT_EQ(engine.calls.size(), 2u);
  EXPECT_EQ(form.layerCount, 2);  // the table's model was taken
  EXPECT_EQ(form.vs[1], 300.0f);
  EXPECT_TRUE(std::equal(engine.curve.begin(), engine.curve.end(), form.vr));
  EXPECT_EQ(seriesPoints(), computed);
  EXPECT_DOUBLE_EQ(form.LeftAxis->min(), 130.0);
  EXPECT_DOUBLE_EQ(form.LeftAxis->max(), 450.0);
}

TEST_F(ForwardRun, AnErrorLeavingTheHandlerIsShownAndTheWindowGoesOn) {
  engine.answer = ScriptedEngine::Answer::Throw;
  form.Button1.click();
  ASSERT_EQ(messages.messages.size(), 1u);
  EXPECT_EQ(messages.messages[0].kind, RecordedMessage::Kind::Error);
  EXPECT_EQ(messages.messages[0].text, "scripted engine error");
  engine.answer = ScriptedEngine::Answer::Curve;
  engine.curve.assign(30, 150.0f);
  form.Button1.click();
  EXPECT_EQ(form.vr[0], 150.0f);
}

TEST_F(ForwardRun, CommandsCanBeDisabledWhileALongCommandRuns) {
  form.setCommandsEnabled(false);
  for (QPushButton* b :
       {&form.Button1, &form.Button2, &form.Button3, &form.Button4, &form.Button5}) {
    EXPECT_FALSE(b->isEnabled());
  }
  EXPECT_FALSE(form.Model.isEnabled());
  form.Button1.click();  // a disabled button does nothing
  EXPECT_TRUE(engine.calls.empty());
  form.setCommandsEnabled(true);
  EXPECT_TRUE(form.Button1.isEnabled());
  EXPECT_TRUE(form.Model.isEnabled());
}

using Quit = WindowTest;

TEST_F(Quit, ClosesTheWindowWithoutAsking) {
  form.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
  engine.curve.assign(30, 150.0f);
  form.Button1.click();  // an uncopied, unprinted curve
  form.Button3.click();
  EXPECT_FALSE(form.isVisible());
  EXPECT_TRUE(messages.messages.empty());
}

}  // namespace

}  // namespace dispfit
