// The main window's invert command. After every engine run the solve lets
// pending window messages run, so the window repaints and the status line
// follows the iteration and misfit; meanwhile the commands and the model
// group are disabled, a second click cannot start a second solve, and a close
// waits until the solve has ended and its outcome has been shown.
#include <QCloseEvent>
#include <QCoreApplication>
#include <span>
#include <utility>
#include <vector>

#include "core/curve_points.h"
#include "core/forward_model.h"
#include "site/fit_statistics.h"
#include "window/inversion_settings_dialog.h"

#include "inversion/window_inversion.h"
#include "window/tform1.h"

namespace dispfit {

namespace {

// Runs an action when the scope is left, also by an exception.
template <typename Action>
class OnScopeExit {
 public:
  explicit OnScopeExit(Action action) : action_(std::move(action)) {}
  OnScopeExit(const OnScopeExit&) = delete;
  OnScopeExit& operator=(const OnScopeExit&) = delete;
  ~OnScopeExit() { action_(); }

 private:
  Action action_;
};

}  // namespace

void TForm1::showInversionProgress(int32_t iteration, float misfit) {
  // Three significant digits, as many as the report gives.
  const QString rms = QString::number(double{misfit}, 'g', 3);
  if (iteration == 0) {
    showStatus(tr("起始模型：拟合差（未加权 RMS）%1 m/s").arg(rms),
               tr("Starting model: misfit (unweighted RMS) %1 m/s.").arg(rms));
    return;
  }
  showStatus(tr("迭代 %1：拟合差（未加权 RMS）%2 m/s").arg(iteration).arg(rms),
             tr("Iteration %1: misfit (unweighted RMS) %2 m/s.").arg(iteration).arg(rms));
}

void TForm1::Button2Click() {
  if (inversionRunning_) return;

  // A loaded curve is fitted from the table's model, checked as the forward
  // run checks it; otherwise the window's own arrays are fitted as they are.
  std::vector<float> observed;
  if (measured_) {
    const TableReading reading = checkLayerRows(tableRows());
    if (!reading.layers) {
      messages_.showBox(badCellMessage(reading.bad), kMessageCaption, MessageIcon::Warning);
      return;
    }
    storeLayers(*reading.layers);
    for (const MeasuredPoint& point : measured_->inverted) {
      observed.push_back(static_cast<float>(point.velocity));
    }
  }

  WindowInversionOutcome outcome;
  {
    inversionRunning_ = true;
    setCommandsEnabled(false);
    const OnScopeExit done([this] {
      setCommandsEnabled(true);
      inversionRunning_ = false;
    });
    const float* observedVr = measured_ ? observed.data() : vr;
    const InversionWindowData arrays{layerCount, vs,   thickness, density,
                                     freqCount,  freq, observedVr};
    const InversionWatch watch{
        [this] {
          QCoreApplication::processEvents();
          return RunVerdict::Continue;
        },
        [this](int32_t iteration, float misfit) { showInversionProgress(iteration, misfit); }};
    // Every trial and every iteration runs the engine, so the pump after each
    // run also serves where the solve itself would pump.
    outcome = invertWindowCurve(arrays, engine_, {}, inversionLimits_, watch);
  }
  if (measured_ && outcome.succeeded) {
    outcome.text += '\n';
    outcome.text += showFittedCurve();
  }
  presentInversionOutcome(outcome, messages_);

  if (closeDeferred_) {
    closeDeferred_ = false;
    close();
  }
}

std::string TForm1::showFittedCurve() {
  fitted_ = ParsedLayers{
      {thickness, thickness + layerCount}, {vs, vs + layerCount}, {density, density + layerCount}};
  ApplyFittedAction->setEnabled(true);
  float fittedVr[kCurveCapacity] = {};
  ForwardModel model(engine_, freqCount, freq, layerCount, vs, thickness, density, false);
  if (!model.runForward()) return {};
  model.copyVrCalc(fittedVr);

  const DrawableCurve drawable = drawableCurve(freq, fittedVr, freqCount);
  fittedCurve_ = curvePoints(drawable.freq.data(), drawable.vr.data(), drawable.count());
  drawFittedCurve();
  FittedSeries->setVisible(true);
  fitAxesToMeasuredCurve();

  const FitStatistics fit = fitStatistics(
      measured_->inverted, computedCurve(std::span<const float>(fittedVr, freqCount)));
  const QString inside = fit.withBand > 0
                             ? tr("%1/%2 个点在误差带内。 (%1 of %2 points inside the band.)")
                                   .arg(fit.insideBand)
                                   .arg(fit.withBand)
                             : tr("曲线无误差带。 (The curve has no band.)");
  showStatus(tr("拟合曲线已绘出。") + inside.left(inside.indexOf(QStringLiteral(" ("))),
             tr("Fitted curve drawn.") + ' ' + inside);
  return inside.toStdString();
}

void TForm1::drawFittedCurve() {
  QList<QPointF> points;
  for (const CurvePoint& p : fittedCurve_) {
    points.append(QPointF(abscissa(p.frequency, p.velocity), p.velocity));
  }
  FittedSeries->replace(points);
}

bool TForm1::setInversionLimits(const InversionLimits& limits) {
  const std::string fault = inversionLimitsFault(limits);
  if (!fault.empty()) {
    messages_.showBox(fault, kMessageCaption, MessageIcon::Warning);
    return false;
  }
  inversionLimits_ = limits;
  return true;
}

void TForm1::InversionSettingsClick() {
  InversionSettingsDialog dialog(inversionLimits_, this);
  if (dialog.exec() == QDialog::Accepted) setInversionLimits(dialog.limits());
}

void TForm1::closeEvent(QCloseEvent* event) {
  if (inversionRunning_) {
    closeDeferred_ = true;
    event->ignore();
    return;
  }
  QWidget::closeEvent(event);
}

}  // namespace dispfit
