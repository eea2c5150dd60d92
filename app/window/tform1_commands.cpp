// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's commands: forward run, quit, copy, print and About.
#include <span>

#include "core/curve_points.h"
#include "core/forward_model.h"
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
    messages_.showBox(badCellMessage(reading.bad), kMessageCaption, MessageIcon::Warning);
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
  if (!fit.rmsMisfit) {
    showStatus(tr("没有可比较的点。"), tr("No point to compare."));
    return;
  }
  const QString rms = QString::number(*fit.rmsMisfit, 'f', 1);
  QString shown = tr("拟合差（未加权 RMS）%1 m/s").arg(rms);
  QString english = tr("Misfit, unweighted RMS: %1 m/s;").arg(rms);
  if (fit.withBand > 0) {
    shown += tr("，%1/%2 个点在误差带内").arg(fit.insideBand).arg(fit.withBand);
    english += ' ' + tr("%1 of %2 points inside the band.").arg(fit.insideBand).arg(fit.withBand);
  } else {
    shown += tr("，曲线无误差带");
    english += ' ' + tr("the curve has no band.");
  }
  if (fit.withoutRoot > 0) {
    shown += tr("；%1 个频率无解").arg(fit.withoutRoot);
    english += ' ' + tr("%1 frequencies without a root are not drawn.").arg(fit.withoutRoot);
  }
  showStatus(shown + tr("。"), english);
}

void TForm1::showCurve() {
  const DrawableCurve drawable = drawableCurve(freq, vr, freqCount);
  const AxisRange fitted =
      fitVelocityAxis({LeftAxis->min(), LeftAxis->max()}, drawable.vr.data(), drawable.count());
  setVelocityRange(fitted.minimum, fitted.maximum);

  drawSeries();
  StatusLine.setText(drawable.withoutRoot == 0
                         ? QString()
                         : QString::fromUtf8("%1 个频率无解，未绘出。 (%1 frequencies without a "
                                             "root are not drawn.)")
                               .arg(drawable.withoutRoot));
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
    messages_.showError(
        "没有可用的默认打印机，无法打印频散曲线。 (No default printer is installed.)");
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
