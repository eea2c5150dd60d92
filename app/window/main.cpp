// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up of DispFit: the application object, the language (the command
// line's for this run, else the one last chosen, else Chinese), the main
// window Form1 first (its closing ends the program) with the files the
// command line names, the About window hidden, the message loop.
#include <QApplication>
#include <QScreen>
#include <QSettings>
#include <QStyle>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>
#include <string_view>
#include <vector>

#include "core/engine_binding.h"
#include "core/program_title.h"
#include "core/program_version.h"
#include "core/start_arguments.h"
#include "window/file_chooser.h"
#include "window/link_opener.h"
#include "window/printer_source.h"
#include "window/qt_message_presenter.h"
#include "window/screen_placement.h"
#include "window/tabout.h"
#include "window/tform1.h"
#include "window/window_translations.h"

namespace dispfit {
namespace {

// Where the language the user last chose in the window is kept.
constexpr const char* kLanguageSetting = "window/language";

WindowLanguage storedLanguage() {
  const QSettings settings;
  return languageFromCode(
             settings.value(QString::fromUtf8(kLanguageSetting)).toString().toStdString())
      .value_or(WindowLanguage::Chinese);
}

void storeLanguage(WindowLanguage language) {
  QSettings settings;
  settings.setValue(QString::fromUtf8(kLanguageSetting), QString::fromUtf8(languageCode(language)));
}

bool displayConfigured() {
  const auto isSet = [](const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0';
  };
  return isSet("DISPLAY") || isSet("WAYLAND_DISPLAY") || isSet("QT_QPA_PLATFORM");
}

// A platform that cannot be opened ends in a fatal Qt message; turn that into
// a plain explanation and a failure exit code instead of an abort.
void reportFatalStart(QtMsgType type, const QMessageLogContext&, const QString& message) {
  std::fprintf(stderr, "%s\n", qPrintable(message));
  if (type == QtFatalMsg) {
    std::fprintf(stderr, "DispFit cannot start: no usable display was found.\n");
    std::_Exit(EXIT_FAILURE);
  }
}

void placeOnPrimaryScreen(QWidget& window) {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (screen != nullptr) placeOnScreen(window, screen->availableGeometry());
}

// The arguments after the program's name, without the options Qt took.
std::vector<std::string> programArguments() {
  QStringList all = QCoreApplication::arguments();
  std::vector<std::string> arguments;
  for (qsizetype i = 1; i < all.size(); ++i) arguments.push_back(all[i].toStdString());
  return arguments;
}

}  // namespace
}  // namespace dispfit

int main(int argc, char* argv[]) {
  using namespace dispfit;
  // Help and version need no display, so they come before Qt starts.
  const std::vector<std::string_view> rawArguments(argv + 1, argv + argc);
  switch (startRequest(rawArguments)) {
    case StartRequest::showHelp:
      std::fputs(kStartHelp, stdout);
      return std::fflush(stdout) == 0 && !std::ferror(stdout) ? EXIT_SUCCESS : EXIT_FAILURE;
    case StartRequest::showVersion:
      std::fputs(versionText("DispFit").c_str(), stdout);
      return std::fflush(stdout) == 0 && !std::ferror(stdout) ? EXIT_SUCCESS : EXIT_FAILURE;
    case StartRequest::openWindow:
      break;
  }
  if (!displayConfigured()) {
    std::fprintf(stderr,
                 "DispFit is a window program and needs a display, but none is set "
                 "(DISPLAY is empty). Start it from a desktop session.\n");
    return EXIT_FAILURE;
  }
  const QtMessageHandler previousHandler = qInstallMessageHandler(reportFatalStart);
  QApplication application(argc, argv);
  qInstallMessageHandler(previousHandler);
  QApplication::setApplicationName(QString::fromUtf8(kProgramTitle));
  QApplication::setApplicationDisplayName(QString::fromUtf8(kProgramTitle));
  QApplication::setOrganizationName(QString::fromUtf8(kProgramTitle));

  const StartArguments arguments = readStartArguments(programArguments());
  if (!arguments.files) {
    std::fprintf(stderr, "DispFit: %s\n%s\n", arguments.error.c_str(), kStartUsage);
    return EXIT_FAILURE;
  }

  WindowTranslations languages;
  if (!languages.setLanguage(arguments.files->language.value_or(storedLanguage()))) {
    std::fprintf(stderr,
                 "DispFit: the English texts could not be loaded; the window is in Chinese.\n");
  }
  QtMessagePresenter messages;
  EngineBinding engine(messages);
  DefaultPrinter printers;
  DesktopLinkOpener links;
  DialogFileChooser files;

  TForm1 Form1(messages, engine, printers, files);
  TAbout About(links);
  Form1.attachAbout(&About);
  Form1.attachLanguages(languages);
  // A language chosen in the window is kept for the next start; one given on
  // the command line holds for this run alone.
  QObject::connect(&Form1, &TForm1::languageChosen, &Form1, &storeLanguage);
  // A file that cannot be opened is reported in its box; the window starts
  // all the same.
  if (arguments.files->model) Form1.openModel(QString::fromStdString(*arguments.files->model));
  if (arguments.files->curve) {
    Form1.openMeasuredCurve(QString::fromStdString(*arguments.files->curve));
  }
  placeOnPrimaryScreen(Form1);
  Form1.show();
  About.hide();

  try {
    return QApplication::exec();
  } catch (const std::exception& error) {
    messages.showError(error.what());
  } catch (...) {
    messages.showError("");
  }
  return EXIT_SUCCESS;
}
