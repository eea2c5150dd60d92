// SPDX-License-Identifier: GPL-3.0-or-later
// Writes a picture of the main window, on the real engine, in Chinese or,
// with --language en first, in English; with --screen, the whole screen with
// the window placed on it as DispFit places it (for QT_SCALE_FACTOR and a
// small Xvfb screen):
// --log draws the frequency axis in logarithmic scale:
//   window_screenshot [--language en|zh] [--screen] [--log] <output.png>
//     after a forward run of a three-layer model;
//   window_screenshot <output.png> <curve.csv>
//     with a synthetic measured field curve (written to curve.csv, which must
//     not exist yet: the
//     three-layer model's curve at 30 frequencies from 5 to 80 Hz, moved by
//     up to 1 % and given a +/- 3 % band), a starting model's curve and the
//     fitted curve over it;
//   window_screenshot <output.png> --suggest <curve file>
//     with the measured curve read from the file, a suggested four-layer
//     start computed and inverted: both Vs profiles and the results panel;
//   window_screenshot <output.png> --global <curve file>
//     with the measured curve read from the file and a global search of
//     four-layer models (Vs not decreasing, 20,000 models, seed 1) run to its end: the accepted
//     profiles, their percentiles, the curves' band and the panel's spreads;
//   window_screenshot <output.png> --modes <curve file>
//     with the measured curve read from the file (points that may name their
//     mode), 4 m of 200 m/s over 400 m/s in the table, modes 0 to 2 and the
//     Love modes chosen in the 视图 menu and the model's curve computed;
//   window_screenshot [--screen] <output.png> --records <record files...>
//     the shot-records window with the records opened and analysed anew
//     through the beamformer, its third offset shown, as large as it opens
//     (with --screen: placed on the screen as DispFit places it);
//   window_screenshot <output.png> --records-modes
//     the shot-records window opened from the main window, whose table holds
//     the records' site (4 m of 160, 6 m of 260, 10 m of 380 m/s over 600 m/s),
//     on six records written here (sources 5, 10 and 20 m before 24
//     receivers 2 m apart, the site's Rayleigh modes 0 and 1 from the curve
//     core, mode 1 twice as strong, noise of 10 % of the largest sample),
//     modes 0 to 2 of the table's model over the 10 m offset's image;
//   window_screenshot <output.png> --posterior <curve file>
//   window_screenshot <output.png> --posterior-lowest-root <curve file>
//     the same with the posterior of the search's ranges, under the
//     surface-observed rule (the window's default) or the lowest root; its
//     own window goes to <output>-window.png
//   window_screenshot <output.png> --dialog <ranges file>
//   window_screenshot <output.png> --posterior-dialog <ranges file>
//     the global search dialog alone, its table of each layer's ranges read
//     from the file;
//   window_screenshot <output.png> --columns <curve file>
//     the step of opening a curve whose header the curve table does not
//     know: the dialog that asks which column is which;
//   window_screenshot <output.png> --export <curve file>
//     with the measured curve read from the file, a suggested four-layer
//     start fitted and the global search of --global run, the search
//     exported (its pictures 1000 pixels wide) into a temporary folder: its
//     two chart pictures side by side, as the export wrote them.
//   window_screenshot <output.png> --about
//     the About window alone;
//   window_screenshot <output.png> --records-settings <record files...>
//     the shot-records window's settings dialog for the records, a mute
//     chosen without its time window, so that a fault is shown.
#include <QApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <cmath>
#include <cstdio>
#include <iostream>
#include <optional>
#include <string>
#include <utility>

#include "core/engine_binding.h"
#include "core/stream_message_presenter.h"
#include "core/window_language.h"
#include "record_writers.h"
#include "shots/modal_response.h"
#include "shots/placed_records.h"
#include "shots/record_file.h"
#include "window/export_result_chooser.h"
#include "window/file_chooser.h"
#include "window/global_search_dialog.h"
#include "window/layer_count_chooser.h"
#include "window/masw_settings_dialog.h"
#include "window/printer_source.h"
#include "window/screen_placement.h"
#include "window/search_request_chooser.h"
#include "window/shot_records_window.h"
#include "window/tabout.h"
#include "window/tform1.h"
#include "window/window_translations.h"

namespace {

using dispfit::LayerTexts;

void typeModel(dispfit::TForm1& form, const std::vector<LayerTexts>& rows) {
  while (form.LUpDown.position() < static_cast<int>(rows.size())) form.LUpDown.stepBy(+1);
  while (form.LUpDown.position() > static_cast<int>(rows.size())) form.LUpDown.stepBy(-1);
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const int r = static_cast<int>(i) + 1;
    form.Model.setCell(1, r, QString::fromStdString(rows[i].thickness));
    form.Model.setCell(2, r, QString::fromStdString(rows[i].vs));
    form.Model.setCell(3, r, QString::fromStdString(rows[i].density));
  }
}

bool writeText(const QString& path, const std::string& text) {
  QFile file(path);
  return file.open(QIODevice::WriteOnly) &&
         file.write(text.data(), static_cast<qint64>(text.size())) ==
             static_cast<qint64>(text.size());
}

// The field-curve picture: true model, synthetic curve, start, fit.
bool showFieldCurve(dispfit::TForm1& form, const QString& curvePath) {
  constexpr int kPoints = 30;
  std::string frequencies = "f (Hz), c (m/s)\n";
  for (int i = 0; i < kPoints; ++i) {
    const double f = 5.0 * std::pow(16.0, i / double{kPoints - 1});  // 5 .. 80 Hz
    frequencies += std::to_string(f) + ", 200\n";
  }
  if (!writeText(curvePath, frequencies) || !form.openMeasuredCurve(curvePath)) return false;
  typeModel(form, {{"2.5", "180", "1.8"}, {"4.5", "320", "1.9"}, {"0", "550", "2.0"}});
  form.Button1.click();

  std::string curve =
      "# Synthetic Rayleigh-wave curve of a three-layer site (2.5 m at 180 m/s, 4.5 m at\n"
      "# 320 m/s over 550 m/s), moved by up to 1 % and given a +/- 3 % band.\n"
      "f (Hz), c (m/s), low (m/s), high (m/s)\n";
  for (int i = 0; i < form.freqCount; ++i) {
    const double c = form.vr[i] * (1.0 + 0.01 * std::sin(1.7 * i));
    char line[128];
    std::snprintf(line, sizeof line, "%.3f, %.1f, %.1f, %.1f\n", double{form.freq[i]}, c, 0.97 * c,
                  1.03 * c);
    curve += line;
  }
  if (!writeText(curvePath, curve) || !form.openMeasuredCurve(curvePath)) return false;
  typeModel(form, {{"2", "200", "1.8"}, {"4", "300", "1.9"}, {"0", "600", "2.0"}});
  form.Button1.click();
  form.Button2.click();
  return true;
}

// The measured curve of the file with the table's model's modes over it.
bool showModes(dispfit::TForm1& form, const QString& curvePath) {
  if (!form.openMeasuredCurve(curvePath)) return false;
  typeModel(form, {{"4", "200", "1.8"}, {"0", "400", "2.0"}});
  form.ModeCountActions[1]->trigger();
  form.LoveAction->setChecked(true);
  form.Button1.click();
  return true;
}

// Answers the layer-count question with four layers.
class FourLayers : public dispfit::LayerCountChooser {
 public:
  std::optional<int> layerCount(QWidget*, int, int, int) override { return 4; }
};

// The measured curve of the file, a suggested start, its curve and the fit.
bool showSuggestedFit(dispfit::TForm1& form, const QString& curvePath) {
  if (!form.openMeasuredCurve(curvePath)) return false;
  form.SuggestModelAction->trigger();
  form.Button1.click();
  form.Button2.click();
  return form.siteSummary().has_value();
}

// Answers the global search dialog with four layers of 80 to 1000 m/s and 1
// to 15 m, Vs not decreasing with depth, and a small budget; or the same
// ranges' posterior.
class SmallSearch : public dispfit::SearchRequestChooser {
 public:
  dispfit::SearchMethod method = dispfit::SearchMethod::BestFit;
  bool posteriorObserved = true;

  std::optional<dispfit::SearchRequest> searchRequest(QWidget*,
                                                      const dispfit::SearchRequest&) override {
    dispfit::SearchRequest request;
    request.method = method;
    request.layers = 4;
    request.models = 20000;
    request.seed = 1;
    request.increasing = true;
    request.posteriorObserved = posteriorObserved;
    return request;
  }
};

// A global search on the measured curve loaded, run to its end.
bool runGlobalSearch(dispfit::TForm1& form) {
  form.GlobalSearchAction->trigger();
  // A few seconds on any machine; ten minutes is a hung search.
  const QDeadlineTimer deadline(600000);
  while (form.globalSearchRunning() && !deadline.hasExpired()) {
    QApplication::processEvents();
    QThread::msleep(5);
  }
  return form.searchSummary().has_value() || form.posteriorSummary().has_value();
}

// The measured curve of the file and a global search run to its end.
bool showGlobalSearch(dispfit::TForm1& form, const QString& curvePath) {
  return form.openMeasuredCurve(curvePath) && runGlobalSearch(form);
}

// The About window's link goes nowhere.
class NoLinks : public dispfit::LinkOpener {
 public:
  void open(const QUrl&) override {}
};

// Answers the dialog's file chooser with one file.
class OneFile : public dispfit::FileChooser {
 public:
  explicit OneFile(QString path) : path_(std::move(path)) {}
  QString fileToOpen(QWidget*, const QString&, const QString&) override { return path_; }
  QString fileToSave(QWidget*, const QString&, const QString&) override { return {}; }

 private:
  QString path_;
};

// The search dialog with the ranges file in its table (the posterior
// chosen when asked), drawn to `output`.
int drawSearchDialog(const QString& output, const QString& rangesPath, bool posterior) {
  dispfit::StreamMessagePresenter messages(std::cerr);
  OneFile files(rangesPath);
  dispfit::SearchRequest request;
  if (posterior) request.method = dispfit::SearchMethod::Posterior;
  dispfit::GlobalSearchDialog dialog(request, files, messages);
  if (!dialog.readRangesFile()) return 1;
  dialog.show();
  QApplication::processEvents();
  return dialog.grab().save(output) ? 0 : 1;
}

// The column step's dialog for the curve file, drawn to `output` once it
// shows, then cancelled.
int drawColumnDialog(dispfit::TForm1& form, const QString& output, const QString& curvePath) {
  bool saved = false;
  QTimer::singleShot(200, [&] {
    QWidget* dialog = QApplication::activeModalWidget();
    if (dialog) {
      saved = dialog->grab().save(output);
      dialog->close();
    }
  });
  form.openMeasuredCurve(curvePath);
  return saved ? 0 : 1;
}

// The shot-records window with the record files opened and analysed anew
// through the beamformer (so that its status line shows), its third offset
// selected, drawn to `output`.
int drawShotRecords(const QString& output, const QStringList& paths, bool wholeScreen) {
  dispfit::StreamMessagePresenter messages(std::cerr);
  dispfit::ShotRecordsWindow window(messages);
  if (!window.openRecords(paths)) return 1;
  window.finishAnalysis();
  dispfit::MaswSettings settings = window.settings();
  settings.request.image.transform = dispfit::ImageTransform::beamformer;
  window.applySettings(settings);
  window.finishAnalysis();
  window.offsetList().setCurrentRow(std::min(2, window.offsetList().count() - 1));
  if (wholeScreen) {
    // As DispFit opens it: within the screen's free room.
    QScreen* screen = QGuiApplication::primaryScreen();
    dispfit::placeOnScreen(window, screen->availableGeometry());
    window.show();
    QApplication::processEvents();
    return screen->grabWindow(0).save(output) ? 0 : 1;
  }
  window.show();
  QApplication::processEvents();
  return window.grab().save(output) ? 0 : 1;
}

// Six SEG-2 records of the site's modes 0 and 1, mode 1 twice as strong, into
// `folder`; their paths.
QStringList writeTwoModeRecords(const QString& folder) {
  const std::vector<swcore::ModelLayer> site = {{4.0, 160.0, 1800.0, std::nullopt},
                                                {6.0, 260.0, 1900.0, std::nullopt},
                                                {10.0, 380.0, 2000.0, std::nullopt},
                                                {0.0, 600.0, 2100.0, std::nullopt}};
  std::vector<double> frequencies;
  for (int i = 0; i <= 596; ++i) frequencies.push_back(1.0 + 0.25 * i);
  std::vector<dispfit::ModalCurve> modes = dispfit::rayleighModeCurves(site, frequencies, 2);
  for (std::size_t m = 0; m < modes.size(); ++m) {
    modes[m].amplitudes.clear();
    modes[m].amplitude = m == 1 ? 2.0 : 1.0;
  }
  QStringList paths;
  std::uint64_t seed = 1;
  for (const double offset : {5.0, 10.0, 20.0}) {
    for (int copy = 0; copy < 2; ++copy) {
      dispfit::SyntheticShot shot;
      for (int j = 0; j < 24; ++j) shot.receiverPositions.push_back(2.0 * j);
      shot.sourcePosition = -offset;
      shot.peakFrequency = 30.0;
      shot.waveletDelay = 0.04;
      shot.noiseLevel = 0.1;
      shot.seed = seed++;
      const std::vector<std::uint8_t> bytes = dispfit_test::seg2Bytes(
          dispfit_test::seg2Traces(dispfit::syntheticRecord(shot, modes)), {});
      const QString path = folder + QStringLiteral("/shot%1.sg2").arg(seed);
      QFile file(path);
      if (!file.open(QIODevice::WriteOnly)) return {};
      file.write(reinterpret_cast<const char*>(bytes.data()), qint64(bytes.size()));
      paths.append(path);
    }
  }
  return paths;
}

// The records window as the main window opens it, the table holding the
// records' site, modes 0 to 2 over the 10 m offset's image, drawn to `output`.
int drawRecordsWithModes(dispfit::TForm1& form, const QString& output) {
  QTemporaryDir folder;
  const QStringList paths = writeTwoModeRecords(folder.path());
  if (paths.isEmpty()) return 1;
  typeModel(form,
            {{"4", "160", "1.8"}, {"6", "260", "1.9"}, {"10", "380", "2.0"}, {"0", "600", "2.1"}});
  form.Button1.click();
  dispfit::ShotRecordsWindow& window = form.shotRecordsWindow();
  if (!window.openRecords(paths)) return 1;
  window.finishAnalysis();
  window.modesShown().setChecked(true);
  window.offsetList().setCurrentRow(std::min(1, window.offsetList().count() - 1));
  window.show();
  QApplication::processEvents();
  return window.grab().save(output) ? 0 : 1;
}

// The settings dialog as the shot-records window opens it for the record
// files, a mute chosen without its time window, drawn to `output`.
int drawRecordsSettings(const QString& output, const QStringList& paths) {
  std::vector<dispfit::ShotRecord> records;
  for (const QString& path : paths) {
    dispfit::ShotRecord record;
    std::string error;
    if (!dispfit::readRecordFile(path.toStdString(), record, error)) {
      std::cerr << error << '\n';
      return 1;
    }
    records.push_back(std::move(record));
  }
  dispfit::MaswSettingsDialog dialog(dispfit::defaultMaswSettings(),
                                     dispfit::longestSampleInterval(records),
                                     records.empty() ? 0 : records.front().traces.size());
  dialog.UseMute.setChecked(true);
  dialog.show();
  QApplication::processEvents();
  return dialog.grab().save(output) ? 0 : 1;
}

// Answers the export's question with the last result offered: the search's.
class LastResult : public dispfit::ExportResultChooser {
 public:
  std::optional<int> chooseResult(QWidget*, const QStringList& names) override {
    asked = true;
    return static_cast<int>(names.size()) - 1;
  }
  bool asked = false;
};

// The exported chart pictures of the search of the curve file, after a
// local fit of the suggested start, side by side in one picture: a check
// that the export draws the result it names, whatever the window shows.
int drawExportedCharts(dispfit::TForm1& form, const QString& output, const QString& curvePath) {
  LastResult lastResult;
  form.setExportResultChooser(lastResult);
  form.setExportPictureWidth(1000);
  // The window keeps showing the local fit while the search is exported.
  if (!showSuggestedFit(form, curvePath) || !runGlobalSearch(form)) return 1;
  const QTemporaryDir folder;
  if (!folder.isValid() || !form.exportResults(folder.path()) || !lastResult.asked) return 1;
  const QImage dispersion(folder.filePath(QStringLiteral("dispfit_dispersion.png")));
  const QImage profile(folder.filePath(QStringLiteral("dispfit_vs_depth.png")));
  if (dispersion.isNull() || profile.isNull()) return 1;
  QImage both(dispersion.width() + profile.width(), std::max(dispersion.height(), profile.height()),
              QImage::Format_RGB32);
  both.fill(Qt::white);
  QPainter painter(&both);
  painter.drawImage(0, 0, dispersion);
  painter.drawImage(dispersion.width(), 0, profile);
  painter.end();
  return both.save(output) ? 0 : 1;
}

}  // namespace

int main(int argc, char* argv[]) {
  using namespace dispfit;
  // --language CODE comes first and is taken off before the other arguments.
  std::optional<WindowLanguage> language;
  if (argc >= 3 && std::string(argv[1]) == "--language") {
    language = languageFromCode(argv[2]);
    if (!language) {
      std::fprintf(stderr, "--language takes en or zh\n");
      return 2;
    }
    argv[2] = argv[0];
    argv += 2;
    argc -= 2;
  }
  const auto takeFlag = [&argc, &argv](const char* flag) {
    if (argc < 2 || std::string(argv[1]) != flag) return false;
    argv[1] = argv[0];
    ++argv;
    --argc;
    return true;
  };
  const bool wholeScreen = takeFlag("--screen");
  const bool logarithmic = takeFlag("--log");
  const bool suggest = argc == 4 && std::string(argv[2]) == "--suggest";
  const bool global = argc == 4 && std::string(argv[2]) == "--global";
  const bool dialog = argc == 4 && std::string(argv[2]) == "--dialog";
  const bool posteriorLowestRoot = argc == 4 && std::string(argv[2]) == "--posterior-lowest-root";
  const bool posterior =
      (argc == 4 && std::string(argv[2]) == "--posterior") || posteriorLowestRoot;
  const bool posteriorDialog = argc == 4 && std::string(argv[2]) == "--posterior-dialog";
  const bool about = argc == 3 && std::string(argv[2]) == "--about";
  const bool columns = argc == 4 && std::string(argv[2]) == "--columns";
  const bool records = argc >= 4 && std::string(argv[2]) == "--records";
  const bool recordsSettings = argc >= 4 && std::string(argv[2]) == "--records-settings";
  const bool exported = argc == 4 && std::string(argv[2]) == "--export";
  const bool modes = argc == 4 && std::string(argv[2]) == "--modes";
  const bool recordsModes = argc == 3 && std::string(argv[2]) == "--records-modes";
  if (argc != 2 && !records && !recordsSettings && argc != 3 && !suggest && !global && !dialog &&
      !posterior && !posteriorDialog && !columns && !exported && !modes) {
    std::fprintf(stderr,
                 "usage: %s [--language en|zh] [--screen] [--log] <output.png> [<curve.csv> | "
                 "--suggest <curve file> | --global <curve file> | --posterior <curve file> | "
                 "--posterior-lowest-root <curve file> | "
                 "--dialog <ranges file> | --posterior-dialog <ranges file> | --about | "
                 "--columns <curve file> | --records <record files...> | "
                 "--records-settings <record files...> | --records-modes | "
                 "--export <curve file> | --modes <curve file>]\n",
                 argv[0]);
    return 2;
  }
  QApplication application(argc, argv);
  WindowTranslations languages;
  if (language && !languages.setLanguage(*language)) return 1;
  if (records || recordsSettings) {
    QStringList paths;
    for (int n = 3; n < argc; ++n) paths.append(QString::fromLocal8Bit(argv[n]));
    return records ? drawShotRecords(QString::fromLocal8Bit(argv[1]), paths, wholeScreen)
                   : drawRecordsSettings(QString::fromLocal8Bit(argv[1]), paths);
  }
  if (dialog || posteriorDialog) {
    return drawSearchDialog(QString::fromLocal8Bit(argv[1]), QString::fromLocal8Bit(argv[3]),
                            posteriorDialog);
  }
  if (about) {
    NoLinks links;
    TAbout window(links);
    window.show();
    QApplication::processEvents();
    return window.grab().save(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
  }
  StreamMessagePresenter messages(std::cerr);
  EngineBinding engine(messages);
  DefaultPrinter printers;
  DialogFileChooser files;
  TForm1 form(messages, engine, printers, files);
  form.attachLanguages(languages);  // the 语言 / Language menu as DispFit shows it
  if (recordsModes) return drawRecordsWithModes(form, QString::fromLocal8Bit(argv[1]));
  if (columns) {
    return drawColumnDialog(form, QString::fromLocal8Bit(argv[1]), QString::fromLocal8Bit(argv[3]));
  }
  FourLayers fourLayers;
  form.setLayerCountChooser(fourLayers);
  SmallSearch smallSearch;
  form.setSearchRequestChooser(smallSearch);
  if (exported) {
    form.show();  // legend markers are laid out only in a shown chart
    return drawExportedCharts(form, QString::fromLocal8Bit(argv[1]),
                              QString::fromLocal8Bit(argv[3]));
  }

  if (suggest) {
    if (!showSuggestedFit(form, QString::fromLocal8Bit(argv[3]))) return 1;
  } else if (modes) {
    if (!showModes(form, QString::fromLocal8Bit(argv[3]))) return 1;
  } else if (global || posterior) {
    if (posterior) smallSearch.method = SearchMethod::Posterior;
    smallSearch.posteriorObserved = !posteriorLowestRoot;
    form.show();  // legend markers are laid out only in a shown chart
    if (!showGlobalSearch(form, QString::fromLocal8Bit(argv[3]))) return 1;
  } else if (argc == 3) {
    // The curve file is made here: an existing file is never overwritten.
    const QString curvePath = QString::fromLocal8Bit(argv[2]);
    if (QFile::exists(curvePath)) {
      std::fprintf(stderr, "%s exists; give a new path for the synthetic curve\n", argv[2]);
      return 2;
    }
    if (!showFieldCurve(form, curvePath)) return 1;
  } else {
    typeModel(form, {{"5", "200", "1.8"}, {"10", "400", "2.0"}, {"0", "800", "2.2"}});
    form.Button1.click();
  }
  form.LogFrequencyAction->setChecked(logarithmic);
  if (wholeScreen) {
    QScreen* screen = QGuiApplication::primaryScreen();
    placeOnScreen(form, screen->availableGeometry());
    form.show();
    // The window manager's and the painting's events, for a moment.
    const QDeadlineTimer settle(500);
    while (!settle.hasExpired()) {
      QApplication::processEvents();
      QThread::msleep(10);
    }
    return screen->grabWindow(0).save(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
  }
  form.show();
  QApplication::processEvents();
  if (posterior && form.posteriorWindow() != nullptr) {
    // The posterior's own window beside the main one: <output>-window.png.
    QString windowPath = QString::fromLocal8Bit(argv[1]);
    windowPath.replace(QStringLiteral(".png"), QStringLiteral("-window.png"));
    if (!form.posteriorWindow()->grab().save(windowPath)) return 1;
  }
  return form.grab().save(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
}
