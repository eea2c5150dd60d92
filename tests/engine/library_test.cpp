// SPDX-License-Identifier: GPL-3.0-or-later
// libswcore.so as a program meets it: loaded by bare file name, its export
// table, and a fresh zeroed state after every unload and reload.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <set>
#include <sstream>
#include <string>

#include "swcore.h"

namespace {

constexpr const char* kLibrary = "libswcore.so";

// Every name the library exports, and nothing else.
const std::set<std::string> kExports{"FORWARD", "ROOT", "FRAYL", "DATKN", "DPQRT", "DISRAY"};

using ForwardFunction = decltype(&FORWARD);

// Loads and unloads the library around its lifetime.
class Loaded {
 public:
  Loaded() : handle_(dlopen(kLibrary, RTLD_NOW | RTLD_LOCAL)) {}
  ~Loaded() {
    if (handle_ != nullptr) {
      dlclose(handle_);
    }
  }
  Loaded(const Loaded&) = delete;
  Loaded& operator=(const Loaded&) = delete;

  void* handle() const { return handle_; }
  void* symbol(const char* name) const { return dlsym(handle_, name); }

 private:
  void* handle_;
};

bool isLoaded() {
  void* h = dlopen(kLibrary, RTLD_NOW | RTLD_NOLOAD);
  if (h != nullptr) {
    dlclose(h);
  }
  return h != nullptr;
}

// Output of a command, one string.
std::string commandOutput(const std::string& command) {
  std::string text;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) {
    return text;
  }
  std::array<char, 512> buffer{};
  while (fgets(buffer.data(), static_cast<int>(buffer.size()), pipe) != nullptr) {
    text += buffer.data();
  }
  pclose(pipe);
  return text;
}

// One-frequency forward call on a half-space of the given S velocity (m/s).
float halfSpaceVelocity(ForwardFunction forward, float vs) {
  const int32_t n = 1;
  const int32_t nf = 1;
  std::array<float, 50> h{}, v{}, rho{}, f{}, out{};
  v[0] = vs;
  rho[0] = 1.8f;
  f[0] = 30.0f;
  out[0] = -1.0f;
  forward(&n, h.data(), v.data(), rho.data(), &nf, f.data(), out.data());
  return out[0];
}

TEST(Library, LoadsByBareNameAndResolvesEveryExport) {
  const Loaded lib;
  ASSERT_NE(lib.handle(), nullptr) << dlerror();
  for (const std::string& name : kExports) {
    EXPECT_NE(lib.symbol(name.c_str()), nullptr) << name;
  }
}

TEST(Library, HidesItsInternals) {
  const Loaded lib;
  ASSERT_NE(lib.handle(), nullptr) << dlerror();
  for (const char* internal : {"_ZN6swcore11engineStateE", "_ZN6swcore23secularEvaluationCountE",
                               "_ZN6swcore10runForwardERNS_11EngineStateERKNS_16ForwardArgumentsE",
                               "engineState", "DLSINV", "MODLIM", "INVRUN"}) {
    EXPECT_EQ(lib.symbol(internal), nullptr) << internal;
  }
}

TEST(Library, DynamicSymbolTableDefinesExactlyTheExports) {
  const std::string table =
      commandOutput(std::string(SWCORE_NM) + " -D --defined-only " + SWCORE_LIBRARY_PATH);
  ASSERT_FALSE(table.empty());
  std::set<std::string> defined;
  std::istringstream lines(table);
  std::string address, type, name;
  while (lines >> address >> type >> name) {
    defined.insert(name);
  }
  EXPECT_EQ(defined, kExports);
}

TEST(Library, HasNoGnuUniqueSymbols) {
  const std::string symbols =
      commandOutput(std::string(SWCORE_READELF) + " -Ws " + SWCORE_LIBRARY_PATH);
  ASSERT_FALSE(symbols.empty());
  EXPECT_EQ(symbols.find("UNIQUE"), std::string::npos);
}

// Loading pulls in nothing beyond the C and maths libraries: no C++ runtime.
// A sanitized build (SWCORE_SANITIZED) adds the sanitizers' own runtimes.
bool isAllowedDependency(const std::string& name) {
  if (name.starts_with("libc.") || name.starts_with("libm.")) {
    return true;
  }
#ifdef SWCORE_SANITIZED
  for (const char* runtime : {"libasan.", "libubsan.", "libtsan."}) {
    if (name.starts_with(runtime)) {
      return true;
    }
  }
#endif
  return false;
}

TEST(Library, NeedsOnlyTheCAndMathsLibraries) {
  const std::string dynamic =
      commandOutput(std::string(SWCORE_READELF) + " -dW " + SWCORE_LIBRARY_PATH);
  ASSERT_FALSE(dynamic.empty());
  std::set<std::string> needed;
  std::istringstream lines(dynamic);
  std::string line;
  while (std::getline(lines, line)) {
    const std::size_t open = line.find("(NEEDED)");
    const std::size_t from = line.find('[');
    const std::size_t to = line.find(']');
    if (open != std::string::npos && from != std::string::npos && to > from) {
      needed.insert(line.substr(from + 1, to - from - 1));
    }
  }
  EXPECT_FALSE(needed.empty());
  for (const std::string& name : needed) {
    EXPECT_TRUE(isAllowedDependency(name)) << name;
  }
}

// No static initialisers of its own (no iostreams), and no batch run: the
// batch run and its files live outside the library.
TEST(Library, HoldsNoStaticInitialisersAndNoBatchRun) {
  const std::string symbols =
      commandOutput(std::string(SWCORE_READELF) + " -Ws " + SWCORE_LIBRARY_PATH);
  ASSERT_NE(symbols.find("FORWARD"), std::string::npos);
  EXPECT_EQ(symbols.find("_GLOBAL__sub_I_"), std::string::npos);
  EXPECT_EQ(symbols.find("ios_base4Init"), std::string::npos);
  EXPECT_EQ(symbols.find("INVRUN"), std::string::npos);
  EXPECT_EQ(symbols.find("FreeFormatReader"), std::string::npos);
}

TEST(Library, UnloadsOnCloseAndStartsFromAZeroedStateWhenLoadedAgain) {
  {
    const Loaded lib;
    ASSERT_NE(lib.handle(), nullptr) << dlerror();
    const auto forward = reinterpret_cast<ForwardFunction>(lib.symbol("FORWARD"));
    ASSERT_NE(forward, nullptr);
    EXPECT_NEAR(halfSpaceVelocity(forward, 150.0f), 142.0961f, 1e-4f);
    // Within one load, a frequency without a root shows the earlier value: a
    // 20 km/s half-space starts its search above the 10 km/s ceiling.
    EXPECT_NEAR(halfSpaceVelocity(forward, 20000.0f), 142.0961f, 1e-4f);
  }
  EXPECT_FALSE(isLoaded());
  const Loaded again;
  ASSERT_NE(again.handle(), nullptr) << dlerror();
  const auto forward = reinterpret_cast<ForwardFunction>(again.symbol("FORWARD"));
  ASSERT_NE(forward, nullptr);
  EXPECT_EQ(halfSpaceVelocity(forward, 20000.0f), 0.0f);
}

}  // namespace
