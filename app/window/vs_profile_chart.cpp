// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/vs_profile_chart.h"

#include <QEvent>
#include <QLegendMarker>
#include <QPen>
#include <QStringList>
#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <memory>
#include <utility>
#include <vector>

#include "core/number_text.h"
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

std::vector<ProfilePoint> trialProfile(const TrialModel& model, double chartDepth) {
  const std::vector<float> thickness(model.thickness.begin(), model.thickness.end());
  const std::vector<float> vs(model.vs.begin(), model.vs.end());
  return stepProfile(thickness, vs, chartDepth);
}

double trialInterfaceDepth(const TrialModel& model) {
  double depth = 0.0;
  for (std::size_t i = 0; i + 1 < model.thickness.size(); ++i) depth += model.thickness[i];
  return depth;
}

double fastestOf(const TrialModel& model) {
  return model.vs.empty() ? 0.0 : *std::max_element(model.vs.begin(), model.vs.end());
}

// The percentile p of the rows as a line over depth: one of p10, median, p90.
QList<QPointF> percentileLine(const std::vector<ProfileRow>& rows, double Spread::*p) {
  QList<QPointF> points;
  points.reserve(static_cast<qsizetype>(rows.size()));
  for (const ProfileRow& row : rows) points.append(QPointF(row.vs.*p, row.depth));
  return points;
}

// Opacities of the accepted profiles' lines; see profileOpacity.
constexpr int kBestOpacity = 220;
constexpr int kWorstOpacity = 40;

}  // namespace

int profileOpacity(double misfit, double best, double worst) {
  if (!(worst > best)) return kBestOpacity;
  const double share = std::clamp((misfit - best) / (worst - best), 0.0, 1.0);
  return static_cast<int>(std::lround(kBestOpacity - share * (kBestOpacity - kWorstOpacity)));
}

VsProfileChart::VsProfileChart(QWidget* parent) : QChartView(parent) {
  setFrameShape(QFrame::NoFrame);
  setRenderHint(QPainter::Antialiasing);
  setBackgroundBrush(Qt::white);

  auto ownedChart = std::make_unique<QChart>();
  chart = ownedChart.get();
  chart->setBackgroundBrush(Qt::white);
  chart->setBackgroundRoundness(0);
  chart->setBackgroundPen(Qt::NoPen);
  chart->setDropShadowEnabled(false);
  chart->setMargins(QMargins(4, 2, 8, 2));
  chart->legend()->setAlignment(Qt::AlignBottom);

  auto vsAxis = std::make_unique<QValueAxis>();
  VsAxis = vsAxis.get();
  VsAxis->setLabelFormat(QStringLiteral("%g"));
  chart->addAxis(vsAxis.release(), Qt::AlignTop);
  auto depthAxis = std::make_unique<QValueAxis>();
  DepthAxis = depthAxis.get();
  DepthAxis->setLabelFormat(QStringLiteral("%g"));
  DepthAxis->setReverse(true);  // depth grows downward, the surface on top
  chart->addAxis(depthAxis.release(), Qt::AlignLeft);
  setRangeWithTicks(*VsAxis, 0.0, profileVelocityCeiling(0.0));
  setRangeWithTicks(*DepthAxis, 0.0, profileChartDepth(0.0, std::nullopt));

  auto starting = std::make_unique<QLineSeries>();
  StartingSeries = starting.get();
  StartingSeries->setPen(QPen(kCurveColour, 1.5));
  auto fitted = std::make_unique<QLineSeries>();
  FittedSeries = fitted.get();
  FittedSeries->setPen(QPen(kFittedColour, 2.0));
  auto constrained = std::make_unique<QLineSeries>();
  ConstrainedSeries = constrained.get();
  ConstrainedSeries->setPen(QPen(kConstrainedColour, 1.0, Qt::DashDotLine));
  // The ensemble's summary lines over its profiles (which are added under
  // them as they come), the two models over those.
  auto p10 = std::make_unique<QLineSeries>();
  P10Series = p10.get();
  P10Series->setPen(QPen(kPercentileColour, 1.5, Qt::DashLine));
  auto p90 = std::make_unique<QLineSeries>();
  P90Series = p90.get();
  P90Series->setPen(QPen(kPercentileColour, 1.5, Qt::DashLine));
  auto median = std::make_unique<QLineSeries>();
  MedianSeries = median.get();
  MedianSeries->setPen(QPen(kMedianColour, 2.0));
  auto best = std::make_unique<QLineSeries>();
  BestSeries = best.get();
  BestSeries->setPen(QPen(kBestModelColour, 2.0));
  for (QLineSeries* series : {p10.release(), p90.release(), median.release(), best.release(),
                              starting.release(), fitted.release(), constrained.release()}) {
    chart->addSeries(series);
    series->attachAxis(VsAxis);
    series->attachAxis(DepthAxis);
  }
  Legend = std::make_unique<ChartLegend>(*chart);

  auto label = std::make_unique<QGraphicsSimpleTextItem>(chart);
  ConstrainedLabel = label.release();  // the chart item deletes its children
  ConstrainedLabel->setBrush(kConstrainedColour);
  ConstrainedLabel->setVisible(false);
  connect(chart, &QChart::plotAreaChanged, this, [this] { placeConstrainedLabel(); });
  setChart(ownedChart.release());
  retranslate();
}

void VsProfileChart::changeEvent(QEvent* event) {
  if (event->type() == QEvent::LanguageChange) retranslate();
  QChartView::changeEvent(event);
}

void VsProfileChart::retranslate() {
  chart->setTitle(tr("横波速度剖面"));
  VsAxis->setTitleText(tr("Vs (m/s)"));
  DepthAxis->setTitleText(tr("深度 (m)"));
  StartingSeries->setName(tr("初始模型"));
  FittedSeries->setName(tr("拟合模型"));
  P10Series->setName(tr("10%/90%"));
  MedianSeries->setName(tr("中值"));
  BestSeries->setName(tr("最佳模型"));
  for (QLineSeries* series : EnsembleSeries) series->setName(tr("接受模型"));
  updateLegend();
  // The legend has no room for the counts; the tool tip says what is drawn.
  setToolTip(ensemble_.models.size() < acceptedCount_
                 ? tr("绘出 %1/%2 个接受模型，按拟合差排名等距选取。")
                       .arg(ensemble_.models.size())
                       .arg(acceptedCount_)
                 : QString());
  if (constrainedDepth_) {
    ConstrainedLabel->setText(
        tr("数据约束深度 %1 m")
            .arg(QString::fromStdString(figureText(*constrainedDepth_, Figure::Depth))));
    placeConstrainedLabel();
  }
}

void VsProfileChart::setFonts(const QFont& title, const QFont& axisTitles, const QFont& labels) {
  chart->setTitleFont(title);
  for (QValueAxis* axis : {VsAxis, DepthAxis}) {
    axis->setTitleFont(axisTitles);
    axis->setLabelsFont(labels);
  }
  Legend->setFont(labels);
  ConstrainedLabel->setFont(labels);
}

void VsProfileChart::showProfiles(const std::optional<ParsedLayers>& starting,
                                  const std::optional<ParsedLayers>& fitted,
                                  std::optional<double> constrainedDepth) {
  starting_ = starting;
  fitted_ = fitted;
  constrainedDepth_ = constrainedDepth;
  redraw();
}

void VsProfileChart::showEnsemble(const EnsembleProfiles& ensemble) {
  ensemble_ = ensemble;
  acceptedCount_ = ensemble.models.size();
  if (acceptedCount_ > kMostProfilesDrawn) {
    // Evenly over the ranks, the best and the worst included, so that the
    // lines show the whole accepted spread and not only its tightest core.
    std::vector<TrialModel> models;
    std::vector<double> misfits;
    for (std::size_t j = 0; j < kMostProfilesDrawn; ++j) {
      const std::size_t k = j * (acceptedCount_ - 1) / (kMostProfilesDrawn - 1);
      models.push_back(ensemble.models[k]);
      misfits.push_back(ensemble.misfits[k]);
    }
    ensemble_.models = std::move(models);
    ensemble_.misfits = std::move(misfits);
  }
  if (ensemble_.models.empty() && !ensemble_.best) ensemble_ = {};
  replaceEnsembleSeries(ensemble_.models.size());
  redraw();
}

void VsProfileChart::redraw() {
  double deepestInterface = 0.0, fastest = 0.0;
  for (const std::optional<ParsedLayers>* model : {&starting_, &fitted_}) {
    if (!*model) continue;
    deepestInterface = std::max(deepestInterface, lastInterfaceDepth((*model)->thickness));
    for (const float vs : (*model)->vs) fastest = std::max(fastest, double{vs});
  }
  for (const TrialModel& model : ensemble_.models) fastest = std::max(fastest, fastestOf(model));
  if (ensemble_.best) fastest = std::max(fastest, fastestOf(*ensemble_.best));
  // Every profile drawn ends below the chart's foot, the ensemble's too.
  for (const TrialModel& model : ensemble_.models) {
    deepestInterface = std::max(deepestInterface, trialInterfaceDepth(model));
  }
  if (ensemble_.best) {
    deepestInterface = std::max(deepestInterface, trialInterfaceDepth(*ensemble_.best));
  }
  const double chartDepth =
      std::max(profileChartDepth(deepestInterface, constrainedDepth_), ensemble_.depth);
  const double vsCeiling = profileVelocityCeiling(fastest);
  setRangeWithTicks(*VsAxis, 0.0, vsCeiling);
  setRangeWithTicks(*DepthAxis, 0.0, chartDepth);
  drawProfile(*StartingSeries, starting_, chartDepth);
  drawProfile(*FittedSeries, fitted_, chartDepth);
  drawEnsemble(chartDepth);

  if (constrainedDepth_) {
    ConstrainedSeries->replace(
        {QPointF(0.0, *constrainedDepth_), QPointF(vsCeiling, *constrainedDepth_)});
  } else {
    ConstrainedSeries->clear();
  }
  ConstrainedLabel->setVisible(constrainedDepth_.has_value());
  retranslate();  // the label, the tool tip and the legend of what is drawn
}

void VsProfileChart::replaceEnsembleSeries(std::size_t count) {
  for (QLineSeries* series : EnsembleSeries) {
    const std::unique_ptr<QLineSeries> owned(series);  // removeSeries hands ownership back
    chart->removeSeries(series);
  }
  EnsembleSeries.clear();
  const QList<QAbstractSeries*> above = chart->series();
  // Qt Charts draws series in the order added: the profiles go first, under
  // every line already on the chart, by taking those off and adding them back.
  for (QAbstractSeries* series : above) chart->removeSeries(series);
  for (std::size_t k = 0; k < count; ++k) {
    auto series = std::make_unique<QLineSeries>();
    EnsembleSeries.push_back(series.get());
    chart->addSeries(series.release());
  }
  for (QAbstractSeries* series : above) chart->addSeries(series);
  for (QAbstractSeries* series : chart->series()) {
    series->attachAxis(VsAxis);
    series->attachAxis(DepthAxis);
  }
}

void VsProfileChart::drawEnsemble(double chartDepth) {
  const std::size_t count = EnsembleSeries.size();
  const double best = count > 0 ? ensemble_.misfits.front() : 0.0;
  const double worst = count > 0 ? ensemble_.misfits.back() : 0.0;
  for (std::size_t k = 0; k < count; ++k) {
    QColor colour = kEnsembleColour;
    colour.setAlpha(profileOpacity(ensemble_.misfits[k], best, worst));
    EnsembleSeries[k]->setPen(QPen(colour, 1.0));
    EnsembleSeries[k]->replace(chartPoints(trialProfile(ensemble_.models[k], chartDepth)));
  }
  MedianSeries->replace(percentileLine(ensemble_.rows, &Spread::median));
  P10Series->replace(percentileLine(ensemble_.rows, &Spread::p10));
  P90Series->replace(percentileLine(ensemble_.rows, &Spread::p90));
  if (ensemble_.best) {
    BestSeries->replace(chartPoints(trialProfile(*ensemble_.best, chartDepth)));
  } else {
    BestSeries->clear();
  }
}

void VsProfileChart::updateLegend() {
  // The models drawn, in the order a reader meets them; one entry for all
  // the accepted profiles and one for both percentile lines.
  std::vector<LegendEntry> entries;
  const auto add = [&entries](const QLineSeries* series, const QString& label) {
    if (series != nullptr && series->count() > 0) {
      entries.push_back({label, LegendMark::Line, series->pen(), {}});
    }
  };
  add(StartingSeries, tr("初始模型"));
  add(FittedSeries, tr("拟合模型"));
  if (!EnsembleSeries.empty()) {
    // The best-drawn profile's colour stands for them all.
    add(EnsembleSeries.front(), tr("接受模型"));
  }
  add(MedianSeries, tr("中值"));
  add(P10Series, tr("10%/90%"));
  add(BestSeries, tr("最佳模型"));
  Legend->setEntries(std::move(entries));
}

void VsProfileChart::placeConstrainedLabel() {
  if (ConstrainedSeries->count() < 2) return;
  const QRectF plot = chart->plotArea();
  if (plot.width() <= 0.0 || plot.height() <= 0.0) return;
  // Clear of every line drawn, in the widest stretch that no profile
  // crosses at the label's depths, 3 pixels from the dashed line and from
  // the stretch's start.
  constexpr double kGap = 3.0;
  const QRectF text = ConstrainedLabel->boundingRect();
  const double depthPerPixel = (DepthAxis->max() - DepthAxis->min()) / plot.height();
  const double vsPerPixel = (VsAxis->max() - VsAxis->min()) / plot.width();
  const double z = *constrainedDepth_;
  const double labelDepth = (text.height() + kGap) * depthPerPixel;
  const double labelVs = (text.width() + 2.0 * kGap) * vsPerPixel;
  std::vector<std::vector<ProfilePoint>> lines;
  for (const QAbstractSeries* drawn : chart->series()) {
    const auto* series = qobject_cast<const QLineSeries*>(drawn);
    if (series == nullptr || series == ConstrainedSeries || series->count() == 0) continue;
    std::vector<ProfilePoint>& line = lines.emplace_back();
    for (const QPointF& p : series->points()) line.push_back({p.x(), p.y()});
  }
  // Nearest the line first: just above it, just under it, then a label's
  // height further each way, as far as the plot goes; the first place where
  // the label fits, else the widest just above the line.
  const double deepest = DepthAxis->max();
  struct Place {
    VsStretch stretch;
    double top;  // m, the depth of the label's top
  };
  std::optional<Place> chosen;
  Place widestAbove{widestFreeStretch(lines, z - labelDepth, z, VsAxis->min(), VsAxis->max()),
                    z - labelDepth};
  for (int step = 0; !chosen && step < 8; ++step) {
    for (const double top : {z - labelDepth * (step + 1), z + labelDepth * step}) {
      if (top < DepthAxis->min() || top + labelDepth > deepest) continue;
      const VsStretch stretch =
          widestFreeStretch(lines, top, top + labelDepth, VsAxis->min(), VsAxis->max());
      if (stretch.width() >= labelVs) {
        chosen = Place{stretch, top};
        break;
      }
    }
  }
  const Place place = chosen.value_or(widestAbove);
  const QPointF corner =
      chart->mapToPosition(QPointF(place.stretch.low, place.top), ConstrainedSeries);
  ConstrainedLabel->setPos(corner.x() + kGap, corner.y() + (place.top < z ? 0.0 : kGap));
}

}  // namespace dispfit
