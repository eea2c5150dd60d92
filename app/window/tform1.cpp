// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's layout, its start-up state and the table rebuild of the
// layer-count spinner.
#include "window/tform1.h"

#include <QActionGroup>
#include <QEvent>
#include <QFont>
#include <QHeaderView>
#include <QMenu>
#include <QPen>
#include <algorithm>
#include <exception>
#include <initializer_list>
#include <memory>

#include "core/curve_points.h"
#include "core/number_text.h"
#include "core/program_title.h"
#include "window/window_style.h"

namespace dispfit {

namespace {

constexpr int kColumnWidth = 48;
constexpr int kRowHeight = 24;

QString cellText(float value) {
  return QString::fromStdString(formatGeneral(value));
}

}  // namespace

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
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
  setFont(windowFont(12));
  setAutoFillBackground(true);
  setBackgroundRole(QPalette::Button);
  buildMenus();
  // The described controls keep their places inside the client area, which
  // the menu bar pushes down by its own height.
  const int menuHeight = MenuBar.sizeHint().height();
  const int width = kClientWidth + kSiteColumnWidth;
  MenuBar.setGeometry(0, 0, width, menuHeight);
  Client.setGeometry(0, menuHeight, width, kClientHeight);
  setFixedSize(width, kClientHeight + menuHeight);
  buildChart();
  buildModelGroup();
  buildButtons();
  buildSiteColumn();

  Bevel1.setGeometry(0, 304, 105, 17);
  Bevel2.setGeometry(168, 304, 521, 17);
  for (QFrame* bevel : {&Bevel1, &Bevel2}) {
    bevel->setFrameShape(QFrame::HLine);
    bevel->setFrameShadow(QFrame::Sunken);
  }
  // Below the chart: what the last command has to say about the curve.
  StatusLine.setGeometry(280, 288, 392, 16);
  StatusLine.setFont(windowFont(11));
  Label1.setGeometry(112, 312 - 8, 53, 17);
  Label1.setText(QStringLiteral("Sondrix"));
  Label1.setAlignment(Qt::AlignCenter);
  Label1.setEnabled(false);
  Label1.setCursor(Qt::WhatsThisCursor);

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

void TForm1::buildChart() {
  Chart.setGeometry(272, 38, 400, 250);
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
  chart->setMargins(QMargins(4, 2, 8, 2));

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

  // Kept apart from the chart's axes until chosen, owned by the chart throughout.
  auto logAxis = std::make_unique<QLogValueAxis>();
  LogBottomAxis = logAxis.get();
  logAxis.release()->setParent(chart);
  LogBottomAxis->setReverse(true);
  LogBottomAxis->setLabelFormat(QStringLiteral("%g"));
  LogBottomAxis->setMinorTickCount(8);  // 2, 3, ... 9 times each power of ten
  LogBottomAxis->setTitleFont(windowFont(12));
  LogBottomAxis->setLabelsFont(windowFont(11));
  connect(BottomAxis, &QValueAxis::rangeChanged, LogBottomAxis,
          [this](qreal minimum, qreal maximum) {
            // A logarithmic axis has no place for 0 Hz or below.
            if (minimum > 0.0) LogBottomAxis->setRange(minimum, maximum);
          });
  Chart.setChart(ownedChart.release());
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
  return wavelengthAxis_ ? velocity / frequency : frequency;
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
  if (any) setRangeWithTicks(*BottomAxis, lowest, highest);
}

void TForm1::showWavelengthAxis(bool wavelength) {
  wavelengthAxis_ = wavelength;
  retranslateCharts();
  // Short wavelengths, like high frequencies, belong to the shallow ground:
  // they stay on the left either way.
  BottomAxis->setReverse(!wavelength);
  LogBottomAxis->setReverse(!wavelength);
  drawSeries();
  if (measured_) {
    drawFittedCurve();
    drawSearchCurves();
    drawMeasuredCurve();  // fits both axes over every curve
  }
}

void TForm1::showLogFrequencyAxis(bool logarithmic) {
  QAbstractAxis* shown = logarithmic ? static_cast<QAbstractAxis*>(LogBottomAxis) : BottomAxis;
  QAbstractAxis* hidden = logarithmic ? static_cast<QAbstractAxis*>(BottomAxis) : LogBottomAxis;
  if (chart->axes(Qt::Horizontal).contains(shown)) return;
  const QList<QAbstractSeries*> series = chart->series();
  for (QAbstractSeries* s : series) s->detachAxis(hidden);
  chart->removeAxis(hidden);  // the axis stays, owned by the chart object
  hidden->setParent(chart);
  chart->addAxis(shown, Qt::AlignBottom);
  for (QAbstractSeries* s : series) s->attachAxis(shown);
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
  GroupBox1.setGeometry(24, 32, 241, 257);
  StaticText1.setGeometry(48, 32, 28, 17);
  Edit1.setGeometry(80, 28, 49, 21);
  LUpDown.setGeometry(129, 28, 15, 21);
  LUpDown.setPosition(1);

  Model.setGeometry(16, 57, 209, 144);
  Model.horizontalHeader()->setFixedHeight(kRowHeight);
  Model.verticalHeader()->setDefaultSectionSize(kRowHeight);
  for (int c = 0; c < Model.columnCount(); ++c) Model.setColumnWidth(c, kColumnWidth);
  Model.setTextElideMode(Qt::ElideNone);

  Label3.setGeometry(16, 216, 169, 17);
  Label3.setCursor(Qt::WhatsThisCursor);
  Label4.setText(QStringLiteral("3"));
  Label4.setFont(windowFont(9));
  Label4.setAlignment(Qt::AlignLeft | Qt::AlignTop);
  Label2.setGeometry(16, 232, 193, 17);
  Label2.setCursor(Qt::WhatsThisCursor);
}

void TForm1::buildButtons() {
  const struct {
    QPushButton* button;
    int left;
  } buttons[] = {
      {&Button4, 72}, {&Button5, 192}, {&Button1, 312}, {&Button2, 432}, {&Button3, 552}};
  for (const auto& entry : buttons) entry.button->setGeometry(entry.left, 336, 105, 25);
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
  // The exponent sits right after "g/cm", two pixels higher.
  const int exponentX = Label3.x() + Label3.fontMetrics().horizontalAdvance(Label3.text()) + 1;
  Label4.setGeometry(exponentX, 214, 49, 13);
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
  if (wavelengthAxis_) {
    spanAbscissaAxis();
    return;
  }
  const FrequencySpan span = frequencySpan(points);
  setRangeWithTicks(*BottomAxis, span.lowest, span.highest);
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
