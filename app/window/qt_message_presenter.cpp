// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/qt_message_presenter.h"

#include <QFontDatabase>
#include <QMessageBox>

#include "core/program_title.h"

namespace dispfit {

namespace {

void showModal(QMessageBox::Icon icon, const QString& caption, const QString& text) {
  QMessageBox box(icon, caption, text, QMessageBox::Ok);
  box.exec();
}

}  // namespace

std::unique_ptr<QMessageBox> makeReportBox(const QString& text, const QString& caption) {
  auto box = std::make_unique<QMessageBox>(QMessageBox::Warning, caption, text, QMessageBox::Ok);
  // The system's fixed-pitch font; the Chinese labels fall back to the
  // window's CJK font glyph by glyph.
  const QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  box->setFont(font);
  box->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  return box;
}

void QtMessagePresenter::showReport(const std::string& text, const std::string& caption) {
  makeReportBox(QString::fromStdString(text), QString::fromStdString(caption))->exec();
}

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
