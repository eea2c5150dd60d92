// SPDX-License-Identifier: GPL-3.0-or-later
// The window's 视图 → 模态 menu: the higher Rayleigh modes and the Love modes
// of the table's model on the dispersion chart, and the mode of each
// measured point that names one.
#include <QActionGroup>
#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <optional>

#include "window/tform1.h"
#include "window/window_style.h"

namespace dispfit {
namespace {

// The mode counts the menu offers: the fundamental alone, modes 0 to 2, 0 to 4.
constexpr int kModeCounts[] = {1, 3, 5};

// Removes `series` from the chart and frees them.
template <typename Series>
void removeAll(QChart& chart, std::vector<Series*>& series) {
  for (Series* s : series) {
    chart.removeSeries(s);  // the chart gives its ownership back
    const std::unique_ptr<Series> freed(s);
  }
  series.clear();
}

// The mode the measured point behind vr[i] names: none where the window's
// frequencies are not the measured points' (no curve, or another list).
std::optional<int> namedModeAt(const std::optional<MeasuredCurve>& measured, int count, int i) {
  if (!measured || measured->inverted.size() != static_cast<std::size_t>(count))
    return std::nullopt;
  return measured->inverted[static_cast<std::size_t>(i)].mode;
}

}  // namespace

void TForm1::buildModeActions() {
  ViewMenu->addSeparator();
  ModesMenu = ViewMenu->addMenu(QString());
  auto group = std::make_unique<QActionGroup>(ModesMenu);
  for (const int count : kModeCounts) {
    QAction* action = ModesMenu->addAction(QString());
    action->setCheckable(true);
    action->setChecked(count == 1);
    group->addAction(action);
    ModeCountActions.push_back(action);
    action->setData(count);  // the count the action chooses
  }
  group.release();  // owned by the menu
  ModesMenu->addSeparator();
  LoveAction = ModesMenu->addAction(QString());
  LoveAction->setCheckable(true);
}

void TForm1::retranslateModeActions() {
  ModesMenu->setTitle(tr("模态(&M)"));
  ModeCountActions[0]->setText(tr("仅基阶"));
  ModeCountActions[1]->setText(tr("第 0–2 阶"));
  ModeCountActions[2]->setText(tr("第 0–4 阶"));
  LoveAction->setText(tr("勒夫波（Love）"));
}

void TForm1::showModes(const ModeDisplay& display) {
  modeDisplay_ = display;
  drawSeries();
  if (measured_) fitAxesToMeasuredCurve();
}

void TForm1::drawModeLines() {
  removeAll(*chart, ModeSeries);
  removeAll(*chart, ModeNameSeries);
  if (modeDisplay_.modes <= 1 && !modeDisplay_.love) return;
  const DrawableCurve drawable = drawableCurve(freq, vr, freqCount);
  const std::vector<double> frequencies(drawable.freq.begin(), drawable.freq.end());
  const auto layers = static_cast<std::size_t>(layerCount);
  const std::vector<ModeLine> lines =
      modelModeLines(std::span<const float>(thickness, layers), std::span<const float>(vs, layers),
                     std::span<const float>(density, layers), frequencies, modeDisplay_);
  QAbstractAxis* bottom = chart->axes(Qt::Horizontal).value(0);
  double lowest = LeftAxis->min();
  double highest = LeftAxis->max();
  for (const ModeLine& line : lines) {
    auto series = std::make_unique<QLineSeries>();
    const bool love = line.wave == swcore::WaveType::love;
    QPen pen(love ? kLoveColour : kCurveColour, 1.2);
    pen.setStyle(love ? Qt::DashDotLine : Qt::DashLine);
    series->setPen(pen);
    QList<QPointF> points;
    for (std::size_t j = 0; j < line.frequencies.size(); ++j) {
      const double c = line.velocities[j];
      points.append(QPointF(abscissa(line.frequencies[j], c), c));
      lowest = std::min(lowest, c);
      highest = std::max(highest, c);
    }
    series->replace(points);
    chart->addSeries(series.get());
    series->attachAxis(bottom);
    series->attachAxis(LeftAxis);
    ModeSeries.push_back(series.release());  // owned by chart
    if (const std::optional<std::size_t> at = modeLineNameIndex(line)) {
      addModeName(QString::fromStdString(modeLineName(line)), points[static_cast<qsizetype>(*at)],
                  pen.color());
    }
  }
  if (lowest < LeftAxis->min() || highest > LeftAxis->max()) setVelocityRange(lowest, highest);
}

void TForm1::addModeName(const QString& name, QPointF at, const QColor& colour) {
  auto series = std::make_unique<QScatterSeries>();
  series->setMarkerSize(0.0);
  series->setColor(Qt::transparent);
  series->setBorderColor(Qt::transparent);
  // The label holds no tag of Qt's: the name itself.
  series->setPointLabelsFormat(name);
  series->setPointLabelsVisible(true);
  series->setPointLabelsColor(colour);
  series->setPointLabelsFont(windowFont(9));
  // A short line's middle can lie at the plot's edge: its name is still whole.
  series->setPointLabelsClipping(false);
  series->append(at);
  chart->addSeries(series.get());
  series->attachAxis(chart->axes(Qt::Horizontal).value(0));
  series->attachAxis(LeftAxis);
  ModeNameSeries.push_back(series.release());  // owned by chart
}

void TForm1::drawMeasuredModes() {
  removeAll(*chart, MeasuredModeSeries);
  std::map<int, QList<QPointF>> byMode;
  for (const MeasuredPoint& point : measured_->points) {
    if (!point.mode) continue;
    byMode[*point.mode].append(QPointF(abscissa(point.frequency, point.velocity), point.velocity));
  }
  QAbstractAxis* bottom = chart->axes(Qt::Horizontal).value(0);
  for (const auto& [mode, points] : byMode) {
    auto series = std::make_unique<QScatterSeries>();
    series->setMarkerShape(QScatterSeries::MarkerShapeRectangle);
    series->setMarkerSize(8);
    series->setColor(Qt::transparent);
    series->setBorderColor(kMeasuredColour);
    // The label holds no tag of Qt's, so every point shows its mode's number.
    series->setPointLabelsFormat(QString::number(mode));
    series->setPointLabelsVisible(true);
    series->setPointLabelsColor(kMeasuredColour);
    series->setPointLabelsFont(windowFont(9));
    series->replace(points);
    chart->addSeries(series.get());
    series->attachAxis(bottom);
    series->attachAxis(LeftAxis);
    MeasuredModeSeries.push_back(series.release());  // owned by chart
  }
}

DrawableCurve TForm1::drawableFundamental() const {
  std::vector<float> frequencies, velocities;
  for (int i = 0; i < freqCount; ++i) {
    if (namedModeAt(measured_, freqCount, i).value_or(0) > 0) continue;
    frequencies.push_back(freq[i]);
    velocities.push_back(vr[i]);
  }
  DrawableCurve drawable =
      drawableCurve(frequencies.data(), velocities.data(), static_cast<int>(frequencies.size()));
  return drawable;
}

void TForm1::drawComputedModes() {
  removeAll(*chart, ComputedModeSeries);
  std::map<int, std::vector<CurvePoint>> byMode;
  for (int i = 0; i < freqCount; ++i) {
    const int mode = namedModeAt(measured_, freqCount, i).value_or(0);
    if (mode <= 0 || !(vr[i] > 0.0f) || !std::isfinite(vr[i])) continue;
    byMode[mode].push_back({double{freq[i]}, double{vr[i]}});
  }
  QAbstractAxis* bottom = chart->axes(Qt::Horizontal).value(0);
  for (auto& [mode, points] : byMode) {
    std::sort(points.begin(), points.end(),
              [](const CurvePoint& a, const CurvePoint& b) { return a.frequency < b.frequency; });
    auto series = std::make_unique<QLineSeries>();
    series->setPen(Series1->pen());
    series->setPointsVisible(true);
    series->setMarkerSize(Series1->markerSize());
    QList<QPointF> chartPoints;
    for (const CurvePoint& p : points) {
      chartPoints.append(QPointF(abscissa(p.frequency, p.velocity), p.velocity));
    }
    series->replace(chartPoints);
    chart->addSeries(series.get());
    series->attachAxis(bottom);
    series->attachAxis(LeftAxis);
    ComputedModeSeries.push_back(series.release());  // owned by chart
  }
}

}  // namespace dispfit
