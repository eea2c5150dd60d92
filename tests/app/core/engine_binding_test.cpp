// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/engine_binding.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <string>

#include "core/forward_model.h"
#include "recording_presenter.h"

namespace dispfit {

namespace {

constexpr float kSentinel = -7.0f;

ForwardCall threeLayerCall() {
  ForwardCall call;
  call.layerCount = 3;
  const float h[] = {5.0f, 10.0f, 0.0f}, v[] = {200.0f, 400.0f, 800.0f}, r[] = {1.8f, 2.0f, 2.2f};
  std::copy(h, h + 3, call.thickness);
  std::copy(v, v + 3, call.vs);
  std::copy(r, r + 3, call.density);
  call.freqCount = 4;
  const float f[] = {150.0f, 20.0f, 10.0f, 5.0f};
  std::copy(f, f + 4, call.freq);
  std::fill(std::begin(call.phaseVelocity), std::end(call.phaseVelocity), kSentinel);
  return call;
}

bool isLoaded(const std::string& library) {
  void* handle = dlopen(library.c_str(), RTLD_NOW | RTLD_NOLOAD);
  if (handle != nullptr) dlclose(handle);
  return handle != nullptr;
}

bool faultHandlerIsDefault(int signalNumber) {
  struct sigaction current {};
  sigaction(signalNumber, nullptr, &current);
  return current.sa_handler == SIG_DFL;
}

class EngineBindingFailure : public ::testing::Test {
 protected:
  void expectOneBox(const char* text) {
    ASSERT_EQ(messages.messages.size(), 1u);
    const RecordedMessage& shown = messages.messages[0];
    EXPECT_EQ(shown.kind, RecordedMessage::Kind::Box);
    EXPECT_EQ(shown.text, text);
    EXPECT_EQ(shown.caption, "Sondrix提示...");
    EXPECT_EQ(shown.icon, MessageIcon::Information);
  }

  RecordingPresenter messages;
};

TEST_F(EngineBindingFailure, MissingLibraryShowsTheLoadBox) {
  EngineBinding binding(messages, "libnot_an_engine.so");
  ForwardCall call = threeLayerCall();
  EXPECT_FALSE(binding.run(call));
  expectOneBox("动态连接库加载失败!");
  EXPECT_EQ(call.phaseVelocity[0], kSentinel);
}

TEST_F(EngineBindingFailure, LibraryWithoutForwardIsReleased) {
  EngineBinding binding(messages, "libfake_engine_no_forward.so");
  ForwardCall call = threeLayerCall();
  EXPECT_FALSE(binding.run(call));
  expectOneBox("在动态连接库中没有正演函数，计算失败!");
  EXPECT_FALSE(isLoaded("libfake_engine_no_forward.so"));
}

class EngineBindingCallFailure : public EngineBindingFailure,
                                 public ::testing::WithParamInterface<const char*> {};

TEST_P(EngineBindingCallFailure, EndsInTheCalculationBoxWithTheLibraryReleased) {
  const std::string library = GetParam();
  EngineBinding binding(messages, library);
  for (int attempt = 0; attempt < 2; ++attempt) {  // the program carries on, and again
    messages.messages.clear();
    ForwardCall call = threeLayerCall();
    EXPECT_FALSE(binding.run(call));
    expectOneBox("正演函数计算失败!");
    EXPECT_FALSE(isLoaded(library));
  }
  for (const int signalNumber : {SIGSEGV, SIGFPE, SIGBUS, SIGILL}) {
    EXPECT_TRUE(faultHandlerIsDefault(signalNumber)) << signalNumber;
  }
  // A sound library still works afterwards.
  EngineBinding echo(messages, "libfake_engine_echo.so");
  ForwardCall call = threeLayerCall();
  EXPECT_TRUE(echo.run(call));
}

INSTANTIATE_TEST_SUITE_P(Faults, EngineBindingCallFailure,
                         ::testing::Values("libfake_engine_segv.so", "libfake_engine_fpe.so",
                                           "libfake_engine_ill.so", "libfake_engine_bus.so",
                                           "libfake_engine_stack.so", "libfake_engine_throw.so",
                                           "libfake_engine_nan.so"));

TEST(EngineBinding, PassesTheSevenBuffersAndLoadsAfreshEveryRun) {
  RecordingPresenter messages;
  EngineBinding binding(messages, "libfake_engine_echo.so");
  for (int run = 0; run < 3; ++run) {
    ForwardCall call = threeLayerCall();
    ASSERT_TRUE(binding.run(call));
    // f + 1000 N + sum(h + vs + rho) + nf / 2 + calls since load (1: fresh)
    const float layerSum = 5.0f + 200.0f + 1.8f + 10.0f + 400.0f + 2.0f + 0.0f + 800.0f + 2.2f;
    for (int j = 0; j < 4; ++j) {
      EXPECT_FLOAT_EQ(call.phaseVelocity[j], call.freq[j] + 3000.0f + layerSum + 2.0f + 1.0f);
    }
    EXPECT_EQ(call.phaseVelocity[4], kSentinel);  // beyond the frequency count
    EXPECT_FALSE(isLoaded("libfake_engine_echo.so"));
  }
  EXPECT_TRUE(messages.messages.empty());
}

TEST(EngineBinding, ForwardModelKeepsItsCurveWhenTheEngineFaults) {
  RecordingPresenter messages;
  EngineBinding echo(messages, "libfake_engine_echo.so");
  EngineBinding faulty(messages, "libfake_engine_segv.so");
  const float freq[] = {10.0f, 5.0f}, vs[] = {150.0f}, h[] = {2.0f}, rho[] = {1.8f};
  ForwardModel good(echo, 2, freq, 1, vs, h, rho, false);
  ASSERT_TRUE(good.runForward());
  ForwardModel bad(faulty, 2, freq, 1, vs, h, rho, false);
  std::copy(good.vrCalc, good.vrCalc + 2, bad.vrCalc);
  EXPECT_FALSE(bad.runForward());  // the fake wrote 999 into slot 0 before faulting
  EXPECT_EQ(bad.vrCalc[0], good.vrCalc[0]);
  EXPECT_EQ(bad.vrCalc[1], good.vrCalc[1]);
}

// The real engine: a half-space of 150 m/s with Vp = 3 Vs carries Rayleigh
// waves at 0.9473076 Vs = 142.0961 m/s at every frequency.
TEST(EngineBindingWithEngine, HalfSpaceGivesTheRayleighVelocity) {
  RecordingPresenter messages;
  EngineBinding binding(messages);
  EXPECT_EQ(binding.libraryName(), "libswcore.so");
  ForwardCall call;
  call.layerCount = 1;
  call.thickness[0] = 2.0f;
  call.vs[0] = 150.0f;
  call.density[0] = 1.8f;
  call.freqCount = 30;
  for (int i = 0; i < 30; ++i) call.freq[i] = 150.0f - 5.0f * static_cast<float>(i);
  ASSERT_TRUE(binding.run(call));
  for (int i = 0; i < 30; ++i) EXPECT_NEAR(call.phaseVelocity[i], 142.0961f, 0.01f) << i;
  EXPECT_TRUE(messages.messages.empty());
  EXPECT_FALSE(isLoaded("libswcore.so"));
}

}  // namespace

}  // namespace dispfit
