// SPDX-License-Identifier: GPL-3.0-or-later
// The window's layout: the described size to start with, the described
// controls in their order and relative places, the charts growing with the
// window, and everything on the screen and readable in both languages on a
// 1366 x 768 screen at 100, 125 and 150 % scaling.
#include <QAbstractButton>
#include <QFile>
#include <QGraphicsScene>
#include <QGraphicsTextItem>
#include <QHeaderView>
#include <QLabel>
#include <QScreen>
#include <QScrollBar>
#include <QtTest/QTest>

#include "window/global_search_dialog.h"
#include "window/screen_placement.h"
#include "window/shot_records_window.h"
#include "window/tabout.h"
#include "window_fixture.h"

namespace dispfit {

namespace {

// A control's rectangle in the window's coordinates.
QRect inWindow(const QWidget& control, const QWidget& window) {
  return QRect(control.mapTo(&window, QPoint(0, 0)), control.size());
}

// The room a 1366 x 768 screen gives at a scaling, in the window's pixels:
// its size over the scale, less a 40-pixel panel at the screen's foot.
QRect screenRoom(double scale) {
  return QRect(0, 0, static_cast<int>(1366 / scale), static_cast<int>(768 / scale) - 40);
}

// The tick labels a chart shows whole beside its plot, on one side: the
// visible texts there that read as numbers. Qt hides a label that would
// overlap its neighbour and cuts one taller than its share of the axis to
// "...", so a chart too small for its labels shows fewer of them than its
// axis has ticks.
int shownTickLabels(const QChart& chart, Qt::Alignment side) {
  const QRectF plot = chart.mapRectToScene(chart.plotArea());
  int shown = 0;
  for (const QGraphicsItem* item : chart.scene()->items()) {
    const auto* text = dynamic_cast<const QGraphicsTextItem*>(item);
    if (text == nullptr || !text->isVisible() || !chart.isAncestorOf(text)) continue;
    bool number = false;
    text->toPlainText().toDouble(&number);
    if (!number) continue;
    // A pixel either way for the rounding of the label's place.
    const QRectF place = text->sceneBoundingRect();
    const bool beside =
        place.center().y() >= plot.top() - 1 && place.center().y() <= plot.bottom() + 1;
    const bool across =
        place.center().x() >= plot.left() - 1 && place.center().x() <= plot.right() + 1;
    if ((side == Qt::AlignLeft && beside && place.right() <= plot.left() + 1) ||
        (side == Qt::AlignBottom && across && place.top() >= plot.bottom() - 1) ||
        (side == Qt::AlignTop && across && place.bottom() <= plot.top() + 1)) {
      ++shown;
    }
  }
  return shown;
}

class WindowLayout : public WindowTest {
 protected:
  void SetUp() override {
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
  }

  void resizeTo(QSize size) {
    form.resize(size);
    QCoreApplication::processEvents();
  }

  QRect at(const QWidget& control) const { return inWindow(control, form); }

  // Every described control and the site column lie inside the window, none
  // empty, and every text fits its control: nothing is cut off or hidden.
  void expectEverythingShown() {
    const QRect window = form.rect();
    const std::pair<const QWidget*, const char*> controls[] = {
        {&form.GroupBox1, "model group"}, {&form.StaticText1, "layer count"},
        {&form.Edit1, "count box"},       {&form.LUpDown, "spinner"},
        {&form.Model, "table"},           {&form.Label3, "density unit"},
        {&form.Label4, "exponent"},       {&form.Label2, "velocity unit"},
        {&form.Chart, "chart"},           {&form.Label1, "unit name"},
        {&form.Button4, "copy"},          {&form.Button5, "print"},
        {&form.Button1, "compute"},       {&form.Button2, "invert"},
        {&form.Button3, "quit"},          {&form.CancelButton, "cancel"},
        {&form.VsChart, "Vs chart"},      {&form.ResultsPanel, "results panel"}};
    for (const auto& [control, name] : controls) {
      SCOPED_TRACE(name);
      EXPECT_TRUE(control->isVisible());
      EXPECT_TRUE(window.contains(at(*control)))
          << at(*control).x() << "," << at(*control).y() << " " << at(*control).width() << "x"
          << at(*control).height();
      EXPECT_GT(control->width(), 0);
      EXPECT_GT(control->height(), 0);
    }
    for (const QAbstractButton* button : form.findChildren<QAbstractButton*>()) {
      if (button->text().isEmpty() || !button->isVisible()) continue;
      SCOPED_TRACE(button->text().toStdString());
      EXPECT_GE(button->width(), button->fontMetrics().horizontalAdvance(button->text()));
    }
    for (const QLabel* label :
         std::initializer_list<const QLabel*>{&form.StaticText1, &form.Label3, &form.Label2}) {
      SCOPED_TRACE(label->text().toStdString());
      EXPECT_GE(label->width(), label->fontMetrics().horizontalAdvance(label->text()));
    }
    // The chart keeps room to be read: four round values or more on every
    // axis that labels its ticks.
    EXPECT_GE(form.Chart.width(), 200);
    EXPECT_GE(form.Chart.height(), 150);
    EXPECT_GE(form.VsChart.height(), 150);
    const std::pair<const QChart*, Qt::Alignment> axes[] = {{form.chart, Qt::AlignLeft},
                                                            {form.chart, Qt::AlignBottom},
                                                            {form.VsChart.chart, Qt::AlignLeft},
                                                            {form.VsChart.chart, Qt::AlignTop},
                                                            {form.Residuals.chart, Qt::AlignLeft}};
    QCoreApplication::processEvents();  // the charts lay their axes out on posted events
    for (const auto& [chart, side] : axes) {
      if (!chart->isVisible() || !chart->scene()->views().front()->isVisible()) continue;
      SCOPED_TRACE(testing::Message() << chart->title().toStdString() << " side " << side);
      EXPECT_GE(shownTickLabels(*chart, side), 4);
    }
  }
};

TEST_F(WindowLayout, OpensAtTheDescribedSizeAndCanBeResized) {
  // The described 688 x 377 client area below the menu bar, with the
  // 320-pixel site column beside it.
  EXPECT_EQ(form.size(), QSize(688 + 320, 377 + form.MenuBar.height()));
  EXPECT_EQ(form.Client.geometry().top(), form.MenuBar.geometry().bottom() + 1);
  EXPECT_NE(form.minimumSize(), form.maximumSize());
  EXPECT_LT(form.minimumSizeHint().width(), 688 + 320);
  EXPECT_LT(form.minimumSizeHint().height(), 377);
}

TEST_F(WindowLayout, DescribedControlsKeepTheirOrderAndPlaces) {
  // The model group at the left, the chart right of it, both over the
  // divider; the Vs chart and the panel in a column of their own.
  EXPECT_LT(at(form.GroupBox1).right(), at(form.Chart).left());
  EXPECT_LT(at(form.Chart).right(), at(form.VsChart).left());
  EXPECT_LT(at(form.VsChart).bottom(), at(form.ResultsPanel).top());
  EXPECT_NEAR(at(form.GroupBox1).top(), at(form.Chart).top(), 10);
  EXPECT_LT(at(form.Chart).bottom(), at(form.StatusLine).top() + 1);
  // In the group: the count with its box and arrows, the table, the notes.
  EXPECT_LT(at(form.StaticText1).right(), at(form.Edit1).left());
  EXPECT_LE(at(form.Edit1).right(), at(form.LUpDown).left());
  EXPECT_EQ(at(form.Edit1).top(), at(form.LUpDown).top());
  EXPECT_LT(at(form.Edit1).bottom(), at(form.Model).top());
  EXPECT_LT(at(form.Model).bottom(), at(form.Label3).top());
  EXPECT_LT(at(form.Label3).bottom(), at(form.Label2).top() + 2);
  // The exponent right after "g/cm" and higher than its baseline.
  EXPECT_NEAR(
      at(form.Label4).left(),
      at(form.Label3).left() + form.Label3.fontMetrics().horizontalAdvance(form.Label3.text()), 6);
  EXPECT_LE(at(form.Label4).top(), at(form.Label3).top());
  // The divider: its rule, the unit's name, the rule on; 取消 over the
  // invert button.
  EXPECT_LT(at(form.Bevel1).right(), at(form.Label1).left());
  EXPECT_LT(at(form.Label1).right(), at(form.Bevel2).left());
  EXPECT_LT(at(form.GroupBox1).bottom(), at(form.Label1).top());
  EXPECT_EQ(at(form.CancelButton).center().x(), at(form.Button2).center().x());
  EXPECT_LT(at(form.CancelButton).bottom(), at(form.Button2).top());
  // The five buttons in one row below, in the described order.
  const QPushButton* const row[] = {&form.Button4, &form.Button5, &form.Button1, &form.Button2,
                                    &form.Button3};
  for (int i = 0; i < 5; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(at(*row[i]).top(), at(form.Button4).top());
    EXPECT_GT(at(*row[i]).top(), at(form.Label1).bottom());
    EXPECT_GE(row[i]->width(), 105);
    if (i > 0) {
      EXPECT_LT(at(*row[i - 1]).right(), at(*row[i]).left());
    }
  }
  expectEverythingShown();
}

TEST_F(WindowLayout, TheChartsGrowWithTheWindowAndTheSplittersShareIt) {
  const QSize chart = form.Chart.size(), vsChart = form.VsChart.size();
  const int group = form.GroupBox1.width();
  resizeTo({1400, 1000});
  EXPECT_GT(form.Chart.width(), chart.width() + 150);
  EXPECT_GT(form.Chart.height(), chart.height() + 300);
  EXPECT_GT(form.VsChart.width(), vsChart.width() + 50);
  EXPECT_GT(form.VsChart.height(), vsChart.height() + 300);
  EXPECT_EQ(form.GroupBox1.width(), group);  // the form keeps its width
  // The splitter between the form and the chart gives the table more room.
  form.FormSplitter.setSizes({group + 100, form.FormSplitter.sizes()[1] - 100});
  QCoreApplication::processEvents();
  EXPECT_EQ(form.GroupBox1.width(), group + 100);
  expectEverythingShown();
}

TEST_F(WindowLayout, TheTableShowsEveryValueInFull) {
  typeModel({{"12.345678901234", "1234.56789", "1.8"}, {"0", "800", "2.2"}});
  form.Model.setCell(3, 1, QStringLiteral("1.79999995231628"));
  form.FormSplitter.setSizes({600, form.FormSplitter.sizes()[1]});
  QCoreApplication::processEvents();
  const QFontMetrics metrics(form.Model.font());
  for (int r = 1; r < form.Model.gridRowCount(); ++r) {
    for (int c = 0; c < 4; ++c) {
      SCOPED_TRACE(form.Model.cell(c, r).toStdString());
      EXPECT_GE(form.Model.columnWidth(c), metrics.horizontalAdvance(form.Model.cell(c, r)));
    }
  }
  // At the described size the default model's density fits as it is.
  typeModel({{"2", "150", "1.79999995231628"}});
  resizeTo({688 + 320, 377 + form.MenuBar.height()});
  int tableWidth = 0;
  for (int c = 0; c < 4; ++c) tableWidth += form.Model.columnWidth(c);
  EXPECT_LE(tableWidth, form.Model.viewport()->width());
}

// A 1366 x 768 screen at 100, 125 and 150 %: the window is placed inside
// the room the screen leaves, and everything shows, in both languages.
TEST_F(WindowLayout, FitsALaptopScreenAtEveryScalingInBothLanguages) {
  for (const bool withCurve : {false, true}) {
    if (withCurve) {
      // The residual chart under the dispersion chart takes room too.
      const QString path = workDir.filePath("site.csv");
      QFile file(path);
      ASSERT_TRUE(file.open(QIODevice::WriteOnly));
      file.write("f, c, sigma\n10, 200, 5\n20, 180, 5\n30, 150, 5\n40, 120, 5\n");
      file.close();
      ASSERT_TRUE(form.openMeasuredCurve(path));
      ASSERT_FALSE(form.Residuals.isHidden());
      // A computed and a fitted curve too: four legend entries, which take
      // two lines under a chart as narrow as at 150 %.
      engine.curve = {210.0f, 185.0f, 150.0f, 125.0f};
      form.Button1.click();
      form.Button2.click();
      ASSERT_TRUE(form.FittedSeries->isVisible());
      ASSERT_EQ(form.DispersionLegend->entries().size(), 4u);
    }
    for (const WindowLanguage language : {WindowLanguage::Chinese, WindowLanguage::English}) {
      chooseLanguage(language);
      for (const double scale : {1.0, 1.25, 1.5}) {
        SCOPED_TRACE(testing::Message() << languageCode(language) << " at " << scale * 100 << " %");
        resizeTo({688 + 320, 377 + form.MenuBar.height()});
        const QRect room = screenRoom(scale);
        placeOnScreen(form, room);
        QCoreApplication::processEvents();
        EXPECT_TRUE(room.contains(QRect(form.pos(), form.size() + kFrameAllowance)))
            << form.width() << "x" << form.height() << " in " << room.width() << "x"
            << room.height();
        expectEverythingShown();
        if (withCurve) {
          EXPECT_TRUE(room.contains(
              QRect(at(form.Residuals).topLeft() + form.pos(), form.Residuals.size())));
          EXPECT_GE(form.Residuals.height(), 125);
        }
      }
    }
  }
}

// The shot-records window opens within the screen's free room as far as
// its layouts allow (the test screen's 800 x 600 is smaller than its
// 1280 x 640), and they need no more than a 1366 x 768 screen leaves at
// 150 %, in both languages.
TEST_F(WindowLayout, TheShotRecordsWindowOpensOnTheScreen) {
  for (const WindowLanguage language : {WindowLanguage::Chinese, WindowLanguage::English}) {
    SCOPED_TRACE(languageCode(language));
    chooseLanguage(language);
    form.OpenRecordsAction->trigger();
    ShotRecordsWindow& records = form.shotRecordsWindow();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&records));
    const QRect room = records.screen()->availableGeometry();
    // As high as the room lets it be (its 640 pixels do not fit), as wide as
    // the room or its layouts' least width, the wider, from the room's left.
    EXPECT_LE(records.height() + kFrameAllowance.height(), room.height());
    EXPECT_GE(records.y(), room.top());
    EXPECT_LE(records.width(),
              std::max(room.width() - kFrameAllowance.width(), records.minimumSizeHint().width()));
    EXPECT_GE(records.x(), room.left());
    const QRect laptop = screenRoom(1.5);
    EXPECT_LE(records.minimumSizeHint().width() + kFrameAllowance.width(), laptop.width());
    EXPECT_LE(records.minimumSizeHint().height() + kFrameAllowance.height(), laptop.height());
    records.close();
  }
}

TEST(ScreenPlacement, TheSizeFitsTheRoomAndNeverFallsBelowTheMinimum) {
  const QSize minimum(700, 330);
  const struct {
    const char* name;
    QSize wanted;
    QRect room;
    QSize placed;
  } cases[] = {
      {"room enough", {1008, 397}, {0, 0, 1366, 728}, {1008, 397}},
      {"narrow: 910 less the frame", {1008, 397}, {0, 0, 910, 472}, {894, 397}},
      {"low: 472 less the frame", {1008, 500}, {0, 0, 1366, 472}, {1008, 432}},
      {"smaller than the minimum", {1008, 397}, {0, 0, 600, 300}, {700, 330}},
  };
  for (const auto& row : cases) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(sizeOnScreen(row.wanted, minimum, row.room), row.placed);
  }
}

// The search dialog, larger than a laptop's screen at 150 % when laid out
// whole, keeps within the screen's free room with its buttons in view; the
// form scrolls up and down, the table sideways.
TEST(SearchDialogLayout, StaysOnTheScreenWithItsButtonsInBothLanguages) {
  WindowTranslations languages;
  for (const WindowLanguage language : {WindowLanguage::Chinese, WindowLanguage::English}) {
    SCOPED_TRACE(languageCode(language));
    ASSERT_TRUE(languages.setLanguage(language));
    ScriptedFileChooser files;
    RecordingPresenter messages;
    GlobalSearchDialog dialog(SearchRequest{}, files, messages);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    const QRect room = dialog.screen()->availableGeometry();
    EXPECT_LE(dialog.width() + kFrameAllowance.width(), room.width());
    EXPECT_LE(dialog.height() + kFrameAllowance.height(), room.height());
    EXPECT_TRUE(dialog.rect().contains(inWindow(dialog.Buttons, dialog)));
    for (const QAbstractButton* button : dialog.Buttons.buttons()) {
      EXPECT_GE(button->width(), button->fontMetrics().horizontalAdvance(button->text()));
    }
    // The test screen (800 pixels wide) is too narrow for the whole table
    // beside the rules: the table gives up width, keeping a few columns, and
    // scrolls sideways over all of them.
    QTest::qWait(20);  // a table sets its scroll bars' ranges on a timer
    int columns = 0;
    for (int c = 0; c < kRangeColumns; ++c) columns += dialog.LayerTable.columnWidth(c);
    EXPECT_LT(dialog.LayerTable.viewport()->width(), columns);
    EXPECT_GE(dialog.LayerTable.width(), 240);
    const QScrollBar* sideways = dialog.LayerTable.horizontalScrollBar();
    EXPECT_TRUE(sideways->isVisible());
    EXPECT_GT(sideways->maximum(), 0);  // counted in columns
  }
}

TEST(AboutLayout, EveryTextFitsInBothLanguages) {
  WindowTranslations languages;
  for (const WindowLanguage language : {WindowLanguage::Chinese, WindowLanguage::English}) {
    SCOPED_TRACE(languageCode(language));
    ASSERT_TRUE(languages.setLanguage(language));
    QCoreApplication::processEvents();
    struct NoLinks : LinkOpener {
      void open(const QUrl&) override {}
    } links;
    TAbout about(links);
    about.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&about));
    for (const QLabel* label : about.findChildren<QLabel*>()) {
      if (label->text().isEmpty() || label->wordWrap()) continue;
      SCOPED_TRACE(label->text().toStdString());
      EXPECT_GE(label->width(), label->fontMetrics().horizontalAdvance(label->text()));
      EXPECT_TRUE(about.rect().contains(inWindow(*label, about)));
    }
    EXPECT_TRUE(about.rect().contains(inWindow(about.BitBtn1, about)));
  }
}

}  // namespace

}  // namespace dispfit
