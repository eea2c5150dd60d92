// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/residual_chart.h"

#include <QEvent>
#include <QGraphicsLayout>
#include <QMargins>
#include <algorithm>
#include <cmath>
#include <memory>

#include "window/window_style.h"

namespace dispfit {

namespace {

// Before any residual: the axis of a perfect fit.
constexpr double kEmptySpan = 2.0;

}  // namespace

ResidualChart::ResidualChart(QWidget* parent) : QChartView(parent) {
  setFrameShape(QFrame::NoFrame);
  setRenderHint(QPainter::Antialiasing);
  setBackgroundBrush(Qt::white);
  auto ownedChart = std::make_unique<QChart>();
  chart = ownedChart.get();
  chart->legend()->hide();  // the curves wear the colours of the chart above
  chart->setBackgroundBrush(Qt::white);
  chart->setBackgroundRoundness(0);
  chart->setBackgroundPen(Qt::NoPen);
  chart->setDropShadowEnabled(false);
  chart->setMargins(QMargins(4, 0, 8, 2));  // the dispersion chart's, but no title above
  chart->layout()->setContentsMargins(0, 0, 0, 0);

  auto bottom = std::make_unique<QValueAxis>();
  BottomAxis = bottom.get();
  // The chart above, lined up with this one, labels the same axis: its grid
  // lines are enough here, and the height goes to the residuals.
  BottomAxis->setLabelsVisible(false);
  chart->addAxis(bottom.release(), Qt::AlignBottom);
  auto logBottom = std::make_unique<QCategoryAxis>();
  LogBottomAxis = logBottom.get();
  LogBottomAxis->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
  LogBottomAxis->setLabelsVisible(false);
  chart->addAxis(logBottom.release(), Qt::AlignBottom);
  LogBottomAxis->setVisible(false);
  auto residual = std::make_unique<QValueAxis>();
  ResidualAxis = residual.get();
  ResidualAxis->setLabelFormat(QStringLiteral("%g"));
  chart->addAxis(residual.release(), Qt::AlignLeft);
  setRangeWithTicks(*ResidualAxis, -kEmptySpan, kEmptySpan);

  for (QLineSeries** line : {&ZeroLine, &UpperEdge, &LowerEdge}) {
    auto series = std::make_unique<QLineSeries>();
    *line = series.get();
    chart->addSeries(series.release());
    attach(**line);
  }
  ZeroLine->setPen(QPen(QColor(0x40, 0x40, 0x40), 1.0));
  for (QLineSeries* edge : {UpperEdge, LowerEdge}) {
    edge->setPen(QPen(kMeasuredColour, 1.0, Qt::DashLine));
  }
  setChart(ownedChart.release());
  retranslate();
}

void ResidualChart::attach(QLineSeries& series) {
  series.attachAxis(LogBottomAxis->isVisible() ? static_cast<QAbstractAxis*>(LogBottomAxis)
                                               : BottomAxis);
  series.attachAxis(ResidualAxis);
}

void ResidualChart::setFonts(const QFont& axisTitles, const QFont& labels) {
  for (QAbstractAxis* axis : chart->axes()) {
    axis->setTitleFont(axisTitles);
    axis->setLabelsFont(labels);
  }
}

void ResidualChart::changeEvent(QEvent* event) {
  if (event->type() == QEvent::LanguageChange) retranslate();
  QChartView::changeEvent(event);
}

void ResidualChart::retranslate() {
  // Short, for the chart's short side; the tool tip says what they are.
  ResidualAxis->setTitleText(scale_ == ResidualScale::Normalised ? tr("残差/σ") : tr("残差 (m/s)"));
  setToolTip(scale_ == ResidualScale::Normalised
                 ? tr("各实测点的残差：(实测 − 计算) 除以误差带的半宽 σ；虚线为 ±1。")
                 : tr("各实测点的残差：实测 − 计算，单位 m/s（曲线无误差带）。"));
}

void ResidualChart::showResiduals(ResidualScale scale, const std::vector<Line>& lines) {
  scale_ = scale;
  for (QLineSeries* series : ResidualSeries) {
    const std::unique_ptr<QLineSeries> owned(series);  // removeSeries hands ownership back
    chart->removeSeries(series);
  }
  ResidualSeries.clear();
  double largest = 0.0;
  for (const Line& line : lines) {
    auto series = std::make_unique<QLineSeries>();
    series->setPen(line.pen);
    series->setPointsVisible(true);
    series->setMarkerSize(5);
    series->replace(line.points);
    for (const QPointF& p : line.points) largest = std::max(largest, std::fabs(p.y()));
    ResidualSeries.push_back(series.get());
    chart->addSeries(series.release());
    attach(*ResidualSeries.back());
  }
  const double span = residualAxisSpan(largest);
  setRangeWithTicks(*ResidualAxis, -span, span);
  // The zero line and the band's edges across the whole horizontal axis.
  const double left = LogBottomAxis->isVisible() ? LogBottomAxis->min() : BottomAxis->min();
  const double right = LogBottomAxis->isVisible() ? LogBottomAxis->max() : BottomAxis->max();
  ZeroLine->replace({QPointF(left, 0.0), QPointF(right, 0.0)});
  const bool normalised = scale == ResidualScale::Normalised;
  UpperEdge->replace(normalised ? QList<QPointF>{QPointF(left, 1.0), QPointF(right, 1.0)}
                                : QList<QPointF>{});
  LowerEdge->replace(normalised ? QList<QPointF>{QPointF(left, -1.0), QPointF(right, -1.0)}
                                : QList<QPointF>{});
  retranslate();
}

void ResidualChart::matchAbscissa(const QValueAxis& linear, QCategoryAxis& logarithmic,
                                  bool useLog) {
  // (Qt's category axis reads its labels through a member that is not const.)
  BottomAxis->setRange(linear.min(), linear.max());
  BottomAxis->setTickType(linear.tickType());
  BottomAxis->setTickAnchor(linear.tickAnchor());
  BottomAxis->setTickInterval(linear.tickInterval());
  BottomAxis->setReverse(linear.isReverse());
  for (const QString& label : LogBottomAxis->categoriesLabels()) LogBottomAxis->remove(label);
  LogBottomAxis->setStartValue(logarithmic.startValue());
  for (const QString& label : logarithmic.categoriesLabels()) {
    LogBottomAxis->append(label, logarithmic.endValue(label));
  }
  LogBottomAxis->setRange(logarithmic.min(), logarithmic.max());
  LogBottomAxis->setReverse(logarithmic.isReverse());
  if (useLog != LogBottomAxis->isVisible()) {
    QAbstractAxis* shown = useLog ? static_cast<QAbstractAxis*>(LogBottomAxis) : BottomAxis;
    QAbstractAxis* hidden = useLog ? static_cast<QAbstractAxis*>(BottomAxis) : LogBottomAxis;
    for (QAbstractSeries* series : chart->series()) {
      series->detachAxis(hidden);
      series->attachAxis(shown);
    }
    hidden->setVisible(false);
    shown->setVisible(true);
  }
}

void alignPlots(QChart& first, QChart& second, int leftMargin, int rightMargin) {
  // Each plot starts its labels' and title's width inside its margin, and
  // ends half a label inside the other one: both charts' margins follow from
  // those widths alone, so setting them again, as the plot areas they move
  // report, changes nothing more.
  const QRectF a = first.plotArea(), b = second.plotArea();
  if (a.isEmpty() || b.isEmpty()) return;
  const auto leftRoom = [](const QChart& chart) {
    return chart.plotArea().left() - chart.margins().left();
  };
  const auto rightRoom = [](const QChart& chart) {
    return chart.size().width() - chart.plotArea().right() - chart.margins().right();
  };
  const double left = std::max(leftRoom(first), leftRoom(second));
  const double right = std::max(rightRoom(first), rightRoom(second));
  for (QChart* chart : {&first, &second}) {
    QMargins margins = chart->margins();
    const int wantedLeft = leftMargin + static_cast<int>(std::lround(left - leftRoom(*chart)));
    const int wantedRight = rightMargin + static_cast<int>(std::lround(right - rightRoom(*chart)));
    if (margins.left() != wantedLeft || margins.right() != wantedRight) {
      margins.setLeft(wantedLeft);
      margins.setRight(wantedRight);
      chart->setMargins(margins);
    }
  }
}

}  // namespace dispfit
