// The main window's commands: forward run, quit, copy, print and About.
#include "core/forward_model.h"
#include "core/program_title.h"
#include "core/velocity_axis.h"
#include "window/chart_output.h"
#include "window/tabout.h"
#include "window/tform1.h"

namespace dispfit {

void TForm1::Button1Click() {
  const TableReading reading = readLayerRows(tableRows());
  if (!reading.layers) {
    messages_.showBox(badRowMessage(reading.bad.row), kMessageCaption, MessageIcon::Warning);
    return;
  }
  storeLayers(*reading.layers);

  ForwardModel model(engine_, freqCount, freq, layerCount, vs, thickness, density, false);
  // A failed calculation has shown its box; vr then keeps the curve it held,
  // so the chart never shows values that no model produced.
  if (model.runForward()) model.copyVrCalc(vr);
  showCurve();
}

void TForm1::showCurve() {
  const AxisRange fitted = fitVelocityAxis({LeftAxis->min(), LeftAxis->max()}, vr, freqCount);
  setVelocityRange(fitted.minimum, fitted.maximum);

  drawSeries();
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
