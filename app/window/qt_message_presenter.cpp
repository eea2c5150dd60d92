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

QString QtMessagePresenter::shown(const std::string& text) const {
  return QString::fromStdString(translateLines(text, kMessagesContext, translator_));
}

void QtMessagePresenter::showReport(const std::string& text, const std::string& caption) {
  makeReportBox(shown(text), shown(caption))->exec();
}

void QtMessagePresenter::showBox(const std::string& text, const std::string& caption,
                                 MessageIcon icon) {
  showModal(icon == MessageIcon::Warning ? QMessageBox::Warning : QMessageBox::Information,
            shown(caption), shown(text));
}

void QtMessagePresenter::showPlain(const std::string& text) {
  showModal(QMessageBox::NoIcon, QString::fromUtf8(kProgramTitle), shown(text));
}

void QtMessagePresenter::showError(const std::string& text) {
  showModal(QMessageBox::Critical, QString::fromUtf8(kProgramTitle), shown(text));
}

}  // namespace dispfit
