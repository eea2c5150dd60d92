// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/input_rules.h"

#include <cmath>
#include <string_view>

#include "files/line_message.h"
#include "records/number_text.h"

namespace swcore {

namespace {

enum class Sign { AnyNumber, NotNegative, Positive };

struct ValueRule {
  std::string_view name;
  Sign sign;
  bool belowVelocityCeiling;
};

ValueRule ruleOf(LayerQuantity quantity, bool halfSpace) {
  switch (quantity) {
    case LayerQuantity::Thickness:
      return {"the thickness", halfSpace ? Sign::AnyNumber : Sign::NotNegative, false};
    case LayerQuantity::ShearVelocity:
      return {"the S velocity", Sign::Positive, true};
    case LayerQuantity::Density:
      return {"the density", Sign::Positive, false};
    case LayerQuantity::PVelocity:
      return {"the P velocity", Sign::Positive, false};
  }
  return {"a value", Sign::AnyNumber, false};
}

ValueRule ruleOf(DatumQuantity quantity) {
  switch (quantity) {
    case DatumQuantity::Frequency:
      return {"the frequency", Sign::Positive, false};
    case DatumQuantity::Wavelength:
      return {"the wavelength", Sign::Positive, false};
    case DatumQuantity::Period:
      return {"the period", Sign::Positive, false};
    case DatumQuantity::Velocity:
      return {"the velocity", Sign::NotNegative, true};
    case DatumQuantity::Deviation:
      return {"the standard deviation", Sign::NotNegative, false};
    case DatumQuantity::LowBound:
      return {"the low bound", Sign::NotNegative, true};
    case DatumQuantity::HighBound:
      return {"the high bound", Sign::NotNegative, true};
  }
  return {"a value", Sign::AnyNumber, false};
}

std::string text(double value) {
  return std::string(formatNumber(value).view());
}

// `subject` names the value: "the density of layer 2".
std::string valueFault(const ValueRule& rule, const std::string& subject, double value) {
  const auto single = static_cast<float>(value);
  if (!std::isfinite(single)) {
    return subject + " (" + text(value) + ") is beyond the single-precision range";
  }
  if (rule.sign == Sign::NotNegative && value < 0.0) {
    return subject + " is negative";
  }
  if (rule.sign == Sign::Positive && !(value > 0.0)) {
    return subject + " must be positive";
  }
  if (rule.sign == Sign::Positive && single == 0.0f) {
    return subject + " (" + text(value) + ") is 0 in single precision";
  }
  if (rule.belowVelocityCeiling && value >= kVelocityCeiling) {
    return subject + " (" + text(value) + " m/s) is not below " + text(kVelocityCeiling) + " m/s";
  }
  return {};
}

std::string countFault(std::int64_t count, std::int64_t lowest, std::int64_t highest,
                       std::string_view what) {
  if (count >= lowest && count <= highest) {
    return {};
  }
  return std::to_string(count) + " " + std::string(what) + " (from " + std::to_string(lowest) +
         " to " + std::to_string(highest) + " can be used)";
}

}  // namespace

std::string layerCountFault(std::int64_t count, const InputLimits& limits) {
  return countFault(count, 1, limits.maxLayers, "layers");
}

std::string layerRowsFault(std::span<const std::size_t> lines, const std::string& sourceName,
                           const InputLimits& limits) {
  const std::string fault = layerCountFault(static_cast<std::int64_t>(lines.size()), limits);
  if (fault.empty()) return fault;
  return lines.empty()
             ? sourceName + ": " + fault
             : lineMessage(sourceName, lines[static_cast<std::size_t>(limits.maxLayers)], fault);
}

std::string dataCountFault(std::int64_t count, const InputLimits& limits) {
  return countFault(count, 1, limits.maxData, "data");
}

std::string layerValueFault(LayerQuantity quantity, std::size_t layer, bool halfSpace,
                            double value) {
  const ValueRule rule = ruleOf(quantity, halfSpace);
  return valueFault(rule, std::string(rule.name) + " of layer " + std::to_string(layer + 1), value);
}

std::string datumValueFault(DatumQuantity quantity, std::size_t datum, double value) {
  const ValueRule rule = ruleOf(quantity);
  return valueFault(rule, std::string(rule.name) + " of datum " + std::to_string(datum + 1), value);
}

}  // namespace swcore
