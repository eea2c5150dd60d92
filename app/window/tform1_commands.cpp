// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's commands: forward run, quit, copy, print and About.
#include <span>

#include "core/curve_points.h"
#include "core/forward_model.h"
#include "core/number_text.h"
#include "core/program_title.h"
#include "core/velocity_axis.h"
#include "site/fit_statistics.h"
#include "window/chart_output.h"
#include "window/tabout.h"
#include "window/tform1.h"

namespace dispfit {

void TForm1::Button1Click() {
  const TableReading reading = checkLayerRows(tableRows());
  if (!reading.layers) {
    messages_.showBox(badCellMessage(reading.bad, translator_), kMessageCaption,
                      MessageIcon::Warning);
    return;
  }
  storeLayers(*reading.layers);

  if (measured_) {
    computeAtMeasuredFrequencies();
    return;
  }
  ForwardModel model(engine_, freqCount, freq, layerCount, vs, thickness, density, false);
  // A failed calculation has shown its box; vr then keeps the curve it held,
  // so the chart never shows values that no model produced.
  if (model.runForward()) {
    model.copyVrCalc(vr);
    showComputedModel(std::nullopt);  // the window's own curve: no misfit to show
  }
  showCurve();
}

void TForm1::computeAtMeasuredFrequencies() {
  ForwardModel model(fitEngine(), freqCount, freq, layerCount, vs, thickness, density, false);
  if (!model.runForward()) return;  // the failure has shown its box; nothing changes
  model.copyVrCalc(vr);
  drawSeries();
  fitAxesToMeasuredCurve();

  const FitStatistics fit =
      fitStatistics(measured_->inverted, computedCurve(std::span<const float>(vr, freqCount)));
  showComputedModel(fit.rmsMisfit);
  showStatus([fit] {
    if (!fit.rmsMisfit) return StatusText{tr("没有可比较的点。"), {}};
    const QString rms = QString::fromStdString(figureText(*fit.rmsMisfit, Figure::Velocity));
    QString shown = tr("拟合差（未加权 RMS）%1 m/s").arg(rms);
    shown += fit.withBand > 0 ? tr("，%1/%2 个点在误差带内").arg(fit.insideBand).arg(fit.withBand)
                              : tr("，曲线无误差带");
    if (fit.withoutRoot > 0) shown += tr("；%1 个频率无解").arg(fit.withoutRoot);
    return StatusText{shown + tr("。"), {}};
  });
}

void TForm1::showCurve() {
  const DrawableCurve drawable = drawableCurve(freq, vr, freqCount);
  const AxisRange fitted =
      fitVelocityAxis({LeftAxis->min(), LeftAxis->max()}, drawable.vr.data(), drawable.count());
  setVelocityRange(fitted.minimum, fitted.maximum);

  drawSeries();
  if (drawable.withoutRoot == 0) {
    clearStatus();
    return;
  }
  const int withoutRoot = drawable.withoutRoot;
  showStatus([withoutRoot] {
    return StatusText{tr("%1 个频率无解，未绘出。").arg(withoutRoot), {}};
  });
}

void TForm1::Button3Click() {
  close();
}

void TForm1::Button4Click() {
  copyChartToClipboard(Chart);
}

void TForm1::Button5Click() {
  const std::unique_ptr<QPrinter> printer = printers_.defaultPrinter();
  if (!printer) {
    messages_.showError(tr("没有可用的默认打印机，无法打印频散曲线。").toStdString());
    return;
  }
  const QString failure = printChart(Chart, *printer);
  if (!failure.isEmpty()) messages_.showError(failure.toStdString());
}

void TForm1::Label3Click() {
  if (about_ == nullptr) return;
  about_->showModalWithTitle(QString::fromUtf8(kProgramTitle));
}

}  // namespace dispfit
