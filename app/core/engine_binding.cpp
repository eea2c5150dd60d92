// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/engine_binding.h"

#include <dlfcn.h>

#include <cmath>
#include <memory>
#include <utility>

#include "core/fault_guard.h"

namespace dispfit {

namespace {

using ForwardEntry = void (*)(const int32_t*, const float*, const float*, const float*,
                              const int32_t*, const float*, float*);

struct LibraryCloser {
  void operator()(void* handle) const { dlclose(handle); }
};
using LibraryHandle = std::unique_ptr<void, LibraryCloser>;

struct EntryCall {
  ForwardEntry entry;
  ForwardCall* call;
};

void callEntry(void* context) {
  auto& job = *static_cast<EntryCall*>(context);
  ForwardCall& c = *job.call;
  job.entry(&c.layerCount, c.thickness, c.vs, c.density, &c.freqCount, c.freq, c.phaseVelocity);
}

bool allFinite(const ForwardCall& call) {
  const int count =
      call.freqCount < ForwardCall::kCapacity ? call.freqCount : ForwardCall::kCapacity;
  for (int i = 0; i < count; ++i) {
    if (!std::isfinite(call.phaseVelocity[i])) return false;
  }
  return true;
}

}  // namespace

EngineBinding::EngineBinding(MessagePresenter& messages, std::string libraryName)
    : messages_(messages), libraryName_(std::move(libraryName)) {}

bool EngineBinding::run(ForwardCall& call) {
  LibraryHandle library(dlopen(libraryName_.c_str(), RTLD_NOW | RTLD_LOCAL));
  if (!library) {
    messages_.showBox(kLoadFailed, kCaption, MessageIcon::Information);
    return false;
  }
  void* symbol = dlsym(library.get(), "FORWARD");
  if (symbol == nullptr) {
    library.reset();
    messages_.showBox(kNoForward, kCaption, MessageIcon::Information);
    return false;
  }
  EntryCall job{reinterpret_cast<ForwardEntry>(symbol), &call};
  const GuardedOutcome outcome = runGuarded(callEntry, &job);
  library.reset();
  if (outcome != GuardedOutcome::Completed || !allFinite(call)) {
    messages_.showBox(kCallFailed, kCaption, MessageIcon::Information);
    return false;
  }
  return true;
}

}  // namespace dispfit
