// SPDX-License-Identifier: GPL-3.0-or-later
// The program's binding to the engine library: loads it by bare file name for
// every call, looks up FORWARD, calls it once and releases the library again.
#pragma once

#include <string>

#include "core/forward_engine.h"
#include "core/message_presenter.h"
#include "core/text_translation.h"

namespace dispfit {

class EngineBinding : public ForwardEngine {
 public:
  static constexpr const char* kDefaultLibrary = "libswcore.so";
  static constexpr const char* kCaption = kMessageCaption;
  static constexpr const char* kLoadFailed = DISPFIT_TEXT("Messages", "动态连接库加载失败!");
  static constexpr const char* kNoForward =
      DISPFIT_TEXT("Messages", "在动态连接库中没有正演函数，计算失败!");
  static constexpr const char* kCallFailed = DISPFIT_TEXT("Messages", "正演函数计算失败!");

  explicit EngineBinding(MessagePresenter& messages, std::string libraryName = kDefaultLibrary);

  // One load, lookup, call and release. A library that cannot be loaded, one
  // without FORWARD, and a call that faults, throws or returns a velocity
  // that is not a finite number each show their box and give false; the
  // library is released before the box is shown.
  bool run(ForwardCall& call) override;

  const std::string& libraryName() const { return libraryName_; }

 private:
  MessagePresenter& messages_;
  std::string libraryName_;
};

}  // namespace dispfit
