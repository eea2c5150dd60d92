#include "window/qt_message_presenter.h"

#include <QMessageBox>

#include "core/program_title.h"

namespace dispfit {

namespace {

void showModal(QMessageBox::Icon icon, const QString& caption, const QString& text) {
  QMessageBox box(icon, caption, text, QMessageBox::Ok);
  box.exec();
}

}  // namespace

void QtMessagePresenter::showBox(const std::string& text, const std::string& caption,
                                 MessageIcon icon) {
  showModal(icon == MessageIcon::Warning ? QMessageBox::Warning : QMessageBox::Information,
            QString::fromStdString(caption), QString::fromStdString(text));
}

void QtMessagePresenter::showPlain(const std::string& text) {
  showModal(QMessageBox::NoIcon, QString::fromUtf8(kProgramTitle), QString::fromStdString(text));
}

void QtMessagePresenter::showError(const std::string& text) {
  showModal(QMessageBox::Critical, QString::fromUtf8(kProgramTitle), QString::fromStdString(text));
}

}  // namespace dispfit
