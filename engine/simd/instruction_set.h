// SPDX-License-Identifier: GPL-3.0-or-later
// The instruction sets the engine's hot loops are compiled for, and which of
// them the processor running the program can use. The package itself is
// built for baseline x86-64; the loops that gain from wider registers carry
// clones for AVX2 with fused multiply-adds and for AVX-512, and the code
// picks one at run time.
#pragma once

namespace swcore {

// Baseline x86-64 (SSE2), AVX2 with FMA, AVX-512 (foundation).
enum class InstructionSet { baseline, avx2, avx512 };

// What a processor offers of the features the clones need.
struct ProcessorFeatures {
  bool avx2 = false;
  bool fma = false;
  bool avx512f = false;
};

// The features of the processor this program runs on (all false off x86-64).
ProcessorFeatures processorFeatures();

// Whether a processor with `features` can run the code for `set`; AVX2
// counts with fused multiply-adds only, and the AVX-512 clones use fused
// multiply-adds too (every AVX-512 processor has them).
bool supports(const ProcessorFeatures& features, InstructionSet set);

// Whether this processor can run the code for `set`.
bool processorHas(InstructionSet set);

// The fastest set a processor with `features` can run: AVX2 with FMA, then
// AVX-512, else baseline. AVX2 comes first because it measured faster: the
// secular functions' lanes are four doubles wide for the common models of
// one or two layers, and their 512-bit array passes over 20-layer models
// gained nothing either (a Xeon with both, a 3-layer curve 26 us on AVX2
// against 31 us on AVX-512, a 20-layer one 161 us against 171 us).
InstructionSet fastestInstructionSet(const ProcessorFeatures& features);

// The fastest set this processor can run.
InstructionSet fastestInstructionSet();

// A short name of the set ("baseline", "avx2", "avx512"), for benchmarks and
// messages.
const char* nameOf(InstructionSet set);

// Of a loop's clones, the one for `set`. Off x86-64, where only the baseline
// is compiled, callers pass it for all three.
template <class Clone>
Clone cloneFor(InstructionSet set, Clone baseline, Clone avx2, Clone avx512) {
  switch (set) {
    case InstructionSet::avx512:
      return avx512;
    case InstructionSet::avx2:
      return avx2;
    case InstructionSet::baseline:
      break;
  }
  return baseline;
}

}  // namespace swcore
