#include "window/vs_profile_chart.h"

#include <QLegendMarker>
#include <QPen>
#include <algorithm>
#include <initializer_list>
#include <memory>
#include <vector>

#include "site/depth_profile.h"
#include "window/window_style.h"

namespace dispfit {

namespace {

QList<QPointF> chartPoints(const std::vector<ProfilePoint>& profile) {
  QList<QPointF> points;
  points.reserve(static_cast<qsizetype>(profile.size()));
  for (const ProfilePoint& p : profile) points.append(QPointF(p.vs, p.depth));
  return points;
}

// The step profile of the model on series, or nothing without a model.
void drawProfile(QLineSeries& series, const std::optional<ParsedLayers>& model, double chartDepth) {
  if (!model) {
    series.clear();
    return;
  }
  series.replace(chartPoints(stepProfile(model->thickness, model->vs, chartDepth)));
}

}  // namespace

VsProfileChart::VsProfileChart(QWidget* parent) : QChartView(parent) {
  setFrameShape(QFrame::NoFrame);
  setRenderHint(QPainter::Antialiasing);
  setBackgroundBrush(Qt::white);

  auto ownedChart = std::make_unique<QChart>();
  chart = ownedChart.get();
  chart->setTitle(tr("横波速度剖面"));
  chart->setBackgroundBrush(Qt::white);
  chart->setBackgroundRoundness(0);
  chart->setBackgroundPen(Qt::NoPen);
  chart->setDropShadowEnabled(false);
  chart->setMargins(QMargins(4, 2, 8, 2));
  chart->legend()->setAlignment(Qt::AlignBottom);

  auto vsAxis = std::make_unique<QValueAxis>();
  VsAxis = vsAxis.get();
  VsAxis->setTitleText(QStringLiteral("Vs (m/s)"));
  VsAxis->setLabelFormat(QStringLiteral("%g"));
  chart->addAxis(vsAxis.release(), Qt::AlignTop);
  auto depthAxis = std::make_unique<QValueAxis>();
  DepthAxis = depthAxis.get();
  DepthAxis->setTitleText(tr("深度 (m)"));
  DepthAxis->setLabelFormat(QStringLiteral("%g"));
  DepthAxis->setReverse(true);  // depth grows downward, the surface on top
  chart->addAxis(depthAxis.release(), Qt::AlignLeft);
  setRangeWithTicks(*VsAxis, 0.0, profileVelocityCeiling(0.0));
  setRangeWithTicks(*DepthAxis, 0.0, profileChartDepth(0.0, std::nullopt));

  auto starting = std::make_unique<QLineSeries>();
  StartingSeries = starting.get();
  StartingSeries->setName(tr("初始模型"));
  StartingSeries->setPen(QPen(kCurveColour, 1.5));
  auto fitted = std::make_unique<QLineSeries>();
  FittedSeries = fitted.get();
  FittedSeries->setName(tr("拟合模型"));
  FittedSeries->setPen(QPen(kFittedColour, 2.0));
  auto constrained = std::make_unique<QLineSeries>();
  ConstrainedSeries = constrained.get();
  ConstrainedSeries->setPen(QPen(kMeasuredColour, 1.0, Qt::DashLine));
  for (QLineSeries* series : {starting.release(), fitted.release(), constrained.release()}) {
    chart->addSeries(series);
    series->attachAxis(VsAxis);
    series->attachAxis(DepthAxis);
  }
  // The dashed line has its own label; the legend names the two models.
  chart->legend()->markers(ConstrainedSeries).front()->setVisible(false);

  auto label = std::make_unique<QGraphicsSimpleTextItem>(chart);
  ConstrainedLabel = label.release();  // the chart item deletes its children
  ConstrainedLabel->setBrush(kMeasuredColour);
  ConstrainedLabel->setVisible(false);
  connect(chart, &QChart::plotAreaChanged, this, [this] { placeConstrainedLabel(); });
  setChart(ownedChart.release());
}

void VsProfileChart::setFonts(const QFont& title, const QFont& axisTitles, const QFont& labels) {
  chart->setTitleFont(title);
  for (QValueAxis* axis : {VsAxis, DepthAxis}) {
    axis->setTitleFont(axisTitles);
    axis->setLabelsFont(labels);
  }
  chart->legend()->setFont(labels);
  ConstrainedLabel->setFont(labels);
}

void VsProfileChart::showProfiles(const std::optional<ParsedLayers>& starting,
                                  const std::optional<ParsedLayers>& fitted,
                                  std::optional<double> constrainedDepth) {
  double deepestInterface = 0.0, fastest = 0.0;
  for (const std::optional<ParsedLayers>* model : {&starting, &fitted}) {
    if (!*model) continue;
    deepestInterface = std::max(deepestInterface, lastInterfaceDepth((*model)->thickness));
    for (const float vs : (*model)->vs) fastest = std::max(fastest, double{vs});
  }
  const double chartDepth = profileChartDepth(deepestInterface, constrainedDepth);
  const double vsCeiling = profileVelocityCeiling(fastest);
  setRangeWithTicks(*VsAxis, 0.0, vsCeiling);
  setRangeWithTicks(*DepthAxis, 0.0, chartDepth);
  drawProfile(*StartingSeries, starting, chartDepth);
  drawProfile(*FittedSeries, fitted, chartDepth);
  // The legend names only the profiles drawn.
  for (QLineSeries* series : {StartingSeries, FittedSeries}) {
    chart->legend()->markers(series).front()->setVisible(series->count() > 0);
  }

  if (constrainedDepth) {
    ConstrainedSeries->replace(
        {QPointF(0.0, *constrainedDepth), QPointF(vsCeiling, *constrainedDepth)});
    ConstrainedLabel->setText(tr("数据约束深度 %1 m").arg(*constrainedDepth, 0, 'f', 1));
  } else {
    ConstrainedSeries->clear();
  }
  ConstrainedLabel->setVisible(constrainedDepth.has_value());
  placeConstrainedLabel();
}

void VsProfileChart::placeConstrainedLabel() {
  if (ConstrainedSeries->count() < 2) return;
  // 3 pixels between the line's right end and the text, so that the dashes
  // do not run through the glyphs.
  constexpr double kGap = 3.0;
  const QPointF start = chart->mapToPosition(ConstrainedSeries->at(0), ConstrainedSeries);
  const QRectF text = ConstrainedLabel->boundingRect();
  ConstrainedLabel->setPos(start.x() + kGap, start.y() - text.height() - kGap);
}

}  // namespace dispfit
