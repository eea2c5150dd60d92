// SPDX-License-Identifier: GPL-3.0-or-later
#include "inversion/inversion_report.h"

#include <algorithm>
#include <vector>

#include "core/number_text.h"

namespace dispfit {

namespace {

std::string report(int32_t iteration, float finalMisfit, int32_t length, const float* params,
                   const TextTranslator& translator, bool halfSpaceThickness) {
  const int32_t layers = length / 2;
  std::string text = "\t";
  text += translator.translate("InversionReport", "反演结果");
  text += "\n\n";
  text += translator.translate("InversionReport", "拟合情况：");
  text += '\n';
  text += fillText(translator.translate("InversionReport", "迭代次数：%1"),
                   {std::to_string(iteration)});
  text += '\n';
  text += fillText(translator.translate("InversionReport", "拟 合 差：%1"),
                   {formatScientific(finalMisfit)});
  text += "\n\n";
  text += translator.translate("InversionReport", "模型参数：");
  text += "\n#      H       Vs\n";
  // Each column right-aligned to its widest entry, so that the rows of a
  // model of ten layers or more, or of thicknesses of 10 m and more, line up
  // in a fixed-pitch font; where all entries of a column are equally wide
  // the rows read "1   2.0   150.0".
  std::vector<std::string> numbers, thicknesses, velocities;
  for (int32_t g = 0; g < layers; ++g) {
    numbers.push_back(std::to_string(g + 1));
    const bool halfSpace = g + 1 == layers;
    thicknesses.push_back(halfSpace && !halfSpaceThickness ? std::string("-")
                                                           : formatOneDecimal(params[layers + g]));
    velocities.push_back(formatOneDecimal(params[g]));
  }
  const auto widest = [](const std::vector<std::string>& column) {
    std::size_t width = 0;
    for (const std::string& entry : column) width = std::max(width, entry.size());
    return width;
  };
  const auto padded = [](const std::string& entry, std::size_t width) {
    return std::string(width - entry.size(), ' ') + entry;
  };
  const std::size_t numberWidth = widest(numbers), thicknessWidth = widest(thicknesses),
                    velocityWidth = widest(velocities);
  for (std::size_t g = 0; g < numbers.size(); ++g) {
    text += padded(numbers[g], numberWidth) + "   " + padded(thicknesses[g], thicknessWidth) +
            "   " + padded(velocities[g], velocityWidth) + "\n";
  }
  return text;
}

}  // namespace

std::string inversionReport(int32_t iteration, float finalMisfit, int32_t length,
                            const float* params, const TextTranslator& translator) {
  return report(iteration, finalMisfit, length, params, translator, true);
}

std::string inversionReportWithoutHalfSpaceThickness(int32_t iteration, float finalMisfit,
                                                     int32_t length, const float* params) {
  return report(iteration, finalMisfit, length, params, sourceTexts(), false);
}

}  // namespace dispfit
