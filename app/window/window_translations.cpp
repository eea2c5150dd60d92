// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/window_translations.h"

#include <QCoreApplication>

namespace dispfit {

WindowTranslations::WindowTranslations()
    : loaded_(english_.load(QString::fromUtf8(kEnglishCatalogue))) {}

WindowTranslations::~WindowTranslations() {
  if (language_ == WindowLanguage::English) QCoreApplication::removeTranslator(&english_);
}

bool WindowTranslations::setLanguage(WindowLanguage language) {
  if (language == language_) return true;
  if (language == WindowLanguage::English) {
    if (!loaded_ || !QCoreApplication::installTranslator(&english_)) return false;
  } else {
    QCoreApplication::removeTranslator(&english_);
  }
  language_ = language;
  return true;
}

std::string ApplicationTextTranslator::translate(const char* context, const char* source) const {
  return QCoreApplication::translate(context, source).toStdString();
}

}  // namespace dispfit
