// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's invert command. After every engine run the solve lets
// pending window messages run, so the window repaints, the status line
// follows the iteration and misfit, and 取消 can stop the solve there;
// meanwhile the commands and the model group are disabled, a second click
// cannot start a second solve, and a close waits until the solve has ended
// and its outcome has been shown. A cancelled solve leaves the window's data
// as they were before it.
#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <algorithm>
#include <array>
#include <memory>
#include <span>
#include <utility>
#include <vector>

#include "core/curve_points.h"
#include "core/forward_model.h"
#include "core/number_text.h"
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

// The window's model arrays, kept to be put back after a cancelled solve.
struct LayerArrays {
  int32_t layerCount = 0;
  std::array<float, kWindowLayerLimit> vs{}, thickness{}, density{};
};

LayerArrays copyLayers(const TForm1& form) {
  LayerArrays copy;
  copy.layerCount = form.layerCount;
  std::copy_n(form.vs, kWindowLayerLimit, copy.vs.begin());
  std::copy_n(form.thickness, kWindowLayerLimit, copy.thickness.begin());
  std::copy_n(form.density, kWindowLayerLimit, copy.density.begin());
  return copy;
}

void restoreLayers(TForm1& form, const LayerArrays& copy) {
  form.layerCount = copy.layerCount;
  std::copy(copy.vs.begin(), copy.vs.end(), form.vs);
  std::copy(copy.thickness.begin(), copy.thickness.end(), form.thickness);
  std::copy(copy.density.begin(), copy.density.end(), form.density);
}

}  // namespace

void TForm1::buildCancelButton() {
  // Over the invert button, on the divider between the chart and the
  // buttons (placed there by the window's layout).
  CancelButton.setEnabled(false);  // its texts come with retranslate()
  connect(&CancelButton, &QPushButton::clicked, this, [this] { CancelClick(); });
  // Escape as a window shortcut of its own: the button's shortcut would click
  // it only after an animation timer, which a running solve may never reach.
  // Enabled with the button only, so that Escape still ends a cell's edit.
  auto escape = std::make_unique<QAction>(this);
  CancelAction = escape.get();
  CancelAction->setShortcut(QKeySequence(Qt::Key_Escape));
  CancelAction->setShortcutContext(Qt::WindowShortcut);
  CancelAction->setEnabled(false);
  connect(CancelAction, &QAction::triggered, this, [this] { CancelClick(); });
  addAction(escape.release());  // owned by the window as its child
}

void TForm1::CancelClick() {
  if (inversionRunning_) cancelRequested_ = true;
}

void TForm1::showInversionProgress(int32_t iteration, float misfit) {
  // In the report's own pattern, "1.23E-04".
  const QString value = QString::fromStdString(formatScientific(misfit));
  showStatus([iteration, value] {
    // The report's misfit, named as such: sqrt(sum r^2 / 2M) is the RMS of
    // the residuals over the square root of two.
    const QString what = tr("m/s（未加权，√(Σr²/2M)，同报告）");
    const QString shown = iteration == 0 ? tr("起始模型：拟合差 %1 ").arg(value)
                                         : tr("迭代 %1：拟合差 %2 ").arg(iteration).arg(value);
    return StatusText{shown + what, {}};
  });
}

void TForm1::Button2Click() {
  if (inversionRunning_) return;
  const LayerArrays before = copyLayers(*this);

  // A loaded curve is fitted from the table's model, checked as the forward
  // run checks it; otherwise the window's own arrays are fitted as they are.
  std::vector<float> observed;
  if (measured_) {
    const TableReading reading = checkLayerRows(tableRows());
    if (!reading.layers) {
      messages_.showBox(badCellMessage(reading.bad, translator_), kMessageCaption,
                        MessageIcon::Warning);
      return;
    }
    storeLayers(*reading.layers);
    showStartingProfile(*reading.layers);
    for (const MeasuredPoint& point : measured_->inverted) {
      observed.push_back(static_cast<float>(point.velocity));
    }
  }

  WindowInversionOutcome outcome;
  {
    inversionRunning_ = true;
    cancelRequested_ = false;
    setCommandsEnabled(false);
    CancelButton.setEnabled(true);
    CancelAction->setEnabled(true);
    ExportAction->setEnabled(false);
    const OnScopeExit done([this] {
      CancelButton.setEnabled(false);
      CancelAction->setEnabled(false);
      ExportAction->setEnabled(true);
      setCommandsEnabled(true);
      inversionRunning_ = false;
    });
    const float* observedVr = measured_ ? observed.data() : vr;
    const InversionWindowData arrays{layerCount, vs,   thickness, density,
                                     freqCount,  freq, observedVr};
    const InversionWatch watch{
        [this] {
          QCoreApplication::processEvents();
          return cancelRequested_ ? RunVerdict::Stop : RunVerdict::Continue;
        },
        [this](int32_t iteration, float misfit) { showInversionProgress(iteration, misfit); }};
    // Every trial and every iteration runs the engine, so the pump after each
    // run also serves where the solve itself would pump.
    outcome = invertWindowCurve(arrays, measured_ ? fitEngine() : engine_, {}, inversionLimits_,
                                watch, translator_);
  }
  if (outcome.cancelled) {
    restoreLayers(*this, before);
    showStatus([] { return StatusText{tr("反演已取消。"), {}}; });
  }
  if (measured_ && outcome.succeeded) {
    outcome.text += '\n';
    outcome.text += showFittedCurve();
    // Below the described lines: why the fit stopped, and what it left on a
    // bound.
    outcome.text += '\n' + stopReasonText(outcome).toStdString();
    for (const ParameterAtBound& at : parametersAtBounds(*fitted_, inversionLimits_)) {
      outcome.text += '\n' + atBoundText(at, inversionLimits_).toStdString();
    }
  }
  presentInversionOutcome(outcome, messages_);

  if (closeDeferred_) {
    closeDeferred_ = false;
    close();
  }
}

QString TForm1::stopReasonText(const WindowInversionOutcome& outcome) {
  const int iterations = outcome.iterations;
  const int limit = outcome.maxIterations;
  switch (outcome.stop) {
    case StopReason::Converged:
      return tr("停止原因：拟合差已低于容差 0.001 m/s（%1 次迭代，上限 %2 次）。")
          .arg(iterations)
          .arg(limit);
    case StopReason::SmallStep:
      return tr("停止原因：已收敛，最后一步的各分量都小得无法再走（%1 次迭代，上限 %2 次）；"
                "这是拟合差的一个极小值，未必是最小的。")
          .arg(iterations)
          .arg(limit);
    case StopReason::IterationLimit:
      return tr("停止原因：已达迭代次数上限 %1 次而尚未收敛；结果是最后一次迭代的模型"
                "（可在反演设置中提高上限）。")
          .arg(limit);
    case StopReason::Stalled:
      return tr("停止原因：再没有阻尼步长能降低拟合差（%1 次迭代）；结果是最后接受的模型。")
          .arg(iterations);
    case StopReason::Failed:
    case StopReason::NotRun:
      break;
  }
  return {};
}

QString TForm1::atBoundText(const ParameterAtBound& at, const InversionLimits&) {
  const QString value = QString::fromStdString(
      figureText(at.value, at.thickness ? Figure::Length : Figure::Velocity));
  const QString bound = QString::fromStdString(exactText(at.bound));
  if (at.thickness) {
    return (at.upper ? tr("第 %1 层厚度 %2 m 停在上限 %3 m：更宽的范围也许拟合得更好。")
                     : tr("第 %1 层厚度 %2 m 停在下限 %3 m：更宽的范围也许拟合得更好。"))
        .arg(at.layer)
        .arg(value, bound);
  }
  return (at.upper ? tr("第 %1 层 Vs %2 m/s 停在上限 %3 m/s：更宽的范围也许拟合得更好。")
                   : tr("第 %1 层 Vs %2 m/s 停在下限 %3 m/s：更宽的范围也许拟合得更好。"))
      .arg(at.layer)
      .arg(value, bound);
}

std::string TForm1::showFittedCurve() {
  fitted_ = ParsedLayers{
      {thickness, thickness + layerCount}, {vs, vs + layerCount}, {density, density + layerCount}};
  ApplyFittedAction->setEnabled(true);
  fittedVelocities_.clear();
  float fittedVr[kCurveCapacity] = {};
  ForwardModel model(fitEngine(), freqCount, freq, layerCount, vs, thickness, density, false);
  if (!model.runForward()) return {};
  model.copyVrCalc(fittedVr);

  const DrawableCurve drawable = drawableCurve(freq, fittedVr, freqCount);
  fittedCurve_ = curvePoints(drawable.freq.data(), drawable.vr.data(), drawable.count());
  drawFittedCurve();
  FittedSeries->setVisible(true);
  fitAxesToMeasuredCurve();

  fittedVelocities_ = computedCurve(std::span<const float>(fittedVr, freqCount));
  drawResiduals();
  const FitStatistics fit = fitStatistics(measured_->inverted, fittedVelocities_);
  showFittedProfile(fit.rmsMisfit);
  const auto insideText = [fit] {
    return fit.withBand > 0 ? tr("%1/%2 个点在误差带内。").arg(fit.insideBand).arg(fit.withBand)
                            : tr("曲线无误差带。");
  };
  showStatus([insideText] { return StatusText{tr("拟合曲线已绘出。") + insideText(), {}}; });
  return insideText().toStdString();
}

void TForm1::drawFittedCurve() {
  QList<QPointF> points;
  for (const CurvePoint& p : fittedCurve_) {
    points.append(QPointF(abscissa(p.frequency, p.velocity), p.velocity));
  }
  FittedSeries->replace(points);
}

bool TForm1::setInversionLimits(const InversionLimits& limits) {
  const std::string fault = inversionLimitsFault(limits, translator_);
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
