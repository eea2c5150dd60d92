// SPDX-License-Identifier: GPL-3.0-or-later
// A column choice ("f=1,v=2,sigma=3", the first line of the input) and the
// curve table it reads (the rest): an accepted curve gives every datum a
// finite velocity that is not negative (the input rules of observed data) and
// a line.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "files/curve_file.h"
#include "memory_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::size_t end = input.find('\n');
  const std::string_view choiceText = input.substr(0, end);
  const std::string_view table =
      end == std::string_view::npos ? std::string_view() : input.substr(end + 1);
  swcore::ColumnChoice columns;
  std::string error;
  if (!swcore::parseCurveColumnChoice(choiceText, columns, error)) {
    fuzz::require(!error.empty());
    return 0;
  }
  constexpr swcore::InputLimits kLimits{20, 10000};
  swcore::CurveFile curve;
  if (!swcore::parseCurveTable(table, "curve", kLimits, columns, curve, error)) {
    fuzz::require(!error.empty());
    return 0;
  }
  const std::size_t count = curve.velocity.size();
  fuzz::require(count > 0 && curve.line.size() == count);
  for (const double velocity : curve.velocity) {
    fuzz::require(std::isfinite(velocity) && velocity >= 0.0);
  }
  return 0;
}
