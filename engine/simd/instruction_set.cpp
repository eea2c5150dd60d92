// SPDX-License-Identifier: GPL-3.0-or-later
#include "simd/instruction_set.h"

#include <initializer_list>

namespace swcore {

ProcessorFeatures processorFeatures() {
#if defined(__x86_64__)
  // The C runtime has filled in what the processor has before any of the
  // engine's code runs.
  return {__builtin_cpu_supports("avx2") != 0, __builtin_cpu_supports("fma") != 0,
          __builtin_cpu_supports("avx512f") != 0};
#else
  return {};
#endif
}

bool supports(const ProcessorFeatures& features, InstructionSet set) {
  switch (set) {
    case InstructionSet::avx512:
      return features.avx512f;
    case InstructionSet::avx2:
      return features.avx2 && features.fma;
    case InstructionSet::baseline:
      return true;
  }
  return false;
}

bool processorHas(InstructionSet set) {
  return supports(processorFeatures(), set);
}

InstructionSet fastestInstructionSet(const ProcessorFeatures& features) {
  for (const InstructionSet set : {InstructionSet::avx2, InstructionSet::avx512}) {
    if (supports(features, set)) {
      return set;
    }
  }
  return InstructionSet::baseline;
}

InstructionSet fastestInstructionSet() {
  return fastestInstructionSet(processorFeatures());
}

const char* nameOf(InstructionSet set) {
  switch (set) {
    case InstructionSet::avx512:
      return "avx512";
    case InstructionSet::avx2:
      return "avx2";
    case InstructionSet::baseline:
      return "baseline";
  }
  return "unknown";
}

}  // namespace swcore
