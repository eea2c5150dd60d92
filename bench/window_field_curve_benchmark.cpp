// SPDX-License-Identifier: GPL-3.0-or-later
// The window with a measured field curve, on the real engine library:
//   BM_OpenAndDrawCurve   a 50-point curve table opened and the chart rendered
//   BM_FieldInversion     a 4-layer starting model fitted to a 30-point curve
//                         from the invert button to the report
//   BM_RepaintGap         the same fit from 4 or 20 layers: the longest time
//                         (gap_ms) between two turns of the window's event
//                         loop, seen by a zero-interval timer, which fires
//                         whenever pending events run and so stands for a
//                         chance to repaint
// The curve is the computed curve of a 4-layer site (2 m at 160 m/s, 3 m at
// 240, 4 m at 330 over 480 m/s) with a +/- 3 % band; the start is 20 %
// slower throughout.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <string>

#include "core/engine_binding.h"
#include "core/forward_model.h"
#include "window/file_chooser.h"
#include "window/printer_source.h"
#include "window/tform1.h"

namespace dispfit {
namespace {

class KeptMessages : public MessagePresenter {
 public:
  void showBox(const std::string& text, const std::string&, MessageIcon) override { last = text; }
  void showPlain(const std::string& text) override { last = text; }
  void showError(const std::string& text) override { last = text; }
  std::string last;
};

// The site's curve at `count` frequencies spread evenly in log frequency
// from 5 to 80 Hz, as a curve table with a +/- 3 % band.
std::string siteCurve(ForwardEngine& engine, int count) {
  float thickness[] = {2.0f, 3.0f, 4.0f, 0.0f}, vs[] = {160.0f, 240.0f, 330.0f, 480.0f},
        density[] = {1.8f, 1.85f, 1.9f, 2.0f};
  float freq[ForwardModel::kFreqCapacity] = {}, vr[ForwardModel::kFreqCapacity] = {};
  for (int i = 0; i < count; ++i) {
    freq[i] = static_cast<float>(80.0 * std::pow(1.0 / 16.0, i / double(count - 1)));
  }
  ForwardModel model(engine, count, freq, 4, vs, thickness, density, false);
  if (!model.runForward()) return {};
  model.copyVrCalc(vr);
  std::string text = "f (Hz), c (m/s), low (m/s), high (m/s)\n";
  for (int i = 0; i < count; ++i) {
    char line[96];
    std::snprintf(line, sizeof line, "%.4f, %.2f, %.2f, %.2f\n", double{freq[i]}, double{vr[i]},
                  0.97 * vr[i], 1.03 * vr[i]);
    text += line;
  }
  return text;
}

QString writeCurve(const QTemporaryDir& dir, const std::string& text) {
  const QString path = dir.filePath(QStringLiteral("site.csv"));
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return {};
  file.write(text.data(), static_cast<qint64>(text.size()));
  return path;
}

void typeStart(TForm1& form) {
  const char* rows[][3] = {
      {"2", "128", "1.8"}, {"3", "192", "1.85"}, {"4", "264", "1.9"}, {"0", "384", "2.0"}};
  while (form.LUpDown.position() < 4) form.LUpDown.stepBy(+1);
  for (int r = 1; r <= 4; ++r) {
    for (int c = 1; c <= 3; ++c) form.Model.setCell(c, r, QString::fromUtf8(rows[r - 1][c - 1]));
  }
}

void BM_OpenAndDrawCurve(benchmark::State& state) {
  KeptMessages messages;
  EngineBinding engine(messages);
  DefaultPrinter printers;
  DialogFileChooser files;
  TForm1 form(messages, engine, printers, files);
  QTemporaryDir dir;
  const QString path = writeCurve(dir, siteCurve(engine, 50));
  form.show();
  for (auto _ : state) {
    if (!form.openMeasuredCurve(path)) state.SkipWithError("curve refused");
    benchmark::DoNotOptimize(form.Chart.grab());  // renders the chart as the screen would
  }
}
BENCHMARK(BM_OpenAndDrawCurve)->Unit(benchmark::kMillisecond);

void BM_FieldInversion(benchmark::State& state) {
  KeptMessages messages;
  EngineBinding engine(messages);
  DefaultPrinter printers;
  DialogFileChooser files;
  TForm1 form(messages, engine, printers, files);
  QTemporaryDir dir;
  const QString path = writeCurve(dir, siteCurve(engine, 30));
  form.show();
  if (!form.openMeasuredCurve(path)) state.SkipWithError("curve refused");
  for (auto _ : state) {
    typeStart(form);
    form.Button2.click();
  }
  state.SetLabel(messages.last.substr(messages.last.rfind('\n', messages.last.size() - 2) + 1));
}
BENCHMARK(BM_FieldInversion)->Unit(benchmark::kMillisecond);

// `layers` rows over the site's top 9.5 m, the last the half-space, with Vs
// rising evenly from 20 % below the top's to 20 % below the half-space's.
void typeLayeredStart(TForm1& form, int layers) {
  if (layers == 4) {
    typeStart(form);
    return;
  }
  while (form.LUpDown.position() < layers) form.LUpDown.stepBy(+1);
  while (form.LUpDown.position() > layers) form.LUpDown.stepBy(-1);
  for (int r = 1; r <= layers; ++r) {
    const double share = (r - 1) / double(layers - 1);
    form.Model.setCell(1, r, QString::number(9.5 / (layers - 1), 'f', 3));
    form.Model.setCell(2, r, QString::number(128.0 + share * (384.0 - 128.0), 'f', 1));
    form.Model.setCell(3, r, QString::number(1.8 + 0.2 * share, 'f', 2));
  }
}

void BM_RepaintGap(benchmark::State& state) {
  using Clock = std::chrono::steady_clock;
  KeptMessages messages;
  EngineBinding engine(messages);
  DefaultPrinter printers;
  DialogFileChooser files;
  TForm1 form(messages, engine, printers, files);
  QTemporaryDir dir;
  const QString path = writeCurve(dir, siteCurve(engine, 30));
  form.show();
  if (!form.openMeasuredCurve(path)) state.SkipWithError("curve refused");

  Clock::time_point last{};
  double longest = 0.0;
  QTimer turns;
  turns.setInterval(0);
  QObject::connect(&turns, &QTimer::timeout, [&] {
    const Clock::time_point now = Clock::now();
    longest = std::max(longest, std::chrono::duration<double>(now - last).count());
    last = now;
  });
  turns.start();
  double worst = 0.0;
  for (auto _ : state) {
    typeLayeredStart(form, static_cast<int>(state.range(0)));
    longest = 0.0;
    last = Clock::now();  // the click's own start counts as the first turn
    form.Button2.click();
    worst = std::max(worst, longest);
  }
  turns.stop();
  state.counters["gap_ms"] = 1000.0 * worst;
  state.SetLabel(messages.last.substr(messages.last.rfind('\n', messages.last.size() - 2) + 1));
}
BENCHMARK(BM_RepaintGap)->Arg(4)->Arg(20)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace dispfit
