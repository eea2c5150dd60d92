// Writes a picture of the main window after a forward run of a three-layer
// model on the real engine: window_screenshot <output.png>
#include <QApplication>
#include <QPixmap>
#include <cstdio>

#include "core/engine_binding.h"
#include "window/file_chooser.h"
#include "window/printer_source.h"
#include "window/qt_message_presenter.h"
#include "window/tform1.h"

int main(int argc, char* argv[]) {
  using namespace dispfit;
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <output.png>\n", argv[0]);
    return 2;
  }
  QApplication application(argc, argv);
  QtMessagePresenter messages;
  EngineBinding engine(messages);
  DefaultPrinter printers;
  DialogFileChooser files;
  TForm1 form(messages, engine, printers, files);

  const char* rows[][3] = {{"5", "200", "1.8"}, {"10", "400", "2.0"}, {"0", "800", "2.2"}};
  form.LUpDown.stepBy(+1);
  form.LUpDown.stepBy(+1);
  for (int r = 1; r <= 3; ++r) {
    for (int c = 1; c <= 3; ++c) form.Model.setCell(c, r, QString::fromUtf8(rows[r - 1][c - 1]));
  }
  form.show();
  form.Button1.click();
  QApplication::processEvents();
  return form.grab().save(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
}
