// SPDX-License-Identifier: GPL-3.0-or-later
// Texts for the user that code without Qt writes and the window shows in its
// language. They are written in Chinese, the window's source language, and
// marked where they are written with DISPFIT_TEXT(context, text), which is the
// text itself: lupdate reads the mark as QT_TRANSLATE_NOOP (the translation
// files are made with -tr-function-alias QT_TRANSLATE_NOOP+=DISPFIT_TEXT), so
// the window's translation files hold them beside its own tr() texts. A
// function that composes such a text takes a TextTranslator; the command-line
// tools pass sourceTexts() and print the texts as written.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

#define DISPFIT_TEXT(context, text) text

namespace dispfit {

// The context of the marked texts that reach the user as whole lines of a
// message box: the engine's failures, the inversion's messages, the caption.
inline constexpr const char* kMessagesContext = "Messages";

class TextTranslator {
 public:
  virtual ~TextTranslator() = default;
  // The text shown for `source`, marked in `context`: its translation into
  // the language shown, or `source` itself where there is none.
  virtual std::string translate(const char* context, const char* source) const = 0;
};

// The texts as they are written.
const TextTranslator& sourceTexts();

// The pattern with %1 to %9 replaced by the arguments in order; a % that is
// not followed by the number of an argument stays as it is.
std::string fillText(std::string_view pattern, std::initializer_list<std::string_view> arguments);

// The text with every line that is a marked text of `context` translated and
// every other line as it is; the line breaks are kept.
std::string translateLines(std::string_view text, const char* context,
                           const TextTranslator& translator);

}  // namespace dispfit
