// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/window_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>

namespace dispfit {

WindowTranslations::WindowTranslations()
    : loaded_(english_.load(QString::fromUtf8(kEnglishCatalogue))),
      qtChineseLoaded_(qtChinese_.load(QStringLiteral("qtbase_zh_CN"),
                                       QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
  showQtChinese(true);
}

WindowTranslations::~WindowTranslations() {
  if (language_ == WindowLanguage::English) QCoreApplication::removeTranslator(&english_);
  showQtChinese(false);
}

void WindowTranslations::showQtChinese(bool shown) {
  if (!qtChineseLoaded_) return;
  if (shown) {
    QCoreApplication::installTranslator(&qtChinese_);
  } else {
    QCoreApplication::removeTranslator(&qtChinese_);
  }
}

bool WindowTranslations::setLanguage(WindowLanguage language) {
  if (language == language_) return true;
  if (language == WindowLanguage::English) {
    if (!loaded_ || !QCoreApplication::installTranslator(&english_)) return false;
    showQtChinese(false);
  } else {
    QCoreApplication::removeTranslator(&english_);
    showQtChinese(true);
  }
  language_ = language;
  return true;
}

std::string ApplicationTextTranslator::translate(const char* context, const char* source) const {
  return QCoreApplication::translate(context, source).toStdString();
}

}  // namespace dispfit
