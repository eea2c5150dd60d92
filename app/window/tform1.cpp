// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's layout, its start-up state and the table rebuild of the
// layer-count spinner.
#include "window/tform1.h"

#include <QActionGroup>
#include <QBoxLayout>
#include <QCategoryAxis>
#include <QEvent>
#include <QFont>
#include <QGraphicsLayout>
#include <QGridLayout>
#include <QHeaderView>
#include <QMenu>
#include <QPen>
#include <QScreen>
#include <algorithm>
#include <cmath>
#include <exception>
#include <initializer_list>
#include <memory>

#include "core/curve_points.h"
#include "core/number_text.h"
#include "core/program_title.h"
#include "site/curve_residuals.h"
#include "window/screen_placement.h"
#include "window/window_style.h"

namespace dispfit {

namespace {

// The described geometry, in pixels: where the model group, the chart and the
// site column start and how wide they are at the described size, the
// margins around them, the buttons' width and gaps.
constexpr int kGroupWidth = 241;
constexpr int kChartWidth = 400;
constexpr int kFormLeftMargin = 24;
constexpr int kTopMargin = 32;
constexpr int kChartTopOffset = 6;  // the chart's top, below the group box's
constexpr int kRightMargin = 8;
constexpr int kBottomMargin = 16;
constexpr int kSplitterHandle = 7;
// The residual chart under the dispersion chart: half its height, and room
// for five labels of 11-pixel text on its residual axis; the chart above
// keeps room for its title, a line of legend, its axis title and four
// labels of its velocity axis, and both fit a 1366 x 768 screen at 150 %.
// Lower than its title, its axes and a plot of 65 pixels (four labels 15
// pixels high and apart over a range of up to five intervals) above the
// legend's lines, the chart takes its legend in a column right of the plot,
// where that leaves a plot of 150 pixels' width.
constexpr int kChartStretch = 2;
constexpr int kResidualStretch = 1;
constexpr int kResidualLeastHeight = 125;
constexpr int kChartLeastHeight = 165;
constexpr double kLeastHeightAboveLegend = 135.0;
constexpr double kLeastPlotWidthBesideLegend = 150.0;
constexpr int kChartLeftMargin = 4;  // the residual chart's too
constexpr int kChartRightMargin = 8;
constexpr int kButtonWidth = 105;
constexpr int kButtonGap = 15;
constexpr int kButtonRowGap = 6;
constexpr int kDividerLead = 105;  // the rule left of the unit's name
constexpr int kDividerGap = 7;
// Inside the model group: its margins, the indent of the layer count, the
// spinner's box and arrows, the table's rows and narrowest column (room for
// a two-digit layer number; with the described 48 the default model's
// 15-digit density would not fit the described table's width).
constexpr int kGroupInset = 16;
constexpr int kCountIndent = 16;
constexpr int kSpinnerBoxWidth = 49;
constexpr int kSpinnerWidth = 15;
constexpr int kRowHeight = 24;
constexpr int kMinimumColumnWidth = 24;

QString cellText(float value) {
  return QString::fromStdString(formatGeneral(value));
}

}  // namespace

// Lays out a window not shown yet, each widget before those inside it, so
// that its controls have their sizes before the first show: an export or a
// picture of its charts may come first.
void TForm1::layOutNow(QWidget& widget) {
  if (QLayout* layout = widget.layout()) {
    layout->invalidate();  // activate() does nothing for a layout it has done before
    layout->activate();
  }
  // A splitter lays out its panes on its resize event, which a hidden one
  // has not had.
  if (auto* splitter = qobject_cast<QSplitter*>(&widget)) splitter->refresh();
  for (QWidget* child : widget.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    layOutNow(*child);
  }
}

TForm1::TForm1(MessagePresenter& messages, ForwardEngine& engine, PrinterSource& printers,
               FileChooser& files, QWidget* parent)
    : QWidget(parent), messages_(messages), engine_(engine), printers_(printers), files_(files) {
  buildLayout();
  setDefaults();
  connectEvents();
  buildCancelButton();
  buildExportCommand();
  FormCreate();
  retranslate();
}

template <typename Handler>
void TForm1::handle(Handler handler) {
  try {
    handler();
  } catch (const std::exception& error) {
    messages_.showError(error.what());
  } catch (...) {
    messages_.showError("");
  }
}

void TForm1::buildLayout() {
  setWindowTitle(QString::fromUtf8(kProgramTitle));
  setFont(windowFont(12));
  setAutoFillBackground(true);
  setBackgroundRole(QPalette::Button);
  buildMenus();
  buildChart();
  buildModelGroup();
  buildButtons();
  buildSiteColumn();

  for (QFrame* bevel : {&Bevel1, &Bevel2}) {
    bevel->setFrameShape(QFrame::HLine);
    bevel->setFrameShadow(QFrame::Sunken);
  }
  // Below the chart: what the last command has to say about the curve. It
  // takes no width of its own, so a long text never widens the window; the
  // tool tip shows it whole.
  StatusLine.setFont(windowFont(11));
  StatusLine.setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
  Label1.setText(QStringLiteral("Sondrix"));
  Label1.setAlignment(Qt::AlignCenter);
  Label1.setEnabled(false);
  Label1.setCursor(Qt::WhatsThisCursor);
  layOutWindow();

  // Tab order: chart, model group, then the buttons 1, 2, 3, 4, 5.
  Chart.setFocusPolicy(Qt::TabFocus);
  setTabOrder(&Chart, &Edit1);
  setTabOrder(&Edit1, &Model);
  setTabOrder(&Model, &Button1);
  setTabOrder(&Button1, &Button2);
  setTabOrder(&Button2, &Button3);
  setTabOrder(&Button3, &Button4);
  setTabOrder(&Button4, &Button5);
}

void TForm1::layOutWindow() {
  auto window = std::make_unique<QVBoxLayout>();
  window->setContentsMargins(0, 0, 0, 0);
  window->setSpacing(0);
  window->setMenuBar(&MenuBar);
  window->addWidget(&Client);
  setLayout(window.release());  // the window owns its layout, and each layout its nested ones

  auto client = std::make_unique<QVBoxLayout>();
  client->setContentsMargins(0, 0, 0, 0);
  client->addWidget(&SiteSplitter);
  Client.setLayout(client.release());
  for (QSplitter* splitter : {&SiteSplitter, &FormSplitter}) {
    splitter->setChildrenCollapsible(false);
    splitter->setHandleWidth(kSplitterHandle);
  }
  // More room goes to the charts: the model group keeps its width, the
  // dispersion chart grows twice as fast as the site column.
  SiteSplitter.addWidget(&MainArea);
  SiteSplitter.addWidget(&SiteColumn);
  SiteSplitter.setStretchFactor(0, 2);
  SiteSplitter.setStretchFactor(1, 1);
  FormSplitter.addWidget(&GroupBox1);
  FormSplitter.addWidget(&DispersionColumn);
  FormSplitter.setStretchFactor(0, 0);
  FormSplitter.setStretchFactor(1, 1);

  // The described area: the model group 24 pixels from the left and the
  // chart beside it, the status line under the chart, then the divider with
  // the unit's name and the row of five buttons.
  auto main = std::make_unique<QVBoxLayout>();
  main->setContentsMargins(0, kTopMargin, 0, kBottomMargin);
  main->setSpacing(0);
  auto panes = std::make_unique<QHBoxLayout>();
  panes->setContentsMargins(kFormLeftMargin, 0, 0, 0);
  panes->addWidget(&FormSplitter);
  main->addLayout(panes.release(), 1);
  main->addLayout(commandRows().release());
  MainArea.setLayout(main.release());

  auto dispersion = std::make_unique<QVBoxLayout>();
  dispersion->setContentsMargins(0, kChartTopOffset, 0, 0);
  dispersion->setSpacing(0);
  dispersion->addWidget(&Chart, kChartStretch);
  dispersion->addWidget(&Residuals, kResidualStretch);
  dispersion->addWidget(&StatusLine);
  DispersionColumn.setLayout(dispersion.release());

  auto site = std::make_unique<QVBoxLayout>();
  site->setContentsMargins(0, kTopMargin - 2, kRightMargin, 5);
  site->setSpacing(2);
  site->addWidget(&VsChart, 1);
  site->addWidget(&ResultsPanel);
  SiteColumn.setLayout(site.release());

  // The described size to start with; the splitters share it as described,
  // the group wider than described only where the table's texts need it.
  const int menuHeight = MenuBar.sizeHint().height();
  resize(kClientWidth + kSiteColumnWidth, kClientHeight + menuHeight);
  layOutNow(*this);
  const int group = std::max(kGroupWidth, GroupBox1.sizeHint().width());
  SiteSplitter.setSizes({kClientWidth, kSiteColumnWidth});
  FormSplitter.setSizes({group, kChartWidth + kGroupWidth - group});
  layOutNow(*this);
}

std::unique_ptr<QGridLayout> TForm1::commandRows() {
  // The buttons' columns, between two that take the spare width; the
  // divider spans them all, with 取消 over the invert button.
  auto rows = std::make_unique<QGridLayout>();
  rows->setContentsMargins(0, 0, 0, 0);
  rows->setHorizontalSpacing(kButtonGap);
  rows->setVerticalSpacing(kButtonRowGap);
  rows->setColumnStretch(0, 1);
  rows->setColumnStretch(6, 1);
  auto divider = std::make_unique<QHBoxLayout>();
  divider->setContentsMargins(0, 0, 0, 0);
  divider->setSpacing(kDividerGap);
  Bevel1.setFixedWidth(kDividerLead);
  divider->addWidget(&Bevel1);
  divider->addWidget(&Label1);
  divider->addWidget(&Bevel2, 1);
  rows->addLayout(divider.release(), 0, 0, 1, 7);
  QPushButton* const order[] = {&Button4, &Button5, &Button1, &Button2, &Button3};
  for (int c = 0; c < 5; ++c) rows->addWidget(order[c], 1, c + 1);
  rows->addWidget(&CancelButton, 0, 4);  // drawn over the divider: declared after it
  return rows;
}

void TForm1::buildChart() {
  Chart.setFrameShape(QFrame::NoFrame);
  Chart.setRenderHint(QPainter::Antialiasing);
  Chart.setBackgroundBrush(Qt::white);

  auto ownedChart = std::make_unique<QChart>();
  chart = ownedChart.get();
  chart->setTitleFont(windowFont(13));
  chart->legend()->hide();
  chart->setBackgroundBrush(Qt::white);
  chart->setBackgroundRoundness(0);
  chart->setBackgroundPen(Qt::NoPen);
  chart->setDropShadowEnabled(false);
  chart->setMargins(QMargins(kChartLeftMargin, 2, kChartRightMargin, 2));
  chart->layout()->setContentsMargins(0, 0, 0, 0);

  auto series = std::make_unique<QLineSeries>();
  Series1 = series.get();
  Series1->setPen(QPen(kCurveColour, 1.5));
  Series1->setPointsVisible(true);
  Series1->setMarkerSize(3);  // circles reaching 3 pixels each side of the point
  Series1->setPointLabelsVisible(false);
  chart->addSeries(series.release());

  auto bottom = std::make_unique<QValueAxis>();
  BottomAxis = bottom.get();
  BottomAxis->setReverse(true);
  BottomAxis->setLabelFormat(QStringLiteral("%g"));
  chart->addAxis(bottom.release(), Qt::AlignBottom);
  auto left = std::make_unique<QValueAxis>();
  LeftAxis = left.get();
  LeftAxis->setLabelFormat(QStringLiteral("%g"));
  chart->addAxis(left.release(), Qt::AlignLeft);
  for (QValueAxis* axis : {BottomAxis, LeftAxis}) {
    axis->setTitleFont(windowFont(12));
    axis->setLabelsFont(windowFont(11));
  }
  Series1->attachAxis(BottomAxis);
  Series1->attachAxis(LeftAxis);
  buildMeasuredSeries();

  // On the chart throughout, hidden until chosen (an axis taken off a chart
  // that has been drawn leaves its labels behind). Its values are the common
  // logarithms of the abscissa, its labels the round values at their places:
  // Qt's own logarithmic axis labels the powers of ten alone.
  auto logAxis = std::make_unique<QCategoryAxis>();
  LogBottomAxis = logAxis.get();
  chart->addAxis(logAxis.release(), Qt::AlignBottom);
  LogBottomAxis->setVisible(false);
  LogBottomAxis->setReverse(true);
  LogBottomAxis->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
  LogBottomAxis->setTitleFont(windowFont(12));
  LogBottomAxis->setLabelsFont(windowFont(11));
  DispersionLegend = std::make_unique<ChartLegend>(*chart);
  DispersionLegend->setFont(windowFont(11));
  DispersionLegend->allowBeside(kLeastHeightAboveLegend, kLeastPlotWidthBesideLegend);
  Chart.setChart(ownedChart.release());

  Residuals.setFonts(windowFont(11), windowFont(11));
  Residuals.setMinimumHeight(kResidualLeastHeight);
  Chart.setMinimumHeight(kChartLeastHeight);
  Residuals.setFocusPolicy(Qt::NoFocus);  // the described tab order stays as it is
  Residuals.setVisible(false);            // until a measured curve is loaded
  // Each residual under its point: the plots' edges kept in line, both
  // short of a legend beside the plot above.
  for (QChart* moved : {chart, Residuals.chart}) {
    connect(moved, &QChart::plotAreaChanged, this, [this] {
      const int legend = static_cast<int>(std::ceil(DispersionLegend->besideWidth()));
      alignPlots(*chart, *Residuals.chart, kChartLeftMargin, kChartRightMargin + legend);
    });
  }
}

void TForm1::makeRoomForResiduals() {
  // The window grows by the residual chart's height, as far as the screen's
  // free room allows (a window not shown yet is placed on the screen when it
  // is); one the user made larger, or maximised, stays.
  if (isMaximized() || isFullScreen()) return;
  const int wanted = kClientHeight + MenuBar.sizeHint().height() + kResidualLeastHeight;
  if (height() >= wanted) return;
  const QScreen* shownOn = screen();
  const QRect room = shownOn != nullptr ? shownOn->availableGeometry() : QRect(QPoint(), size());
  resize(sizeOnScreen({width(), wanted}, minimumSizeHint(), room));
  const QRect frame = frameGeometry();
  if (frame.bottom() > room.bottom())
    move(x(), std::max(room.top(), y() - (frame.bottom() - room.bottom())));
}

void TForm1::drawResiduals() {
  if (Residuals.isHidden() == measured_.has_value()) {
    Residuals.setVisible(measured_.has_value());
    if (measured_) makeRoomForResiduals();
  }
  if (!measured_) return;
  const std::vector<MeasuredPoint>& points = measured_->inverted;
  const ResidualScale scale = residualScale(points);
  std::vector<ResidualChart::Line> lines;
  const auto add = [&](const std::vector<double>& computed, const QPen& pen) {
    ResidualChart::Line line{pen, {}};
    for (const Residual& r : curveResiduals(points, computed, scale)) {
      line.points.append(QPointF(abscissa(r.frequency, r.wavelength * r.frequency), r.value));
    }
    if (!line.points.isEmpty()) lines.push_back(std::move(line));
  };
  // The table's model as computed at the measured frequencies, the local
  // fit, the search's best model: as each is drawn above.
  if (freqCount == static_cast<int32_t>(points.size())) {
    add(velocitiesOf(computedCurve(std::span<const float>(vr, freqCount))), Series1->pen());
  }
  if (fitted_ && fittedVelocities_.size() == points.size()) {
    add(velocitiesOf(fittedVelocities_), FittedSeries->pen());
  }
  if (searchSummary_ && searchSummary_->bestCurve.size() == points.size()) {
    add(searchSummary_->bestCurve, BestCurveSeries->pen());
  }
  // The posterior's samples' median curve, one row per fitted point.
  if (posteriorSummary_ && posteriorSummary_->predictive.size() == points.size()) {
    std::vector<double> median;
    for (const PredictiveRow& row : posteriorSummary_->predictive) median.push_back(row.p50);
    add(median, PredictiveMedianSeries->pen());
  }
  Residuals.matchAbscissa(*BottomAxis, *LogBottomAxis, logarithmicAxis_);
  Residuals.showResiduals(scale, lines);
}

void TForm1::updateDispersionLegend() {
  std::vector<LegendEntry> entries;
  if (measured_) {
    const auto shown = [](const QXYSeries* series) {
      return series->isVisible() && series->count() > 0;
    };
    if (shown(Series1)) entries.push_back({tr("计算曲线"), LegendMark::Line, Series1->pen(), {}});
    if (shown(MeasuredSeries)) {
      entries.push_back(
          {tr("实测点"), LegendMark::Point, QPen(kMeasuredColour), QBrush(kMeasuredColour)});
    }
    if (BandSeries->isVisible()) {
      entries.push_back({tr("误差带"), LegendMark::Area, BandSeries->pen(), BandSeries->brush()});
    }
    if (shown(FittedSeries)) {
      entries.push_back({tr("拟合曲线"), LegendMark::Line, FittedSeries->pen(), {}});
    }
    if (EnvelopeSeries->isVisible()) {
      entries.push_back({tr("接受模型曲线范围"), LegendMark::Area, EnvelopeSeries->pen(),
                         EnvelopeSeries->brush()});
    }
    if (shown(BestCurveSeries)) {
      entries.push_back({tr("最佳模型曲线"), LegendMark::Line, BestCurveSeries->pen(), {}});
    }
    if (PredictiveSeries->isVisible()) {
      entries.push_back({tr("样本曲线 10%–90%"), LegendMark::Area, PredictiveSeries->pen(),
                         PredictiveSeries->brush()});
    }
    if (shown(PredictiveMedianSeries)) {
      entries.push_back({tr("样本曲线中值"), LegendMark::Line, PredictiveMedianSeries->pen(), {}});
    }
  }
  DispersionLegend->setEntries(std::move(entries));
}

void TForm1::buildMeasuredSeries() {
  buildSearchSeries();  // the search's band under the measured band and points
  // The band first, so that the points and curves are drawn over it.
  auto upper = std::make_unique<QLineSeries>();
  auto lower = std::make_unique<QLineSeries>();
  auto band = std::make_unique<QAreaSeries>(upper.release(), lower.release());
  BandSeries = band.get();
  BandSeries->setBrush(kBandColour);
  BandSeries->setPen(Qt::NoPen);
  auto measured = std::make_unique<QScatterSeries>();
  MeasuredSeries = measured.get();
  MeasuredSeries->setMarkerShape(QScatterSeries::MarkerShapeCircle);
  MeasuredSeries->setMarkerSize(5);
  MeasuredSeries->setColor(kMeasuredColour);
  MeasuredSeries->setBorderColor(kMeasuredColour);
  auto fittedCurve = std::make_unique<QLineSeries>();
  FittedSeries = fittedCurve.get();
  FittedSeries->setPen(QPen(kFittedColour, 1.5));
  for (QAbstractSeries* series : std::initializer_list<QAbstractSeries*>{
           band.release(), measured.release(), fittedCurve.release()}) {
    chart->addSeries(series);
    series->attachAxis(BottomAxis);
    series->attachAxis(LeftAxis);
    series->setVisible(false);  // until a measured curve is loaded
  }
}

double TForm1::abscissa(double frequency, double velocity) const {
  const double x = wavelengthAxis_ ? velocity / frequency : frequency;
  return logarithmicAxis_ ? std::log10(x) : x;
}

void TForm1::setAbscissaRange(double lowest, double highest) {
  setRangeWithTicks(*BottomAxis, lowest, highest);
  if (logarithmicAxis_) setLogarithmicRange(*LogBottomAxis, lowest, highest);
}

void TForm1::spanAbscissaAxis() {
  double lowest = 0.0, highest = 0.0;
  bool any = false;
  for (const QXYSeries* series :
       {static_cast<QXYSeries*>(Series1), static_cast<QXYSeries*>(MeasuredSeries),
        static_cast<QXYSeries*>(FittedSeries)}) {
    if (series != Series1 && !series->isVisible()) continue;
    for (const QPointF& point : series->points()) {
      lowest = any ? std::min(lowest, point.x()) : point.x();
      highest = any ? std::max(highest, point.x()) : point.x();
      any = true;
    }
  }
  // The points lie at abscissa(): back to metres or hertz on a log axis.
  if (!any) return;
  if (logarithmicAxis_) {
    lowest = std::pow(10.0, lowest);
    highest = std::pow(10.0, highest);
  }
  setAbscissaRange(lowest, highest);
}

void TForm1::showWavelengthAxis(bool wavelength) {
  wavelengthAxis_ = wavelength;
  retranslateCharts();
  // Short wavelengths, like high frequencies, belong to the shallow ground:
  // they stay on the left either way.
  BottomAxis->setReverse(!wavelength);
  LogBottomAxis->setReverse(!wavelength);
  redrawOverAbscissa();
}

void TForm1::redrawOverAbscissa() {
  drawSeries();
  if (measured_) {
    drawFittedCurve();
    drawSearchCurves();
    drawPosteriorCurves();
    drawMeasuredCurve();  // fits both axes over every curve
  }
}

void TForm1::showLogFrequencyAxis(bool logarithmic) {
  if (logarithmic == logarithmicAxis_) return;
  QAbstractAxis* shown = logarithmic ? static_cast<QAbstractAxis*>(LogBottomAxis) : BottomAxis;
  QAbstractAxis* hidden = logarithmic ? static_cast<QAbstractAxis*>(BottomAxis) : LogBottomAxis;
  for (QAbstractSeries* series : chart->series()) {
    series->detachAxis(hidden);
    series->attachAxis(shown);
  }
  hidden->setVisible(false);
  shown->setVisible(true);
  logarithmicAxis_ = logarithmic;
  redrawOverAbscissa();  // every point moves to its new place
}

void TForm1::buildMenus() {
  // The texts come with retranslate().
  FileMenu = MenuBar.addMenu(QString());
  OpenCurveAction = FileMenu->addAction(QString());
  OpenCurveAction->setShortcut(QKeySequence::Open);
  OpenRecordsAction = FileMenu->addAction(QString());
  OpenRecordsAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));
  OpenModelAction = FileMenu->addAction(QString());
  SaveModelAction = FileMenu->addAction(QString());
  SaveModelAction->setShortcut(QKeySequence::Save);
  FileMenu->addSeparator();
  QuitAction = FileMenu->addAction(QString());
  ViewMenu = MenuBar.addMenu(QString());
  LogFrequencyAction = ViewMenu->addAction(QString());
  LogFrequencyAction->setCheckable(true);
  WavelengthAction = ViewMenu->addAction(QString());
  WavelengthAction->setCheckable(true);
  buildModeActions();
  InversionMenu = MenuBar.addMenu(QString());
  SuggestModelAction = InversionMenu->addAction(QString());
  SuggestModelAction->setEnabled(false);
  SettingsAction = InversionMenu->addAction(QString());
  ApplyFittedAction = InversionMenu->addAction(QString());
  ApplyFittedAction->setEnabled(false);
  buildSearchActions(*InversionMenu);
  buildLanguageMenu();
  for (QAction* action : {OpenCurveAction, OpenRecordsAction, OpenModelAction, SaveModelAction,
                          QuitAction, ApplyFittedAction}) {
    action->setShortcutContext(Qt::WindowShortcut);
    addAction(action);  // shortcuts work wherever the focus is in the window
  }
}

void TForm1::buildModelGroup() {
  LUpDown.setPosition(1);
  Edit1.setFixedWidth(kSpinnerBoxWidth);
  LUpDown.setFixedWidth(kSpinnerWidth);

  // Every column as wide as its widest text, so that each value shows in
  // full (the described 15 significant digits of a density included); a
  // table wider than the group scrolls.
  Model.horizontalHeader()->setFixedHeight(kRowHeight);
  Model.verticalHeader()->setDefaultSectionSize(kRowHeight);
  Model.horizontalHeader()->setMinimumSectionSize(kMinimumColumnWidth);
  Model.horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
  Model.setTextElideMode(Qt::ElideNone);
  Model.setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContents);

  Label3.setCursor(Qt::WhatsThisCursor);
  Label3.setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);  // the exponent right after it
  Label4.setText(QStringLiteral("3"));
  Label4.setFont(windowFont(9));
  Label4.setAlignment(Qt::AlignLeft | Qt::AlignTop);
  Label2.setCursor(Qt::WhatsThisCursor);

  // The layer count over the table, the two unit notes under it.
  auto group = std::make_unique<QVBoxLayout>();
  group->setContentsMargins(kGroupInset, kGroupInset, kGroupInset, kGroupInset / 2);
  auto count = std::make_unique<QHBoxLayout>();
  count->setSpacing(4);
  count->addSpacing(kCountIndent);
  count->addWidget(&StaticText1);
  count->addWidget(&Edit1);
  count->addSpacing(-4);  // the arrows against the box they belong to
  count->addWidget(&LUpDown);
  count->addStretch(1);
  group->addLayout(count.release());
  group->addWidget(&Model, 1);
  group->addSpacing(kGroupInset / 2);
  auto densityUnit = std::make_unique<QHBoxLayout>();
  densityUnit->setSpacing(1);
  densityUnit->addWidget(&Label3);
  densityUnit->addWidget(&Label4);
  densityUnit->addStretch(1);
  group->addLayout(densityUnit.release());
  group->addWidget(&Label2);
  GroupBox1.setLayout(group.release());
}

void TForm1::buildButtons() {
  for (QPushButton* button : {&Button4, &Button5, &Button1, &Button2, &Button3}) {
    button->setMinimumWidth(kButtonWidth);
  }
}

void TForm1::buildLanguageMenu() {
  // Named in both languages in both, so that a reader of either finds it;
  // each language is named in itself.
  LanguageMenu = MenuBar.addMenu(QStringLiteral("语言 / &Language"));
  ChineseAction = LanguageMenu->addAction(QStringLiteral("中文"));
  EnglishAction = LanguageMenu->addAction(QStringLiteral("English"));
  auto group = std::make_unique<QActionGroup>(LanguageMenu);
  for (QAction* action : {ChineseAction, EnglishAction}) {
    action->setCheckable(true);
    group->addAction(action);
  }
  group.release();  // owned by the menu
  ChineseAction->setChecked(true);
  LanguageMenu->setEnabled(false);  // until languages are attached
}

void TForm1::attachLanguages(WindowTranslations& languages) {
  languages_ = &languages;
  LanguageMenu->setEnabled(true);
  (languages.language() == WindowLanguage::English ? EnglishAction : ChineseAction)
      ->setChecked(true);
}

void TForm1::LanguageClick(WindowLanguage language) {
  if (languages_ == nullptr) return;
  if (!languages_->setLanguage(language)) {
    messages_.showBox(tr("无法载入英文界面。").toStdString(), kMessageCaption,
                      MessageIcon::Warning);
  }
  (languages_->language() == WindowLanguage::English ? EnglishAction : ChineseAction)
      ->setChecked(true);
  if (languages_->language() == language) Q_EMIT languageChosen(language);
}

void TForm1::changeEvent(QEvent* event) {
  if (event->type() == QEvent::LanguageChange) retranslate();
  QWidget::changeEvent(event);
}

void TForm1::retranslate() {
  retranslateMenus();
  retranslateCharts();
  GroupBox1.setTitle(tr("速度模型"));
  StaticText1.setText(tr("层数"));
  Label3.setText(tr("密度单位g/cm"));
  Label2.setText(tr("速度单位m/s，厚度单位m"));
  Button4.setText(tr("复制计算结果"));
  Button5.setText(tr("打印频散曲线"));
  Button1.setText(tr("计算频散曲线"));
  Button2.setText(tr("反演频散曲线"));
  Button3.setText(tr("退出计算"));
  CancelButton.setText(tr("取消"));
  CancelButton.setToolTip(tr("停止反演 (Esc)"));
  markHalfSpace();
  // The panel and the Vs chart set their own texts anew.
  if (status_) showStatus(status_);
}

void TForm1::retranslateMenus() {
  FileMenu->setTitle(tr("文件(&F)"));
  OpenCurveAction->setText(tr("打开实测曲线..."));
  OpenRecordsAction->setText(tr("打开地震记录..."));
  OpenModelAction->setText(tr("打开模型..."));
  SaveModelAction->setText(tr("保存模型..."));
  ExportAction->setText(tr("导出结果..."));
  ExportWidthAction->setText(tr("导出图片宽度..."));
  QuitAction->setText(tr("退出"));
  ViewMenu->setTitle(tr("视图(&V)"));
  LogFrequencyAction->setText(tr("对数频率轴"));
  WavelengthAction->setText(tr("波长轴"));
  retranslateModeActions();
  InversionMenu->setTitle(tr("反演(&I)"));
  SuggestModelAction->setText(tr("建议初始模型..."));
  SettingsAction->setText(tr("反演设置..."));
  ApplyFittedAction->setText(tr("应用拟合模型"));
  GlobalSearchAction->setText(tr("全局搜索..."));
  ApplyBestAction->setText(tr("应用最佳模型"));
}

void TForm1::retranslateCharts() {
  chart->setTitle(tr("频散曲线"));
  const QString abscissa = wavelengthAxis_ ? tr("λ/m") : tr("f/Hz");
  BottomAxis->setTitleText(abscissa);
  LogBottomAxis->setTitleText(abscissa);
  LeftAxis->setTitleText(tr("VR (m/s)"));
  updateDispersionLegend();
}

void TForm1::connectEvents() {
  connect(&LUpDown, &UpDown::stepped, this, [this](bool up) { handle([&] { LUpDownClick(up); }); });
  connect(&Button1, &QPushButton::clicked, this, [this] { handle([this] { Button1Click(); }); });
  connect(&Button2, &QPushButton::clicked, this, [this] { handle([this] { Button2Click(); }); });
  connect(&Button3, &QPushButton::clicked, this, [this] { handle([this] { Button3Click(); }); });
  connect(&Button4, &QPushButton::clicked, this, [this] { handle([this] { Button4Click(); }); });
  connect(&Button5, &QPushButton::clicked, this, [this] { handle([this] { Button5Click(); }); });
  connect(&Model, &StringGrid::pasteRequested, this,
          [this](const QString& text) { handle([&] { pasteIntoTable(text); }); });
  connect(OpenCurveAction, &QAction::triggered, this,
          [this] { handle([this] { OpenCurveClick(); }); });
  connect(OpenRecordsAction, &QAction::triggered, this,
          [this] { handle([this] { OpenRecordsClick(); }); });
  connect(OpenModelAction, &QAction::triggered, this,
          [this] { handle([this] { OpenModelClick(); }); });
  connect(SaveModelAction, &QAction::triggered, this,
          [this] { handle([this] { SaveModelClick(); }); });
  connect(QuitAction, &QAction::triggered, this, [this] { handle([this] { Button3Click(); }); });
  connect(LogFrequencyAction, &QAction::toggled, this,
          [this](bool on) { handle([&] { showLogFrequencyAxis(on); }); });
  connect(WavelengthAction, &QAction::toggled, this,
          [this](bool on) { handle([&] { showWavelengthAxis(on); }); });
  for (QAction* action : ModeCountActions) {
    connect(action, &QAction::triggered, this, [this, action] {
      handle([&] { showModes({action->data().toInt(), modeDisplay_.love}); });
    });
  }
  connect(LoveAction, &QAction::toggled, this, [this](bool on) {
    handle([&] { showModes({modeDisplay_.modes, on}); });
  });
  connect(SettingsAction, &QAction::triggered, this,
          [this] { handle([this] { InversionSettingsClick(); }); });
  connect(ApplyFittedAction, &QAction::triggered, this,
          [this] { handle([this] { ApplyFittedClick(); }); });
  connect(SuggestModelAction, &QAction::triggered, this,
          [this] { handle([this] { SuggestModelClick(); }); });
  connect(GlobalSearchAction, &QAction::triggered, this,
          [this] { handle([this] { GlobalSearchClick(); }); });
  connect(ApplyBestAction, &QAction::triggered, this,
          [this] { handle([this] { ApplyBestClick(); }); });
  connect(ChineseAction, &QAction::triggered, this,
          [this] { handle([this] { LanguageClick(WindowLanguage::Chinese); }); });
  connect(EnglishAction, &QAction::triggered, this,
          [this] { handle([this] { LanguageClick(WindowLanguage::English); }); });
  connect(&Label3, &ClickableLabel::clicked, this, [this] { handle([this] { Label3Click(); }); });
  connect(&Label2, &ClickableLabel::clicked, this, [this] { handle([this] { Label3Click(); }); });
}

void TForm1::setDefaults() {
  layerCount = 1;
  vs[0] = 150.0f;
  thickness[0] = 2.0f;
  density[0] = 1.8f;
  freqCount = 30;
  freq[0] = 150.0f;
  vr[0] = static_cast<float>(0.91 * vs[0]);
  for (int i = 1; i < freqCount; ++i) {
    freq[i] = freq[0] - 5.0f * static_cast<float>(i);
    vr[i] = static_cast<float>(0.91 * vs[0]);
  }
  setRangeWithTicks(*LeftAxis, 0.0, 200.0);
}

void TForm1::FormCreate() {
  Model.setGridRowCount(2);
  const QString headers[] = {QStringLiteral("#"), QStringLiteral("H"), QStringLiteral("Vs"),
                             QStringLiteral("Rho")};
  for (int c = 0; c < 4; ++c) Model.setCell(c, 0, headers[c]);
  Model.setCell(0, 1, QStringLiteral("1"));
  Model.setCell(1, 1, cellText(thickness[0]));
  Model.setCell(2, 1, cellText(vs[0]));
  Model.setCell(3, 1, cellText(density[0]));
  markHalfSpace();

  drawSeries();
}

void TForm1::setVelocityRange(double minimum, double maximum) {
  setRangeWithTicks(*LeftAxis, minimum, maximum);
}

void TForm1::drawSeries() {
  const DrawableCurve drawable = drawableFundamental();
  const std::vector<CurvePoint> points =
      curvePoints(drawable.freq.data(), drawable.vr.data(), drawable.count());
  QList<QPointF> chartPoints;
  chartPoints.reserve(static_cast<qsizetype>(points.size()));
  for (const CurvePoint& p : points) {
    chartPoints.append(QPointF(abscissa(p.frequency, p.velocity), p.velocity));
  }
  Series1->replace(chartPoints);
  drawComputedModes();
  drawModeLines();
  updateDispersionLegend();
  if (wavelengthAxis_) {
    spanAbscissaAxis();
    return;
  }
  const FrequencySpan span = frequencySpan(points);
  setAbscissaRange(span.lowest, span.highest);
}

std::vector<LayerTexts> TForm1::tableRows() const {
  std::vector<LayerTexts> rows;
  for (int r = 1; r < Model.gridRowCount(); ++r) {
    rows.push_back({Model.cell(1, r).toStdString(), Model.cell(2, r).toStdString(),
                    Model.cell(3, r).toStdString()});
  }
  return rows;
}

void TForm1::setTableRows(const std::vector<LayerTexts>& rows) {
  Model.setGridRowCount(static_cast<int>(rows.size()) + 1);
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const int r = static_cast<int>(i) + 1;
    Model.setCell(0, r, QString::number(r));
    Model.setCell(1, r, QString::fromStdString(rows[i].thickness));
    Model.setCell(2, r, QString::fromStdString(rows[i].vs));
    Model.setCell(3, r, QString::fromStdString(rows[i].density));
  }
  markHalfSpace();
}

void TForm1::pasteIntoTable(const QString& text) {
  const int row = std::max(Model.currentRow() + 1, 1);
  const int column = std::max(Model.currentColumn(), 1);
  const std::vector<LayerTexts> rows = pasteTextBlock(
      tableRows(), row, column, splitTextBlock(text.toStdString()), kWindowLayerLimit);
  setTableRows(rows);
  LUpDown.setPosition(static_cast<int>(rows.size()));
}

void TForm1::markHalfSpace() {
  const int last = Model.gridRowCount() - 1;
  for (int r = 1; r <= last; ++r) {
    const bool halfSpace = r == last;
    Model.cellItem(0, r)->setToolTip(halfSpace ? tr("半空间") : QString());
    QTableWidgetItem* thicknessCell = Model.cellItem(1, r);
    thicknessCell->setToolTip(halfSpace ? tr("半空间的厚度不参与计算。") : QString());
    thicknessCell->setForeground(halfSpace ? palette().placeholderText() : palette().text());
    for (int c = 1; c <= 3; ++c) {
      Model.cellItem(c, r)->setBackground(halfSpace ? kHalfSpaceTint : QBrush());
    }
  }
}

void TForm1::storeLayers(const ParsedLayers& layers) {
  layerCount = std::min(layers.count(), kWindowLayerLimit);
  std::copy_n(layers.thickness.begin(), layerCount, thickness);
  std::copy_n(layers.vs.begin(), layerCount, vs);
  std::copy_n(layers.density.begin(), layerCount, density);
}

void TForm1::LUpDownClick(bool /*up*/) {
  // Rows that remain keep their texts; new rows copy the former last row.
  setTableRows(resizeLayerRows(tableRows(), LUpDown.position()));
  // The window data follow only a table that reads as numbers throughout.
  const TableReading reading = readLayerRows(tableRows());
  if (!reading.layers) {
    messages_.showError(invalidNumberMessage(reading.bad.text));
    return;
  }
  storeLayers(*reading.layers);
}

void TForm1::setCommandsEnabled(bool enabled) {
  for (QPushButton* button : {&Button1, &Button2, &Button3, &Button4, &Button5}) {
    button->setEnabled(enabled);
  }
  GroupBox1.setEnabled(enabled);
  MenuBar.setEnabled(enabled);
  for (QAction* action :
       {OpenCurveAction, OpenModelAction, SaveModelAction, QuitAction, SettingsAction}) {
    action->setEnabled(enabled);
  }
  ApplyFittedAction->setEnabled(enabled && fitted_.has_value());
  SuggestModelAction->setEnabled(enabled && measured_.has_value());
  enableSearchCommands(enabled);
}

}  // namespace dispfit
