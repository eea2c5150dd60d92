// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/dispersion_image_view.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <cmath>

#include "core/axis_ticks.h"
#include "core/number_text.h"
#include "shots/viridis.h"

namespace dispfit {
namespace {

// Margins of the plot inside the widget, pixels: room for the tick labels
// at the left and bottom and for the colour bar at the right.
constexpr double kLeft = 56, kRight = 64, kTop = 12, kBottom = 40;
// A press within this many pixels of a pick takes that pick.
constexpr double kGrab = 6.0;
// The mode lines' colour: a magenta that none of viridis's blues, greens
// and yellows comes near, and apart from the white limits and picks.
const QColor kModeColour(255, 90, 200);

QColor colourOf(Rgb rgb) {
  return QColor(rgb.r, rgb.g, rgb.b);
}

}  // namespace

DispersionImageView::DispersionImageView(QWidget* parent) : QWidget(parent) {
  setMinimumSize(290, 260);  // its axes, colour bar and an image on a laptop at 150 %
  setFocusPolicy(Qt::ClickFocus);
  setMouseTracking(false);
}

void DispersionImageView::showOffset(OffsetResult* offset, const PickingRules& rules) {
  offset_ = offset;
  rules_ = rules;
  dragged_.reset();
  touched_.reset();
  renderHeatMap();
  update();
}

void DispersionImageView::renderHeatMap() {
  if (!offset_) {
    heatMap_ = QImage();
    return;
  }
  const DispersionImage& image = offset_->image;
  heatMap_ = QImage(int(image.frequencyCount), int(image.velocityCount), QImage::Format_RGB32);
  for (std::size_t l = 0; l < image.velocityCount; ++l) {
    auto* row = reinterpret_cast<QRgb*>(heatMap_.scanLine(int(image.velocityCount - 1 - l)));
    for (std::size_t i = 0; i < image.frequencyCount; ++i) {
      const Rgb c = viridis(image.at(i, l));
      row[i] = qRgb(c.r, c.g, c.b);
    }
  }
}

void DispersionImageView::showModeLines(std::vector<ModeLine> lines) {
  modeLines_ = std::move(lines);
  update();
}

void DispersionImageView::paintModeLines(QPainter& painter) const {
  const QRectF plot = plotRect();
  const double step = offset_->image.grid.frequency.step;
  const QFontMetrics metrics(font());
  for (const ModeLine& line : modeLines_) {
    // A frequency the mode skips (more than a step from the one before)
    // breaks its line.
    QPainterPath path;
    std::optional<QPointF> label;  // its first point inside the plot
    for (std::size_t j = 0; j < line.frequencies.size(); ++j) {
      const QPointF at = pointOf(line.frequencies[j], line.velocities[j]);
      if (j == 0 || line.frequencies[j] - line.frequencies[j - 1] > 1.5 * step) {
        path.moveTo(at);
      } else {
        path.lineTo(at);
      }
      if (!label && plot.contains(at)) label = at;
    }
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(kModeColour, line.mode == 0 ? 2.0 : 1.5,
                        line.mode == 0 ? Qt::SolidLine : Qt::DashLine));
    painter.drawPath(path);
    if (!label) continue;
    // The number where the mode enters the plot, at the low frequencies
    // where the modes lie apart, on a dark box that any cell shows it on.
    const QString number = QString::number(line.mode);
    const QRectF box(label->x() + 3, label->y() - metrics.height() - 1,
                     metrics.horizontalAdvance(number) + 4, metrics.height());
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0, 170));
    painter.drawRect(box.intersected(plot));
    painter.setPen(kModeColour);
    painter.drawText(box, Qt::AlignCenter, number);
  }
}

QRectF DispersionImageView::plotRect() const {
  return QRectF(kLeft, kTop, std::max(10.0, width() - kLeft - kRight),
                std::max(10.0, height() - kTop - kBottom));
}

QPointF DispersionImageView::pointOf(double frequency, double velocity) const {
  const QRectF plot = plotRect();
  if (!offset_) return plot.center();
  const ImageGrid& grid = offset_->image.grid;
  const double f0 = grid.frequency.first, f1 = grid.frequency.at(offset_->image.frequencyCount - 1);
  const double v0 = grid.velocity.first, v1 = grid.velocity.at(offset_->image.velocityCount - 1);
  return {plot.left() + (frequency - f0) / (f1 - f0) * plot.width(),
          plot.bottom() - (velocity - v0) / (v1 - v0) * plot.height()};
}

std::pair<double, double> DispersionImageView::valueAt(QPointF pixel) const {
  const QRectF plot = plotRect();
  if (!offset_) return {0.0, 0.0};
  const ImageGrid& grid = offset_->image.grid;
  const double f0 = grid.frequency.first, f1 = grid.frequency.at(offset_->image.frequencyCount - 1);
  const double v0 = grid.velocity.first, v1 = grid.velocity.at(offset_->image.velocityCount - 1);
  return {f0 + (pixel.x() - plot.left()) / plot.width() * (f1 - f0),
          v0 + (plot.bottom() - pixel.y()) / plot.height() * (v1 - v0)};
}

std::optional<std::size_t> DispersionImageView::pickNear(QPointF pixel) const {
  if (!offset_) return std::nullopt;
  std::optional<std::size_t> best;
  double nearest = kGrab;
  for (std::size_t n = 0; n < offset_->picks.size(); ++n) {
    const QPointF p = pointOf(offset_->picks[n].frequency, offset_->picks[n].velocity);
    const double d = std::hypot(p.x() - pixel.x(), p.y() - pixel.y());
    if (d <= nearest) {
      nearest = d;
      best = n;
    }
  }
  return best;
}

void DispersionImageView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), palette().window());
  const QRectF plot = plotRect();
  painter.setPen(palette().color(QPalette::WindowText));
  if (!offset_) {
    painter.drawRect(plot);
    return;
  }
  painter.drawImage(plot, heatMap_);
  const ImageGrid& grid = offset_->image.grid;
  const double f0 = grid.frequency.first, f1 = grid.frequency.at(offset_->image.frequencyCount - 1);
  const double v0 = grid.velocity.first, v1 = grid.velocity.at(offset_->image.velocityCount - 1);
  // The limits: v = lambda f, dashed.
  painter.save();
  painter.setClipRect(plot);
  painter.setPen(QPen(Qt::white, 1.5, Qt::DashLine));
  for (const double wavelength :
       {offset_->limits.shortestWavelength, offset_->limits.longestWavelength}) {
    painter.drawLine(pointOf(f0, wavelength * f0), pointOf(f1, wavelength * f1));
  }
  painter.setRenderHint(QPainter::Antialiasing);
  paintModeLines(painter);
  for (std::size_t n = 0; n < offset_->picks.size(); ++n) {
    const Pick& pick = offset_->picks[n];
    painter.setPen(QPen(Qt::black, 1.0));
    painter.setBrush(pick.insideLimits ? QColor(Qt::white) : QColor(230, 40, 40));
    const double radius = touched_ && *touched_ == n ? 4.5 : 3.0;
    painter.drawEllipse(pointOf(pick.frequency, pick.velocity), radius, radius);
  }
  if (bandStart_ && bandEnd_) {
    painter.setPen(QPen(Qt::white, 1.0, Qt::DotLine));
    painter.setBrush(QColor(255, 255, 255, 40));
    painter.drawRect(QRectF(*bandStart_, *bandEnd_).normalized());
  }
  painter.restore();
  painter.setPen(palette().color(QPalette::WindowText));
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(plot);
  const QFontMetrics metrics(font());
  const double fStep = roundTickInterval(f1 - f0, 6);
  for (double f = std::ceil(f0 / fStep - 1e-9) * fStep; f <= f1 + 1e-9; f += fStep) {
    const QPointF at = pointOf(f, v0);
    painter.drawLine(at, at + QPointF(0, 4));
    const QString label = QString::fromStdString(fixedText(f, fStep < 1 ? 1 : 0));
    painter.drawText(
        QPointF(at.x() - metrics.horizontalAdvance(label) / 2.0, at.y() + 6 + metrics.ascent()),
        label);
  }
  const double vStep = roundTickInterval(v1 - v0, 6);
  for (double v = std::ceil(v0 / vStep - 1e-9) * vStep; v <= v1 + 1e-9; v += vStep) {
    const QPointF at = pointOf(f0, v);
    painter.drawLine(at, at - QPointF(4, 0));
    const QString label = QString::fromStdString(fixedText(v, 0));
    painter.drawText(
        QPointF(at.x() - 6 - metrics.horizontalAdvance(label), at.y() + metrics.ascent() / 2.0),
        label);
  }
  painter.drawText(QPointF(plot.center().x() - 20, height() - 6), QStringLiteral("f (Hz)"));
  painter.drawText(QPointF(4, kTop + metrics.ascent()), QStringLiteral("v"));
  // The colour bar, 0 at the bottom to 1 at the top.
  const QRectF bar(plot.right() + 14, plot.top(), 14, plot.height());
  for (int y = 0; y < int(bar.height()); ++y) {
    painter.setPen(colourOf(viridis(1.0 - double(y) / std::max(1.0, bar.height() - 1))));
    painter.drawLine(QPointF(bar.left(), bar.top() + y), QPointF(bar.right(), bar.top() + y));
  }
  painter.setPen(palette().color(QPalette::WindowText));
  painter.drawText(QPointF(bar.right() + 3, bar.top() + metrics.ascent()), QStringLiteral("1"));
  painter.drawText(QPointF(bar.right() + 3, bar.bottom()), QStringLiteral("0"));
}

void DispersionImageView::mousePressEvent(QMouseEvent* event) {
  if (!offset_ || !plotRect().contains(event->position())) return;
  const std::optional<std::size_t> near = pickNear(event->position());
  if (event->button() == Qt::RightButton) {
    if (near) {
      deletePick(*offset_, *near);
      touched_.reset();
      Q_EMIT picksEdited();
      update();
    }
    return;
  }
  if (event->button() != Qt::LeftButton) return;
  if (event->modifiers() & Qt::ShiftModifier) {
    bandStart_ = bandEnd_ = event->position();
    return;
  }
  if (near) {
    dragged_ = touched_ = near;
    return;
  }
  const auto [f, v] = valueAt(event->position());
  touched_ = addPick(*offset_, f, v);
  Q_EMIT picksEdited();
  update();
}

void DispersionImageView::mouseMoveEvent(QMouseEvent* event) {
  if (!offset_) return;
  if (bandStart_) {
    bandEnd_ = event->position();
    update();
    return;
  }
  if (!dragged_) return;
  const auto [f, v] = valueAt(event->position());
  dragged_ = touched_ = movePick(*offset_, *dragged_, f, v);
  Q_EMIT picksEdited();
  update();
}

void DispersionImageView::mouseReleaseEvent(QMouseEvent*) {
  if (offset_ && bandStart_ && bandEnd_) {
    const auto [fa, va] = valueAt(*bandStart_);
    const auto [fb, vb] = valueAt(*bandEnd_);
    if (std::abs(bandEnd_->x() - bandStart_->x()) > 3 &&
        std::abs(bandEnd_->y() - bandStart_->y()) > 3) {
      repickInBand(*offset_, {fa, fb, va, vb}, rules_);
      Q_EMIT picksEdited();
    }
  }
  bandStart_.reset();
  bandEnd_.reset();
  dragged_.reset();
  update();
}

void DispersionImageView::keyPressEvent(QKeyEvent* event) {
  if (offset_ && touched_ &&
      (event->key() == Qt::Key_Delete || event->key() == Qt::Key_Backspace)) {
    deletePick(*offset_, *touched_);
    touched_.reset();
    Q_EMIT picksEdited();
    update();
    return;
  }
  QWidget::keyPressEvent(event);
}

}  // namespace dispfit
