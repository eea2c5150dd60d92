// SPDX-License-Identifier: GPL-3.0-or-later
// The window's languages. Its texts are written in Chinese; the English
// catalogue, built from translations/dispfit_en.ts into the program's
// resources, is installed into the application for English and taken out
// again for Chinese. Qt's own texts (a dialog's standard buttons, a file
// dialog) come from Qt's Chinese catalogue, installed for Chinese where the
// system has it, and are English without it. Either way Qt then sends every
// widget a LanguageChange event, on which each sets its texts anew (see
// translations/README.md).
#pragma once

#include <QTranslator>

#include "core/text_translation.h"
#include "core/window_language.h"

namespace dispfit {

// The resource path of the English catalogue.
inline constexpr const char* kEnglishCatalogue = ":/translations/dispfit_en.qm";

class WindowTranslations {
 public:
  // Loads the English catalogue and Qt's Chinese one, and installs the
  // latter: the application shows Chinese until setLanguage is called.
  WindowTranslations();
  // Takes the catalogues out of the application again.
  ~WindowTranslations();
  WindowTranslations(const WindowTranslations&) = delete;
  WindowTranslations& operator=(const WindowTranslations&) = delete;

  // Shows the application in `language` from now on. False, with the
  // language unchanged, for English when its catalogue could not be loaded.
  bool setLanguage(WindowLanguage language);
  WindowLanguage language() const { return language_; }
  // Whether Qt's own texts are shown in Chinese: false where the system
  // lacks Qt's Chinese catalogue.
  bool hasQtChinese() const { return qtChineseLoaded_; }

 private:
  void showQtChinese(bool shown);

  QTranslator english_;
  QTranslator qtChinese_;
  bool loaded_ = false;
  bool qtChineseLoaded_ = false;
  WindowLanguage language_ = WindowLanguage::Chinese;
};

// Texts of the code without Qt in the language the application shows: each
// goes through QCoreApplication::translate, as a tr() text does.
class ApplicationTextTranslator : public TextTranslator {
 public:
  std::string translate(const char* context, const char* source) const override;
};

}  // namespace dispfit
