// SPDX-License-Identifier: GPL-3.0-or-later
// The shot-records window: one drag step of a pick, from the mouse event to
// the image and its picks painted again (the target: 16 ms, one frame), on
// the image of five stacked records (191 frequencies x 951 velocities).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFile>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <iostream>

#include "core/stream_message_presenter.h"
#include "layered_site.h"
#include "record_writers.h"
#include "window/shot_records_window.h"

namespace {

void BM_MovePickAndRedraw(benchmark::State& state) {
  QTemporaryDir folder;
  QStringList paths;
  std::uint64_t seed = 1;
  for (const double offset : {5.0, 10.0, 20.0}) {
    for (int copy = 0; copy < 5; ++copy) {
      const dispfit::ModalCurve modes[] = {dispfit_test::siteFundamental()};
      const auto bytes =
          dispfit_test::seg2Bytes(dispfit_test::seg2Traces(dispfit::syntheticRecord(
                                      dispfit_test::siteShot(offset, 0.1, seed++), modes)),
                                  {});
      const QString path = folder.filePath(QStringLiteral("shot%1.sg2").arg(seed));
      QFile file(path);
      file.open(QIODevice::WriteOnly);
      file.write(reinterpret_cast<const char*>(bytes.data()), qint64(bytes.size()));
      paths.append(path);
    }
  }
  dispfit::StreamMessagePresenter messages(std::cerr);
  dispfit::ShotRecordsWindow window(messages);
  if (!window.openRecords(paths)) {
    state.SkipWithError("the records could not be opened");
    return;
  }
  window.show();
  QApplication::processEvents();
  dispfit::DispersionImageView& view = window.imageView();
  const dispfit::Pick& pick = window.survey().offsets[0].picks[40];
  const double frequency = pick.frequency;
  double velocity = pick.velocity;
  const auto send = [&](QEvent::Type type, double v) {
    const QPointF at = view.pointOf(frequency, v);
    QMouseEvent event(type, at, view.mapToGlobal(at),
                      type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(&view, &event);
  };
  send(QEvent::MouseButtonPress, velocity);
  double step = 2.0;
  for (auto _ : state) {
    velocity += step;
    step = -step;
    send(QEvent::MouseMove, velocity);
    view.repaint();  // painted now, not when the event loop next turns
  }
  send(QEvent::MouseButtonRelease, velocity);
}
BENCHMARK(BM_MovePickAndRedraw)->Unit(benchmark::kMillisecond);

}  // namespace
