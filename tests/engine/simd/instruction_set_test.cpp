// SPDX-License-Identifier: GPL-3.0-or-later
// Which instruction set a processor gets: a table of feature sets, each row
// with the set worked out by hand from what the clones need (AVX2 code uses
// fused multiply-adds, so AVX2 without FMA runs the baseline code).
#include "simd/instruction_set.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using swcore::InstructionSet;
using swcore::ProcessorFeatures;

TEST(InstructionSet, EachProcessorGetsTheFastestSetItCanRun) {
  struct Row {
    const char* processor;
    ProcessorFeatures features;
    InstructionSet expected;
  };
  const Row rows[] = {
      {"baseline x86-64 (SSE2 only)", {false, false, false}, InstructionSet::baseline},
      {"AVX2 without FMA", {true, false, false}, InstructionSet::baseline},
      {"FMA without AVX2", {false, true, false}, InstructionSet::baseline},
      {"AVX2 and FMA", {true, true, false}, InstructionSet::avx2},
      {"AVX2, FMA and AVX-512", {true, true, true}, InstructionSet::avx2},
      {"AVX-512 alone", {false, false, true}, InstructionSet::avx512},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.processor);
    const InstructionSet chosen = swcore::fastestInstructionSet(row.features);
    EXPECT_EQ(chosen, row.expected) << swcore::nameOf(chosen);
    EXPECT_TRUE(swcore::supports(row.features, chosen));
    EXPECT_TRUE(swcore::supports(row.features, InstructionSet::baseline));
  }
}

TEST(InstructionSet, ASetNeedsEveryFeatureOfItsCode) {
  const ProcessorFeatures none{};
  const ProcessorFeatures avx2Only{true, false, false};
  const ProcessorFeatures avx2Fma{true, true, false};
  const ProcessorFeatures avx512{false, false, true};
  EXPECT_FALSE(swcore::supports(none, InstructionSet::avx2));
  EXPECT_FALSE(swcore::supports(none, InstructionSet::avx512));
  EXPECT_FALSE(swcore::supports(avx2Only, InstructionSet::avx2));
  EXPECT_TRUE(swcore::supports(avx2Fma, InstructionSet::avx2));
  EXPECT_FALSE(swcore::supports(avx2Fma, InstructionSet::avx512));
  EXPECT_TRUE(swcore::supports(avx512, InstructionSet::avx512));
}

TEST(InstructionSet, ThisProcessorRunsTheSetChosenForIt) {
  const InstructionSet chosen = swcore::fastestInstructionSet();
  EXPECT_TRUE(swcore::processorHas(chosen));
  EXPECT_TRUE(swcore::processorHas(InstructionSet::baseline));
  EXPECT_EQ(chosen, swcore::fastestInstructionSet(swcore::processorFeatures()));
  EXPECT_EQ(std::string(swcore::nameOf(InstructionSet::baseline)), "baseline");
  EXPECT_EQ(std::string(swcore::nameOf(InstructionSet::avx2)), "avx2");
  EXPECT_EQ(std::string(swcore::nameOf(InstructionSet::avx512)), "avx512");
}

}  // namespace
